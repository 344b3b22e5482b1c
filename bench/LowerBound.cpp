#include "LowerBound.h"

#include "Loopback.h"

#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

class Lines {
public:
    explicit Lines(int fd) : m_fd(fd) {}
    bool Next(std::string& line) {
        for (;;) {
            std::size_t end = m_buffer.find("\r\n", m_pos);
            if (end != std::string::npos) {
                line.assign(m_buffer, m_pos, end - m_pos);
                m_pos = end + 2;
                return true;
            }
            if (!Read()) {
                return false;
            }
        }
    }
    // Passes over count bytes, an IMAP literal.
    bool Skip(std::size_t count) {
        while (m_buffer.size() - m_pos < count) {
            count -= m_buffer.size() - m_pos;
            m_pos = m_buffer.size();
            if (!Read()) {
                return false;
            }
        }
        m_pos += count;
        return true;
    }

private:
    bool Read() {
        m_buffer.erase(0, m_pos);
        m_pos = 0;
        char chunk[65536];
        ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            return false;
        }
        m_buffer.append(chunk, static_cast<std::size_t>(got));
        return true;
    }

    int m_fd;
    std::string m_buffer;
    std::size_t m_pos = 0;
};

bool SendAll(int fd, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

// A socket connected to address ("127.0.0.1:<port>") without Nagle's wait,
// or -1.
int ConnectTo(const std::string& address) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in server =
        Loopback(static_cast<uint16_t>(std::stoi(address.substr(address.rfind(':') + 1))));
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

double WriteEverythingCheck(const std::string& address, const std::string& user,
                            const std::string& password, int messages, int& replies) {
    replies = 0;
    const auto start = std::chrono::steady_clock::now();
    int fd = ConnectTo(address);
    Lines lines(fd);
    std::string line;
    bool ok = fd >= 0 && lines.Next(line) && SendAll(fd, "USER " + user + "\r\n") &&
              lines.Next(line) && SendAll(fd, "PASS " + password + "\r\n") && lines.Next(line) &&
              line.starts_with("+OK");
    if (ok) {
        std::string commands;
        for (int n = 1; n <= messages; ++n) {
            commands += "TOP " + std::to_string(n) + " 0\r\n";
        }
        // Written from a thread of its own, so that replies are read meanwhile.
        std::thread writer([&] { SendAll(fd, commands); });
        while (replies < messages && lines.Next(line)) {
            if (line.starts_with("+OK")) {
                while (lines.Next(line) && line != ".") {
                }
            }
            ++replies;
        }
        writer.join();
        ok = SendAll(fd, "QUIT\r\n") && lines.Next(line);
    }
    ::close(fd);
    return ok ? SecondsSince(start) : -1;
}

double WriteEverythingImapCheck(const std::string& address, const std::string& user,
                                const std::string& password, int& headers) {
    headers = 0;
    const auto start = std::chrono::steady_clock::now();
    int fd = ConnectTo(address);
    Lines lines(fd);
    std::string line;
    bool ok = fd >= 0 && lines.Next(line) && line.starts_with("* OK") &&
              SendAll(fd, "a1 LOGIN " + user + " " + password +
                              "\r\n"
                              "a2 EXAMINE INBOX\r\n"
                              "a3 UID SEARCH RETURN (SAVE) UNSEEN UNDELETED\r\n"
                              "a4 UID FETCH $ (BODY.PEEK[HEADER])\r\n"
                              "a5 LOGOUT\r\n");
    int answered = 0;
    while (ok && lines.Next(line)) {
        if (line.starts_with("* ") && line.find(" FETCH (") != std::string::npos) {
            ++headers;
        }
        // A literal's bytes follow the line that announces it; the response
        // goes on after them.
        while (ok && line.ends_with('}') && line.rfind('{') != std::string::npos) {
            const std::size_t open = line.rfind('{');
            ok = lines.Skip(std::stoul(line.substr(open + 1))) && lines.Next(line);
        }
        if (line.starts_with("a")) {
            ok = ok && line.find(" OK ") == line.find(' ');
            if (++answered == 5) {
                break;
            }
        }
    }
    ::close(fd);
    return ok && answered == 5 ? SecondsSince(start) : -1;
}
