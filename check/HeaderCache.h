// What a check keeps of each account's messages for the next check of that
// account, keyed by the server's unique-ids (UIDL), so that only the messages
// not seen before are fetched. In memory for the program's life; an account
// whose server or user changes starts empty.
//
// Between checks the rows' strings live in the MessageTable, not twice: the
// cache lends them to the table and takes them back when the next check
// starts.
#pragma once

#include "MessageTable.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

struct CachedHeader {
    std::string subject;
    std::string from;
    std::string messageId;
    std::string headerText;
    std::size_t headerBytes = 0; // as received, kept or not
    bool textKept = false;
    std::size_t row = 0; // the table row its strings are lent to
};

using CachedHeaders = std::unordered_map<std::string, CachedHeader>; // by unique-id

class HeaderCache {
public:
    // Takes back what the last check lent to table; forgets every account
    // when the table is not as that check left it.
    void Reclaim(MessageTable& table);
    // The headers kept for account index under key, moved out; empty when
    // they were kept under another key.
    CachedHeaders Take(std::size_t index, const std::string& key);
    // Keeps headers whose strings were just lent to the table.
    void Keep(std::size_t index, std::string key, CachedHeaders headers);
    // What the table holds once the check has filled it.
    void CheckEnded(const MessageTable& table) { m_tableRows = table.size(); }

    std::size_t HeaderCount() const;

private:
    struct Account {
        std::string key;
        CachedHeaders headers;
    };
    std::vector<Account> m_accounts;
    std::size_t m_tableRows = 0;
};
