// The socket layer under a conversation: a buffered line channel over its
// transport, on a non-blocking socket waited for with poll(). Speaks no
// protocol; every wait is bounded and passes its time in short slices,
// running the owner's wait hook between them.
#pragma once

#include "Transport.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <poll.h>
#include <span>
#include <string>
#include <vector>

using WaitHook = std::function<void()>;

struct ChannelLimits {
    std::chrono::milliseconds connectTimeout{30'000}; // each address tried
    std::chrono::milliseconds ioTimeout{60'000};      // one line to be sent, or received
    // A server that sends less than lowSpeedBytes in lowSpeedTime of waiting
    // for its replies holds the check without ever being silent for long.
    std::size_t lowSpeedBytes = 1024;
    std::chrono::milliseconds lowSpeedTime{60'000};
    // The whole conversation from its greeting on, however brisk the server.
    std::chrono::milliseconds conversationTimeout{30 * 60'000};
    std::size_t maxLineBytes = 1024 * 1024;
    std::size_t maxHeaderBytes = 4 * 1024 * 1024; // one message's header block
    std::size_t maxScanBytes = 64 * 1024 * 1024;  // all that one scan keeps
    // Header texts beyond it are dropped, the oldest messages' first.
    std::size_t headerTextBudget = 7 * 1024 * 1024;
    // Commands sent ahead of their replies, unanswered. They leave only as
    // the socket takes them while replies are read, so the pipe is kept full
    // without either side waiting on the other.
    std::size_t pipelineWindowBytes = 64 * 1024;
    // What a server may send while a held connection waits for new mail
    // (IMAP's IDLE): a few lines per change, never a stream.
    std::size_t maxPushBytes = 1024 * 1024;
    std::chrono::milliseconds pollSlice{50};
};

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release();
    void Reset();

private:
    int m_fd = -1;
};

// Passes the time of one socket wait. The wait is given up as soon as
// stillWanted() turns false after a hook call, so a hook that aborts the
// conversation frees it at once instead of at the time-out.
class SocketWaiter {
public:
    SocketWaiter(WaitHook hook, std::function<bool()> stillWanted, std::chrono::milliseconds slice);

    // True when fd reports one of events (or an error) within limit.
    bool WaitFor(int fd, short events, std::chrono::milliseconds limit) const;
    // The same for several sockets: true when any of them reports, with
    // their revents filled in.
    bool WaitForAny(std::span<pollfd> entries, std::chrono::milliseconds limit) const;
    bool Abandoned() const;

private:
    // Runs the hook when a slice has passed since it last ran; false when
    // the wait is no longer wanted.
    bool RunHookWhenDue() const;

    WaitHook m_hook;
    std::function<bool()> m_stillWanted;
    std::chrono::milliseconds m_slice;
    // A server that answers within every slice must not keep the hook from
    // running: the desktop is repainted and Disconnect heard all the same.
    mutable std::chrono::steady_clock::time_point m_hookRan = std::chrono::steady_clock::now();
};

enum class ReadStatus { Line, EndOfStream, Failure };

// Why the channel last failed.
enum class ChannelFault { None, TimedOut, TooSlow, TooLong, Abandoned, Broken, LineTooLong };

class LineChannel {
public:
    // The transport's socket stays owned by the caller and must outlive the
    // channel.
    LineChannel(std::unique_ptr<Transport> transport, SocketWaiter waiter,
                const ChannelLimits& limits);

    // The line and CR LF leave in one flush.
    bool WriteLine(const std::string& line);
    // Each line with its CR LF, all in one flush (queued lines first).
    bool WriteLines(const std::vector<std::string>& lines);
    // The line and CR LF leave while the next lines are read, as the socket
    // takes them: never waited for on their own, so a server that stops
    // reading until its replies are read cannot hold both sides (RFC 2449).
    void QueueLine(const std::string& line);

    // A line ends at CR LF or a bare LF, neither kept. At end of stream
    // EndOfStream on every call; the bytes of an unfinished line are dropped,
    // as POP3 ends every line: they are a reply broken off, whose cut could
    // fall just after a terminating dot. Failure on a socket error, an
    // expired wait or an over-long line.
    ReadStatus ReadLine(std::string& line);
    // Exactly count bytes, whatever they hold (a literal of IMAP): each wait
    // for more is bounded as a line is. EndOfStream when the stream ends
    // first; the bytes are then incomplete.
    ReadStatus ReadBytes(std::string& bytes, std::size_t count);
    // Never waits: takes what the transport holds now (TLS's decrypted bytes
    // too) and says whether ReadLine would find a whole line, the end of the
    // stream or a failure without waiting for the socket.
    bool LineArrived();
    // A connection held open between checks: what follows is bounded as a
    // new conversation, not as the rest of the old one.
    void RestartConversationClock();

    // Runs one step of the transport's own (a TLS handshake) to its end
    // within limit, in the same sliced waits as a line.
    TransportStatus Complete(const std::function<TransportStatus()>& step,
                             std::chrono::milliseconds limit);
    // Between two lines: what follows goes over the new transport.
    void ReplaceTransport(std::unique_ptr<Transport> transport);
    // Bytes that arrived and were not read as lines yet.
    bool HasPendingInput() const;
    // The transport's goodbye; the channel is not used after it.
    void CloseTransport();
    ChannelFault Fault() const { return m_fault; }

private:
    bool Flush();
    // Writes what the socket takes now: Done once nothing is left.
    TransportStatus WriteQueued();
    bool Await(short events);
    bool Refill();
    TransportStatus Drive(const std::function<TransportStatus()>& step);
    // Refill, with the time spent waiting for bytes and the bytes received
    // held against the low-speed limit; bounded by the line's deadline and
    // the conversation's.
    bool RefillAtPace(std::chrono::steady_clock::time_point lineDeadline);
    std::chrono::milliseconds TimeLeft() const;
    // True when unread bytes are buffered; otherwise waits for more until the
    // deadline, and false with status set when none can come.
    bool TakeBuffered(std::chrono::steady_clock::time_point deadline, ReadStatus& status);

    std::unique_ptr<Transport> m_transport;
    ChannelFault m_fault = ChannelFault::None;
    SocketWaiter m_waiter;
    std::chrono::milliseconds m_ioTimeout;
    std::chrono::steady_clock::time_point m_deadline;
    std::size_t m_maxLineBytes;
    std::size_t m_lowSpeedBytes;
    std::chrono::steady_clock::duration m_lowSpeedTime;
    std::chrono::milliseconds m_conversationTimeout;
    std::chrono::steady_clock::time_point m_conversationEnd;
    std::chrono::steady_clock::duration m_awaited{}; // of the current low-speed window
    std::size_t m_windowBytes = 0;
    // Large enough that a full pipe of replies costs few reads.
    std::array<char, 64 * 1024> m_in{};
    std::size_t m_inPos = 0;
    std::size_t m_inEnd = 0;
    bool m_endOfStream = false;
    bool m_readFailed = false; // found by LineArrived, told by the next read
    std::string m_out;
    std::size_t m_outSent = 0; // of m_out; the rest stays in place for a TLS retry
};
