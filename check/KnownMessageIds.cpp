#include "KnownMessageIds.h"

void KnownMessageIds::Append(const std::string& id) {
    ++m_counts[id];
    ++m_total;
}

bool KnownMessageIds::Contains(const std::string& id) const {
    return m_counts.find(id) != m_counts.end();
}

uint64_t KnownMessageIds::CountOf(const std::string& id) const {
    auto it = m_counts.find(id);
    return it == m_counts.end() ? 0 : it->second;
}
