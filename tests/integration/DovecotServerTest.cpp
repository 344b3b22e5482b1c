// The private Dovecot fixture, spoken to over a bare socket so that its
// faults don't hide behind the client's.
#include "DovecotServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class RawPeer {
public:
    explicit RawPeer(uint16_t port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawPeer() { ::close(m_fd); }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool Connected() const { return m_connected; }

    // One line with its CRLF; empty when the server says nothing for 10 s.
    std::string ReadLine() {
        while (m_buffer.find("\r\n") == std::string::npos) {
            pollfd waiting{m_fd, POLLIN, 0};
            char chunk[4096];
            ssize_t got = ::poll(&waiting, 1, 10000) > 0 ? ::recv(m_fd, chunk, sizeof chunk, 0) : 0;
            if (got <= 0) {
                return {};
            }
            m_buffer.append(chunk, static_cast<std::size_t>(got));
        }
        std::size_t end = m_buffer.find("\r\n") + 2;
        std::string line = m_buffer.substr(0, end);
        m_buffer.erase(0, end);
        return line;
    }

    std::string Command(const std::string& line) {
        std::string out = line + "\r\n";
        if (::send(m_fd, out.data(), out.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(out.size())) {
            return {};
        }
        return ReadLine();
    }

    // The lines of a multi-line reply up to, not including, the lone dot.
    std::string ReadBlock() {
        std::string block;
        for (std::string line = ReadLine(); !line.empty() && line != ".\r\n"; line = ReadLine()) {
            block += line;
        }
        return block;
    }

private:
    int m_fd;
    bool m_connected = false;
    std::string m_buffer;
};

TEST(DovecotServer, ServesDeliveredMailOverPop3) {
    DovecotServer server;
    server.AddUser("alice", "secret");
    server.Deliver("alice",
                   "From: Bob <bob@example.org>\nSubject: first\nMessage-Id: <1@example.org>\n"
                   "\nbody one\n");
    server.Deliver("alice", "From: Carol <carol@example.org>\r\nSubject: second\r\n"
                            "Message-Id: <2@example.org>\r\n\r\nbody two\r\n");

    EXPECT_EQ(server.Address(), "127.0.0.1:" + std::to_string(server.Port()));
    RawPeer peer(server.Port());
    ASSERT_TRUE(peer.Connected());
    EXPECT_EQ(peer.ReadLine().rfind("+OK", 0), 0u) << server.Log();
    EXPECT_EQ(peer.Command("USER alice").rfind("+OK", 0), 0u);
    ASSERT_EQ(peer.Command("PASS secret").rfind("+OK", 0), 0u) << server.Log();
    EXPECT_EQ(peer.Command("NOOP").rfind("+OK", 0), 0u);
    EXPECT_EQ(peer.Command("STAT").rfind("+OK 2 ", 0), 0u) << server.Log();

    ASSERT_EQ(peer.Command("TOP 1 0").rfind("+OK", 0), 0u);
    EXPECT_EQ(peer.ReadBlock(), "From: Bob <bob@example.org>\r\nSubject: first\r\n"
                                "Message-Id: <1@example.org>\r\n\r\n");
    ASSERT_EQ(peer.Command("TOP 2 0").rfind("+OK", 0), 0u);
    EXPECT_EQ(peer.ReadBlock(), "From: Carol <carol@example.org>\r\nSubject: second\r\n"
                                "Message-Id: <2@example.org>\r\n\r\n");
    EXPECT_EQ(peer.Command("QUIT").rfind("+OK", 0), 0u);
}

TEST(DovecotServer, RejectsAWrongPasswordAndCountsLaterDeliveries) {
    DovecotServer server;
    server.AddUser("alice", "secret");
    {
        RawPeer peer(server.Port());
        peer.ReadLine();
        peer.Command("USER alice");
        EXPECT_EQ(peer.Command("PASS wrong").rfind("-ERR", 0), 0u);
    }
    RawPeer peer(server.Port());
    peer.ReadLine();
    peer.Command("USER alice");
    ASSERT_EQ(peer.Command("PASS secret").rfind("+OK", 0), 0u) << server.Log();
    EXPECT_EQ(peer.Command("STAT"), "+OK 0 0\r\n");
    peer.Command("QUIT");

    server.Deliver("alice", "Subject: late\n\n");
    RawPeer again(server.Port());
    again.ReadLine();
    again.Command("USER alice");
    again.Command("PASS secret");
    EXPECT_EQ(again.Command("STAT").rfind("+OK 1 ", 0), 0u);
}

} // namespace
