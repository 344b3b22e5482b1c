#include "CheckCycle.h"

#include "AccountScan.h"
#include "AccountWalk.h"
#include "ImapConnection.h"
#include "Pop3Connection.h"
#include "Translate.h"
#include "resource.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// Said once, in the row of the check that found it out.
constexpr const char* kGoingWithoutUniqueIds = QT_TRANSLATE_NOOP(
    "CheckCycle",
    " The server's list of unique-ids (UIDL) broke off, so the next checks of this mailbox go "
    "without it and fetch every header.");

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

// The rows account i had in the last check; what was new then was announced
// then, and is pending now as after any check.
void CarryRows(const CheckScope& scope, std::size_t i, MessageTable& table) {
    const MessageTable& last = scope.last;
    const std::vector<std::size_t>& first = scope.lastFirstRows;
    const std::size_t end = i + 1 < first.size() ? std::min(first[i + 1], last.size()) : 0;
    for (std::size_t row = i < first.size() ? first[i] : end; row < end; ++row) {
        if (last.State(row) == MessageError) {
            table.AppendError(last.Subject(row), last.Mailbox(row), last.HeaderText(row));
        } else {
            table.AppendMessage(last.Headers()[row], last.Mailbox(row), MessagePending);
        }
    }
}

} // namespace

void CheckObserver::KeepForPush(std::size_t, std::unique_ptr<CImapConnection> conversation) {
    conversation->Close();
}

// Classifies against the ids as they stood before this account, so two
// messages of one account with the same id are both new. The headers move
// into the table; the cache keeps which rows the next check can take again.
bool AppendMessageRows(CheckContext& check, ScannedHeaders& headers, const Mailbox& mailbox,
                       CachedHeaders& keep, bool addIds) {
    MessageTable& table = check.table;
    const std::size_t firstRow = table.size();
    // Made again rather than held, so that a large mailbox's ids are not copied.
    const auto knownAs = [](const ScannedHeader& header) {
        return KnownMessageIds::KeyOf(header.MessageId(), header.UniqueId(), header.Subject(),
                                      header.From(), header.HeaderBytes());
    };
    std::vector<MessageState> states;
    states.reserve(headers.size());
    for (const ScannedHeader& header : headers) {
        states.push_back(check.knownIds.Contains(knownAs(header)) ? MessagePending : MessageNew);
    }
    for (std::size_t i = 0; addIds && i < headers.size(); ++i) {
        check.knownIds.Append(knownAs(headers[i]), mailbox.knownAs);
    }
    table.Reserve(headers.size());
    keep.reserve(keep.size() + headers.size());
    for (std::size_t i = 0; i < headers.size(); ++i) {
        // A message whose header brought nothing is asked for again next time.
        if (!headers[i].UniqueId().empty() && headers[i].HeaderBytes() > 0) {
            keep.push_back(static_cast<uint32_t>(firstRow + i));
        }
        table.AppendMessage(std::move(headers[i]), mailbox.shown, states[i]);
    }
    headers = ScannedHeaders();
    OrderByUniqueId(keep, table.Headers());
    return std::find(states.begin(), states.end(), MessageNew) != states.end();
}

std::string AccountCacheKey(const Account& account) {
    // A POP3 account's key is what it was before IMAP, so kept headers and
    // sign-ins in state files from then still count.
    return account.server + '\n' + account.user + '\n' +
           std::to_string(static_cast<int32_t>(account.security)) +
           (account.protocol == Protocol::Imap ? "\nIMAP" : "");
}

std::string KnownIdsMailbox(const Account& account) {
    return account.server + '\n' + account.user;
}

std::string SignInKey(const Account& account) {
    return AccountCacheKey(account) + '\n' + std::to_string(static_cast<int32_t>(account.signIn));
}

void RecordCount(const AccountWalk& walk, CheckContext& check) {
    if (!walk.signedIn) {
        return;
    }
    if (walk.index >= check.counts.size()) {
        check.counts.resize(walk.index + 1, 0);
    }
    check.counts[walk.index] = walk.count;
}

