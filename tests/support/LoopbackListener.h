// A listening socket on 127.0.0.1 at a port the kernel chose, and the one
// accept loop the test servers share: each serves the connections it
// accepts one after another, on a thread of its own, until told to stop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class LoopbackListener {
public:
    // Throws when nothing can listen on loopback.
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    uint16_t Port() const { return m_port; }
    // "127.0.0.1:<port>", as a server name for Connect.
    std::string Address() const;

    // Accepts up to `count` connections in turn and hands each to `serve`,
    // Nagle's algorithm off; the connection is closed when `serve` returns.
    // Gives up once `stopped` says so, which it asks every few tens of
    // milliseconds while no client comes.
    void ServeEach(std::size_t count, const std::function<bool()>& stopped,
                   const std::function<void(int fd)>& serve, bool nonBlocking) const;
    // Closes the connections waiting now, unserved; how many there were.
    int CloseWaiting() const;

private:
    int m_fd = -1;
    uint16_t m_port = 0;
};
