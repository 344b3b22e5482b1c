#include "CheckCycle.h"

#include "AccountScan.h"
#include "AccountSecret.h"
#include "Format.h"
#include "Pop3Connection.h"
#include "SettingsStore.h"
#include "resource.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// Said once, in the row of the check that found it out.
constexpr const char* kGoingWithoutUniqueIds =
    " The server's list of unique-ids (UIDL) broke off, so the next checks of this mailbox go "
    "without it and fetch every header.";

// Which mailbox a row is from: an account is its server and user name.
struct Mailbox {
    std::string shown;   // as the headers window names it
    std::string knownAs; // as the known ids keep it
};

// The server alone, or user@server where another account shares the server,
// so that the rows of two accounts on one server can be told apart.
Mailbox MailboxOf(const AccountList& accounts, std::size_t i) {
    const std::string& server = accounts[i].server;
    Mailbox mailbox{server, KnownIdsMailbox(accounts[i])};
    for (std::size_t other = 0; other < accounts.size(); ++other) {
        if (other != i && accounts[other].server == server) {
            mailbox.shown = accounts[i].user + "@" + server;
        }
    }
    return mailbox;
}

// Classifies against the ids as they stood before this account, so two
// messages of one account with the same id are both new. The headers move
// into the table; the cache keeps which rows the next check can take again.
bool AppendMessageRows(MessageTable& table, KnownMessageIds& knownIds, ScannedHeaders& headers,
                       const Mailbox& mailbox, CachedHeaders& keep) {
    const std::size_t firstRow = table.size();
    // Made again rather than held, so that a large mailbox's ids are not copied.
    const auto knownAs = [](const ScannedHeader& header) {
        return KnownMessageIds::KeyOf(header.MessageId(), header.UniqueId(), header.Subject(),
                                      header.From(), header.HeaderBytes());
    };
    std::vector<MessageState> states;
    states.reserve(headers.size());
    for (const ScannedHeader& header : headers) {
        states.push_back(knownIds.Contains(knownAs(header)) ? MessagePending : MessageNew);
    }
    for (const ScannedHeader& header : headers) {
        knownIds.Append(knownAs(header), mailbox.knownAs);
    }
    for (std::size_t i = 0; i < headers.size(); ++i) {
        // A message whose TOP brought nothing is asked for again next time.
        if (!headers[i].UniqueId().empty() && headers[i].HeaderBytes() > 0) {
            keep.push_back(static_cast<uint32_t>(firstRow + i));
        }
        table.AppendMessage(std::move(headers[i]), mailbox.shown, states[i]);
    }
    OrderByUniqueId(keep, table.Headers());
    return std::find(states.begin(), states.end(), MessageNew) != states.end();
}

} // namespace

std::string AccountCacheKey(const Account& account) {
    return account.server + '\n' + account.user + '\n' +
           std::to_string(static_cast<int32_t>(account.security));
}

std::string KnownIdsMailbox(const Account& account) {
    return account.server + '\n' + account.user;
}

std::string SignInKey(const Account& account) {
    return AccountCacheKey(account) + '\n' + std::to_string(static_cast<int32_t>(account.signIn));
}

namespace {

// The row of an account that could not be reached, signed in to or counted.
std::string ContactError(const std::string& server) {
    return Format("(error contacting %s)", server.c_str());
}

// Fetches the account's secret and signs in with it: nothing goes to the
// server before the secret is in hand. False, with the account's error row
// appended, when either failed.
bool SignInAccount(CPop3Connection& conversation, const Account& account,
                   const std::string& signInKey, SignInMemory& signIns, CheckObserver& observer,
                   MessageTable& table, const Mailbox& mailbox) {
    const SecretOutcome secret = FetchAccountSecret(account, observer, conversation);
    if (!secret.secret) {
        table.AppendError(ContactError(account.server), mailbox.shown,
                          secret.stopped ? conversation.FailureReason() : secret.reason);
        return false;
    }
    // A server that got the password could quote it back scrambled.
    std::string stored = EncodePassword(*secret.secret);
    conversation.KeepOutOfReasons(stored.substr(0, stored.find_last_not_of(' ') + 1));
    const SignIn signIn{account.signIn, *secret.secret,
                        account.signIn == SignInMethod::OAuth2
                            ? FreshToken(account, observer, conversation)
                            : nullptr,
                        signIns.Before(signInKey)};
    const int connected =
        conversation.Connect(account.server, account.user, signIn, DefaultPort(account.security));
    signIns.Remember(signInKey, conversation.SignedInWith());
    if (!connected) {
        table.AppendError(ContactError(account.server), mailbox.shown,
                          conversation.FailureReason());
    }
    return connected != 0;
}

} // namespace

