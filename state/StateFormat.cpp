#include "StateFormat.h"

#include "CheckCycle.h"
#include "Leb128.h"

#define XXH_INLINE_ALL
#include <algorithm>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>
#include <xxhash.h>

namespace {

constexpr std::string_view kOpening = "Tarvo state\n";
constexpr std::size_t kDigestBytes = 8;
// An account's marks, from version 2 on.
constexpr uint64_t kWithoutUniqueIds = 1;

uint64_t DecodeDigest(const unsigned char (&bytes)[kDigestBytes]) {
    uint64_t digest = 0;
    for (std::size_t i = 0; i < kDigestBytes; ++i) {
        digest |= uint64_t{bytes[i]} << (8 * i);
    }
    return digest;
}

// The digest of the body in pieces, of this version's kind or of an earlier
// version's.
class BodyDigest {
public:
    explicit BodyDigest(uint64_t version = kStateVersion) : m_fast(version >= 3) {
        XXH3_64bits_reset(&m_state);
    }
    void Add(std::string_view bytes) {
        if (m_fast) {
            XXH3_64bits_update(&m_state, bytes.data(), bytes.size());
        } else {
            m_slow = KnownMessageIds::Digest(bytes, m_slow);
        }
    }
    uint64_t Value() const { return m_fast ? XXH3_64bits_digest(&m_state) : m_slow; }

private:
    bool m_fast;
    XXH3_state_t m_state;
    uint64_t m_slow = KnownMessageIds::kDigestSeed;
};

// Hands the content to a sink in pieces, each piece added to the digest as
// it goes.
class Writer {
public:
    Writer(const ContentSink& sink, std::size_t maxSize) : m_sink(sink), m_maxSize(maxSize) {}

    void Number(uint64_t value) {
        char bytes[kLeb128MaxBytes<uint64_t>];
        Raw({bytes, static_cast<std::size_t>(PutLeb128(bytes, value) - bytes)});
    }
    void Text(std::string_view text) {
        Number(text.size());
        Raw(text);
    }
    void Raw(std::string_view bytes) {
        m_size += bytes.size();
        m_piece.append(bytes);
        if (m_piece.size() >= kPiece) {
            Flush();
        }
    }
    void GiveUp() { m_ok = false; }
    // The closing digest, itself outside the digest; none when the sink gave
    // up or the content passed its bound.
    std::optional<uint64_t> Close() {
        Flush();
        const uint64_t digest = m_digest.Value();
        for (std::size_t i = 0; i < kDigestBytes; ++i) {
            m_piece += static_cast<char>(digest >> (8 * i));
        }
        m_size += kDigestBytes;
        m_ok = m_ok && m_size <= m_maxSize && m_sink(m_piece);
        return m_ok ? std::optional<uint64_t>(digest) : std::nullopt;
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;

    void Flush() {
        m_digest.Add(m_piece);
        m_ok = m_ok && m_size <= m_maxSize && (m_piece.empty() || m_sink(m_piece));
        m_piece.clear();
    }

    const ContentSink& m_sink;
    std::size_t m_maxSize;
    std::size_t m_size = 0;
    std::string m_piece;
    bool m_ok = true;
    BodyDigest m_digest;
};

// Reads the body of a file of a known size a piece at a time, following its
// digest, so that the file is never held whole beside what is made of it. A
// piece is added to the digest once it is read through, by when the version
// that says which digest has been read.
class Reader {
public:
    Reader(FileReader& file, std::size_t bodySize)
        : m_file(file), m_size(bodySize), m_left(bodySize) {}

