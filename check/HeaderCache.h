// What a check keeps of each account's messages for the next check of that
// account, found by the server's unique-ids (UIDL), so that only the messages
// not seen before are fetched; and whether its server's listing is to be
// asked for at all. In memory for the program's life, and in the state file
// between runs; an account whose server, user or security changes starts
// empty.
//
// Between checks the headers live in the MessageTable's rows only, not
// twice: the cache keeps which rows are its own and takes them back when the
// next check starts.
#pragma once

#include "MessageTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rows kept for an account, ordered by the unique-ids the rows carry.
using CachedHeaders = std::vector<uint32_t>;

// Orders kept by the unique-ids of its rows; false when two rows carry one id.
bool OrderByUniqueId(CachedHeaders& kept, const ScannedHeaders& rows);
// Where in kept the row whose unique-id is uid is. Looked for at hint first:
// most servers list their messages in the order of their ids.
std::optional<std::size_t> FindKept(const CachedHeaders& kept, const ScannedHeaders& rows,
                                    std::string_view uid, std::size_t hint = 0);

// What an IMAP folder's EXAMINE said at the check that kept its headers. With
// CONDSTORE (RFC 7162) a folder whose UIDVALIDITY and HIGHESTMODSEQ are still
// the same has the same messages with the same flags: its unseen messages are
// the ones kept, and neither a search nor a fetch is needed.
struct FolderMark {
    std::string folder;
    uint32_t uidValidity = 0;
    uint64_t highestModSeq = 0;
    std::size_t unseen = 0;
};

class HeaderCache {
public:
    // Takes the last check's table, whose rows the kept headers point into,
    // and leaves table empty; forgets every account's headers when the table
    // is not as that check left it.
    void Reclaim(MessageTable& table);
    // The rows the kept headers of account index are in: the last check's,
    // or their own when that check could not reach it.
    ScannedHeaders& RowsOf(std::size_t index);
    // The headers kept for account index under key, moved out; empty when
    // they were kept under another key.
    CachedHeaders Take(std::size_t index, const std::string& key);
    // Lets go of account index's own rows, and of the last check's rows
    // when no account after index points into them.
    void AccountScanned(std::size_t index);
    // Keeps headers whose rows are in this check's table.
    void Keep(std::size_t index, std::string key, CachedHeaders headers);
    // Keeps headers taken for an account that this check could not reach or
    // count, with their rows, so that a passing failure on a slow or metered
    // link does not cost a full scan.
    void KeepThroughFailure(std::size_t index, std::string key, CachedHeaders headers);
    // Keeps, as their own rows, those of rows that carry a unique-id and a
    // header: what a scan that failed part-way had kept and fetched.
    void KeepFound(std::size_t index, std::string key, ScannedHeaders rows);
    // Lets go of the last check's rows, and of accounts no longer there, once
    // this check has filled table.
    void CheckEnded(const MessageTable& table, std::size_t accounts);
    // A server whose listing broke off once would fail every check in it:
    // account index, kept under key, is checked without one from now on, in
    // later runs too.
    void GoWithoutUniqueIds(std::size_t index, std::string key);
    bool WithoutUniqueIds(std::size_t index, const std::string& key) const;
    // The folder marks of an IMAP account whose headers this check kept;
    // kept under key only.
    void KeepFolderMarks(std::size_t index, std::vector<FolderMark> marks);
    std::vector<FolderMark> FolderMarks(std::size_t index, const std::string& key) const;

    // Between checks, for the state file: what is kept for each account, and
    // the rows its headers point into (table being the last check's).
    std::size_t AccountCount() const { return m_accounts.size(); }
    const std::string& KeyOf(std::size_t index) const { return m_accounts[index].key; }
    const CachedHeaders& HeadersOf(std::size_t index) const { return m_accounts[index].headers; }
    const ScannedHeaders& RowsOf(std::size_t index, const MessageTable& table) const;
    // Keeps headers for account index whose rows are rows, not a table's.
    void KeepWithRows(std::size_t index, std::string key, CachedHeaders headers,
                      ScannedHeaders rows);

private:
    struct Account {
        std::string key;
        CachedHeaders headers;
        ScannedHeaders ownRows; // used when rowsOwn
        bool rowsOwn = false;
        bool withoutUniqueIds = false;
        std::vector<FolderMark> folderMarks;
    };
    std::vector<Account> m_accounts;
    ScannedHeaders m_lastRows;
    std::size_t m_tableRows = 0;
};
