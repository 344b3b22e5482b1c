// One check of every account: a conversation with each server in turn, the
// table rebuilt from the answers, every message classified against the ids
// seen before.
#pragma once

#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "LineChannel.h"
#include "MessageTable.h"
#include "Settings.h"
#include "SignInMemory.h"
#include "Translate.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CImapConnection;
class MailConversation;

// What the walk tells its owner while it runs.
class CheckObserver {
public:
    virtual ~CheckObserver() = default;
    virtual void ShowProgress(int iconId, const std::string& tip) = 0;
    // The conversation that Disconnect reaches; null between accounts. The
    // null comes while the ending conversation still exists, closed.
    virtual void SetCurrentConversation(MailConversation* conversation) = 0;
    virtual void WaitHook() = 0;
    // True when the walk should end after the current account.
    virtual bool Cancelled() const { return false; }
    // Asked when an account's keyring is locked: true lets the desktop prompt
    // the user to unlock it. The tray allows one prompt a check; the command
    // line none.
    virtual bool TakeUnlockPrompt() { return false; }
    // An IMAP account's connection after a sound check, where its server can
    // tell of changes: an owner that watches for them keeps it; otherwise it
    // is closed.
    virtual void KeepForPush(std::size_t account, std::unique_ptr<CImapConnection> conversation);
    // False where the known ids end with the check: the last account's ids,
    // which no one would ask for, are then not added.
    virtual bool KeepsKnownIds() const { return true; }
};

struct CheckOutcome {
    std::size_t accounts = 0; // accounts walked
    int32_t total = 0;        // messages counted by the servers, new and pending
    bool newMail = false;     // at least one row of this check is new
    // Where each account's rows begin in the table, and one more: where the
    // last account's end.
    std::vector<std::size_t> firstRows{};
};

// A check of one account alone, as a server's report of new mail asks for:
// the other accounts show the rows the last check left, as it left them.
struct CheckScope {
    std::size_t only;
    const MessageTable& last;
    const std::vector<std::size_t>& lastFirstRows;
};

// The tooltip while there is no account: a check of none found nothing to say.
inline constexpr const char* kNoMailboxesTip =
    QT_TRANSLATE_NOOP("TrayTip", "No mailboxes to check");

// Empties the table, walks the accounts, and leaves the table, the counts and
// the known ids as the check found them. Headers kept from earlier checks are
// used where the server's unique-ids allow, and what this check found is kept
// for the next, as is the SASL mechanism each account signed in with. Each
// conversation waits within limits.
CheckOutcome RunCheck(const AccountList& accounts, std::vector<int32_t>& counts,
                      MessageTable& table, KnownMessageIds& knownIds, HeaderCache& cache,
                      SignInMemory& signIns, CheckObserver& observer,
                      const ChannelLimits& limits = {}, const CheckScope* scope = nullptr);

// What the headers kept for an account are valid for: the same mailbox,
// reached the same way.
std::string AccountCacheKey(const Account& account);
// The name the known ids give an account's mailbox.
std::string KnownIdsMailbox(const Account& account);
// What the mechanism an account signed in with holds for: the same account,
// reached and signed in to the same way.
std::string SignInKey(const Account& account);
