#include "StateFormat.h"

#include "CheckCycle.h"
#include "LineChannel.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kOpening = "Tarvo state\n";
constexpr std::size_t kDigestBytes = 8;

// Appends to the text, or only follows its digest when there is no text.
class Writer {
public:
    explicit Writer(std::string* text) : m_text(text) {}

    void Number(uint64_t value) {
        char bytes[10];
        std::size_t n = 0;
        do {
            bytes[n++] = static_cast<char>((value & 0x7f) | (value > 0x7f ? 0x80 : 0));
            value >>= 7;
        } while (value != 0);
        Raw({bytes, n});
    }
    void Text(std::string_view text) {
        Number(text.size());
        Raw(text);
    }
    void Raw(std::string_view bytes) {
        m_digest = KnownMessageIds::Digest(bytes, m_digest);
        if (m_text != nullptr) {
            m_text->append(bytes);
        }
    }
    uint64_t Digest() const { return m_digest; }

private:
    std::string* m_text;
    uint64_t m_digest = KnownMessageIds::kDigestSeed;
};

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    uint64_t Number() {
        uint64_t value = 0;
        for (int shift = 0; shift < 64 && m_at < m_text.size(); shift += 7) {
            const auto byte = static_cast<unsigned char>(m_text[m_at++]);
            value |= uint64_t{byte & 0x7fu} << shift;
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        m_ok = false;
        return 0;
    }
    // A count of entries that each take a byte at least cannot pass what is left.
    uint64_t Count() {
        const uint64_t count = Number();
        m_ok = m_ok && count <= Left();
        return m_ok ? count : 0;
    }
    std::string Text() { return std::string(TextView()); }
    std::string_view TextView() {
        const uint64_t size = Number();
        if (!m_ok || size > Left()) {
            m_ok = false;
            return {};
        }
        const std::string_view text = m_text.substr(m_at, size);
        m_at += size;
        return text;
    }
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at == m_text.size(); }

private:
    std::size_t Left() const { return m_text.size() - m_at; }

    std::string_view m_text;
    std::size_t m_at = 0;
    bool m_ok = true;
};

// The headers of one account in row order, so that the same headers give the
// same bytes.
void WriteHeaders(Writer& out, CachedHeaders rows, const ScannedHeaders& headers) {
    std::sort(rows.begin(), rows.end());
    out.Number(rows.size());
    for (uint32_t row : rows) {
        const ScannedHeader& header = headers[row];
        out.Text(header.UniqueId());
        out.Text(header.MessageId());
        out.Number(header.HeaderBytes());
        out.Text(header.Subject());
        out.Text(header.From());
        out.Text(header.TextKept() ? header.Text() : "");
    }
}

// Each id with how many reads of its mailbox ago it was last seen: a mailbox
// that keeps its mail gives the same bytes check after check. The counts of
// appends are not kept: nothing but the ageing depends on them.
void WriteKnownIds(Writer& out, const KnownMessageIds& knownIds) {
    std::vector<std::vector<std::pair<std::string_view, uint64_t>>> byMailbox(
        knownIds.MailboxCount());
    knownIds.ForEachId([&](std::string_view id, uint64_t, std::size_t mailbox, uint64_t atRead) {
        byMailbox[mailbox].emplace_back(id, knownIds.MailboxReads(mailbox) - atRead);
    });
    out.Number(byMailbox.size());
    for (std::size_t mailbox = 0; mailbox < byMailbox.size(); ++mailbox) {
        auto& ids = byMailbox[mailbox];
        std::sort(ids.begin(), ids.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        out.Text(knownIds.MailboxName(mailbox));
        out.Number(ids.size());
        for (const auto& [id, readsAgo] : ids) {
            out.Text(id);
            out.Number(readsAgo);
        }
    }
}

uint64_t Write(Writer& out, const HeaderCache& cache, const MessageTable& table,
               const KnownMessageIds& knownIds) {
    out.Raw(kOpening);
    out.Number(kStateVersion);
    std::size_t accounts = 0;
    for (std::size_t i = 0; i < cache.AccountCount(); ++i) {
        accounts += cache.HeadersOf(i).empty() ? 0 : 1;
    }
    out.Number(accounts);
    for (std::size_t i = 0; i < cache.AccountCount(); ++i) {
        if (!cache.HeadersOf(i).empty()) {
            out.Text(cache.KeyOf(i));
            WriteHeaders(out, cache.HeadersOf(i), cache.RowsOf(i, table));
        }
    }
    WriteKnownIds(out, knownIds);
    return out.Digest();
}

std::string DigestBytes(uint64_t digest) {
    std::string bytes(kDigestBytes, '\0');
    for (std::size_t i = 0; i < kDigestBytes; ++i) {
        bytes[i] = static_cast<char>(digest >> (8 * i));
    }
    return bytes;
}

std::optional<std::size_t> AccountWithKey(const AccountList& accounts, const std::string& key,
                                          const HeaderCache& restored) {
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const bool taken = i < restored.AccountCount() && !restored.KeyOf(i).empty();
        if (!taken && AccountCacheKey(accounts, i) == key) {
            return i;
        }
    }
    return std::nullopt;
}

