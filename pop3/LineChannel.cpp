#include "LineChannel.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <poll.h>
#include <utility>

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset();
        m_fd = other.Release();
    }
    return *this;
}

int UniqueFd::Release() {
    return std::exchange(m_fd, -1);
}

void UniqueFd::Reset() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SocketWaiter::SocketWaiter(WaitHook hook, std::function<bool()> stillWanted,
                           std::chrono::milliseconds slice)
    : m_hook(std::move(hook)), m_stillWanted(std::move(stillWanted)),
      m_slice(std::max(slice, std::chrono::milliseconds{1})) {}

bool SocketWaiter::WaitFor(int fd, short events, std::chrono::milliseconds limit) const {
    pollfd entry{fd, events, 0};
    return WaitForAny(std::span(&entry, 1), limit);
}

bool SocketWaiter::WaitForAny(std::span<pollfd> entries, std::chrono::milliseconds limit) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    for (;;) {
        if (!RunHookWhenDue()) {
            return false;
        }
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        int ready = ::poll(entries.data(), entries.size(),
                           static_cast<int>(std::min(left, m_slice).count()));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

bool SocketWaiter::RunHookWhenDue() const {
    const auto now = std::chrono::steady_clock::now();
    if (m_hook && now - m_hookRan >= m_slice) {
        m_hookRan = now;
        m_hook();
    }
    return !Abandoned();
}

bool SocketWaiter::Abandoned() const {
    return m_stillWanted && !m_stillWanted();
}

LineChannel::LineChannel(std::unique_ptr<Transport> transport, SocketWaiter waiter,
                         const ChannelLimits& limits)
    : m_transport(std::move(transport)), m_waiter(std::move(waiter)), m_ioTimeout(limits.ioTimeout),
      m_maxLineBytes(limits.maxLineBytes), m_lowSpeedBytes(limits.lowSpeedBytes),
      m_lowSpeedTime(limits.lowSpeedTime), m_conversationTimeout(limits.conversationTimeout),
      m_conversationEnd(std::chrono::steady_clock::now() + limits.conversationTimeout) {}

std::chrono::milliseconds LineChannel::TimeLeft() const {
    return std::max(
        std::chrono::ceil<std::chrono::milliseconds>(m_deadline - std::chrono::steady_clock::now()),
        std::chrono::milliseconds{0});
}

namespace {

short EventsFor(TransportStatus status) {
    return status == TransportStatus::WantRead    ? POLLIN
           : status == TransportStatus::WantWrite ? POLLOUT
                                                  : 0;
}

} // namespace

bool LineChannel::Await(short events) {
    if (m_waiter.WaitFor(m_transport->Fd(), events, TimeLeft())) {
        return true;
    }
    m_fault = m_waiter.Abandoned()      ? ChannelFault::Abandoned
              : TimeLeft().count() <= 0 ? ChannelFault::TimedOut
                                        : ChannelFault::Broken;
    return false;
}

// The transport, not the caller, says which way the socket must turn: TLS
// may need to write while reading, and read while writing.
TransportStatus LineChannel::Drive(const std::function<TransportStatus()>& step) {
    for (;;) {
        TransportStatus status = step();
        if (status == TransportStatus::Failure) {
            m_fault = ChannelFault::Broken;
        }
        short events = EventsFor(status);
        if (events == 0) {
            return status;
        }
        if (!Await(events)) {
            return TransportStatus::Failure;
        }
    }
}

TransportStatus LineChannel::Complete(const std::function<TransportStatus()>& step,
                                      std::chrono::milliseconds limit) {
    m_deadline = std::chrono::steady_clock::now() + limit;
    return Drive(step);
}

void LineChannel::ReplaceTransport(std::unique_ptr<Transport> transport) {
    m_transport = std::move(transport);
    m_inPos = m_inEnd = 0;
    m_endOfStream = false;
    m_readFailed = false;
}

bool LineChannel::HasPendingInput() const {
    return m_inPos < m_inEnd || m_transport->HasBufferedData();
}

void LineChannel::CloseTransport() {
    m_transport->Close();
}

// The time-out covers the whole line, so a server that trickles a byte now
// and then cannot hold a line open for ever.
bool LineChannel::WriteLine(const std::string& line) {
    return WriteLines({line});
}

bool LineChannel::WriteLines(const std::vector<std::string>& lines) {
    m_deadline = std::min(std::chrono::steady_clock::now() + m_ioTimeout, m_conversationEnd);
    for (const std::string& line : lines) {
        QueueLine(line);
    }
    return Flush();
}

void LineChannel::QueueLine(const std::string& line) {
    m_out.append(line).append("\r\n");
}

bool LineChannel::Flush() {
    bool sent = Drive([this] { return WriteQueued(); }) == TransportStatus::Done;
    m_out.clear();
    m_outSent = 0;
    return sent;
}

TransportStatus LineChannel::WriteQueued() {
    while (m_outSent < m_out.size()) {
        std::size_t count = 0;
        TransportStatus status =
            m_transport->Write(m_out.data() + m_outSent, m_out.size() - m_outSent, count);
        if (status != TransportStatus::Done) {
            return status;
        }
        m_outSent += count;
    }
    m_out.clear();
    m_outSent = 0;
    return TransportStatus::Done;
}

// Queued lines go out as the socket takes them while the wait is for input.
// A server that hung up may still have replies to read: a failed write drops
// what was queued and leaves the verdict to the reading.
bool LineChannel::Refill() {
    for (;;) {
        short events = 0;
        if (m_outSent < m_out.size()) {
            TransportStatus written = WriteQueued();
            if (written == TransportStatus::Failure) {
                m_out.clear();
                m_outSent = 0;
            }
            events = EventsFor(written);
        }
        std::size_t count = 0;
        TransportStatus status = m_transport->Read(m_in.data(), m_in.size(), count);
        if (status == TransportStatus::Done || status == TransportStatus::EndOfStream) {
            m_inPos = 0;
            m_inEnd = status == TransportStatus::Done ? count : 0;
            m_endOfStream = status == TransportStatus::EndOfStream;
            return true;
        }
        if (status == TransportStatus::Failure) {
            m_fault = ChannelFault::Broken;
            return false;
        }
        if (!Await(static_cast<short>(events | EventsFor(status)))) {
            return false;
        }
    }
}

// A server that answers every line in time can still trickle: one byte now
// and then, line after line, would hold the check for ever. So the bytes that
// come while replies are awaited are counted over windows of waiting time.
bool LineChannel::RefillAtPace(std::chrono::steady_clock::time_point lineDeadline) {
    using Clock = std::chrono::steady_clock;
    for (;;) {
        const Clock::time_point start = Clock::now();
        const Clock::time_point windowEnd = start + (m_lowSpeedTime - m_awaited);
        m_deadline = std::min({lineDeadline, windowEnd, m_conversationEnd});
        const bool refilled = Refill();
        const Clock::time_point end = Clock::now();
        m_awaited += end - start;
        if (refilled) {
            m_windowBytes += m_inEnd;
            return true;
        }
        // Cut short by the window's end with enough bytes in it: a new
        // window, and the wait goes on. Any other end is a failure.
        if (end < windowEnd || m_windowBytes < m_lowSpeedBytes ||
            end >= std::min(lineDeadline, m_conversationEnd)) {
            if (m_fault == ChannelFault::TimedOut) {
                m_fault = end >= m_conversationEnd                 ? ChannelFault::TooLong
                          : end >= windowEnd && end < lineDeadline ? ChannelFault::TooSlow
                                                                   : ChannelFault::TimedOut;
            }
            return false;
        }
        m_awaited = {};
        m_windowBytes = 0;
    }
}

// Bytes buffered before the end of the stream are still read; only a read
// that finds the buffer empty reports the end.
bool LineChannel::TakeBuffered(std::chrono::steady_clock::time_point deadline, ReadStatus& status) {
    while (m_inPos == m_inEnd) {
        if (m_readFailed) {
            m_fault = ChannelFault::Broken;
            status = ReadStatus::Failure;
            return false;
        }
        if (m_endOfStream) {
            status = ReadStatus::EndOfStream;
            return false;
        }
        if (!RefillAtPace(deadline)) {
            status = ReadStatus::Failure;
            return false;
        }
    }
    return true;
}

ReadStatus LineChannel::ReadLine(std::string& line) {
    line.clear();
    const auto lineDeadline = std::chrono::steady_clock::now() + m_ioTimeout;
    ReadStatus status = ReadStatus::Line;
    while (TakeBuffered(lineDeadline, status)) {
        const char* start = m_in.data() + m_inPos;
        std::size_t available = m_inEnd - m_inPos;
        const auto* end = static_cast<const char*>(std::memchr(start, '\n', available));
        std::size_t taken = end != nullptr ? static_cast<std::size_t>(end - start) : available;
        line.append(start, taken);
        m_inPos += taken + (end != nullptr ? 1 : 0);
        if (end != nullptr && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        // One byte more while unfinished: the CR of a line end split over two reads.
        if (line.size() > m_maxLineBytes + (end != nullptr ? 0 : 1)) {
            m_fault = ChannelFault::LineTooLong;
            line.clear();
            return ReadStatus::Failure;
        }
        if (end != nullptr) {
            return ReadStatus::Line;
        }
    }
    line.clear();
    return status;
}

// The deadline starts again with each piece received: a literal may be
// megabytes, which a slow link takes longer than a line to bring, while the
// low-speed and conversation bounds still hold.
ReadStatus LineChannel::ReadBytes(std::string& bytes, std::size_t count) {
    bytes.clear();
    ReadStatus status = ReadStatus::Line;
    while (bytes.size() < count &&
           TakeBuffered(std::chrono::steady_clock::now() + m_ioTimeout, status)) {
        std::size_t taken = std::min(count - bytes.size(), m_inEnd - m_inPos);
        bytes.append(m_in.data() + m_inPos, taken);
        m_inPos += taken;
    }
    if (bytes.size() < count) {
        bytes.clear();
        return status;
    }
    return ReadStatus::Line;
}

bool LineChannel::LineArrived() {
    for (;;) {
        if (std::memchr(m_in.data() + m_inPos, '\n', m_inEnd - m_inPos) != nullptr ||
            m_endOfStream || m_readFailed) {
            return true;
        }
        if (m_inEnd == m_in.size()) {
            // A line as long as the buffer: the read takes it from here.
            if (m_inPos == 0) {
                return true;
            }
            std::memmove(m_in.data(), m_in.data() + m_inPos, m_inEnd - m_inPos);
            m_inEnd -= m_inPos;
            m_inPos = 0;
        }
        std::size_t count = 0;
        switch (m_transport->Read(m_in.data() + m_inEnd, m_in.size() - m_inEnd, count)) {
        case TransportStatus::Done:
            m_inEnd += count;
            break;
        case TransportStatus::EndOfStream:
            m_endOfStream = true;
            break;
        case TransportStatus::Failure:
            m_readFailed = true;
            break;
        default:
            return false;
        }
    }
}

void LineChannel::RestartConversationClock() {
    m_conversationEnd = std::chrono::steady_clock::now() + m_conversationTimeout;
    m_awaited = {};
    m_windowBytes = 0;
}
