// CPop3Connection's UIDL, asked alone or sent ahead with STAT.
// UIDL (RFC 1939, section 7): one line per message, "msg-number SP unique-id",
// the id 1 to 70 characters from 0x21 to 0x7E, unique within the mailbox.
#include "Format.h"
#include "Pop3Connection.h"
#include "Translate.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t kMaxUniqueIdBytes = 70;

bool IsUniqueId(std::string_view id) {
    return !id.empty() && id.size() <= kMaxUniqueIdBytes &&
           std::all_of(id.begin(), id.end(), [](char c) { return c >= 0x21 && c <= 0x7e; });
}

// The message number, or 0 when the line is not one of a well-formed listing.
int ParseListingLine(std::string_view line, int count, std::string_view& id) {
    std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0) {
        return 0;
    }
    int number = 0;
    auto [end, error] = std::from_chars(line.data(), line.data() + space, number);
    id = line.substr(space + 1);
    if (error != std::errc{} || end != line.data() + space || number < 1 || number > count ||
        !IsUniqueId(id)) {
        return 0;
    }
    return number;
}

bool HasDuplicates(const UniqueIdList& ids) {
    // Most servers list their ids in order already: then a look at each
    // neighbour does, without a copy of the list beside it.
    bool sorted = true;
    for (std::size_t i = 1; sorted && i < ids.size(); ++i) {
        if (ids[i - 1] == ids[i]) {
            return true;
        }
        sorted = ids[i - 1] < ids[i];
    }
    if (sorted) {
        return false;
    }
    std::vector<uint32_t> order(ids.size());
    std::iota(order.begin(), order.end(), uint32_t{0});
    std::sort(order.begin(), order.end(),
              [&ids](uint32_t a, uint32_t b) { return ids[a] < ids[b]; });
    return std::adjacent_find(order.begin(), order.end(), [&ids](uint32_t a, uint32_t b) {
               return ids[a] == ids[b];
           }) != order.end();
}

} // namespace

UniqueIdListing CPop3Connection::ListUniqueIds(UniqueIdList& ids) {
    ids.clear();
    if (m_countUnread) {
        ReadCount();
    }
    std::string line;
    // Sent already where it went out together with STAT.
    bool answered = (std::exchange(m_listingUnread, false) || SendLine("UIDL")) &&
                    ReadReply(line) == ReadStatus::Line;
    if (answered && !line.starts_with("+OK")) {
        return UniqueIdListing::Refused;
    }
    // Servers list in message order; a listing in any other order is taken
    // as broken, which costs a full scan and never a wrong row.
    bool broken = m_lastCount < 0;
    if (answered && !broken) {
        // As many as STAT counted, within the listing's bound.
        const std::size_t count =
            std::min(static_cast<std::size_t>(m_lastCount),
                     m_limits.maxScanBytes / (kMaxUniqueIdBytes + sizeof(uint32_t)));
        ids.reserve(count, kMaxUniqueIdBytes);
    }
    bool terminated = false;
    std::size_t held = 0;
    while (answered && ReadReply(line) == ReadStatus::Line) {
        if (line == ".") {
            terminated = true;
            break;
        }
        // A listing without end must not grow without bound; once broken it is
        // only read on to its end, to find the next reply.
        held += line.size() + sizeof(uint32_t);
        if (held > m_limits.maxScanBytes) {
            Fail(Format(
                translate("Pop3Connection", "The unique-id listing of %1 is larger than %2 bytes."),
                m_serverName.c_str(), m_limits.maxScanBytes));
            ReleaseChannel();
            break;
        }
        std::string_view id;
        broken =
            broken || ParseListingLine(line, m_lastCount, id) != static_cast<int>(ids.size()) + 1;
        if (broken) {
            ids.clear();
        } else {
            ids.push_back(id);
        }
    }
    if (!terminated) {
        ids.clear();
        return m_aborted ? UniqueIdListing::Broken : UniqueIdListing::BrokenOff;
    }
    if (broken || ids.size() != static_cast<std::size_t>(m_lastCount) || HasDuplicates(ids)) {
        ids.clear();
        return UniqueIdListing::Broken;
    }
    return UniqueIdListing::Listed;
}

// Replies asked for ahead (STAT with the login, UIDL with STAT) and then not
// wanted must not be read as the replies that follow.
void CPop3Connection::ReadUnreadReplies() {
    if (m_countUnread) {
        ReadCount();
    }
    if (m_listingUnread) {
        UniqueIdList unused;
        ListUniqueIds(unused);
    }
}
