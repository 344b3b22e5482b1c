// The result of the last check: one row per message and one per failed
// account, in the order the accounts were walked.
#pragma once

#include "ScannedHeader.h"
#include "Translate.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Also the index of the row's image in the headers window.
enum MessageState : uint8_t { MessageNew = 0, MessagePending = 1, MessageError = 2 };

// The header text of a row whose text fell outside the memory kept for
// header texts, shown where the text would be.
inline constexpr std::string_view kHeaderTextNotKept = QT_TRANSLATE_NOOP(
    "MessageTable", "This message's header is not kept in memory: Tarvo keeps the headers of "
                    "the newest messages of a large mailbox only.");

class MessageTable {
public:
    std::size_t size() const { return m_rows.size(); }
    bool empty() const { return m_rows.empty(); }

    // A message row: subject, from and Message-Id as the server gave them.
    std::string_view Subject(std::size_t row) const { return m_rows[row].Subject(); }
    std::string_view From(std::size_t row) const { return m_rows[row].From(); }
    std::string_view MessageId(std::size_t row) const { return m_rows[row].MessageId(); }
    const std::string& Mailbox(std::size_t row) const;
    // The message's header text, or for an error row the reason it failed.
    std::string_view HeaderText(std::size_t row) const;
    MessageState State(std::size_t row) const { return m_states[row]; }
    std::size_t CountOf(MessageState state) const;

    void AppendMessage(ScannedHeader header, std::string_view mailbox, MessageState state);
    // Room for more rows, where their number is known before they come.
    void Reserve(std::size_t more);
    // An error row is the account's error in place of its messages.
    void AppendError(std::string_view error, std::string_view mailbox, std::string_view reason);

    // The rows' headers, for the check that keeps them for the next one.
    const ScannedHeaders& Headers() const { return m_rows; }
    // Moves the headers out, leaving the table empty.
    ScannedHeaders TakeHeaders();
    void Clear();
    // Tables are equal when they show the same rows.
    bool operator==(const MessageTable& other) const;

private:
    ScannedHeaders m_rows;
    std::vector<MessageState> m_states;
    // The rows of an account follow each other and share its mailbox: each
    // name is held once, with the first row that shows it.
    struct MailboxRun {
        std::size_t firstRow;
        std::string name;
    };
    std::vector<MailboxRun> m_mailboxes;
};
