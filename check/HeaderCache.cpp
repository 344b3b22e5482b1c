#include "HeaderCache.h"

#include <utility>

void HeaderCache::Reclaim(MessageTable& table) {
    bool ours = table.size() == m_tableRows;
    for (const Account& account : m_accounts) {
        for (const auto& [uid, header] : account.headers) {
            ours = ours && (account.rowsOwn || header.row < table.size());
        }
    }
    if (ours) {
        m_lastRows = std::move(table);
    } else {
        // What a server was found unable to do still holds.
        for (Account& account : m_accounts) {
            account.headers.clear();
            account.ownRows = MessageTable();
            account.rowsOwn = false;
        }
    }
    table = MessageTable();
}

void HeaderCache::CheckEnded(const MessageTable& table, std::size_t accounts) {
    m_lastRows = MessageTable();
    if (m_accounts.size() > accounts) {
        m_accounts.resize(accounts);
    }
    m_tableRows = table.size();
}

CachedHeaders HeaderCache::Take(std::size_t index, const std::string& key) {
    if (index >= m_accounts.size() || m_accounts[index].key != key) {
        return {};
    }
    CachedHeaders taken = std::move(m_accounts[index].headers);
    m_accounts[index].headers.clear();
    return taken;
}

void HeaderCache::AccountScanned(std::size_t index) {
    for (std::size_t later = index + 1; later < m_accounts.size(); ++later) {
        if (!m_accounts[later].rowsOwn && !m_accounts[later].headers.empty()) {
            return;
        }
    }
    m_lastRows = MessageTable();
}

MessageTable& HeaderCache::RowsOf(std::size_t index) {
    return index < m_accounts.size() && m_accounts[index].rowsOwn ? m_accounts[index].ownRows
                                                                  : m_lastRows;
}

void HeaderCache::Keep(std::size_t index, std::string key, CachedHeaders headers) {
    if (index >= m_accounts.size()) {
        m_accounts.resize(index + 1);
    }
    Account& account = m_accounts[index];
    const bool withoutUniqueIds = account.withoutUniqueIds && account.key == key;
    account = {std::move(key), std::move(headers), {}, false, withoutUniqueIds};
}

void HeaderCache::GoWithoutUniqueIds(std::size_t index, std::string key) {
    Keep(index, std::move(key), {});
    m_accounts[index].withoutUniqueIds = true;
}

bool HeaderCache::WithoutUniqueIds(std::size_t index, const std::string& key) const {
    return index < m_accounts.size() && m_accounts[index].key == key &&
           m_accounts[index].withoutUniqueIds;
}

void HeaderCache::KeepThroughFailure(std::size_t index, std::string key, CachedHeaders headers) {
    MessageTable& rows = RowsOf(index);
    MessageTable own;
    for (auto& [uid, header] : headers) {
        own.subjects.push_back(std::move(rows.subjects[header.row]));
        own.froms.push_back(std::move(rows.froms[header.row]));
        own.headerTexts.push_back(header.textKept ? std::move(rows.headerTexts[header.row])
                                                  : std::string());
        header.row = own.subjects.size() - 1;
    }
    KeepWithRows(index, std::move(key), std::move(headers), std::move(own));
}

void HeaderCache::KeepWithRows(std::size_t index, std::string key, CachedHeaders headers,
                               MessageTable rows) {
    Keep(index, std::move(key), std::move(headers));
    m_accounts[index].ownRows = std::move(rows);
    m_accounts[index].rowsOwn = true;
}

const MessageTable& HeaderCache::RowsOf(std::size_t index, const MessageTable& table) const {
    return m_accounts[index].rowsOwn ? m_accounts[index].ownRows : table;
}
