#include "ScriptedPeer.h"

#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace testpeer {

namespace {

constexpr std::chrono::milliseconds kPollSlice{50};
constexpr std::chrono::milliseconds kSegmentPause{20};
constexpr std::chrono::seconds kReceivedWait{10};

} // namespace

struct ScriptedPeer::Session {
    std::size_t index;
    int fd;
    std::string pending; // received, not yet taken by AwaitLine
    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;    // set once TLS is spoken
    bool tlsEnded = false; // the client's close_notify came

    ~Session() {
        SSL_free(ssl);
        SSL_CTX_free(context);
    }
};

Script operator+(Script first, const Script& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Step Send(std::string bytes) {
    return Step(Step::Kind::Send, {std::move(bytes)});
}

Step Reply(std::string bytes) {
    return ReplySegmented({std::move(bytes)});
}

Step ReplySegmented(std::vector<std::string> pieces) {
    return Step(Step::Kind::AwaitLine, std::move(pieces), kSegmentPause);
}

Step ReplyInWrites(std::vector<std::string> pieces) {
    return Step(Step::Kind::AwaitLine, std::move(pieces));
}

Step NagleOn() {
    return Step(Step::Kind::Nagle);
}

Step ReplyIf(std::string line, std::string bytes) {
    return Step(Step::Kind::AwaitIf, {std::move(line), std::move(bytes)});
}

Step ReplyWith(Step::Answerer answer) {
    return Step(Step::Kind::Answer, {}, {}, 0, std::move(answer));
}

Step Await() {
    return Step(Step::Kind::AwaitLine);
}

Step Pause(std::chrono::milliseconds delay) {
    return Step(Step::Kind::Pause, {}, delay);
}

Step Hold() {
    return Step(Step::Kind::Hold);
}

Step Stall() {
    return Step(Step::Kind::Stall);
}

Step Hangup() {
    return Step(Step::Kind::Hangup);
}

Step Cut() {
    return Step(Step::Kind::Cut);
}

Step Flood(std::size_t bytes) {
    return Step(Step::Kind::Flood, {}, {}, bytes);
}

Step AcceptTls(std::string certificateFile, std::string keyFile, bool upToTls11) {
    std::vector<std::string> files{std::move(certificateFile), std::move(keyFile)};
    if (upToTls11) {
        files.emplace_back("TLSv1.1");
    }
    return Step(Step::Kind::AcceptTls, std::move(files));
}

Script Login() {
    return {Send("+OK POP3 ready\r\n"), ReplyIf("CAPA", "-ERR\r\n"), Reply("+OK\r\n"),
            Reply("+OK\r\n"),           Reply("-ERR\r\n"),           Reply("+OK\r\n")};
}

Script HealthyMailbox(const std::vector<std::string>& headerBlocks) {
    std::size_t size = 0;
    for (const std::string& block : headerBlocks) {
        size += block.size();
    }
    std::string stat =
        "+OK " + std::to_string(headerBlocks.size()) + " " + std::to_string(size) + "\r\n";
    Script script = Login();
    script.push_back(Reply(stat));
    if (!headerBlocks.empty()) {
        script.push_back(Reply(stat));
    }
    for (const std::string& block : headerBlocks) {
        script.push_back(Reply("+OK\r\n" + block + ".\r\n"));
    }
    script.push_back(Reply("+OK bye\r\n"));
    return script;
}

std::string HealthyTranscript(const std::string& user, const std::string& password,
                              std::size_t messages) {
    std::string sent =
        "CAPA\r\nUSER " + user + "\r\nPASS " + password + "\r\nCAPA\r\nNOOP\r\nSTAT\r\n";
    if (messages > 0) {
        sent += "STAT\r\n";
    }
    for (std::size_t number = 1; number <= messages; ++number) {
        sent += "TOP " + std::to_string(number) + " 0\r\n";
    }
    return sent + "QUIT\r\n";
}

ScriptedPeer::ScriptedPeer(Script script) : ScriptedPeer(std::vector<Script>{std::move(script)}) {}

ScriptedPeer::ScriptedPeer(std::vector<Script> sessions)
    : m_scripts(std::move(sessions)), m_received(m_scripts.size()),
      m_ended(m_scripts.size(), false) {
    m_thread = std::thread([this] { Serve(); });
}

ScriptedPeer::~ScriptedPeer() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::string ScriptedPeer::Address() const {
    return m_listener.Address();
}

void ScriptedPeer::Release() {
    {
        std::lock_guard lock(m_mutex);
        ++m_releases;
    }
    m_changed.notify_all();
}

bool ScriptedPeer::AwaitSession(std::size_t session, std::chrono::milliseconds limit) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return m_accepted > session; });
}

