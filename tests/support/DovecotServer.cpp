#include "DovecotServer.h"

#include "LineChannel.h"
#include "Loopback.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDovecot = "/usr/sbin/dovecot";
constexpr int kLaunchAttempts = 5;
constexpr auto kStartTimeout = std::chrono::seconds(30);
constexpr auto kStopTimeout = std::chrono::seconds(10);
constexpr auto kPollInterval = std::chrono::milliseconds(10);

using Clock = std::chrono::steady_clock;

// The port is free when we let go of it; Launch copes with losing the race.
uint16_t PickFreePort() {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (fd.Get() < 0 || ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("DovecotServer: no free loopback port");
    }
    return ntohs(address.sin_port);
}

// The first line the server sends, or empty when nothing answers in time.
std::string ReadGreeting(uint16_t port) {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address = Loopback(port);
    if (fd.Get() < 0 ||
        ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    std::string line;
    pollfd waiting{fd.Get(), POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&waiting, 1, 5000) > 0) {
        char buffer[256];
        ssize_t got = ::recv(fd.Get(), buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return line;
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) {
        throw std::runtime_error("DovecotServer: cannot write " + path.string());
    }
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void MakeOwnedDirectory(const fs::path& path, uid_t uid, gid_t gid) {
    fs::create_directories(path);
    if (::chown(path.c_str(), uid, gid) != 0) {
        throw std::runtime_error("DovecotServer: cannot chown " + path.string());
    }
}

} // namespace

DovecotServer::DovecotServer(std::optional<DovecotTls> tls, std::string authMechanisms)
    : m_owner(FindMailOwner()), m_tls(std::move(tls)), m_authMechanisms(std::move(authMechanisms)) {
    std::string folder = "/tmp/tarvo-dovecot-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        throw std::runtime_error("DovecotServer: cannot create a temporary folder");
    }
    m_root = folder;
    try {
        // The mail processes run as the mail owner and must reach the Maildirs.
        fs::permissions(m_root, fs::perms(0755));
        fs::create_directories(m_root + "/run");
        fs::create_directories(m_root + "/state");
        MakeOwnedDirectory(m_root + "/mail", m_owner.uid, m_owner.gid);
        WriteFile(m_root + "/passwd", "");
        for (int attempt = 0; attempt < kLaunchAttempts; ++attempt) {
            m_port = PickFreePort();
            m_tlsPort = m_tls ? PickFreePort() : 0;
            m_imapPort = PickFreePort();
            m_imapTlsPort = m_tls ? PickFreePort() : 0;
            WriteConfig();
            if (Launch() && AwaitGreeting()) {
                return;
            }
            Stop();
        }
        throw std::runtime_error("DovecotServer: Dovecot did not start:\n" + Log());
    } catch (...) {
        Stop();
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
        throw;
    }
}

