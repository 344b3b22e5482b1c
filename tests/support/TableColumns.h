// A table's rows field by field, for comparing with the lists a test expects.
#pragma once

#include "MessageTable.h"
#include "ScanColumns.h"

#include <string>
#include <vector>

template <class Field> std::vector<std::string> Column(const MessageTable& table, Field field) {
    std::vector<std::string> column;
    for (std::size_t row = 0; row < table.size(); ++row) {
        column.emplace_back((table.*field)(row));
    }
    return column;
}

inline std::vector<std::string> Subjects(const MessageTable& table) {
    return Column(table, &MessageTable::Subject);
}
inline std::vector<std::string> Froms(const MessageTable& table) {
    return Column(table, &MessageTable::From);
}
inline std::vector<std::string> Mailboxes(const MessageTable& table) {
    return Column(table, &MessageTable::Mailbox);
}
inline std::vector<std::string> HeaderTexts(const MessageTable& table) {
    return Column(table, &MessageTable::HeaderText);
}
inline std::vector<uint32_t> States(const MessageTable& table) {
    std::vector<uint32_t> states;
    for (std::size_t row = 0; row < table.size(); ++row) {
        states.push_back(table.State(row));
    }
    return states;
}