void WalkPop3Account(AccountWalk& walk, CheckContext& check) {
    const Account& account = walk.account;
    const std::string& server = account.server;
    CPop3Connection conversation([&observer = check.observer] { observer.WaitHook(); },
                                 check.limits);
    conversation.SetSecurity(account.security, account.certificate);
    check.observer.SetCurrentConversation(&conversation);
    // The scan lists unique-ids wherever the server speaks CAPA, unless its
    // listing broke off before.
    const bool listing = !check.cache.WithoutUniqueIds(walk.index, AccountCacheKey(account));
    conversation.CountWithLogin(listing);
    walk.signedIn = SignInAccount(conversation, DefaultPort(account.security), walk, check);
    if (walk.signedIn) {
        const int32_t count =
            conversation.GetMessageCount(listing && conversation.SpeaksCapabilities());
        walk.count = count;
        if (count < 0) {
            // The mailbox could not be read, which must not pass for an
            // empty one. No count is known to put in the retrieving text,
            // and the conversation ended before any mail came: it failed
            // like a contact that did not succeed.
            check.table.AppendError(ContactError(server), walk.mailbox.shown,
                                    conversation.FailureReason());
        } else if (count == 0) {
            check.knownIds.MailboxRead(walk.mailbox.knownAs);
        } else {
            check.observer.ShowProgress(
                IDI_RETRIEVING, Format(translate("CheckCycle", "Retrieving %n header(s) from %1...",
                                                 nullptr, count),
                                       server));
            AccountHeaders scanned;
            const bool scannedAll = ScanAccount(conversation, listing, walk.kept,
                                                check.cache.RowsOf(walk.index), scanned);
            walk.listingBrokeOff = scanned.listingBrokeOff;
            check.cache.AccountScanned(walk.index);
            if (scannedAll) {
                walk.newMail = AppendMessageRows(check, scanned.headers, walk.mailbox, walk.keep,
                                                 check.idsAskedAfter);
                check.knownIds.MailboxRead(walk.mailbox.knownAs);
            } else {
                check.table.AppendError(
                    translate("CheckCycle", "(error retrieving %n message header(s))", nullptr,
                              count),
                    walk.mailbox.shown,
                    conversation.FailureReason() +
                        (walk.listingBrokeOff ? translate("CheckCycle", kGoingWithoutUniqueIds)
                                              : ""));
                walk.keptThroughScan = std::move(scanned.headers);
            }
        }
    }
    RecordCount(walk, check);
    conversation.Close();
    check.observer.SetCurrentConversation(nullptr);
}

CheckOutcome RunCheck(const AccountList& accounts, std::vector<int32_t>& counts,
                      MessageTable& table, KnownMessageIds& knownIds, HeaderCache& cache,
                      SignInMemory& signIns, CheckObserver& observer, const ChannelLimits& limits,
                      const CheckScope* scope) {
    std::vector<std::string> signInKeys;
    for (const Account& account : accounts) {
        signInKeys.push_back(SignInKey(account));
    }
    signIns.KeepOnly(signInKeys);
    cache.Reclaim(table);
    table.Clear();
    CheckContext check{counts, table, knownIds, cache, signIns, observer, limits};
    CheckOutcome outcome;
    outcome.accounts = accounts.size();
    std::size_t i = 0;
    for (; i < accounts.size() && !observer.Cancelled(); ++i) {
        const Account& account = accounts[i];
        std::string key = AccountCacheKey(account);
        outcome.firstRows.push_back(table.size());
        if (scope != nullptr && i != scope->only) {
            CarryRows(*scope, i, table);
            CachedHeaders kept = cache.Take(i, key);
            cache.KeepThroughFailure(i, std::move(key), std::move(kept));
            outcome.total = static_cast<int32_t>(std::min<int64_t>(
                int64_t{outcome.total} + (i < counts.size() ? std::max(counts[i], 0) : 0),
                INT32_MAX));
            continue;
        }
        AccountWalk walk{i,
                         account,
                         MailboxOf(accounts, i),
                         signInKeys[i],
                         cache.Take(i, key),
                         cache.FolderMarks(i, key)};
        observer.ShowProgress(IDI_CONTACTING,
                              Format(translate("CheckCycle", "Contacting %1..."), account.server));
        check.idsAskedAfter = observer.KeepsKnownIds() || i + 1 < accounts.size();
        if (account.protocol == Protocol::Imap) {
            WalkImapAccount(walk, check);
        } else {
            WalkPop3Account(walk, check);
        }
        // A lying server must not overflow the total.
        outcome.total = static_cast<int32_t>(
            std::min<int64_t>(int64_t{outcome.total} + std::max(walk.count, 0), INT32_MAX));
        outcome.newMail |= walk.newMail;
        if (walk.listingBrokeOff) {
            cache.GoWithoutUniqueIds(i, std::move(key));
        } else if (walk.count < 0) {
            cache.KeepThroughFailure(i, std::move(key), std::move(walk.kept));
        } else if (walk.keptThroughScan) {
            cache.KeepFound(i, std::move(key), std::move(*walk.keptThroughScan));
        } else {
            cache.Keep(i, std::move(key), std::move(walk.keep));
            cache.KeepFolderMarks(i, std::move(walk.folderMarks));
        }
    }
    // Accounts a cancelled check did not reach keep what they had.
    outcome.firstRows.resize(accounts.size() + 1, table.size());
    for (; i < accounts.size(); ++i) {
        std::string key = AccountCacheKey(accounts[i]);
        CachedHeaders kept = cache.Take(i, key);
        cache.KeepThroughFailure(i, std::move(key), std::move(kept));
    }
    cache.CheckEnded(table, accounts.size());
    return outcome;
}
