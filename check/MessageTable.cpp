#include "MessageTable.h"

#include <algorithm>
#include <iterator>
#include <utility>

std::string_view MessageTable::HeaderText(std::size_t row) const {
    return m_rows[row].TextKept() ? m_rows[row].Text() : kHeaderTextNotKept;
}

std::size_t MessageTable::CountOf(MessageState state) const {
    return static_cast<std::size_t>(std::count(m_states.begin(), m_states.end(), state));
}

void MessageTable::AppendError(std::string_view error, std::string_view mailbox,
                               std::string_view reason) {
    AppendMessage(ScannedHeader(error, {}, {}, reason, reason.size()), mailbox, MessageError);
}

const std::string& MessageTable::Mailbox(std::size_t row) const {
    auto after =
        std::upper_bound(m_mailboxes.begin(), m_mailboxes.end(), row,
                         [](std::size_t at, const MailboxRun& run) { return at < run.firstRow; });
    return std::prev(after)->name;
}

void MessageTable::AppendMessage(ScannedHeader header, std::string_view mailbox,
                                 MessageState state) {
    if (m_mailboxes.empty() || m_mailboxes.back().name != mailbox) {
        m_mailboxes.push_back({m_rows.size(), std::string(mailbox)});
    }
    m_rows.push_back(std::move(header));
    m_states.push_back(state);
}

void MessageTable::Reserve(std::size_t more) {
    m_rows.reserve(m_rows.size() + more);
    m_states.reserve(m_states.size() + more);
}

ScannedHeaders MessageTable::TakeHeaders() {
    ScannedHeaders rows = std::move(m_rows);
    Clear();
    return rows;
}

void MessageTable::Clear() {
    m_rows.clear();
    m_states.clear();
    m_mailboxes.clear();
}

// What the rows show and what a script is told; a unique-id is neither.
bool MessageTable::operator==(const MessageTable& other) const {
    if (size() != other.size() || m_states != other.m_states) {
        return false;
    }
    for (std::size_t row = 0; row < size(); ++row) {
        if (Subject(row) != other.Subject(row) || From(row) != other.From(row) ||
            MessageId(row) != other.MessageId(row) || Mailbox(row) != other.Mailbox(row) ||
            HeaderText(row) != other.HeaderText(row)) {
            return false;
        }
    }
    return true;
}