    uint64_t Number() {
        // Most numbers are a byte, read from the piece at hand.
        if (m_at < m_piece.size() && static_cast<unsigned char>(m_piece[m_at]) < 0x80) {
            --m_left;
            return static_cast<unsigned char>(m_piece[m_at++]);
        }
        const std::optional<uint64_t> value =
            ReadLeb128<uint64_t>([this]() -> std::optional<unsigned char> {
                if (!Fill()) {
                    return std::nullopt;
                }
                --m_left;
                return static_cast<unsigned char>(m_piece[m_at++]);
            });
        m_ok = m_ok && value.has_value();
        return value.value_or(0);
    }
    // A count of entries that each take a byte at least cannot pass what is left.
    uint64_t Count() {
        const uint64_t count = Number();
        m_ok = m_ok && count <= m_left;
        return m_ok ? count : 0;
    }
    // The next text into text, whose memory is used again.
    void TextInto(std::string& text) { RawInto(text, Number()); }
    std::string Text() {
        std::string text;
        TextInto(text);
        return text;
    }
    void RawInto(std::string& bytes, std::size_t size) {
        m_ok = m_ok && size <= m_left;
        bytes.resize(m_ok ? size : 0);
        Take(bytes.data(), bytes.size());
    }
    void SkipText() {
        const uint64_t size = Number();
        m_ok = m_ok && size <= m_left;
        Take(nullptr, m_ok ? size : 0);
    }
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_left == 0; }
    // Where the next byte lies in the body.
    std::size_t Offset() const { return m_size - m_left; }
    void DigestOfVersion(uint64_t version) { m_digest = BodyDigest(version); }
    // Once the body is read through.
    uint64_t Digest() {
        m_digest.Add(m_piece);
        m_piece.clear();
        return m_digest.Value();
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;

    // At least one byte of the body waits in the piece.
    bool Fill() {
        if (m_at < m_piece.size()) {
            return true;
        }
        m_digest.Add(m_piece);
        m_piece.resize(std::min(kPiece, m_left));
        m_piece.resize(m_piece.empty() ? 0 : m_file.Read(m_piece.data(), m_piece.size()));
        m_at = 0;
        return !m_piece.empty();
    }
    // size bytes into into, or past them when into is null.
    void Take(char* into, std::size_t size) {
        while (m_ok && size > 0) {
            if (!Fill()) {
                m_ok = false;
                return;
            }
            const std::size_t n = std::min(size, m_piece.size() - m_at);
            if (into != nullptr) {
                std::copy_n(m_piece.data() + m_at, n, into);
                into += n;
            }
            m_at += n;
            m_left -= n;
            size -= n;
        }
    }

    FileReader& m_file;
    std::size_t m_size;
    std::size_t m_left; // of the body, read or not
    std::string m_piece;
    std::size_t m_at = 0;
    bool m_ok = true;
    BodyDigest m_digest;
};

// The headers of one account in row order, so that the same headers give the
// same bytes.
void WriteHeaders(Writer& out, CachedHeaders rows, const ScannedHeaders& headers) {
    // Already so where the ids ascend with the messages, as on most servers.
    if (!std::is_sorted(rows.begin(), rows.end())) {
        std::sort(rows.begin(), rows.end());
    }
    out.Number(rows.size());
    for (uint32_t row : rows) {
        const ScannedHeader::Fields header = headers[row].All();
        out.Text(header.uniqueId);
        out.Text(header.messageId);
        out.Number(header.headerBytes);
        out.Text(header.subject);
        out.Text(header.from);
        out.Text(header.text.size() == header.headerBytes ? header.text : "");
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

// Ids of mailboxes no longer in the settings are let go.
bool CurrentMailbox(const AccountList& accounts, const std::string& name) {
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        if (KnownIdsMailbox(accounts[i]) == name) {
            return true;
        }
    }
    return false;
}

// The bytes that reading the known ids of a file and writing them again would
// give, without holding, sorting or indexing them: the mailboxes of the
// accounts that have ids, in the file's order, each id as it is.
bool CopyKnownIds(Writer& out, const KnownIdsInFile& from) {
    // Twice through: the count of mailboxes kept comes before them.
    uint64_t kept = 0;
    for (const bool copy : {false, true}) {
        FileReader file;
        if (file.Open(from.path, true) != FileRead::Read || file.Size() < from.at + kDigestBytes ||
            !file.Skip(from.at)) {
            return false;
        }
        Reader in(file, file.Size() - kDigestBytes - from.at);
        const uint64_t mailboxes = in.Count();
        if (copy) {
            out.Number(kept);
        }
        std::string name, id;
        for (uint64_t m = 0; m < mailboxes && in.Ok(); ++m) {
            in.TextInto(name);
            const uint64_t count = in.Count();
            const bool keep = count > 0 && CurrentMailbox(from.accounts, name);
            kept += !copy && keep ? 1 : 0;
            if (copy && keep) {
                out.Text(name);
                out.Number(count);
            }
            for (uint64_t n = 0; n < count && in.Ok(); ++n) {
                in.TextInto(id);
                const uint64_t readsAgo = in.Number();
                if (copy && keep) {
                    out.Text(id);
                    out.Number(readsAgo);
                }
            }
        }
        if (!in.Ok()) {
            return false;
        }
    }
    return true;
}

void Write(Writer& out, const StateContent& state) {
    const HeaderCache& cache = state.cache;
    out.Raw(kOpening);
    out.Number(kStateVersion);
    const auto marks = [&cache](std::size_t i) {
        return cache.WithoutUniqueIds(i, cache.KeyOf(i)) ? kWithoutUniqueIds : 0;
    };
    std::size_t accounts = 0;
    for (std::size_t i = 0; i < cache.AccountCount(); ++i) {
        accounts += cache.HeadersOf(i).empty() && marks(i) == 0 ? 0 : 1;
    }
    out.Number(accounts);
    for (std::size_t i = 0; i < cache.AccountCount(); ++i) {
        if (!cache.HeadersOf(i).empty() || marks(i) != 0) {
            out.Text(cache.KeyOf(i));
            out.Number(marks(i));
            WriteHeaders(out, cache.HeadersOf(i), cache.RowsOf(i, state.table));
        }
    }
    if (state.knownIdsInFile == nullptr) {
        WriteKnownIds(out, state.knownIds);
    } else if (!CopyKnownIds(out, *state.knownIdsInFile)) {
        out.GiveUp();
    }
    out.Number(state.signIns.All().size());
    for (const auto& [key, mechanism] : state.signIns.All()) {
        out.Text(key);
        out.Text(mechanism);
    }
}

std::optional<std::size_t> AccountWithKey(const AccountList& accounts, const std::string& key,
                                          const HeaderCache& restored) {
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const bool taken = i < restored.AccountCount() && !restored.KeyOf(i).empty();
        if (!taken && AccountCacheKey(accounts[i]) == key) {
            return i;
        }
    }
    return std::nullopt;
}

bool ReadHeaders(Reader& in, const ChannelLimits& limits, CachedHeaders& kept,
                 ScannedHeaders& rows) {
    // The rows grow with what is read: a count is only what the file claims.
    const uint64_t count = in.Count();
    std::size_t textBytes = 0;
    std::string uid, messageId, subject, from, text, lastUid;
    // Rows in message order are in the order of their ids on most servers:
    // told while reading, that takes no second pass over the rows.
    bool ordered = true;
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        lastUid.swap(uid);
        in.TextInto(uid);
        ordered = ordered && (n == 0 || lastUid < uid);
        in.TextInto(messageId);
        const uint64_t headerBytes = in.Number();
        in.TextInto(subject);
        in.TextInto(from);
        in.TextInto(text);
        textBytes += text.size();
        // A text is kept whole or not at all, and no more than a check keeps.
        const bool sound = text.empty() || text.size() == headerBytes;
        if (!in.Ok() || !sound || headerBytes == 0 || uid.empty() ||
            textBytes > limits.headerTextBudget || headerBytes > limits.maxHeaderBytes) {
            return false;
        }
        rows.emplace_back(subject, from, messageId, text, headerBytes, uid);
        kept.push_back(static_cast<uint32_t>(rows.size() - 1));
    }
    return in.Ok() && (ordered || OrderByUniqueId(kept, rows));
}

// The headers of an account that is not restored, read past without a copy.
bool SkipHeaders(Reader& in) {
    const uint64_t count = in.Count();
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        in.SkipText();
        in.SkipText();
        in.Number();
        in.SkipText();
        in.SkipText();
        in.SkipText();
    }
    return in.Ok();
}

