#include "TcpConnect.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

std::optional<uint16_t> ParsePort(const std::string& text) {
    uint32_t port = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc{} || end != text.data() + text.size() || port < 1 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(port);
}

bool IsDottedIPv4(const std::string& name) {
    in_addr address{};
    return ::inet_pton(AF_INET, name.c_str(), &address) == 1;
}

// Invalid when the attempt failed at once; connected or pending otherwise.
UniqueFd StartAttempt(const SocketAddress& address, bool& connected) {
    UniqueFd socket(::socket(address.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC,
                             IPPROTO_TCP));
    if (!socket.Valid()) {
        return {};
    }
    connected = ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address.storage),
                          address.length) == 0;
    if (!connected && errno != EINPROGRESS) {
        return {};
    }
    return socket;
}

bool ConnectSucceeded(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// A name lookup takes as long as the system's resolver lets it. It runs on a
// thread of its own so that the conversation waits for it like for the
// socket: in slices, with the wait hook, bounded, and given up at once on
// Disconnect. A lookup given up on finishes unseen and frees what it found.
struct Resolution {
    UniqueFd ready;  // readable once the lookup has ended
    UniqueFd notify; // the lookup's end of it
    std::atomic<addrinfo*> addresses = nullptr;

    ~Resolution() {
        if (addrinfo* list = addresses.load(); list != nullptr) {
            ::freeaddrinfo(list);
        }
    }
};

std::shared_ptr<Resolution> Resolve(const std::string& name, const std::string& port,
                                    const addrinfo& hints) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return nullptr;
    }
    auto resolution = std::make_shared<Resolution>();
    resolution->ready = UniqueFd(ends[0]);
    resolution->notify = UniqueFd(ends[1]);
    try {
        std::thread([resolution, name, port, hints] {
            addrinfo* found = nullptr;
            if (::getaddrinfo(name.c_str(), port.c_str(), &hints, &found) == 0) {
                resolution->addresses.store(found, std::memory_order_release);
            }
            resolution->notify.Reset();
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return resolution;
}

} // namespace

std::optional<Endpoint> ParseEndpoint(const std::string& host, uint32_t defaultPort) {
    Endpoint endpoint{host, 0};
    std::string portText = std::to_string(defaultPort);
    if (!host.empty() && host.front() == '[') {
        std::size_t close = host.find(']');
        if (close == std::string::npos) {
            return std::nullopt;
        }
        endpoint.name = host.substr(1, close - 1);
        if (close + 1 < host.size()) {
            if (host[close + 1] != ':') {
                return std::nullopt;
            }
            portText = host.substr(close + 2);
        }
    } else if (std::count(host.begin(), host.end(), ':') == 1) {
        std::size_t colon = host.find(':');
        endpoint.name = host.substr(0, colon);
        portText = host.substr(colon + 1);
    }
    std::optional<uint16_t> port = ParsePort(portText);
    if (!port || endpoint.name.empty()) {
        return std::nullopt;
    }
    endpoint.port = *port;
    return endpoint;
}

TcpConnection ConnectTcp(const std::string& host, uint32_t defaultPort, const SocketWaiter& waiter,
                         std::chrono::milliseconds attemptLimit) {
    TcpConnection connection;
    std::optional<Endpoint> endpoint = ParseEndpoint(host, defaultPort);
    if (!endpoint) {
        connection.failure = ConnectFailure::BadName;
        return connection;
    }
    connection.endpoint = *endpoint;
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    if (IsDottedIPv4(endpoint->name)) {
        hints.ai_family = AF_INET;
        hints.ai_flags |= AI_NUMERICHOST;
    } else {
        hints.ai_family = AF_UNSPEC;
    }
    std::shared_ptr<Resolution> resolution =
        Resolve(endpoint->name, std::to_string(endpoint->port), hints);
    if (!resolution || !waiter.WaitFor(resolution->ready.Get(), POLLIN, attemptLimit)) {
        connection.failure =
            waiter.Abandoned() ? ConnectFailure::Abandoned : ConnectFailure::NoAnswer;
        return connection;
    }
    std::vector<SocketAddress> addresses;
    for (const addrinfo* address = resolution->addresses.load(std::memory_order_acquire);
         address != nullptr; address = address->ai_next) {
        SocketAddress entry;
        std::memcpy(&entry.storage, address->ai_addr,
                    std::min<std::size_t>(address->ai_addrlen, sizeof entry.storage));
        entry.length = address->ai_addrlen;
        addresses.push_back(entry);
    }
    TcpConnection raced = ConnectFirst(InterleaveFamilies(addresses), waiter, attemptLimit);
    raced.endpoint = connection.endpoint;
    return raced;
}

std::vector<SocketAddress> InterleaveFamilies(const std::vector<SocketAddress>& addresses) {
    if (addresses.empty()) {
        return {};
    }
    const sa_family_t first = addresses.front().storage.ss_family;
    std::vector<SocketAddress> preferred, others, ordered;
    for (const SocketAddress& address : addresses) {
        (address.storage.ss_family == first ? preferred : others).push_back(address);
    }
    for (std::size_t i = 0; i < std::max(preferred.size(), others.size()); ++i) {
        if (i < preferred.size()) {
            ordered.push_back(preferred[i]);
        }
        if (i < others.size()) {
            ordered.push_back(others[i]);
        }
    }
    return ordered;
}

TcpConnection ConnectFirst(const std::vector<SocketAddress>& addresses, const SocketWaiter& waiter,
                           std::chrono::milliseconds attemptLimit,
                           std::chrono::milliseconds nextAttemptDelay) {
    using Clock = std::chrono::steady_clock;
    struct Attempt {
        UniqueFd socket;
        Clock::time_point started;
    };
    TcpConnection connection;
    connection.failure = ConnectFailure::Unresolved;
    auto connected = [&connection](Attempt& attempt) {
        connection.socket = std::move(attempt.socket);
        connection.attemptStarted = attempt.started;
        connection.failure = ConnectFailure::None;
        return std::move(connection);
    };
    std::vector<Attempt> pending;
    std::size_t next = 0;
    Clock::time_point nextStart = Clock::now();
    while (!waiter.Abandoned()) {
        Clock::time_point now = Clock::now();
        if (next < addresses.size() && (pending.empty() || now >= nextStart)) {
            bool connectedAtOnce = false;
            Attempt attempt{StartAttempt(addresses[next++], connectedAtOnce), now};
            if (connectedAtOnce) {
                return connected(attempt);
            }
            if (attempt.socket.Valid()) {
                pending.push_back(std::move(attempt));
                nextStart = now + nextAttemptDelay;
            } else {
                connection.failure = ConnectFailure::Refused;
            }
            continue;
        }
        if (std::erase_if(pending, [now, attemptLimit](const Attempt& attempt) {
                return attempt.started + attemptLimit <= now;
            }) > 0) {
            connection.failure = ConnectFailure::NoAnswer;
        }
        if (pending.empty()) {
            if (next < addresses.size()) {
                continue;
            }
            return connection;
        }
        Clock::time_point until = next < addresses.size() ? nextStart : Clock::time_point::max();
        std::vector<pollfd> entries;
        for (const Attempt& attempt : pending) {
            until = std::min(until, attempt.started + attemptLimit);
            entries.push_back({attempt.socket.Get(), POLLOUT, 0});
        }
        if (!waiter.WaitForAny(entries,
                               std::chrono::ceil<std::chrono::milliseconds>(until - now))) {
            if (!waiter.Abandoned() && Clock::now() < until) {
                connection.failure = ConnectFailure::Refused; // poll() itself failed
                return connection;
            }
            continue;
        }
        for (std::size_t i = entries.size(); i-- > 0;) {
            if (entries[i].revents == 0) {
                continue;
            }
            if (ConnectSucceeded(entries[i].fd)) {
                return connected(pending[i]);
            }
            // A refusal need not wait for the delay: the next address goes now.
            pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
            connection.failure = ConnectFailure::Refused;
            nextStart = Clock::now();
        }
    }
    connection.failure = ConnectFailure::Abandoned;
    return connection;
}
