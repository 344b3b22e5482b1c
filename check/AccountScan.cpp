#include "AccountScan.h"

#include <utility>

namespace {

void AppendFetched(ScannedHeaders& fetched, std::size_t at, ScannedHeaders& out) {
    out.subjects.push_back(std::move(fetched.subjects[at]));
    out.froms.push_back(std::move(fetched.froms[at]));
    out.messageIds.push_back(std::move(fetched.messageIds[at]));
    out.headerTexts.push_back(std::move(fetched.headerTexts[at]));
    out.headerBytes.push_back(fetched.headerBytes[at]);
}

void AppendKept(CachedHeader& header, MessageTable& lastRows, ScannedHeaders& out) {
    out.subjects.push_back(std::move(lastRows.subjects[header.row]));
    out.froms.push_back(std::move(lastRows.froms[header.row]));
    out.messageIds.push_back(std::move(header.messageId));
    // A text not kept was shown as a sentence saying so.
    out.headerTexts.push_back(header.textKept ? std::move(lastRows.headerTexts[header.row])
                                              : std::string());
    out.headerBytes.push_back(header.headerBytes);
}

// The index of the oldest message whose text a full scan keeps: the newest
// texts are kept, as many as fit the budget together.
std::size_t OldestKeptText(const std::vector<std::size_t>& headerBytes, std::size_t budget) {
    std::size_t total = 0;
    std::size_t oldest = headerBytes.size();
    while (oldest > 0 && total + headerBytes[oldest - 1] <= budget) {
        total += headerBytes[--oldest];
    }
    return oldest;
}

// Texts a full scan would keep but that were not kept before (an older
// message moves up when newer ones are deleted) are fetched again.
bool FillKeptTexts(CPop3Connection& conversation, ScannedHeaders& out) {
    std::size_t oldest = OldestKeptText(out.headerBytes, conversation.Limits().headerTextBudget);
    std::vector<int> missing;
    for (std::size_t i = 0; i < out.headerTexts.size(); ++i) {
        if (i < oldest) {
            std::string().swap(out.headerTexts[i]);
        } else if (out.headerTexts[i].size() != out.headerBytes[i]) {
            missing.push_back(static_cast<int>(i) + 1);
        }
    }
    if (missing.empty()) {
        return true;
    }
    if (!conversation.RetrieveHeaders(missing)) {
        return false;
    }
    ScannedHeaders again = conversation.TakeHeaders();
    for (std::size_t j = 0; j < missing.size(); ++j) {
        std::size_t i = static_cast<std::size_t>(missing[j]) - 1;
        // A server that gave a unique-id to another message since: what was
        // kept under it is not this message's.
        if (again.messageIds[j] != out.messageIds[i]) {
            out.subjects[i] = std::move(again.subjects[j]);
            out.froms[i] = std::move(again.froms[j]);
            out.messageIds[i] = std::move(again.messageIds[j]);
        }
        out.headerTexts[i] = std::move(again.headerTexts[j]);
        out.headerBytes[i] = again.headerBytes[j];
    }
    return true;
}

bool ScanUnseen(CPop3Connection& conversation, const std::vector<std::string>& uids,
                CachedHeaders& kept, MessageTable& lastRows, ScannedHeaders& out) {
    std::vector<int> unseen;
    for (std::size_t i = 0; i < uids.size(); ++i) {
        if (!kept.contains(uids[i])) {
            unseen.push_back(static_cast<int>(i) + 1);
        }
    }
    if (!conversation.RetrieveHeaders(unseen)) {
        return false;
    }
    ScannedHeaders fetched = conversation.TakeHeaders();
    if (unseen.size() == uids.size()) {
        out = std::move(fetched);
        return FillKeptTexts(conversation, out);
    }
    for (auto* list : {&out.subjects, &out.froms, &out.messageIds, &out.headerTexts}) {
        list->reserve(uids.size());
    }
    out.headerBytes.reserve(uids.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < uids.size(); ++i) {
        if (next < unseen.size() && static_cast<std::size_t>(unseen[next]) == i + 1) {
            AppendFetched(fetched, next++, out);
        } else {
            // Freed as it is used, so the headers the check keeps for next
            // time take its place rather than adding to it.
            auto found = kept.find(uids[i]);
            AppendKept(found->second, lastRows, out);
            kept.erase(found);
        }
    }
    return FillKeptTexts(conversation, out);
}

} // namespace

bool ScanAccount(CPop3Connection& conversation, bool askUniqueIds, CachedHeaders& kept,
                 MessageTable& lastRows, AccountHeaders& out) {
    // Without CAPA the conversation stays the one RFC 1939 alone allows.
    if (askUniqueIds && conversation.SpeaksCapabilities()) {
        switch (conversation.ListUniqueIds(out.uids)) {
        case UniqueIdListing::Listed:
            return ScanUnseen(conversation, out.uids, kept, lastRows, out.headers);
        case UniqueIdListing::BrokenOff:
            out.listingBrokeOff = true;
            return false;
        default:
            break;
        }
    }
    out.uids.clear();
    int scanned = conversation.RetrieveHeaders();
    out.headers = conversation.TakeHeaders();
    return scanned == 1;
}
