#include "AccountScan.h"

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

// Texts a full scan would keep but that were not kept before (an older
// message moves up when newer ones are deleted) are fetched again.
bool FillKeptTexts(CPop3Connection& conversation, ScannedHeaders& out) {
    const std::size_t oldest = DropOldTexts(out, conversation.Limits().headerTextBudget);
    std::vector<int> missing;
    for (std::size_t i = oldest; i < out.size(); ++i) {
        if (!out[i].TextKept()) {
            missing.push_back(static_cast<int>(i) + 1);
        }
    }
    if (missing.empty()) {
        return true;
    }
    conversation.QuitWithNextScan();
    if (!conversation.RetrieveHeaders(missing)) {
        return false;
    }
    ScannedHeaders again = conversation.TakeHeaders();
    for (std::size_t j = 0; j < missing.size(); ++j) {
        ScannedHeader& header = out[static_cast<std::size_t>(missing[j]) - 1];
        // A server that gave a unique-id to another message since: what was
        // kept under it is not this message's.
        if (again[j].MessageId() != header.MessageId()) {
            const std::string uid(header.UniqueId());
            header = std::move(again[j]);
            header.SetUniqueId(uid);
        } else {
            header.SetText(again[j].Text(), again[j].HeaderBytes());
        }
    }
    return true;
}

// Whether FillKeptTexts may fetch again once the unseen are in: the widest
// window of texts it could keep is the one where each unseen header takes no
// room, and a kept row in it without its text would be fetched.
bool MayFetchKeptTexts(const std::vector<uint32_t>& keptRow, uint32_t unseen,
                       const ScannedHeaders& lastRows, std::size_t budget) {
    std::size_t total = 0;
    for (std::size_t i = keptRow.size(); i > 0; --i) {
        if (keptRow[i - 1] == unseen) {
            continue;
        }
        const ScannedHeader& header = lastRows[keptRow[i - 1]];
        if (total + header.HeaderBytes() > budget) {
            return false;
        }
        total += header.HeaderBytes();
        if (!header.TextKept()) {
            return true;
        }
    }
    return false;
}

bool ScanUnseen(CPop3Connection& conversation, UniqueIdList& uids, const CachedHeaders& kept,
                ScannedHeaders& lastRows, ScannedHeaders& out) {
    // Found before any is moved out, as finding compares the kept rows' ids.
    constexpr uint32_t kUnseen = std::numeric_limits<uint32_t>::max();
    const std::size_t listed = uids.size();
    std::vector<uint32_t> keptRow(listed, kUnseen);
    std::vector<int> unseen;
    UniqueIdList unseenIds;
    std::size_t hint = 0;
    for (std::size_t i = 0; i < listed; ++i) {
        if (auto at = FindKept(kept, lastRows, uids[i], hint)) {
            keptRow[i] = kept[*at];
            hint = *at + 1;
        } else {
            unseen.push_back(static_cast<int>(i) + 1);
            unseenIds.push_back(uids[i]);
        }
    }
    if (!MayFetchKeptTexts(keptRow, kUnseen, lastRows, conversation.Limits().headerTextBudget)) {
        conversation.QuitWithNextScan();
    }
    // Of the listing only the ids of the messages to fetch are wanted from
    // here on, and those go into their headers as they come.
    uids.clear();
    const bool fetchedAll = conversation.RetrieveHeaders(unseen, &unseenIds) != 0;
    ScannedHeaders fetched = conversation.TakeHeaders();
    unseenIds.clear();
    std::vector<int>().swap(unseen);
    if (!fetchedAll && !fetched.empty()) {
        // The header the scan failed in may be cut short.
        fetched.pop_back();
    }
    out.reserve(listed);
    std::size_t next = 0;
    for (std::size_t i = 0; i < listed; ++i) {
        if (keptRow[i] != kUnseen) {
            out.push_back(std::move(lastRows[keptRow[i]]));
        } else if (next < fetched.size()) {
            out.push_back(std::move(fetched[next++]));
        }
    }
    if (!fetchedAll) {
        // What is kept for the next check holds no more text than a check keeps.
        DropOldTexts(out, conversation.Limits().headerTextBudget);
        return false;
    }
    return FillKeptTexts(conversation, out);
}

} // namespace

std::size_t DropOldTexts(ScannedHeaders& headers, std::size_t budget) {
    std::size_t total = 0;
    std::size_t oldest = headers.size();
    while (oldest > 0 && total + headers[oldest - 1].HeaderBytes() <= budget) {
        total += headers[--oldest].HeaderBytes();
    }
    for (std::size_t i = 0; i < oldest; ++i) {
        headers[i].DropText();
    }
    return oldest;
}

bool ScanAccount(CPop3Connection& conversation, bool askUniqueIds, const CachedHeaders& kept,
                 ScannedHeaders& lastRows, AccountHeaders& out) {
    // Without CAPA the conversation stays the one RFC 1939 alone allows.
    if (askUniqueIds && conversation.SpeaksCapabilities()) {
        UniqueIdList uids;
        switch (conversation.ListUniqueIds(uids)) {
        case UniqueIdListing::Listed:
            return ScanUnseen(conversation, uids, kept, lastRows, out.headers);
        case UniqueIdListing::BrokenOff:
            out.listingBrokeOff = true;
            return false;
        default:
            break;
        }
    }
    conversation.QuitWithNextScan();
    int scanned = conversation.RetrieveHeaders();
    out.headers = conversation.TakeHeaders();
    return scanned == 1;
}
