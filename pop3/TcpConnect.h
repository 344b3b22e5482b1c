// Making the TCP connection of a conversation: the server name parsed, its
// addresses looked up and raced (RFC 8305), every wait bounded and sliced
// like the line channel's.
#pragma once

#include "LineChannel.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <vector>

struct Endpoint {
    std::string name; // without brackets
    uint16_t port = 0;
};

// "name", "name:port", "[v6-address]:port" or a bare IPv6 address; empty when
// the port is not a number from 1 to 65535.
std::optional<Endpoint> ParseEndpoint(const std::string& host, uint32_t defaultPort);

// Why no connection was made; the last address tried decides.
enum class ConnectFailure { None, BadName, Unresolved, Refused, NoAnswer, Abandoned };

struct TcpConnection {
    UniqueFd socket; // invalid unless failure is None
    ConnectFailure failure = ConnectFailure::None;
    Endpoint endpoint;
    // When the attempt that connected began: its bound also covers what has
    // to follow before the server can speak (a TLS handshake).
    std::chrono::steady_clock::time_point attemptStarted;
};

// A dotted IPv4 address is used as it is; any other name is resolved, waited
// for like the socket, and its addresses are raced as ConnectFirst does.
TcpConnection ConnectTcp(const std::string& host, uint32_t defaultPort, const SocketWaiter& waiter,
                         std::chrono::milliseconds attemptLimit);

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

// The families take turns (RFC 8305, section 4), starting with the family of
// the first address; within a family the order stays.
std::vector<SocketAddress> InterleaveFamilies(const std::vector<SocketAddress>& addresses);

inline constexpr std::chrono::milliseconds kNextAttemptDelay{250};

// Happy Eyeballs (RFC 8305): the next address is tried nextAttemptDelay after
// the last one started while that one is still pending, or at once when it
// fails; the first to connect is kept and every other attempt closed. Each
// attempt gives up attemptLimit after its start, so a dead address costs
// little more than the delay, not a whole time-out.
// The failure, when nothing connects, is the last attempt's.
TcpConnection ConnectFirst(const std::vector<SocketAddress>& addresses, const SocketWaiter& waiter,
                           std::chrono::milliseconds attemptLimit,
                           std::chrono::milliseconds nextAttemptDelay = kNextAttemptDelay);
