// Racing a name's addresses on loopback. An attempt that stays pending is an
// attempt on a listener whose accept queue is full: the kernel then drops the
// SYNs, as a black-holed address would, without any traffic leaving the host.
#include "TcpConnect.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

SocketAddress Loopback(int family, uint16_t port) {
    SocketAddress address;
    if (family == AF_INET6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = in6addr_loopback;
        v6->sin6_port = htons(port);
        address.length = sizeof *v6;
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&address.storage);
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        v4->sin_port = htons(port);
        address.length = sizeof *v4;
    }
    return address;
}

uint16_t PortOf(const SocketAddress& address) {
    return ntohs(address.storage.ss_family == AF_INET6
                     ? reinterpret_cast<const sockaddr_in6*>(&address.storage)->sin6_port
                     : reinterpret_cast<const sockaddr_in*>(&address.storage)->sin_port);
}

// Listening, or (filled) with its accept queue full so that connects pend.
class Listener {
public:
    Listener(int family, bool filled) : m_family(family) {
        m_socket = UniqueFd(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0));
        SocketAddress any = Loopback(family, 0);
        EXPECT_EQ(::bind(m_socket.Get(), reinterpret_cast<sockaddr*>(&any.storage), any.length), 0);
        EXPECT_EQ(::listen(m_socket.Get(), filled ? 0 : 16), 0);
        socklen_t length = sizeof any.storage;
        ::getsockname(m_socket.Get(), reinterpret_cast<sockaddr*>(&any.storage), &length);
        m_port = PortOf(any);
        for (int tries = 0; filled && tries < 16; ++tries) {
            UniqueFd client(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            SocketAddress self = Address();
            ::connect(client.Get(), reinterpret_cast<sockaddr*>(&self.storage), self.length);
            pollfd entry{client.Get(), POLLOUT, 0};
            bool pends = ::poll(&entry, 1, 200) == 0;
            m_fillers.push_back(std::move(client));
            if (pends) {
                return;
            }
        }
        EXPECT_FALSE(filled) << "the accept queue never filled";
    }
    SocketAddress Address() const { return Loopback(m_family, m_port); }
    uint16_t Port() const { return m_port; }

private:
    int m_family;
    UniqueFd m_socket;
    uint16_t m_port = 0;
    std::vector<UniqueFd> m_fillers;
};

// A port where nothing listens: refused at once.
SocketAddress Refusing(int family) {
    Listener closing(family, false);
    return closing.Address();
}

std::size_t OpenFds() {
    std::size_t count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir) != nullptr) {
            ++count;
        }
        ::closedir(dir);
    }
    return count;
}

uint16_t PeerPort(const UniqueFd& socket) {
    SocketAddress peer;
    peer.length = sizeof peer.storage;
    ::getpeername(socket.Get(), reinterpret_cast<sockaddr*>(&peer.storage), &peer.length);
    return PortOf(peer);
}

TEST(ConnectFirst, FamiliesTakeTurnsFromTheFirstOnesFamily) {
    const SocketAddress a6 = Loopback(AF_INET6, 1), b6 = Loopback(AF_INET6, 2),
                        c6 = Loopback(AF_INET6, 3), a4 = Loopback(AF_INET, 4),
                        b4 = Loopback(AF_INET, 5);
    const std::vector<std::pair<std::vector<SocketAddress>, std::vector<uint16_t>>> rows = {
        {{}, {}},
        {{a4}, {4}},
        {{a6, b6, c6, a4, b4}, {1, 4, 2, 5, 3}},
        {{a4, b4, a6}, {4, 1, 5}},
        {{a6, a4, b6}, {1, 4, 2}},
    };
    for (const auto& [addresses, ports] : rows) {
        std::vector<uint16_t> ordered;
        for (const SocketAddress& address : InterleaveFamilies(addresses)) {
            ordered.push_back(PortOf(address));
        }
        EXPECT_EQ(ordered, ports);
    }
}

TEST(ConnectFirst, KeepsTheFirstThatConnectsWhileOthersPend) {
    Listener pending6(AF_INET6, true), pending4(AF_INET, true);
    Listener good6(AF_INET6, false), good4(AF_INET, false);
    struct Row {
        const char* name;
        std::vector<SocketAddress> addresses;
        std::chrono::milliseconds attemptLimit;
        uint16_t connectsTo; // 0: none
        ConnectFailure failure;
    };
    const std::vector<Row> rows = {
        {"IPv6 pends, IPv4 answers",
         {pending6.Address(), good4.Address()},
         20s,
         good4.Port(),
         ConnectFailure::None},
        {"two pend, the third answers",
         {pending6.Address(), pending4.Address(), good6.Address()},
         20s,
         good6.Port(),
         ConnectFailure::None},
        {"refused, then one answers",
         {Refusing(AF_INET6), good4.Address()},
         20s,
         good4.Port(),
         ConnectFailure::None},
        {"the first answers",
         {good6.Address(), good4.Address()},
         20s,
         good6.Port(),
         ConnectFailure::None},
        {"every attempt runs out of time",
         {pending6.Address(), pending4.Address()},
         300ms,
         0,
         ConnectFailure::NoAnswer},
        {"every attempt refused",
         {Refusing(AF_INET6), Refusing(AF_INET)},
         20s,
         0,
         ConnectFailure::Refused},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::size_t fdsBefore = OpenFds();
        // Well short of the attempt limit: waiting for a pending address to
        // time out before trying the next one must show as a failure.
        const Clock::time_point giveUp = Clock::now() + 5s;
        SocketWaiter waiter(
            {}, [giveUp] { return Clock::now() < giveUp; }, 50ms);
        {
            TcpConnection connection = ConnectFirst(row.addresses, waiter, row.attemptLimit);
            EXPECT_EQ(connection.socket.Valid() ? PeerPort(connection.socket) : 0, row.connectsTo);
            EXPECT_EQ(connection.failure, row.failure);
        }
        EXPECT_EQ(OpenFds(), fdsBefore) << "an attempt was left open";
    }
}

TEST(ConnectFirst, AnAbandonedWaitEndsEveryAttemptAtOnce) {
    Listener pending6(AF_INET6, true), pending4(AF_INET, true);
    const std::size_t fdsBefore = OpenFds();
    int hookRuns = 0;
    bool wanted = true;
    SocketWaiter waiter([&] { wanted = ++hookRuns < 8; }, [&] { return wanted; }, 50ms);
    const Clock::time_point start = Clock::now();
    TcpConnection connection = ConnectFirst({pending6.Address(), pending4.Address()}, waiter, 20s);
    EXPECT_FALSE(connection.socket.Valid());
    EXPECT_EQ(connection.failure, ConnectFailure::Abandoned);
    EXPECT_EQ(hookRuns, 8);
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ(OpenFds(), fdsBefore);
}

} // namespace
