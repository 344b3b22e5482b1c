// The result of the last check: one row per message and one per failed
// account, as parallel lists of equal length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Also the index of the row's image in the headers window.
enum MessageState : uint32_t { MessageNew = 0, MessagePending = 1, MessageError = 2 };

struct MessageTable {
    std::vector<std::string> subjects;
    std::vector<std::string> froms;
    std::vector<std::string> mailboxes;
    std::vector<std::string> headerTexts;
    std::vector<uint32_t> states;

    std::size_t size() const { return states.size(); }
    void Clear();
    bool operator==(const MessageTable&) const = default;
};
