#include "Transport.h"

#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

// Many servers write a reply's status line and its header block in two
// writes; under Nagle the second waits for the ACK of the first, which the
// kernel would hold back for up to 40 ms, once per message. Linux drops the
// quick-ACK mode again on its own, so it is asked for after every read; the
// call also sends an ACK that is already pending. Elsewhere it is a no-op.
void AskForQuickAcks(int fd) {
#ifdef TCP_QUICKACK
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
}

} // namespace

// TLS reads through here too, so its records are acknowledged as quickly.
TransportStatus PlainTransport::Read(char* buffer, std::size_t size, std::size_t& count) {
    for (;;) {
        ssize_t received = ::recv(Fd(), buffer, size, 0);
        if (received > 0) {
            AskForQuickAcks(Fd());
            count = static_cast<std::size_t>(received);
            return TransportStatus::Done;
        }
        if (received == 0) {
            return TransportStatus::EndOfStream;
        }
        if (errno != EINTR) {
            return errno == EAGAIN || errno == EWOULDBLOCK ? TransportStatus::WantRead
                                                           : TransportStatus::Failure;
        }
    }
}

TransportStatus PlainTransport::Write(const char* bytes, std::size_t size, std::size_t& count) {
    for (;;) {
        ssize_t sent = ::send(Fd(), bytes, size, MSG_NOSIGNAL);
        if (sent >= 0) {
            count = static_cast<std::size_t>(sent);
            return TransportStatus::Done;
        }
        if (errno != EINTR) {
            return errno == EAGAIN || errno == EWOULDBLOCK ? TransportStatus::WantWrite
                                                           : TransportStatus::Failure;
        }
    }
}

bool PlainTransport::HasBufferedData() const {
    char byte = 0;
    return ::recv(Fd(), &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}
