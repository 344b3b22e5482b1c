#include "CheckCycle.h"

#include "Format.h"
#include "Pop3Connection.h"
#include "SettingsStore.h"
#include "resource.h"

#include <algorithm>
#include <cstdint>

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

// Classifies against the ids as they stood before this account, so two
// messages of one account with the same id are both new.
bool AppendMessageRows(MessageTable& table, KnownMessageIds& knownIds,
                       const CPop3Connection& conversation, const Mailbox& mailbox) {
    const auto& ids = conversation.MessageIds();
    table.subjects.insert(table.subjects.end(), conversation.Subjects().begin(),
                          conversation.Subjects().end());
    table.froms.insert(table.froms.end(), conversation.Froms().begin(), conversation.Froms().end());
    table.headerTexts.insert(table.headerTexts.end(), conversation.HeaderTexts().begin(),
                             conversation.HeaderTexts().end());
    bool anyNew = false;
    for (const std::string& id : ids) {
        table.mailboxes.push_back(mailbox.shown);
        bool isNew = !knownIds.Contains(id);
        table.states.push_back(isNew ? MessageNew : MessagePending);
        anyNew = anyNew || isNew;
    }
    for (const std::string& id : ids) {
        knownIds.Append(id, mailbox.knownAs);
    }
    return anyNew;
}

} // namespace

CheckOutcome RunCheck(const AccountList& accounts, std::vector<int32_t>& counts,
                      MessageTable& table, KnownMessageIds& knownIds, CheckObserver& observer,
                      const ChannelLimits& limits) {
    table.Clear();
    CheckOutcome outcome;
    outcome.accounts = accounts.size();
    for (std::size_t i = 0; i < accounts.size() && !observer.Cancelled(); ++i) {
        const std::string& server = accounts.servers[i];
        const Mailbox mailbox = MailboxOf(accounts, i);
        observer.ShowProgress(IDI_CONTACTING, Format("Contacting %s...", server.c_str()));
        CPop3Connection conversation([&observer] { observer.WaitHook(); }, limits);
        const Security security = SecurityFromStored(accounts.SecurityAt(i));
        conversation.SetSecurity(security, accounts.CertificateAt(i));
        // A server that got the password could quote it back scrambled.
        std::string stored = EncodePassword(accounts.passwords[i]);
        conversation.KeepOutOfReasons(stored.substr(0, stored.find_last_not_of(' ') + 1));
        observer.SetCurrentConversation(&conversation);

        const std::string contactError = Format("(error contacting %s)", server.c_str());
        if (!conversation.Connect(server, accounts.users[i], accounts.passwords[i],
                                  DefaultPort(security))) {
            AppendErrorRow(table, knownIds, contactError, mailbox, conversation.FailureReason());
        } else {
            int32_t count = conversation.GetMessageCount();
            if (i >= counts.size()) {
                counts.resize(i + 1, 0);
            }
            counts[i] = count;
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
                if (conversation.RetrieveHeaders()) {
                    outcome.newMail |= AppendMessageRows(table, knownIds, conversation, mailbox);
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
    }
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