std::string ScriptedPeer::Received(std::size_t session) const {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, kReceivedWait, [&] { return m_ended.at(session); });
    return m_received.at(session);
}

void ScriptedPeer::Serve() {
    // TLS writes with write(), which raises SIGPIPE at a client gone; blocked
    // on this thread, it is the EPIPE the peer expects.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    std::size_t index = 0;
    auto stopping = [this] {
        std::lock_guard lock(m_mutex);
        return m_stopping;
    };
    m_listener.ServeEach(
        m_scripts.size(), stopping,
        [&](int fd) {
            {
                std::lock_guard lock(m_mutex);
                ++m_accepted;
            }
            m_changed.notify_all();
            {
                Session session{index, fd, {}};
                for (const Step& step : m_scripts[index]) {
                    if (!RunStep(session, step)) {
                        break;
                    }
                }
                while (ReadSome(session)) {
                }
            }
            {
                std::lock_guard lock(m_mutex);
                m_ended[index++] = true;
            }
            m_changed.notify_all();
        },
        true);
}

// False when no later step is to run.
bool ScriptedPeer::RunStep(Session& session, const Step& step) {
    switch (step.kind) {
    case Step::Kind::AwaitLine:
        if (!AwaitLine(session)) {
            return false;
        }
        [[fallthrough]];
    case Step::Kind::Send:
        for (std::size_t i = 0; i < step.segments.size(); ++i) {
            if ((i > 0 && step.pause.count() > 0 && !Sleep(step.pause)) ||
                !SendAll(session, step.segments[i])) {
                return false;
            }
        }
        return true;
    case Step::Kind::AwaitIf: {
        std::string line;
        if (!PeekLine(session, line)) {
            return false;
        }
        if (line != step.segments.at(0)) {
            return true;
        }
        AwaitLine(session);
        return SendAll(session, step.segments.at(1));
    }
    case Step::Kind::Answer: {
        std::string line;
        return PeekLine(session, line) && AwaitLine(session) && SendAll(session, step.answer(line));
    }
    case Step::Kind::Pause:
        return Sleep(step.pause);
    case Step::Kind::Hold: {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopping || m_releases > 0; });
        if (m_stopping) {
            return false;
        }
        --m_releases;
        return true;
    }
    case Step::Kind::Stall:
        return false;
    case Step::Kind::Nagle: {
        int off = 0;
        ::setsockopt(session.fd, IPPROTO_TCP, TCP_NODELAY, &off, sizeof off);
        return true;
    }
    case Step::Kind::AcceptTls:
        return AcceptTls(session, step);
    case Step::Kind::Flood:
        Flood(session, step.floodBytes);
        [[fallthrough]];
    case Step::Kind::Hangup:
        if (session.ssl != nullptr) {
            SSL_shutdown(session.ssl);
        }
        [[fallthrough]];
    case Step::Kind::Cut:
        // Half-close: the client reads end of stream, and what it still sends
        // is recorded rather than answered with a reset.
        ::shutdown(session.fd, SHUT_WR);
        return false;
    }
    return false;
}

bool ScriptedPeer::WaitReady(int fd, short events) const {
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping) {
                return false;
            }
        }
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, static_cast<int>(kPollSlice.count()));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

