// Every message id seen since the program started, duplicates counted.
// Ids are compared as whole byte strings, case-sensitively. Kept as counts per
// distinct id so that a program left running for weeks neither slows down nor
// grows at every check.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

class KnownMessageIds {
public:
    void Append(const std::string& id);
    bool Contains(const std::string& id) const;
    // Entries as appended, duplicates included.
    uint64_t size() const { return m_total; }
    std::size_t DistinctCount() const { return m_counts.size(); }
    uint64_t CountOf(const std::string& id) const;

private:
    std::unordered_map<std::string, uint64_t> m_counts;
    uint64_t m_total = 0;
};