bool ReadKnownIds(Reader& in, const AccountList& accounts, KnownMessageIds& knownIds) {
    const uint64_t mailboxes = in.Count();
    for (uint64_t m = 0; m < mailboxes && in.Ok(); ++m) {
        const std::string name = in.Text();
        const bool current = CurrentMailbox(accounts, name);
        const uint64_t count = in.Count();
        std::string id;
        for (uint64_t n = 0; n < count && in.Ok(); ++n) {
            in.TextInto(id);
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

// Only the mechanisms of the accounts as they are now: another sign-in
// method or server forgets what was used.
bool ReadSignIns(Reader& in, const AccountList& accounts, SignInMemory& signIns) {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        keys.push_back(SignInKey(accounts[i]));
    }
    const uint64_t count = in.Count();
    std::string key, mechanism;
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        in.TextInto(key);
        in.TextInto(mechanism);
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
            signIns.Remember(key, mechanism);
        }
    }
    return in.Ok();
}

} // namespace

uint64_t StateDigest(std::string_view bytes) {
    BodyDigest digest;
    digest.Add(bytes);
    return digest.Value();
}

std::optional<uint64_t> WriteState(const StateContent& state, const ContentSink& sink,
                                   std::size_t maxSize) {
    Writer out(sink, maxSize);
    Write(out, state);
    return out.Close();
}

