// An IMAP account's walk: signed in, each watched folder opened read-only,
// its messages neither seen nor deleted listed, and the headers fetched of
// those the last check did not keep. A kept header is found by its folder,
// the folder's UIDVALIDITY and its UID together, so a folder whose UIDs were
// given out anew keeps nothing.
#include "AccountScan.h"
#include "AccountWalk.h"
#include "AsciiCase.h"
#include "ImapConnection.h"
#include "Translate.h"
#include "resource.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>

namespace {

constexpr std::string_view kInbox = "INBOX";

// INBOX (in any case, RFC 3501 5.1) needs no name in the headers window;
// another folder is named after the account.
Mailbox FolderMailbox(const Mailbox& account, const std::string& folder) {
    return {EqualsUpper(folder, kInbox) ? account.shown : account.shown + "/" + folder,
            account.knownAs};
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

// A folder that CONDSTORE says has not changed since the last check: its
// unseen messages are the ones kept then, in UID order. Empty when it has
// changed, or when not each of them was kept.
std::optional<ScannedHeaders> KeptIfUnchanged(const std::string& folder,
                                              const ImapFolderState& state, AccountWalk& walk,
                                              CheckContext& check) {
    const auto mark = std::find_if(walk.lastMarks.begin(), walk.lastMarks.end(),
                                   [&folder](const FolderMark& m) { return m.folder == folder; });
    if (mark == walk.lastMarks.end() || state.uidValidity == 0 ||
        mark->uidValidity != state.uidValidity || state.highestModSeq != mark->highestModSeq) {
        return std::nullopt;
    }
    std::string prefix = KeptId(folder, state.uidValidity, 0);
    prefix.pop_back();
    ScannedHeaders& lastRows = check.cache.RowsOf(walk.index);
    std::vector<std::pair<uint32_t, uint32_t>> kept; // UID, row
    for (uint32_t row : walk.kept) {
        const std::string_view id = lastRows[row].UniqueId();
        uint32_t uid = 0;
        if (id.starts_with(prefix) &&
            std::from_chars(id.data() + prefix.size(), id.data() + id.size(), uid).ec ==
                std::errc()) {
            kept.emplace_back(uid, row);
        }
    }
    if (kept.size() != mark->unseen) {
        return std::nullopt;
    }
    std::sort(kept.begin(), kept.end());
    ScannedHeaders rows;
    rows.reserve(kept.size());
    for (const auto& [uid, row] : kept) {
        rows.push_back(std::move(lastRows[row]));
    }
    walk.folderMarks.push_back(*mark);
    return rows;
}

// The unseen messages of the open folder, in UID order: those kept from the
// last check taken from its rows, the others fetched. Empty when the folder
// could not be read, with the reason in the conversation.
std::optional<ScannedHeaders> ReadFolder(CImapConnection& conversation, const std::string& folder,
                                         AccountWalk& walk, CheckContext& check) {
    const std::optional<ImapFolderState> state = conversation.Examine(folder);
    if (!state) {
        return std::nullopt;
    }
    if (std::optional<ScannedHeaders> unchanged = KeptIfUnchanged(folder, *state, walk, check)) {
        return unchanged;
    }
    std::optional<std::vector<uint32_t>> uids = conversation.SearchUnseen();
    if (!uids) {
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
        if (at) {
            keptRow[i] = walk.kept[*at];
            hint = *at + 1;
        } else {
            fetch.push_back((*uids)[i]);
        }
    }
    ScannedHeaders fetched;
    if (!fetch.empty()) {
        check.observer.ShowProgress(
            IDI_RETRIEVING, Format(translate("CheckCycle", "Retrieving %n header(s) from %1...",
                                             nullptr, static_cast<int>(fetch.size())),
                                   walk.account.server));
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
    if (keepable && state->highestModSeq) {
        walk.folderMarks.push_back(
            {folder, state->uidValidity, *state->highestModSeq, rows.size()});
    }
    return rows;
}

// Texts the account's budget keeps that the last check did not keep (older
// messages move up when newer ones are read) are fetched again, those alone:
// a kept header without its text is kept all the same.
void FillKeptTexts(CImapConnection& conversation, ScannedHeaders& rows, std::size_t oldest) {
    std::vector<uint32_t> uids;
    std::vector<std::size_t> at;
    for (std::size_t i = oldest; i < rows.size(); ++i) {
        if (!rows[i].TextKept() && !rows[i].UniqueId().empty()) {
            const std::string_view id = rows[i].UniqueId();
            uint32_t uid = 0;
            std::from_chars(id.data() + id.rfind('\n') + 1, id.data() + id.size(), uid);
            uids.push_back(uid);
            at.push_back(i);
        }
    }
    // A failure here leaves those texts out; the reason is the conversation's.
    if (uids.empty() || !conversation.FetchHeaders(uids)) {
        return;
    }
    const ScannedHeaders again = conversation.TakeHeaders();
    std::size_t next = 0;
    for (std::size_t j = 0; j < uids.size(); ++j) {
        while (next < again.size() && UidOf(again[next]) < uids[j]) {
            ++next;
        }
        if (next < again.size() && UidOf(again[next]) == uids[j]) {
            rows[at[j]].SetText(again[next].Text(), again[next].HeaderBytes());
        }
    }
}

// Every watched folder in turn; a folder that cannot be opened is an error
// row of its own, and the others are still read.
void ReadFolders(CImapConnection& conversation, AccountWalk& walk, CheckContext& check) {
    const std::vector<std::string> folders = walk.account.folders.empty()
                                                 ? std::vector<std::string>{std::string(kInbox)}
                                                 : walk.account.folders;
    bool allRead = true;
    int32_t count = 0;
    // The header texts kept for the account, its first folders first.
    std::size_t budget = check.limits.headerTextBudget;
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
        FillKeptTexts(conversation, *rows, DropOldTexts(*rows, budget));
        for (const ScannedHeader& row : *rows) {
            budget -= row.TextKept() ? std::min(budget, row.HeaderBytes()) : 0;
        }
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
