#include "DelayRelay.h"

#include "Loopback.h"

#include <cerrno>
#include <cstdint>
#include <deque>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

void NoDelay(int fd) {
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// One direction: chunks read, each due for writing at its arrival plus the delay.
struct Direction {
    int from;
    int to;
    std::deque<std::pair<Clock::time_point, std::string>> held;
    bool ended = false; // from has reached end of stream
    bool shut = false;  // and that end was passed on
};

} // namespace

DelayRelay::DelayRelay(uint16_t serverPort, std::chrono::milliseconds oneWay, bool hideCapabilities)
    : m_serverPort(serverPort), m_oneWay(oneWay), m_hideCapabilities(hideCapabilities),
      m_thread([this] { Serve(); }) {}

DelayRelay::~DelayRelay() {
    m_stopping = true;
    m_thread.join();
}

std::string DelayRelay::Address() const {
    return m_listener.Address();
}

DelayRelay::Counts DelayRelay::TakeCounts() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_counts, Counts{});
}

DelayRelay::Counts DelayRelay::TakeCountsOnceEnded() {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (m_relaying && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return TakeCounts();
}

std::string DelayRelay::TakeClientBytes() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_clientBytes, std::string());
}

void DelayRelay::Serve() {
    m_listener.ServeEach(
        SIZE_MAX, [this] { return m_stopping.load(); },
        [this](int client) {
            m_relaying = true;
            int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address = Loopback(m_serverPort);
            if (server >= 0 &&
                ::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                NoDelay(server);
                // The client's connect and the greeting it waits for.
                {
                    std::lock_guard lock(m_mutex);
                    ++m_counts.roundTrips;
                }
                Relay(client, server);
            }
            if (server >= 0) {
                ::close(server);
            }
            m_relaying = false;
        },
        false);
}

void DelayRelay::Relay(int client, int server) {
    Direction directions[2] = {{client, server, {}}, {server, client, {}}};
    bool serverSpokeLast = true;
    while (!m_stopping) {
        if (directions[0].shut && directions[1].shut) {
            return;
        }
        Clock::time_point now = Clock::now();
        // Pass on what is due; writes are blocking, as loopback takes them.
        for (Direction& d : directions) {
            while (!d.held.empty() && d.held.front().first <= now) {
                const std::string& bytes = d.held.front().second;
                for (std::size_t sent = 0; sent < bytes.size();) {
                    ssize_t count =
                        ::send(d.to, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                    if (count < 0 && errno != EINTR) {
                        return;
                    }
                    sent += count > 0 ? static_cast<std::size_t>(count) : 0;
                }
                d.held.pop_front();
            }
            if (d.ended && !d.shut && d.held.empty()) {
                ::shutdown(d.to, SHUT_WR);
                d.shut = true;
            }
        }
        int wait = 50;
        for (const Direction& d : directions) {
            if (!d.held.empty()) {
                auto due = std::chrono::ceil<std::chrono::milliseconds>(d.held.front().first - now);
                wait = std::min(wait, static_cast<int>(std::max<int64_t>(due.count(), 0)));
            }
        }
        pollfd entries[2] = {{client, static_cast<short>(directions[0].ended ? 0 : POLLIN), 0},
                             {server, static_cast<short>(directions[1].ended ? 0 : POLLIN), 0}};
        if (::poll(entries, 2, wait) <= 0) {
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if ((entries[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            Direction& d = directions[i];
            char buffer[65536];
            ssize_t count = ::recv(d.from, buffer, sizeof buffer, 0);
            if (count <= 0) {
                d.ended = true;
                continue;
            }
            std::string bytes(buffer, static_cast<std::size_t>(count));
            bool fromClient = i == 0;
            if (fromClient) {
                std::lock_guard lock(m_mutex);
                m_clientBytes += bytes;
            }
            if (fromClient && m_hideCapabilities && bytes.starts_with("CAPA\r\n")) {
                bytes.replace(0, 4, "XCAP");
            }
            {
                std::lock_guard lock(m_mutex);
                (fromClient ? m_counts.toServer : m_counts.toClient) += bytes.size();
                if (fromClient && serverSpokeLast) {
                    ++m_counts.roundTrips;
                }
            }
            serverSpokeLast = !fromClient;
            d.held.emplace_back(Clock::now() + m_oneWay, std::move(bytes));
        }
    }
}