DovecotServer::~DovecotServer() {
    Stop();
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

std::string DovecotServer::Address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

DovecotServer::MailOwner DovecotServer::FindMailOwner() {
    // Dovecot refuses to serve mail as root; as root we borrow the system's
    // mail and Dovecot users, otherwise everything runs as ourselves.
    if (::geteuid() == 0) {
        const passwd* mail = ::getpwnam("mail");
        if (mail == nullptr) {
            throw std::runtime_error("DovecotServer: no 'mail' user");
        }
        return {mail->pw_uid, mail->pw_gid, "dovenull", "dovecot", "dovecot"};
    }
    const passwd* self = ::getpwuid(::geteuid());
    const group* ownGroup = ::getgrgid(::getegid());
    if (self == nullptr || ownGroup == nullptr) {
        throw std::runtime_error("DovecotServer: cannot name the current user and group");
    }
    return {self->pw_uid, ownGroup->gr_gid, self->pw_name, self->pw_name, ownGroup->gr_name};
}

std::string DovecotServer::TlsAddress() const {
    return "127.0.0.1:" + std::to_string(m_tlsPort);
}

std::string DovecotServer::ImapAddress() const {
    return "127.0.0.1:" + std::to_string(m_imapPort);
}

std::string DovecotServer::ImapTlsAddress() const {
    return "127.0.0.1:" + std::to_string(m_imapTlsPort);
}

std::string DovecotServer::MaildirOf(const std::string& user) const {
    if (user.empty() || user.find_first_of(":/\n") != std::string::npos) {
        throw std::invalid_argument("DovecotServer: unusable user name '" + user + "'");
    }
    return m_root + "/mail/" + user;
}

void DovecotServer::AddUser(const std::string& user, const std::string& password) {
    MakeOwnedDirectory(MaildirOf(user), m_owner.uid, m_owner.gid);
    for (const char* sub : {"cur", "new", "tmp"}) {
        MakeOwnedDirectory(MaildirOf(user) + "/" + sub, m_owner.uid, m_owner.gid);
    }
    std::ofstream out(m_root + "/passwd", std::ios::binary | std::ios::app);
    out << user << ":{PLAIN}" << password << "\n";
    out.close();
    if (!out) {
        throw std::runtime_error("DovecotServer: cannot add user " + user);
    }
}

void DovecotServer::Deliver(const std::string& user, const std::string& message) {
    // Dovecot numbers new mail by the time in its file name; keeping the names
    // strictly increasing keeps the message numbers in delivery order.
    auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count();
    m_lastDeliveryMicros = std::max(static_cast<uint64_t>(now), m_lastDeliveryMicros + 1);
    std::string name = std::to_string(m_lastDeliveryMicros / 1000000) + ".M" +
                       std::to_string(m_lastDeliveryMicros % 1000000) + "P" +
                       std::to_string(::getpid()) + ".tarvo-test";
    fs::path temporary = fs::path(MaildirOf(user)) / "tmp" / name;
    WriteFile(temporary, message);
    if (::chown(temporary.c_str(), m_owner.uid, m_owner.gid) != 0) {
        throw std::runtime_error("DovecotServer: cannot chown " + temporary.string());
    }
    fs::rename(temporary, fs::path(MaildirOf(user)) / "new" / name);
}

void DovecotServer::Remove(const std::string& user, std::size_t n) {
    // Names start with the delivery time, and Dovecot keeps them when it
    // moves a message from new to cur: sorted by name they are in order.
    std::vector<fs::path> messages;
    for (const char* sub : {"new", "cur"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(MaildirOf(user)) / sub)) {
            messages.push_back(entry.path());
        }
    }
    std::sort(messages.begin(), messages.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    if (n < 1 || n > messages.size()) {
        throw std::out_of_range("DovecotServer: no message " + std::to_string(n));
    }
    fs::remove(messages[n - 1]);
}

std::string DovecotServer::Log() const {
    return ReadFile(m_root + "/dovecot.log") + ReadFile(m_root + "/stderr.log");
}

void DovecotServer::WriteConfig() const {
    const bool root = ::geteuid() == 0;
    std::ostringstream conf;
    conf << "protocols = pop3 imap\n"
         << "listen = 127.0.0.1\n"
         << "base_dir = " << m_root << "/run\n"
         << "state_dir = " << m_root << "/state\n"
         << "instance_name = " << fs::path(m_root).filename().string() << "\n"
         << "log_path = " << m_root << "/dovecot.log\n"
         << "info_log_path = " << m_root << "/dovecot.log\n"
         << "login_greeting = " << fs::path(m_root).filename().string() << " ready.\n"
         << (m_tls ? "ssl = yes\nssl_cert = <" + m_tls->certificateFile + "\nssl_key = <" +
                         m_tls->keyFile + "\n"
                   : std::string("ssl = no\n"))
         << "disable_plaintext_auth = no\n"
         << "auth_mechanisms = " << m_authMechanisms
         << "\n"
         // Tests log in with wrong passwords on purpose; don't make them wait.
         << "auth_failure_delay = 0\n"
         << "default_login_user = " << m_owner.loginUser << "\n"
         << "default_internal_user = " << m_owner.internalUser << "\n"
         << "default_internal_group = " << m_owner.internalGroup << "\n"
         << "first_valid_uid = " << m_owner.uid << "\n"
         << "last_valid_uid = " << m_owner.uid << "\n"
         << "first_valid_gid = " << m_owner.gid << "\n"
         << "mail_location = maildir:" << m_root << "/mail/%u\n"
         << "pop3_uidl_format = %08Xu%08Xv\n"
         // NOTIFY is offered with the folder list's index only.
         << "mailbox_list_index = yes\n"
         << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN " << m_root << "/passwd\n}\n"
         << "userdb {\n  driver = static\n  args = uid=" << m_owner.uid << " gid=" << m_owner.gid
         << " home=" << m_root << "/mail/%u\n}\n"
         << "service pop3-login {\n"
         << "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " << m_port << "\n  }\n"
         << "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " << m_tlsPort
         << "\n  }\n"
         << (root ? "" : "  chroot =\n") << "}\n"
         << "service imap-login {\n"
         << "  inet_listener imap {\n    address = 127.0.0.1\n    port = " << m_imapPort
         << "\n  }\n"
         << "  inet_listener imaps {\n    address = 127.0.0.1\n    port = " << m_imapTlsPort
         << "\n    ssl = yes\n  }\n"
         << (root ? "" : "  chroot =\n") << "}\n"
         << "service anvil {\n  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n"
         << (root ? "" : "  chroot =\n") << "}\n";
    WriteFile(m_root + "/dovecot.conf", conf.str());
}

bool DovecotServer::Launch() {
    // Everything the child needs is prepared before fork: only async-signal-
    // safe calls may follow it.
    std::string conf = m_root + "/dovecot.conf";
    std::string errors = m_root + "/stderr.log";
    pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        ::setpgid(0, 0);
        // A test killed outright (a ctest time-out) must not leave a server
        // behind. The signal follows the creating thread, which outlives us.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        int out = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        int none = ::open("/dev/null", O_RDONLY);
        if (out >= 0 && none >= 0) {
            ::dup2(none, STDIN_FILENO);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
            ::execl(kDovecot, "dovecot", "-F", "-c", conf.c_str(), static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    ::setpgid(pid, pid);
    m_pid = pid;
    return true;
}

bool DovecotServer::AwaitGreeting() {
    const std::string expected = "+OK " + fs::path(m_root).filename().string() + " ready.";
    const auto deadline = Clock::now() + kStartTimeout;
    while (Clock::now() < deadline) {
        // A master that could not bind (or start at all) exits.
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        if (ReadGreeting(m_port).rfind(expected, 0) == 0) {
            return true;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return false;
}

void DovecotServer::Stop() {
    if (m_pid <= 0) {
        return;
    }
    ::kill(m_pid, SIGTERM);
    const auto deadline = Clock::now() + kStopTimeout;
    bool exited = false;
    while (!exited && Clock::now() < deadline) {
        exited = ::waitpid(m_pid, nullptr, WNOHANG) == m_pid;
        if (!exited) {
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    // The master's own children share its process group; none may outlive it.
    ::kill(-m_pid, SIGKILL);
    if (!exited) {
        ::waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
}