std::optional<RestoredState> ReadState(FileReader& file, const AccountList& accounts,
                                       const ChannelLimits& limits, bool withHeaders) {
    if (file.Size() < kOpening.size() + kDigestBytes) {
        return std::nullopt;
    }
    Reader in(file, file.Size() - kDigestBytes);
    std::string opening;
    in.RawInto(opening, kOpening.size());
    const uint64_t version = in.Number();
    if (opening != kOpening || version < 1 || version > kStateVersion || !in.Ok()) {
        return std::nullopt;
    }
    in.DigestOfVersion(version);
    RestoredState restored;
    const uint64_t count = in.Count();
    for (uint64_t n = 0; n < count && in.Ok(); ++n) {
        std::string key = in.Text();
        const uint64_t marks = version >= 2 ? in.Number() : 0;
        if ((marks & ~kWithoutUniqueIds) != 0) {
            return std::nullopt;
        }
        // Headers of an account no longer in the settings are let go.
        const auto index = AccountWithKey(accounts, key, restored.cache);
        if (!withHeaders || !index) {
            if (!SkipHeaders(in)) {
                return std::nullopt;
            }
            continue;
        }
        CachedHeaders headers;
        ScannedHeaders rows;
        if (!ReadHeaders(in, limits, headers, rows)) {
            return std::nullopt;
        }
        if (marks & kWithoutUniqueIds) {
            restored.cache.GoWithoutUniqueIds(*index, std::move(key));
        } else {
            restored.cache.KeepWithRows(*index, std::move(key), std::move(headers),
                                        std::move(rows));
        }
    }
    restored.knownIdsAt = in.Offset();
    if (!ReadKnownIds(in, accounts, restored.knownIds) ||
        (version >= 2 && !ReadSignIns(in, accounts, restored.signIns)) || !in.AtEnd()) {
        return std::nullopt;
    }
    // What was made of the file counts only when the file closes with its digest.
    unsigned char closing[kDigestBytes];
    std::size_t got = 0;
    while (got < kDigestBytes) {
        const std::size_t n = file.Read(reinterpret_cast<char*>(closing) + got, kDigestBytes - got);
        if (n == 0) {
            return std::nullopt;
        }
        got += n;
    }
    restored.digest = DecodeDigest(closing);
    if (restored.digest != in.Digest()) {
        return std::nullopt;
    }
    return restored;
}

std::optional<uint64_t> ClosingDigest(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    unsigned char closing[kDigestBytes];
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const bool read = size >= static_cast<off_t>(kOpening.size() + kDigestBytes) &&
                      ::pread(fd, closing, kDigestBytes, size - static_cast<off_t>(kDigestBytes)) ==
                          static_cast<ssize_t>(kDigestBytes);
    ::close(fd);
    return read ? std::optional<uint64_t>(DecodeDigest(closing)) : std::nullopt;
}
