#include "Format.h"
#include "Pop3Connection.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

void TrimTrailing(std::string& text) {
    text.erase(text.find_last_not_of(kWhiteSpace) + 1);
}

void TrimLeading(std::string& text) {
    text.erase(0, text.find_first_not_of(kWhiteSpace));
}

bool StartsWithLowered(const std::string& line, std::string_view lowerName) {
    return line.size() >= lowerName.size() &&
           std::equal(lowerName.begin(), lowerName.end(), line.begin(), [](char name, char c) {
               return name == ((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
           });
}

// A sign, then digits up to the first other character; saturates instead of
// wrapping so a lying server cannot turn a huge count negative.
int ParseSignedDecimal(std::string_view text) {
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
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
int ParseStatCount(const std::string& reply) {
    std::string text = reply.substr(reply.find("+OK") + 3);
    TrimLeading(text);
    return ParseSignedDecimal(std::string_view(text).substr(0, text.find(' ')));
}

} // namespace

int CPop3Connection::GetMessageCount() {
    if (!m_open) {
        return -1;
    }
    SendLine("STAT");
    std::string reply = ReadLine();
    if (!IsFavourable(reply)) {
        Fail(Refusal("The server did not give the number of messages", reply));
        return -1;
    }
    return ParseStatCount(reply);
}

int CPop3Connection::RetrieveHeaders() {
    // Entered again from the wait hook, it would empty the lists under the
    // scan that is filling them.
    if (!m_open || !m_idle || m_inChannel) {
        return 0;
    }
    m_idle = false;
    int count = GetMessageCount();
    m_subjects.clear();
    m_froms.clear();
    m_messageIds.clear();
    m_headerTexts.clear();
    bool complete = count >= 0;
    std::size_t held = 0;
    for (int number = 1; complete && number <= count; ++number) {
        // A server that claims more messages than it has must not make the
        // scan grow without end, one set of defaults per number.
        if (held > m_limits.maxScanBytes) {
            Fail(Format("The headers on %s add up to more than %zu bytes.", m_serverName.c_str(),
                        m_limits.maxScanBytes));
            ReleaseChannel();
            complete = false;
            break;
        }
        m_subjects.emplace_back("(untitled)");
        m_froms.emplace_back("(unknown)");
        m_messageIds.emplace_back("(none)");
        m_headerTexts.emplace_back();
        SendLine("TOP " + std::to_string(number) + " 0");
        std::string status;
        if (ReadReply(status) != ReadStatus::Line) {
            complete = false;
        } else if (IsFavourable(status)) {
            complete = ScanHeaderBlock(m_subjects.size() - 1);
        }
        held += 4 * sizeof(std::string) + m_headerTexts.back().size() + m_subjects.back().size() +
                m_froms.back().size() + m_messageIds.back().size();
        // An unfavourable status (the message is gone, or no TOP) brings no
        // header block; the message keeps its defaults.
    }
    m_idle = true;
    if (m_closeRequested) {
        Close();
    }
    return complete ? 1 : 0;
}

// False when the block did not reach its terminating line: the channel failed,
// the block outgrew its bound, or the server ended the stream.
bool CPop3Connection::ScanHeaderBlock(std::size_t index) {
    struct Field {
        std::string_view lowerName;
        std::string& value;
    };
    // The character after the name, a colon when well formed, is dropped unseen.
    const std::array<Field, 3> fields{{{"subject", m_subjects[index]},
                                       {"from", m_froms[index]},
                                       {"message-id", m_messageIds[index]}}};
    std::string& text = m_headerTexts[index];
    // The field whose line came last; its continuation lines belong to it
    // (RFC 5322 unfolding), so a folded subject is not cut at its first line.
    std::string* unfolding = nullptr;
    bool terminated = false;
    std::string line;
    while (ReadReply(line) == ReadStatus::Line) {
        TrimTrailing(line);
        // ". " ends the block too: trailing blanks go before the comparison.
        if (line == ".") {
            terminated = true;
            break;
        }
        // RFC 1939 byte-stuffing: a line the server sent as ".." starts with one ".".
        if (line.starts_with("..")) {
            line.erase(0, 1);
        }
        if (text.size() + line.size() + 1 > m_limits.maxHeaderBytes) {
            Fail(Format("The header of message %zu is larger than %zu bytes.", index + 1,
                        m_limits.maxHeaderBytes));
            ReleaseChannel();
            break;
        }
        text.append(line).push_back('\n');
        if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            if (unfolding != nullptr) {
                unfolding->append(line);
            }
            continue;
        }
        unfolding = nullptr;
        for (const Field& field : fields) {
            if (StartsWithLowered(line, field.lowerName)) {
                field.value = line.size() > field.lowerName.size()
                                  ? line.substr(field.lowerName.size() + 1)
                                  : std::string();
                unfolding = &field.value;
            }
        }
    }
    for (const Field& field : fields) {
        TrimLeading(field.value);
    }
    return terminated;
}