bool ScriptedPeer::ReadSome(Session& session) {
    char buffer[4096];
    if (session.ssl != nullptr) {
        std::size_t got = 0;
        if (SSL_read_ex(session.ssl, buffer, sizeof buffer, &got) != 1) {
            int error = SSL_get_error(session.ssl, 0);
            ERR_clear_error();
            if (error == SSL_ERROR_ZERO_RETURN) {
                // A step that met the end and the wait for the client's close
                // after the script both read it: it is recorded once.
                std::lock_guard lock(m_mutex);
                if (!std::exchange(session.tlsEnded, true)) {
                    m_received[session.index] += kCloseNotify;
                }
                return false;
            }
            return (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) &&
                   WaitReady(session.fd, POLLIN);
        }
        session.pending.append(buffer, got);
        std::lock_guard lock(m_mutex);
        m_received[session.index].append(buffer, got);
        return true;
    }
    if (!WaitReady(session.fd, POLLIN)) {
        return false;
    }
    ssize_t count = ::recv(session.fd, buffer, sizeof buffer, 0);
    if (count < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    if (count == 0) {
        return false;
    }
    session.pending.append(buffer, static_cast<std::size_t>(count));
    std::lock_guard lock(m_mutex);
    m_received[session.index].append(buffer, static_cast<std::size_t>(count));
    return true;
}

// The next client line without its line end, left in place.
bool ScriptedPeer::PeekLine(Session& session, std::string& line) {
    std::size_t end;
    while ((end = session.pending.find('\n')) == std::string::npos) {
        if (!ReadSome(session)) {
            return false;
        }
    }
    line = session.pending.substr(0, end > 0 && session.pending[end - 1] == '\r' ? end - 1 : end);
    return true;
}

bool ScriptedPeer::AwaitLine(Session& session) {
    std::size_t end;
    while ((end = session.pending.find('\n')) == std::string::npos) {
        if (!ReadSome(session)) {
            return false;
        }
    }
    session.pending.erase(0, end + 1);
    return true;
}

bool ScriptedPeer::SendAll(Session& session, const std::string& bytes) {
    std::size_t sent = 0;
    while (session.ssl != nullptr && sent < bytes.size()) {
        std::size_t count = 0;
        if (SSL_write_ex(session.ssl, bytes.data() + sent, bytes.size() - sent, &count) == 1) {
            sent += count;
        } else if (SSL_get_error(session.ssl, 0) != SSL_ERROR_WANT_WRITE ||
                   !WaitReady(session.fd, POLLOUT)) {
            ERR_clear_error();
            return false;
        }
    }
    while (sent < bytes.size()) {
        ssize_t count = ::send(session.fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count >= 0) {
            sent += static_cast<std::size_t>(count);
        } else if (errno != EINTR && (errno != EAGAIN || !WaitReady(session.fd, POLLOUT))) {
            return false;
        }
    }
    return true;
}

// The handshake runs to its end or failure; a client that gave up ends the
// session without anything more recorded.
bool ScriptedPeer::AcceptTls(Session& session, const Step& step) {
    session.context = SSL_CTX_new(TLS_server_method());
    if (session.context == nullptr ||
        SSL_CTX_use_certificate_chain_file(session.context, step.segments.at(0).c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(session.context, step.segments.at(1).c_str(),
                                    SSL_FILETYPE_PEM) != 1) {
        throw std::runtime_error("scripted peer: cannot load " + step.segments.at(0));
    }
    if (step.segments.size() > 2) {
        // Old versions are off by default at OpenSSL's usual security level.
        SSL_CTX_set_security_level(session.context, 0);
        SSL_CTX_set_cipher_list(session.context, "DEFAULT:@SECLEVEL=0");
        SSL_CTX_set_min_proto_version(session.context, TLS1_VERSION);
        SSL_CTX_set_max_proto_version(session.context, TLS1_1_VERSION);
    }
    session.ssl = SSL_new(session.context);
    SSL_set_fd(session.ssl, session.fd);
    SSL_set_accept_state(session.ssl);
    for (;;) {
        int result = SSL_do_handshake(session.ssl);
        if (result == 1) {
            return true;
        }
        int error = SSL_get_error(session.ssl, result);
        ERR_clear_error();
        if ((error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) ||
            !WaitReady(session.fd, error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT)) {
            SSL_free(session.ssl);
            session.ssl = nullptr;
            ::shutdown(session.fd, SHUT_RDWR);
            return false;
        }
    }
}

bool ScriptedPeer::Sleep(std::chrono::milliseconds delay) const {
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_for(lock, delay, [this] { return m_stopping; });
}

void ScriptedPeer::Flood(Session& session, std::size_t bytes) {
    const std::string chunk(64 * 1024, 'x');
    for (std::size_t sent = 0; sent < bytes; sent += chunk.size()) {
        if (!SendAll(session, chunk.substr(0, bytes - sent))) {
            return;
        }
    }
}

} // namespace testpeer