bool ReadHeaders(Reader& in, CachedHeaders& kept, ScannedHeaders& rows) {
    const uint64_t count = in.Count();
    std::size_t textBytes = 0;
    rows.reserve(count);
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        const std::string_view uid = in.TextView();
        const std::string_view messageId = in.TextView();
        const uint64_t headerBytes = in.Number();
        const std::string_view subject = in.TextView();
        const std::string_view from = in.TextView();
        const std::string_view text = in.TextView();
        textBytes += text.size();
        // A text is kept whole or not at all, and no more than a check keeps.
        const bool sound = text.empty() || text.size() == headerBytes;
        if (!in.Ok() || !sound || headerBytes == 0 || uid.empty() ||
            textBytes > ChannelLimits{}.headerTextBudget ||
            headerBytes > ChannelLimits{}.maxHeaderBytes) {
            return false;
        }
        rows.emplace_back(subject, from, messageId, text, headerBytes, uid);
        kept.push_back(static_cast<uint32_t>(rows.size() - 1));
    }
    return in.Ok() && OrderByUniqueId(kept, rows);
}

// The headers of an account that is not restored, read past without a copy.
bool SkipHeaders(Reader& in) {
    const uint64_t count = in.Count();
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        in.TextView();
        in.TextView();
        in.Number();
        in.TextView();
        in.TextView();
        in.TextView();
    }
    return in.Ok();
}

bool ReadKnownIds(Reader& in, const AccountList& accounts, KnownMessageIds& knownIds) {
    const uint64_t mailboxes = in.Count();
    for (uint64_t m = 0; m < mailboxes && in.Ok(); ++m) {
        const std::string name = in.Text();
        bool current = false;
        for (std::size_t i = 0; i < accounts.size(); ++i) {
            current = current || KnownIdsMailbox(accounts, i) == name;
        }
        const uint64_t count = in.Count();
        for (uint64_t n = 0; n < count && in.Ok(); ++n) {
            const std::string_view id = in.TextView();
            const uint64_t readsAgo = in.Number();
            // Ids older than the ageing allows were never written.
            if (!in.Ok() || readsAgo > KnownMessageIds::kReadsKept) {
                return false;
            }
            if (current && !knownIds.Restore(id, name, KnownMessageIds::kReadsKept,
                                             KnownMessageIds::kReadsKept - readsAgo)) {
                return false;
            }
        }
    }
    return in.Ok();
}

} // namespace

uint64_t StateDigest(const HeaderCache& cache, const MessageTable& table,
                     const KnownMessageIds& knownIds) {
    Writer out(nullptr);
    return Write(out, cache, table, knownIds);
}

std::string FormatState(const HeaderCache& cache, const MessageTable& table,
                        const KnownMessageIds& knownIds) {
    std::string text;
    Writer out(&text);
    text += DigestBytes(Write(out, cache, table, knownIds));
    return text;
}

uint64_t DigestOfFile(std::string_view text) {
    if (text.size() < kDigestBytes) {
        return 0;
    }
    uint64_t digest = 0;
    for (std::size_t i = 0; i < kDigestBytes; ++i) {
        digest |= uint64_t{static_cast<unsigned char>(text[text.size() - kDigestBytes + i])}
                  << (8 * i);
    }
    return digest;
}

bool ParseState(std::string_view text, const AccountList& accounts, HeaderCache* cache,
                KnownMessageIds& knownIds) {
    if (text.size() < kOpening.size() + kDigestBytes || !text.starts_with(kOpening)) {
        return false;
    }
    const std::string_view body = text.substr(0, text.size() - kDigestBytes);
    if (KnownMessageIds::Digest(body) != DigestOfFile(text)) {
        return false;
    }
    Reader in(body.substr(kOpening.size()));
    if (in.Number() != kStateVersion || !in.Ok()) {
        return false;
    }
    HeaderCache restoredCache;
    KnownMessageIds restoredIds;
    const uint64_t count = in.Count();
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        std::string key = in.Text();
        // Headers of an account no longer in the settings are let go.
        const auto index = AccountWithKey(accounts, key, restoredCache);
        if (cache == nullptr || !index) {
            if (!SkipHeaders(in)) {
                return false;
            }
            continue;
        }
        CachedHeaders headers;
        ScannedHeaders rows;
        if (!ReadHeaders(in, headers, rows)) {
            return false;
        }
        restoredCache.KeepWithRows(*index, std::move(key), std::move(headers), std::move(rows));
    }
    if (!ReadKnownIds(in, accounts, restoredIds) || !in.AtEnd()) {
        return false;
    }
    if (cache != nullptr) {
        *cache = std::move(restoredCache);
    }
    knownIds = std::move(restoredIds);
    return true;
}
