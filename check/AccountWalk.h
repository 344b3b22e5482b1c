// What walking one account takes and leaves, whatever its protocol: the
// check cycle prepares it, the protocol's walk talks to the server and fills
// the table, and the cycle then keeps what the walk found for the next check.
#pragma once

#include "AccountSecret.h"
#include "CheckCycle.h"
#include "Format.h"
#include "SettingsStore.h"
#include "Translate.h"

#include <cstdint>
#include <optional>
#include <string>

// Which mailbox a row is from, as the headers window shows it and as the
// known ids keep it.
struct Mailbox {
    std::string shown;
    std::string knownAs;
};

// What every account's walk shares within one check.
struct CheckContext {
    std::vector<int32_t>& counts;
    MessageTable& table;
    KnownMessageIds& knownIds;
    HeaderCache& cache;
    SignInMemory& signIns;
    CheckObserver& observer;
    const ChannelLimits& limits;
    bool idsAskedAfter = true; // whether the ids of the account walked are asked for after it
};

struct AccountWalk {
    std::size_t index;
    const Account& account;
    Mailbox mailbox;
    std::string signInKey;
    CachedHeaders kept;                  // what the last check kept, in its rows
    std::vector<FolderMark> lastMarks{}; // IMAP: its folders as the last check found them

    bool signedIn = false;
    int32_t count = -1;   // messages counted; -1 when the mailbox could not be read
    bool newMail = false; // a row of this account is new
    CachedHeaders keep{}; // the rows of this check to keep for the next
    bool listingBrokeOff = false;
    std::optional<ScannedHeaders> keptThroughScan{}; // when the scan failed part-way
    std::vector<FolderMark> folderMarks{};           // IMAP: its folders as found now
};

// The row of an account that could not be reached, signed in to or counted.
inline std::string ContactError(const std::string& server) {
    return Format(translate("CheckCycle", "(error contacting %1)"), server);
}

// Appends the account's messages to the table, each new or pending by the
// ids known before it, and adds their ids unless told not to; the rows to
// keep for the next check go to keep. True when one is new.
bool AppendMessageRows(CheckContext& check, ScannedHeaders& headers, const Mailbox& mailbox,
                       CachedHeaders& keep, bool addIds = true);

// Fetches the account's secret and signs in with it: nothing goes to the
// server before the secret is in hand. False, with the account's error row
// appended, when either failed.
template <typename Conversation>
bool SignInAccount(Conversation& conversation, uint32_t defaultPort, const AccountWalk& walk,
                   CheckContext& check) {
    const Account& account = walk.account;
    const SecretOutcome secret = FetchAccountSecret(account, check.observer, conversation);
    if (!secret.secret) {
        check.table.AppendError(ContactError(account.server), walk.mailbox.shown,
                                secret.stopped ? conversation.FailureReason() : secret.reason);
        return false;
    }
    // A server that got the password could quote it back scrambled.
    std::string stored = EncodePassword(*secret.secret);
    conversation.KeepOutOfReasons(stored.substr(0, stored.find_last_not_of(' ') + 1));
    const SignIn signIn{account.signIn, *secret.secret,
                        account.signIn == SignInMethod::OAuth2
                            ? FreshToken(account, check.observer, conversation)
                            : nullptr,
                        check.signIns.Before(walk.signInKey)};
    const int connected = conversation.Connect(account.server, account.user, signIn, defaultPort);
    check.signIns.Remember(walk.signInKey, conversation.SignedInWith());
    if (!connected) {
        check.table.AppendError(ContactError(account.server), walk.mailbox.shown,
                                conversation.FailureReason());
    }
    return connected != 0;
}

// The count of a walk that signed in, before the observer hears the account
// ended; an account never signed in to keeps the count it had.
void RecordCount(const AccountWalk& walk, CheckContext& check);

// The walks of each protocol.
void WalkPop3Account(AccountWalk& walk, CheckContext& check);
void WalkImapAccount(AccountWalk& walk, CheckContext& check);
