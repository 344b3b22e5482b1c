// An IMAP account's walk: signed in, each watched folder opened read-only,
// its messages neither seen nor deleted listed, and the headers fetched of
// those the last check did not keep. A kept header is found by its folder,
// the folder's UIDVALIDITY and its UID together, so a folder whose UIDs were
// given out anew keeps nothing.
#include "AccountScan.h"
#include "AccountWalk.h"
#include "ImapConnection.h"
#include "resource.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>

namespace {

constexpr std::string_view kInbox = "INBOX";

bool IsInbox(const std::string& folder) {
    return folder.size() == kInbox.size() &&
           std::equal(folder.begin(), folder.end(), kInbox.begin(),
                      [](char a, char b) { return (a & ~0x20) == b; });
}

// INBOX needs no name in the headers window; another folder is named after
// the account.
Mailbox FolderMailbox(const Mailbox& account, const std::string& folder) {
    return {IsInbox(folder) ? account.shown : account.shown + "/" + folder, account.knownAs};
}

std::string KeptId(const std::string& folder, uint32_t uidValidity, uint32_t uid) {
    return folder + '\n' + std::to_string(uidValidity) + '\n' + std::to_string(uid);
}

// A fetched header carries its UID as its unique-id.
uint32_t UidOf(const ScannedHeader& header) {
    uint32_t uid = 0;
    const std::string_view text = header.UniqueId();
    std::from_chars(text.data(), text.data() + text.size(), uid);
    return uid;
}

// The unseen messages of the open folder, in UID order: those kept from the
// last check taken from its rows, the others fetched. Empty when the folder
// could not be read, with the reason in the conversation.
std::optional<ScannedHeaders> ReadFolder(CImapConnection& conversation, const std::string& folder,
                                         AccountWalk& walk, CheckContext& check) {
    const std::optional<ImapFolderState> state = conversation.Examine(folder);
    std::optional<std::vector<uint32_t>> uids;
    if (!state || !(uids = conversation.SearchUnseen())) {
        return std::nullopt;
    }
    // A folder without UIDVALIDITY promises nothing of its UIDs: nothing is kept.
    const bool keepable = state->uidValidity != 0;
    ScannedHeaders& lastRows = check.cache.RowsOf(walk.index);
    constexpr uint32_t kFetch = std::numeric_limits<uint32_t>::max();
    std::vector<uint32_t> keptRow(uids->size(), kFetch);
    std::vector<uint32_t> fetch;
    std::size_t hint = 0;
    for (std::size_t i = 0; i < uids->size(); ++i) {
        const std::optional<std::size_t> at =
            keepable ? FindKept(walk.kept, lastRows, KeptId(folder, state->uidValidity, (*uids)[i]),
                                hint)
                     : std::nullopt;
        if (at && lastRows[walk.kept[*at]].TextKept()) {
            keptRow[i] = walk.kept[*at];
            hint = *at + 1;
        } else {
            fetch.push_back((*uids)[i]);
        }
    }
    ScannedHeaders fetched;
    if (!fetch.empty()) {
        check.observer.ShowProgress(IDI_RETRIEVING,
                                    Format("Retrieving %zu header(s) from %s...", fetch.size(),
                                           walk.account.server.c_str()));
        if (!conversation.FetchHeaders(fetch)) {
            return std::nullopt;
        }
        fetched = conversation.TakeHeaders();
    }
    ScannedHeaders rows;
    rows.reserve(uids->size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < uids->size(); ++i) {
        const uint32_t uid = (*uids)[i];
        if (keptRow[i] != kFetch) {
            rows.push_back(std::move(lastRows[keptRow[i]]));
            continue;
        }
        // Both in UID order; a message expunged meanwhile has no header.
        while (next < fetched.size() && UidOf(fetched[next]) < uid) {
            ++next;
        }
        if (next < fetched.size() && UidOf(fetched[next]) == uid) {
            ScannedHeader& header = fetched[next++];
            header.SetUniqueId(keepable ? KeptId(folder, state->uidValidity, uid) : "");
            rows.push_back(std::move(header));
        }
    }
    return rows;
}

// Every watched folder in turn; a folder that cannot be opened is an error
// row of its own, and the others are still read.
void ReadFolders(CImapConnection& conversation, AccountWalk& walk, CheckContext& check) {
    const std::vector<std::string> folders = walk.account.folders.empty()
                                                 ? std::vector<std::string>{std::string(kInbox)}
                                                 : walk.account.folders;
    bool allRead = true;
    int32_t count = 0;
    for (const std::string& folder : folders) {
        const Mailbox mailbox = FolderMailbox(walk.mailbox, folder);
        std::optional<ScannedHeaders> rows =
            conversation.IsOpen() ? ReadFolder(conversation, folder, walk, check) : std::nullopt;
        if (!rows) {
            check.table.AppendError(ContactError(walk.account.server), mailbox.shown,
                                    conversation.FailureReason());
            allRead = false;
            continue;
        }
        DropOldTexts(*rows, check.limits.headerTextBudget);
        count += static_cast<int32_t>(rows->size());
        walk.newMail |= AppendMessageRows(check, *rows, mailbox, walk.keep);
    }
    check.cache.AccountScanned(walk.index);
    // Nothing read at all counts as a mailbox that could not be read.
    walk.count = allRead || count > 0 ? count : -1;
    if (allRead) {
        check.knownIds.MailboxRead(walk.mailbox.knownAs);
    }
}

} // namespace

void WalkImapAccount(AccountWalk& walk, CheckContext& check) {
    const Account& account = walk.account;
    // A connection kept for push waits after this check is over: its hook
    // reaches the observer that keeps it, not this check.
    auto conversation = std::make_unique<CImapConnection>(
        [&observer = check.observer] { observer.WaitHook(); }, check.limits);
    conversation->SetSecurity(account.security, account.certificate);
    check.observer.SetCurrentConversation(conversation.get());
    walk.signedIn = SignInAccount(*conversation, ImapDefaultPort(account.security), walk, check);
    if (walk.signedIn) {
        ReadFolders(*conversation, walk, check);
    }
    RecordCount(walk, check);
    check.observer.SetCurrentConversation(nullptr);
    if (walk.count >= 0 && conversation->IsOpen() && conversation->Capabilities().idle) {
        check.observer.KeepForPush(walk.index, std::move(conversation));
        return;
    }
    conversation->Close();
}
