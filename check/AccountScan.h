// The header scan of one account's mailbox, once its count is taken: with a
// sound unique-id listing only the messages not seen at the last check are
// fetched, the others are taken from what that check kept; otherwise, or
// when no listing is to be asked for, every message is fetched. Either way
// the result is what a full scan gives.
#pragma once

#include "HeaderCache.h"
#include "Pop3Connection.h"

struct AccountHeaders {
    // Every message, in message-number order, each with its unique-id when
    // the server listed them soundly. When the scan failed after a sound
    // listing: the kept headers of the messages listed and those fetched
    // whole before the failure, for the next check.
    ScannedHeaders headers;
    bool listingBrokeOff = false; // the scan failed inside the unique-id listing
};

// Lets go of the texts a full scan would not keep, and gives the index of
// the oldest message whose text it keeps: the newest texts are kept, as many
// as fit the budget together.
std::size_t DropOldTexts(ScannedHeaders& headers, std::size_t budget);

// False when the scan failed. The kept headers are moved out of lastRows.
bool ScanAccount(CPop3Connection& conversation, bool askUniqueIds, const CachedHeaders& kept,
                 ScannedHeaders& lastRows, AccountHeaders& out);
