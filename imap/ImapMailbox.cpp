// CImapConnection's read-only mailbox access: EXAMINE, UID SEARCH (ESEARCH,
// RFC 4731, where listed), one UID FETCH of BODY.PEEK[HEADER] for a set of
// UIDs, LIST. UIDs name messages throughout, so an EXPUNGE among the answers,
// which shifts message numbers, shifts nothing here.
#include "Format.h"
#include "ImapConnection.h"
#include "MailboxName.h"
#include "Translate.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

enum class SetRead { Read, Malformed, TooMany };

// "1:3,5" for 1 2 3 5; uids ascending, unique.
std::string UidSet(const std::vector<uint32_t>& uids) {
    std::string set;
    for (std::size_t i = 0; i < uids.size();) {
        std::size_t last = i;
        while (last + 1 < uids.size() && uids[last + 1] == uids[last] + 1) {
            ++last;
        }
        set += (set.empty() ? "" : ",") + std::to_string(uids[i]);
        if (last > i) {
            set += ":" + std::to_string(uids[last]);
        }
        i = last + 1;
    }
    return set;
}

std::optional<uint32_t> Uid(std::string_view text) {
    uint32_t uid = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), uid);
    return error == std::errc{} && end == text.data() + text.size() && uid > 0 ? std::optional(uid)
                                                                               : std::nullopt;
}

// A search result's UIDs, "2,5:7" or "2 5 6 7", ranges in either order; no
// more than cap in all, counted before a range is spread out.
SetRead AddUids(std::string_view text, char separator, std::size_t cap,
                std::vector<uint32_t>& uids) {
    while (!text.empty()) {
        std::size_t end = text.find(separator);
        std::string_view item = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (item.empty() && separator == ' ') {
            continue;
        }
        std::size_t colon = item.find(':');
        std::optional<uint32_t> first = Uid(item.substr(0, colon));
        std::optional<uint32_t> last =
            colon == std::string_view::npos ? first : Uid(item.substr(colon + 1));
        if (!first || !last) {
            return SetRead::Malformed;
        }
        const auto [low, high] = std::minmax(*first, *last);
        if (high - low >= cap - std::min(cap, uids.size())) {
            return SetRead::TooMany;
        }
        for (uint64_t uid = low; uid <= high; ++uid) {
            uids.push_back(static_cast<uint32_t>(uid));
        }
    }
    return SetRead::Read;
}

void SortUnique(std::vector<uint32_t>& uids) {
    std::sort(uids.begin(), uids.end());
    uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
}

} // namespace

std::optional<ImapFolderState> CImapConnection::Examine(const std::string& folder) {
    const DeferredClose deferred{*this};
    if (!Ready()) {
        return std::nullopt;
    }
    m_examined.clear();
    m_folder = ImapFolderState();
    std::optional<ImapResponse> answer =
        Command("EXAMINE " + ImapQuoted(EncodeMailboxName(folder)) +
                (m_capabilities.condStore ? " (CONDSTORE)" : ""));
    if (!answer) {
        return std::nullopt;
    }
    if (answer->status != "OK") {
        Fail(Refusal(Format(translate("ImapConnection", "The server would not open the folder %1"),
                            folder.c_str()),
                     answer->quote));
        return std::nullopt;
    }
    m_examined = folder;
    return m_folder;
}

std::optional<std::vector<uint32_t>> CImapConnection::SearchUnseen() {
    const DeferredClose deferred{*this};
    if (!Ready() || m_examined.empty()) {
        return std::nullopt;
    }
    std::vector<uint32_t> uids;
    SetRead read = SetRead::Read;
    std::string unread;
    // A folder holds no more unseen messages than messages (the server names
    // none before it has counted it), and the list stays within the scan's bound.
    auto cap = [this] {
        return std::min<std::size_t>(m_folder.exists, m_limits.maxScanBytes / sizeof(uint32_t));
    };
    auto onResult = [&](const ImapResponse& response) {
        if (response.IsData("SEARCH")) {
            unread = response.quote;
            // "(MODSEQ n)" may close the list.
            read = AddUids(response.text.substr(0, response.text.find('(')), ' ', cap(), uids);
        } else if (response.IsData("ESEARCH")) {
            const std::vector<ImapValue>& data = response.data;
            std::size_t at = 1;
            if (at < data.size() && data[at].kind == ImapValue::Kind::List) {
                const std::vector<ImapValue>& correlator = data[at++].list;
                if (correlator.size() != 2 || !correlator[0].Is("TAG") ||
                    correlator[1].text != m_commandTag) {
                    return true;
                }
            }
            unread = response.quote;
            for (; at + 1 < data.size() && read == SetRead::Read; ++at) {
                if (data[at].Is("ALL")) {
                    read = AddUids(data[at + 1].text, ',', cap(), uids);
                }
            }
        }
        return read == SetRead::Read;
    };
    std::optional<ImapResponse> answer =
        Command(m_capabilities.esearch ? "UID SEARCH RETURN (ALL) UNSEEN UNDELETED"
                                       : "UID SEARCH UNSEEN UNDELETED",
                onResult);
    const char* server = m_serverName.c_str();
    if (read != SetRead::Read) {
        Fail(read == SetRead::TooMany
                 ? Format(translate("ImapConnection",
                                    "%1 listed more unseen messages than the folder %2 holds."),
                          server, m_examined.c_str())
                 : Refusal(Format(translate("ImapConnection",
                                            "%1 sent a search result that cannot be read"),
                                  server),
                           unread));
        ReleaseChannel();
        return std::nullopt;
    }
    if (!answer) {
        return std::nullopt;
    }
    if (answer->status != "OK") {
        Fail(Refusal(translate("ImapConnection", "The server would not search for unseen messages"),
                     answer->quote));
        return std::nullopt;
    }
    SortUnique(uids);
    return uids;
}

