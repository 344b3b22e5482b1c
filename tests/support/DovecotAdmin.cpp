// DovecotServer's other mail client: doveadm on the server's private
// configuration, so that what it does goes through Dovecot's own indexes and
// reaches a client waiting in IDLE at once.
#include "DovecotServer.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kDoveadm = "/usr/bin/doveadm";

bool WriteAll(int fd, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        ssize_t count = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (count <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace

std::string DovecotServer::Doveadm(const std::vector<std::string>& arguments,
                                   const std::string& input) {
    // Everything the child needs is prepared before fork.
    std::vector<std::string> words{"doveadm", "-c", m_root + "/dovecot.conf"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string errors = m_root + "/stderr.log";
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("DovecotServer: no pipe for doveadm");
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        int error = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(error, STDERR_FILENO);
        ::execv(kDoveadm, argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    WriteAll(in[1], input);
    ::close(in[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(out[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("DovecotServer: doveadm " + arguments.at(0) + " failed:\n" +
                                 Log());
    }
    return output;
}

void DovecotServer::CreateFolder(const std::string& user, const std::string& folder) {
    Doveadm({"mailbox", "create", "-u", user, folder});
}

void DovecotServer::Save(const std::string& user, const std::string& folder,
                         const std::string& message) {
    Doveadm({"save", "-u", user, "-m", folder}, message);
}

void DovecotServer::AddFlags(const std::string& user, const std::string& folder, uint32_t uid,
                             const std::string& flags) {
    AddFlags(user, folder, std::to_string(uid), flags);
}

void DovecotServer::AddFlags(const std::string& user, const std::string& folder,
                             const std::string& uids, const std::string& flags) {
    Doveadm({"flags", "add", "-u", user, flags, "mailbox", folder, "uid", uids});
}

std::string DovecotServer::Flags(const std::string& user, const std::string& folder) {
    return Doveadm({"-f", "flow", "fetch", "-u", user, "uid flags", "mailbox", folder, "all"});
}

uint64_t DovecotServer::Status(const std::string& user, const std::string& folder,
                               const std::string& field) {
    const std::string line =
        Doveadm({"-f", "flow", "mailbox", "status", "-u", user, field, folder});
    return std::stoull(line.substr(line.find('=') + 1));
}
