// CPop3Connection's scan: STAT, and TOP n 0 for each message wanted, in turn
// or in a pipelined window, within the header texts' budget.
#include "Format.h"
#include "Pop3Connection.h"
#include "Translate.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

void TrimTrailing(std::string& text) {
    text.erase(text.find_last_not_of(kWhiteSpace) + 1);
}

void TrimLeading(std::string& text) {
    text.erase(0, text.find_first_not_of(kWhiteSpace));
}

// A sign, then digits up to the first other character; saturates instead of
// wrapping so a lying server cannot turn a huge count negative. Empty when
// there is no digit at all: such a reply carries no count, which is not 0.
std::optional<int> ParseSignedDecimal(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    return static_cast<int>(std::clamp(negative ? -value : value, static_cast<long long>(INT_MIN),
                                       static_cast<long long>(INT_MAX)));
}

// The count is the first word after "+OK". RFC 1939 puts the mailbox size
// after it, but a reply that leaves the size out still carries its count.
// A reply without a count, or with a negative one, is no answer to STAT.
int ParseStatCount(const std::string& reply) {
    std::string text = reply.substr(reply.find("+OK") + 3);
    TrimLeading(text);
    std::optional<int> count = ParseSignedDecimal(std::string_view(text).substr(0, text.find(' ')));
    return count && *count >= 0 ? *count : -1;
}

} // namespace

int CPop3Connection::GetMessageCount(bool uniqueIdsNext) {
    if (!m_open) {
        return -1;
    }
    if (!m_countUnread) {
        ReadUnreadReplies();
        // UIDL needs nothing from STAT's reply, so a server that pipelines
        // gets both in one write: one round trip less.
        m_listingUnread = uniqueIdsNext && m_capabilities.pipelining;
        SendLines(m_listingUnread ? std::vector<std::string>{"STAT", "UIDL"}
                                  : std::vector<std::string>{"STAT"});
    }
    return ReadCount();
}

int CPop3Connection::ReadCount() {
    m_countUnread = false;
    std::string reply = ReadLine();
    if (!IsFavourable(reply)) {
        Fail(Refusal(translate("Pop3Connection", "The server did not give the number of messages"),
                     reply));
        m_lastCount = -1;
        return -1;
    }
    int count = ParseStatCount(reply);
    if (count < 0) {
        Fail(Refusal(translate("Pop3Connection",
                               "The server gave no number of messages that a mailbox can hold"),
                     reply));
    }
    m_lastCount = count;
    return count;
}

int CPop3Connection::RetrieveHeaders() {
    // Entered again from the wait hook, it would empty the lists under the
    // scan that is filling them.
    if (!m_open || !m_idle || m_inChannel) {
        return 0;
    }
    m_idle = false;
    ReadUnreadReplies();
    // RFC 1939 alone gets the scan's own STAT, as it always has; a server that
    // speaks CAPA is taken at the count it gave just before.
    int count = SpeaksCapabilities() && m_lastCount >= 0 ? m_lastCount : GetMessageCount();
    return Scan(count, nullptr);
}

int CPop3Connection::RetrieveHeaders(const std::vector<int>& numbers,
                                     const UniqueIdList* uniqueIds) {
    if (!m_open || !m_idle || m_inChannel) {
        return 0;
    }
    m_idle = false;
    ReadUnreadReplies();
    return Scan(static_cast<int>(numbers.size()), &numbers, uniqueIds);
}

ScannedHeaders CPop3Connection::TakeHeaders() {
    return std::exchange(m_headers, ScannedHeaders());
}

namespace {

std::string TopCommand(std::size_t index, const std::vector<int>* numbers) {
    int number = numbers != nullptr ? (*numbers)[index] : static_cast<int>(index) + 1;
    return "TOP " + std::to_string(number) + " 0";
}

} // namespace

