#include "HeaderCache.h"

#include <algorithm>
#include <numeric>
#include <utility>

bool OrderByUniqueId(CachedHeaders& kept, const ScannedHeaders& rows) {
    const auto byId = [&](uint32_t a, uint32_t b) {
        return rows[a].UniqueId() < rows[b].UniqueId();
    };
    if (!std::is_sorted(kept.begin(), kept.end(), byId)) {
        std::sort(kept.begin(), kept.end(), byId);
    }
    return std::adjacent_find(kept.begin(), kept.end(), [&](uint32_t a, uint32_t b) {
               return rows[a].UniqueId() == rows[b].UniqueId();
           }) == kept.end();
}

std::optional<std::size_t> FindKept(const CachedHeaders& kept, const ScannedHeaders& rows,
                                    std::string_view uid, std::size_t hint) {
    if (hint < kept.size() && rows[kept[hint]].UniqueId() == uid) {
        return hint;
    }
    auto it =
        std::lower_bound(kept.begin(), kept.end(), uid, [&](uint32_t row, std::string_view id) {
            return rows[row].UniqueId() < id;
        });
    if (it == kept.end() || rows[*it].UniqueId() != uid) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - kept.begin());
}

void HeaderCache::Reclaim(MessageTable& table) {
    bool ours = table.size() == m_tableRows;
    for (const Account& account : m_accounts) {
        for (uint32_t row : account.headers) {
            ours = ours && (account.rowsOwn || row < table.size());
        }
    }
    if (ours) {
        m_lastRows = table.TakeHeaders();
    } else {
        // What a server was found unable to do still holds.
        for (Account& account : m_accounts) {
            account.headers.clear();
            account.ownRows = ScannedHeaders();
            account.rowsOwn = false;
        }
    }
    table = MessageTable();
}

void HeaderCache::CheckEnded(const MessageTable& table, std::size_t accounts) {
    m_lastRows = ScannedHeaders();
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
    // Its own rows were moved out by the scan, or are not wanted any more.
    if (index < m_accounts.size() && m_accounts[index].rowsOwn) {
        m_accounts[index].ownRows = ScannedHeaders();
    }
    for (std::size_t later = index + 1; later < m_accounts.size(); ++later) {
        if (!m_accounts[later].rowsOwn && !m_accounts[later].headers.empty()) {
            return;
        }
    }
    m_lastRows = ScannedHeaders();
}

ScannedHeaders& HeaderCache::RowsOf(std::size_t index) {
    return index < m_accounts.size() && m_accounts[index].rowsOwn ? m_accounts[index].ownRows
                                                                  : m_lastRows;
}

void HeaderCache::Keep(std::size_t index, std::string key, CachedHeaders headers) {
    if (index >= m_accounts.size()) {
        m_accounts.resize(index + 1);
    }
    Account& account = m_accounts[index];
    const bool withoutUniqueIds = account.withoutUniqueIds && account.key == key;
    account = {std::move(key), std::move(headers), {}, false, withoutUniqueIds, {}};
}

void HeaderCache::GoWithoutUniqueIds(std::size_t index, std::string key) {
    Keep(index, std::move(key), {});
    m_accounts[index].withoutUniqueIds = true;
}

bool HeaderCache::WithoutUniqueIds(std::size_t index, const std::string& key) const {
    return index < m_accounts.size() && m_accounts[index].key == key &&
           m_accounts[index].withoutUniqueIds;
}

void HeaderCache::KeepFolderMarks(std::size_t index, std::vector<FolderMark> marks) {
    if (index < m_accounts.size()) {
        m_accounts[index].folderMarks = std::move(marks);
    }
}

std::vector<FolderMark> HeaderCache::FolderMarks(std::size_t index, const std::string& key) const {
    if (index >= m_accounts.size() || m_accounts[index].key != key) {
        return {};
    }
    return m_accounts[index].folderMarks;
}

void HeaderCache::KeepThroughFailure(std::size_t index, std::string key, CachedHeaders headers) {
    ScannedHeaders& rows = RowsOf(index);
    ScannedHeaders own;
    own.reserve(headers.size());
    for (uint32_t row : headers) {
        own.push_back(std::move(rows[row]));
    }
    KeepFound(index, std::move(key), std::move(own));
}

void HeaderCache::KeepFound(std::size_t index, std::string key, ScannedHeaders rows) {
    // A message whose TOP brought nothing is asked for again next time.
    std::erase_if(rows, [](const ScannedHeader& header) {
        return header.UniqueId().empty() || header.HeaderBytes() == 0;
    });
    CachedHeaders headers(rows.size());
    std::iota(headers.begin(), headers.end(), uint32_t{0});
    if (!OrderByUniqueId(headers, rows)) {
        headers.clear();
        rows.clear();
    }
    KeepWithRows(index, std::move(key), std::move(headers), std::move(rows));
}

void HeaderCache::KeepWithRows(std::size_t index, std::string key, CachedHeaders headers,
                               ScannedHeaders rows) {
    Keep(index, std::move(key), std::move(headers));
    m_accounts[index].ownRows = std::move(rows);
    m_accounts[index].rowsOwn = true;
}

const ScannedHeaders& HeaderCache::RowsOf(std::size_t index, const MessageTable& table) const {
    return m_accounts[index].rowsOwn ? m_accounts[index].ownRows : table.Headers();
}
