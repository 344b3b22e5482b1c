#include "HeaderCache.h"

#include <utility>

void HeaderCache::Reclaim(MessageTable& table) {
    bool lentToThisTable = table.size() == m_tableRows;
    for (const Account& account : m_accounts) {
        for (const auto& [uid, header] : account.headers) {
            lentToThisTable = lentToThisTable && header.row < table.size();
        }
    }
    if (!lentToThisTable) {
        m_accounts.clear();
        return;
    }
    for (Account& account : m_accounts) {
        for (auto& [uid, header] : account.headers) {
            header.subject = std::move(table.subjects[header.row]);
            header.from = std::move(table.froms[header.row]);
            // A text not kept was replaced by a sentence saying so.
            if (header.textKept) {
                header.headerText = std::move(table.headerTexts[header.row]);
            }
        }
    }
}

CachedHeaders HeaderCache::Take(std::size_t index, const std::string& key) {
    if (index >= m_accounts.size() || m_accounts[index].key != key) {
        return {};
    }
    CachedHeaders taken = std::move(m_accounts[index].headers);
    m_accounts[index].headers.clear();
    return taken;
}

void HeaderCache::Keep(std::size_t index, std::string key, CachedHeaders headers) {
    if (index >= m_accounts.size()) {
        m_accounts.resize(index + 1);
    }
    m_accounts[index] = {std::move(key), std::move(headers)};
}

std::size_t HeaderCache::HeaderCount() const {
    std::size_t count = 0;
    for (const Account& account : m_accounts) {
        count += account.headers.size();
    }
    return count;
}
