// One check of every account: a conversation with each server in turn, the
// table rebuilt from the answers, every message classified against the ids
// seen before.
#pragma once

#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "MessageTable.h"
#include "Settings.h"

#include <cstdint>
#include <string>
#include <vector>

class CPop3Connection;

// What the walk tells its owner while it runs.
class CheckObserver {
public:
    virtual ~CheckObserver() = default;
    virtual void ShowProgress(int iconId, const std::string& tip) = 0;
    // The conversation that Disconnect reaches; null between accounts.
    virtual void SetCurrentConversation(CPop3Connection* conversation) = 0;
    virtual void WaitHook() = 0;
};

struct CheckOutcome {
    int32_t total = 0;    // messages counted by the servers, new and pending
    bool newMail = false; // at least one row of this check is new
};

// The header text of a row whose text fell outside the memory kept for
// header texts, shown where the text would be.
inline constexpr const char* kHeaderTextNotKept =
    "This message's header is not kept in memory: Tarvo keeps the headers of "
    "the newest messages of a large mailbox only.";

// Empties the table, walks the accounts, and leaves the table, the counts and
// the known ids as the check found them. Headers kept from earlier checks are
// used where the server's unique-ids allow, and what this check found is kept
// for the next.
CheckOutcome RunCheck(const AccountList& accounts, std::vector<int32_t>& counts,
                      MessageTable& table, KnownMessageIds& knownIds, HeaderCache& cache,
                      CheckObserver& observer);

// The icon and tooltip that tell the user how a check ended.
struct TrayState {
    int iconId;
    std::string tip;
};
TrayState FinalTrayState(const CheckOutcome& outcome, const MessageTable& table);
