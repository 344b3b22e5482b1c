// The header scan of one account's mailbox, once its count is taken: with a
// sound unique-id listing only the messages not seen at the last check are
// fetched, the others are taken from what that check kept; otherwise, or
// when no listing is to be asked for, every message is fetched. Either way
// the result is what a full scan gives.
#pragma once

#include "HeaderCache.h"
#include "Pop3Connection.h"

#include <string>
#include <vector>

struct AccountHeaders {
    ScannedHeaders headers;        // every message, in message-number order
    std::vector<std::string> uids; // theirs; empty when the server listed none soundly
    bool listingBrokeOff = false;  // the scan failed inside the unique-id listing
};

// False when the scan failed. The kept headers' strings are moved out of
// lastRows; `kept` is used up either way.
bool ScanAccount(CPop3Connection& conversation, bool askUniqueIds, CachedHeaders& kept,
                 MessageTable& lastRows, AccountHeaders& out);
