// A message's header block as the check shows it, whichever protocol brought
// it: the block read a line at a time into its subject, From and Message-Id
// (RFC 5322: field names in any case, folded lines unfolded) and its text,
// then made into one ScannedHeader. The texts of a large mailbox are kept
// within a budget, the newest first.
#pragma once

#include "ScannedHeader.h"
#include "Translate.h"

#include <cstddef>
#include <string>
#include <string_view>

// What a header block without the field holds in its place, kept so in the
// state file and the JSON; the windows show the first two translated.
inline constexpr const char* kNoSubject = QT_TRANSLATE_NOOP("HeaderBlock", "(untitled)");
inline constexpr const char* kNoSender = QT_TRANSLATE_NOOP("HeaderBlock", "(unknown)");
inline constexpr const char* kNoMessageId = "(none)";

class HeaderBlock {
public:
    HeaderBlock() { Reset(); }

    // The defaults, for a message whose block is yet to come (or never comes).
    void Reset();
    // One line of the block without its line end; trailing blanks are dropped.
    void Add(std::string line);
    // A whole block, its lines ended by CR LF or a bare LF.
    void AddLines(std::string_view block);
    // The text so far: each line and "\n".
    std::size_t TextBytes() const { return m_text.size(); }
    ScannedHeader Make(std::string_view uniqueId = {});

private:
    std::string m_subject;
    std::string m_from;
    std::string m_messageId;
    std::string m_text;
    // The field whose line came last; its continuation lines belong to it, so
    // a folded subject is not cut at its first line.
    std::string* m_unfolding = nullptr;
};

// A mailbox kept on the server for years holds more header text than is worth
// keeping in memory: past the budget the oldest messages' texts are dropped.
class HeaderTextBudget {
public:
    explicit HeaderTextBudget(std::size_t budget) : m_budget(budget) {}

    // After each header added to the end of headers, in the order scanned.
    void Added(ScannedHeaders& headers);
    // The header text the headers hold now.
    std::size_t Kept() const { return m_kept; }

private:
    std::size_t m_budget;
    std::size_t m_kept = 0;
    std::size_t m_oldestKept = 0;
};