CheckOutcome RunCheck(const AccountList& accounts, std::vector<int32_t>& counts,
                      MessageTable& table, KnownMessageIds& knownIds, HeaderCache& cache,
                      SignInMemory& signIns, CheckObserver& observer, const ChannelLimits& limits) {
    std::vector<std::string> signInKeys;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        signInKeys.push_back(SignInKey(accounts[i]));
    }
    signIns.KeepOnly(signInKeys);
    cache.Reclaim(table);
    table.Clear();
    CheckOutcome outcome;
    outcome.accounts = accounts.size();
    std::size_t i = 0;
    for (; i < accounts.size() && !observer.Cancelled(); ++i) {
        const Account& account = accounts[i];
        const std::string& server = account.server;
        const Mailbox mailbox = MailboxOf(accounts, i);
        std::string key = AccountCacheKey(account);
        CachedHeaders kept = cache.Take(i, key);
        CachedHeaders keep;
        std::optional<ScannedHeaders> keptThroughScan; // when the scan failed part-way
        observer.ShowProgress(IDI_CONTACTING, Format("Contacting %s...", server.c_str()));
        CPop3Connection conversation([&observer] { observer.WaitHook(); }, limits);
        conversation.SetSecurity(account.security, account.certificate);
        observer.SetCurrentConversation(&conversation);

        bool unreached = true;
        bool listingBrokeOff = false;
        const bool connected =
            SignInAccount(conversation, account, signInKeys[i], signIns, observer, table, mailbox);
        if (connected) {
            // The scan lists unique-ids wherever the server speaks CAPA, unless
            // its listing broke off before.
            const bool listing = !cache.WithoutUniqueIds(i, key);
            int32_t count =
                conversation.GetMessageCount(listing && conversation.SpeaksCapabilities());
            if (i >= counts.size()) {
                counts.resize(i + 1, 0);
            }
            counts[i] = count;
            unreached = count < 0;
            if (count < 0) {
                // The mailbox could not be read, which must not pass for an
                // empty one. No count is known to put in the retrieving text,
                // and the conversation ended before any mail came: it failed
                // like a contact that did not succeed.
                table.AppendError(ContactError(server), mailbox.shown,
                                  conversation.FailureReason());
            } else if (count == 0) {
                knownIds.MailboxRead(mailbox.knownAs);
            } else {
                // A lying server must not overflow the total.
                outcome.total = static_cast<int32_t>(
                    std::min<int64_t>(int64_t{outcome.total} + count, INT32_MAX));
                observer.ShowProgress(IDI_RETRIEVING, Format("Retrieving %d header(s) from %s...",
                                                             count, server.c_str()));
                AccountHeaders scanned;
                bool scannedAll =
                    ScanAccount(conversation, listing, kept, cache.RowsOf(i), scanned);
                listingBrokeOff = scanned.listingBrokeOff;
                cache.AccountScanned(i);
                if (scannedAll) {
                    outcome.newMail |=
                        AppendMessageRows(table, knownIds, scanned.headers, mailbox, keep);
                    knownIds.MailboxRead(mailbox.knownAs);
                } else {
                    table.AppendError(Format("(error retrieving %d message header(s))", count),
                                      mailbox.shown,
                                      conversation.FailureReason() +
                                          (listingBrokeOff ? kGoingWithoutUniqueIds : ""));
                    keptThroughScan = std::move(scanned.headers);
                }
            }
        }
        conversation.Close();
        observer.SetCurrentConversation(nullptr);
        if (listingBrokeOff) {
            cache.GoWithoutUniqueIds(i, std::move(key));
        } else if (unreached) {
            cache.KeepThroughFailure(i, std::move(key), std::move(kept));
        } else if (keptThroughScan) {
            cache.KeepFound(i, std::move(key), std::move(*keptThroughScan));
        } else {
            cache.Keep(i, std::move(key), std::move(keep));
        }
    }
    // Accounts a cancelled check did not reach keep what they had.
    for (; i < accounts.size(); ++i) {
        std::string key = AccountCacheKey(accounts[i]);
        CachedHeaders kept = cache.Take(i, key);
        cache.KeepThroughFailure(i, std::move(key), std::move(kept));
    }
    cache.CheckEnded(table, accounts.size());
    return outcome;
}
