#include "CheckCycle.h"

#include "AccountScan.h"
#include "Format.h"
#include "Pop3Connection.h"
#include "SettingsStore.h"
#include "resource.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// Which mailbox a row is from: an account is its server and user name.
struct Mailbox {
    std::string shown;   // as the headers window names it
    std::string knownAs; // as the known ids keep it
};

// The server alone, or user@server where another account shares the server,
// so that the rows of two accounts on one server can be told apart.
Mailbox MailboxOf(const AccountList& accounts, std::size_t i) {
    const std::string& server = accounts.servers[i];
    Mailbox mailbox{server, server + '\n' + accounts.users[i]};
    for (std::size_t other = 0; other < accounts.size(); ++other) {
        if (other != i && accounts.servers[other] == server) {
            mailbox.shown = accounts.users[i] + "@" + server;
        }
    }
    return mailbox;
}

// The reason is what the headers window shows when the row is opened.
void AppendErrorRow(MessageTable& table, KnownMessageIds& knownIds, const std::string& error,
                    const Mailbox& mailbox, const std::string& reason) {
    table.subjects.push_back(error);
    table.froms.emplace_back();
    table.mailboxes.push_back(mailbox.shown);
    table.headerTexts.push_back(reason);
    table.states.push_back(MessageError);
    knownIds.Append("(none)", mailbox.knownAs);
}

// Appends source's entries to target; a target still empty takes the whole
// list as it is.
void MoveAppend(std::vector<std::string>& target, std::vector<std::string>& source) {
    if (target.empty()) {
        target.swap(source);
    } else {
        target.insert(target.end(), std::make_move_iterator(source.begin()),
                      std::make_move_iterator(source.end()));
    }
}

// Classifies against the ids as they stood before this account, so two
// messages of one account with the same id are both new. The strings move
// into the table; the cache keeps what the next check needs to find them.
bool AppendMessageRows(MessageTable& table, KnownMessageIds& knownIds, AccountHeaders& scanned,
                       const Mailbox& mailbox, CachedHeaders& keep) {
    ScannedHeaders& headers = scanned.headers;
    const std::size_t firstRow = table.size();
    bool anyNew = false;
    for (const std::string& id : headers.messageIds) {
        bool isNew = !knownIds.Contains(id);
        table.states.push_back(isNew ? MessageNew : MessagePending);
        anyNew = anyNew || isNew;
    }
    for (const std::string& id : headers.messageIds) {
        knownIds.Append(id, mailbox.knownAs);
    }
    keep.reserve(scanned.uids.size());
    for (std::size_t i = 0; i < headers.messageIds.size(); ++i) {
        bool textKept = headers.headerTexts[i].size() == headers.headerBytes[i];
        if (!textKept) {
            headers.headerTexts[i] = kHeaderTextNotKept;
        }
        // A message whose TOP brought nothing is asked for again next time.
        if (!scanned.uids.empty() && headers.headerBytes[i] > 0) {
            keep[std::move(scanned.uids[i])] = {std::move(headers.messageIds[i]),
                                                headers.headerBytes[i], firstRow + i, textKept};
        }
    }
    MoveAppend(table.subjects, headers.subjects);
    MoveAppend(table.froms, headers.froms);
    table.mailboxes.insert(table.mailboxes.end(), headers.headerTexts.size(), mailbox.shown);
    MoveAppend(table.headerTexts, headers.headerTexts);
    return anyNew;
}

// Headers kept for an account are valid for the same mailbox, reached the
// same way, only.
std::string CacheKey(const AccountList& accounts, std::size_t i) {
    return accounts.servers[i] + '\n' + accounts.users[i] + '\n' +
           std::to_string(static_cast<int32_t>(SecurityFromStored(accounts.SecurityAt(i))));
}

} // namespace

CheckOutcome RunCheck(const AccountList& accounts, std::vector<int32_t>& counts,
                      MessageTable& table, KnownMessageIds& knownIds, HeaderCache& cache,
                      CheckObserver& observer, const ChannelLimits& limits) {
    cache.Reclaim(table);
    table.Clear();
    CheckOutcome outcome;
    outcome.accounts = accounts.size();
    std::size_t i = 0;
    for (; i < accounts.size() && !observer.Cancelled(); ++i) {
        const std::string& server = accounts.servers[i];
        const Mailbox mailbox = MailboxOf(accounts, i);
        std::string key = CacheKey(accounts, i);
        CachedHeaders kept = cache.Take(i, key);
        CachedHeaders keep;
        observer.ShowProgress(IDI_CONTACTING, Format("Contacting %s...", server.c_str()));
        CPop3Connection conversation([&observer] { observer.WaitHook(); }, limits);
        const Security security = SecurityFromStored(accounts.SecurityAt(i));
        conversation.SetSecurity(security, accounts.CertificateAt(i));
        // A server that got the password could quote it back scrambled.
        std::string stored = EncodePassword(accounts.passwords[i]);
        conversation.KeepOutOfReasons(stored.substr(0, stored.find_last_not_of(' ') + 1));
        observer.SetCurrentConversation(&conversation);

        const std::string contactError = Format("(error contacting %s)", server.c_str());
        bool unreached = true;
        if (!conversation.Connect(server, accounts.users[i], accounts.passwords[i],
                                  DefaultPort(security))) {
            AppendErrorRow(table, knownIds, contactError, mailbox, conversation.FailureReason());
        } else {
            // The scan lists unique-ids wherever the server speaks CAPA.
            int32_t count = conversation.GetMessageCount(conversation.SpeaksCapabilities());
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
                AppendErrorRow(table, knownIds, contactError, mailbox,
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
                bool scannedAll = ScanAccount(conversation, kept, cache.RowsOf(i), scanned);
                cache.AccountScanned(i);
                if (scannedAll) {
                    observer.MessageIdsFound(scanned.headers.messageIds);
                    outcome.newMail |= AppendMessageRows(table, knownIds, scanned, mailbox, keep);
                    knownIds.MailboxRead(mailbox.knownAs);
                } else {
                    AppendErrorRow(table, knownIds,
                                   Format("(error retrieving %d message header(s))", count),
                                   mailbox, conversation.FailureReason());
                }
            }
        }
        conversation.Close();
        observer.SetCurrentConversation(nullptr);
        if (unreached) {
            cache.KeepThroughFailure(i, std::move(key), std::move(kept));
        } else {
            cache.Keep(i, std::move(key), std::move(keep));
        }
    }
    // Accounts a cancelled check did not reach keep what they had.
    for (; i < accounts.size(); ++i) {
        std::string key = CacheKey(accounts, i);
        CachedHeaders kept = cache.Take(i, key);
        cache.KeepThroughFailure(i, std::move(key), std::move(kept));
    }
    cache.CheckEnded(table, accounts.size());
    return outcome;
}

TrayState FinalTrayState(const CheckOutcome& outcome, const MessageTable& table) {
    if (outcome.accounts == 0) {
        return {IDI_IDLE, kNoMailboxesTip};
    }
    if (outcome.total > 0) {
        return {IDI_UNREAD, Format("You have %d unread message(s)", outcome.total)};
    }
    bool anyError =
        std::find(table.states.begin(), table.states.end(), MessageError) != table.states.end();
    return {IDI_IDLE, anyError ? "Error(s) occured" : "No unread messages"};
}