// Ends with the idle flag set again and a Close that came meanwhile carried
// out; 0 when count is negative or the scan did not reach its last message.
int CPop3Connection::Scan(int count, const std::vector<int>* numbers,
                          const UniqueIdList* uniqueIds) {
    m_headers = ScannedHeaders();
    if (numbers != nullptr) {
        // The numbers come from a listing already held, not from a claimed count.
        m_headers.reserve(numbers->size());
    }
    bool complete = count >= 0;
    const std::size_t total = count > 0 ? static_cast<std::size_t>(count) : 0;
    std::size_t held = 0;
    HeaderTextBudget texts(m_limits.headerTextBudget);
    std::size_t nextToSend = 0;
    std::size_t unanswered = 0; // bytes of the commands queued whose replies are to come
    for (std::size_t index = 0; complete && index < total; ++index) {
        // A server that claims more messages than it has must not make the
        // scan grow without end, one set of defaults per number.
        if (held + texts.Kept() > m_limits.maxScanBytes) {
            FailScanTooLarge();
            ReleaseChannel();
            complete = false;
            break;
        }
        QueueTopCommands(nextToSend, index, total, numbers, unanswered);
        m_scanning.Reset();
        std::string status;
        if (ReadReply(status) != ReadStatus::Line) {
            complete = false;
        } else if (IsTopHeaderFollowing(status)) {
            complete = ScanHeaderBlock(index);
        } else if (!status.starts_with("-ERR")) {
            // A stray line read as this reply would shift every later
            // header onto the wrong message.
            Fail(Refusal(
                Format(translate("Pop3Connection", "%1 answered %2 with neither +OK nor -ERR"),
                       m_serverName.c_str(), TopCommand(index, numbers).c_str())
                    .c_str(),
                status));
            ReleaseChannel();
            complete = false;
        }
        // -ERR (the message is gone, or no TOP) brings no header block; the
        // message keeps its defaults.
        unanswered -= TopCommand(index, numbers).size() + 2;
        m_headers.push_back(
            m_scanning.Make(uniqueIds != nullptr ? (*uniqueIds)[index] : std::string_view()));
        texts.Added(m_headers);
        held += m_headers.back().Footprint() - m_headers.back().Text().size();
    }
    m_idle = true;
    if (m_closeRequested || m_quitSent) {
        Close();
    }
    return complete ? 1 : 0;
}

// In a pipeline only a status line that starts with +OK is a reply: a line
// that merely holds it could be part of a stray block.
bool CPop3Connection::IsTopHeaderFollowing(const std::string& status) const {
    return m_capabilities.pipelining ? status.starts_with("+OK") : IsFavourable(status);
}

// Without PIPELINING exactly one command, as RFC 1939 has it, once its
// reply is due; with it as many as keep the window full. They leave as the
// socket takes them while replies are read.
void CPop3Connection::QueueTopCommands(std::size_t& next, std::size_t due, std::size_t total,
                                       const std::vector<int>* numbers, std::size_t& unanswered) {
    while (m_open && next < total) {
        std::string command = TopCommand(next, numbers);
        if (next != due && (!m_capabilities.pipelining ||
                            unanswered + command.size() + 2 > m_limits.pipelineWindowBytes)) {
            return;
        }
        unanswered += command.size() + 2;
        m_channel->QueueLine(command);
        ++next;
        if (next == total && m_quitWithScan && m_capabilities.pipelining) {
            m_channel->QueueLine("QUIT");
            m_quitSent = true;
        }
    }
}

// False when the block did not reach its terminating line: the channel failed,
// the block outgrew its bound, or the server ended the stream.
bool CPop3Connection::ScanHeaderBlock(std::size_t index) {
    std::string line;
    while (ReadReply(line) == ReadStatus::Line) {
        TrimTrailing(line);
        // ". " ends the block too: trailing blanks go before the comparison.
        if (line == ".") {
            return true;
        }
        // RFC 1939 byte-stuffing: a line the server sent as ".." starts with one ".".
        if (line.starts_with("..")) {
            line.erase(0, 1);
        }
        if (m_scanning.TextBytes() + line.size() + 1 > m_limits.maxHeaderBytes) {
            Fail(Format(
                translate("Pop3Connection", "The header of message %1 is larger than %2 bytes."),
                index + 1, m_limits.maxHeaderBytes));
            ReleaseChannel();
            break;
        }
        m_scanning.Add(std::move(line));
    }
    return false;
}
