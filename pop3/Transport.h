// What the line channel reads from and writes to: the bare socket, or TLS over
// it. A transport never waits; it says what it needs the socket to become
// before the same call can make progress, and the channel waits for that.
#pragma once

#include <cstddef>

enum class TransportStatus {
    Done,        // the call moved bytes (or finished its step)
    WantRead,    // call again once the socket is readable
    WantWrite,   // call again once the socket is writable
    EndOfStream, // the peer has closed its side
    Failure,
};

class Transport {
public:
    virtual ~Transport() = default;

    int Fd() const { return m_fd; }
    // `count` is set when Done.
    virtual TransportStatus Read(char* buffer, std::size_t size, std::size_t& count) = 0;
    virtual TransportStatus Write(const char* bytes, std::size_t size, std::size_t& count) = 0;
    // Bytes that have arrived and not yet been read: poll() cannot see those
    // a TLS library has already decrypted.
    virtual bool HasBufferedData() const = 0;
    // Says goodbye at the transport's own level, without waiting for an answer.
    virtual void Close() = 0;

protected:
    explicit Transport(int fd) : m_fd(fd) {}

private:
    int m_fd; // owned by the conversation, not the transport
};

class PlainTransport final : public Transport {
public:
    explicit PlainTransport(int fd) : Transport(fd) {}

    TransportStatus Read(char* buffer, std::size_t size, std::size_t& count) override;
    TransportStatus Write(const char* bytes, std::size_t size, std::size_t& count) override;
    bool HasBufferedData() const override;
    void Close() override {}
};
