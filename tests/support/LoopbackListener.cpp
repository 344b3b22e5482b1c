#include "LoopbackListener.h"

#include "Loopback.h"

#include <cerrno>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kPollSliceMs = 50;

} // namespace

LoopbackListener::LoopbackListener()
    : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_fd, 8) != 0 ||
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    m_port = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
    ::close(m_fd);
}

std::string LoopbackListener::Address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

void LoopbackListener::ServeEach(std::size_t count, const std::function<bool()>& stopped,
                                 const std::function<void(int fd)>& serve, bool nonBlocking) const {
    const int flags = SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0);
    for (std::size_t served = 0; served < count;) {
        if (stopped()) {
            return;
        }
        pollfd entry{m_fd, POLLIN, 0};
        if (::poll(&entry, 1, kPollSliceMs) <= 0) {
            continue;
        }
        // A client that gave up between the poll and here leaves nothing.
        const int fd = ::accept4(m_fd, nullptr, nullptr, flags);
        if (fd < 0) {
            continue;
        }
        int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        serve(fd);
        ::close(fd);
        ++served;
    }
}

int LoopbackListener::CloseWaiting() const {
    int closed = 0;
    for (int fd; (fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; ++closed) {
        ::close(fd);
    }
    return closed;
}