bool CImapConnection::FetchHeaders(const std::vector<uint32_t>& wanted) {
    const DeferredClose deferred{*this};
    m_headers = ScannedHeaders();
    if (!Ready() || m_examined.empty()) {
        return false;
    }
    std::vector<uint32_t> uids = wanted;
    SortUnique(uids);
    uids.erase(std::remove(uids.begin(), uids.end(), 0u), uids.end());
    if (uids.empty()) {
        return true;
    }
    m_headers.reserve(uids.size());
    std::vector<bool> had(uids.size(), false);
    HeaderTextBudget texts(m_limits.headerTextBudget);
    std::size_t held = 0;
    auto onFetch = [&](const ImapResponse& response) {
        if (!response.IsData("FETCH") || response.data.size() < 3 ||
            response.data[2].kind != ImapValue::Kind::List) {
            return true;
        }
        std::optional<uint64_t> uid;
        const ImapValue* header = nullptr;
        const std::vector<ImapValue>& items = response.data[2].list;
        for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
            if (items[i].Is("UID")) {
                uid = items[i + 1].Number();
            } else if (items[i].Is("BODY[HEADER]")) {
                header = &items[i + 1];
            }
        }
        // A FETCH of flags alone, or of a message not asked for, brings no header.
        auto at = std::lower_bound(uids.begin(), uids.end(), uid.value_or(0));
        if (header == nullptr || at == uids.end() || *at != uid || had[at - uids.begin()]) {
            return true;
        }
        had[at - uids.begin()] = true;
        m_scanning.Reset();
        if (header->kind == ImapValue::Kind::String) {
            m_scanning.AddLines(header->text);
        }
        m_headers.push_back(m_scanning.Make(std::to_string(*at)));
        texts.Added(m_headers);
        held += m_headers.back().Footprint() - m_headers.back().Text().size();
        if (held + texts.Kept() > m_limits.maxScanBytes) {
            FailScanTooLarge();
            ReleaseChannel();
            return false;
        }
        return true;
    };
    std::optional<ImapResponse> answer =
        Command("UID FETCH " + UidSet(uids) + " (UID BODY.PEEK[HEADER])", onFetch);
    // Servers answer in message order, which is UID order; any other is put right.
    auto byUid = [](const ScannedHeader& a, const ScannedHeader& b) {
        return Uid(a.UniqueId()) < Uid(b.UniqueId());
    };
    if (!std::is_sorted(m_headers.begin(), m_headers.end(), byUid)) {
        std::stable_sort(m_headers.begin(), m_headers.end(), byUid);
    }
    if (!answer) {
        return false;
    }
    if (answer->status != "OK") {
        Fail(Refusal(translate("ImapConnection", "The server would not give the headers"),
                     answer->quote));
        return false;
    }
    return true;
}

ScannedHeaders CImapConnection::TakeHeaders() {
    return std::exchange(m_headers, ScannedHeaders());
}

std::optional<std::vector<std::string>> CImapConnection::ListFolders() {
    const DeferredClose deferred{*this};
    if (!Ready()) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    auto onList = [&](const ImapResponse& response) {
        if (!response.IsData("LIST") || response.data.size() < 4 ||
            response.data[1].kind != ImapValue::Kind::List ||
            response.data[3].kind == ImapValue::Kind::List) {
            return true;
        }
        for (const ImapValue& flag : response.data[1].list) {
            if (flag.Is("\\NOSELECT") || flag.Is("\\NONEXISTENT")) {
                return true;
            }
        }
        names.push_back(DecodeMailboxName(response.data[3].text));
        return true;
    };
    std::optional<ImapResponse> answer = Command("LIST \"\" \"*\"", onList);
    if (!answer) {
        return std::nullopt;
    }
    if (answer->status != "OK") {
        Fail(Refusal(translate("ImapConnection", "The server would not list its folders"),
                     answer->quote));
        return std::nullopt;
    }
    return names;
}
