#include "Transport.h"

#include <cerrno>
#include <sys/socket.h>

TransportStatus PlainTransport::Read(char* buffer, std::size_t size, std::size_t& count) {
    for (;;) {
        ssize_t received = ::recv(Fd(), buffer, size, 0);
        if (received > 0) {
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
