#include "KnownMessageIds.h"

#include <algorithm>
#include <iterator>

std::string KnownMessageIds::KeyOf(std::string_view messageId, std::string_view uid,
                                   std::string_view subject, std::string_view from,
                                   std::size_t headerBytes) {
    if (messageId != "(none)") {
        return std::string(messageId);
    }
    // A NUL starts no Message-Id a header line carries.
    if (!uid.empty()) {
        return std::string("\0uid ", 5).append(uid);
    }
    uint64_t digest = Digest(subject);
    digest = Digest(std::string_view("\n", 1), digest);
    digest = Digest(from, digest);
    return std::string("\0digest ", 8) + std::to_string(digest) + ' ' + std::to_string(headerBytes);
}

// FNV-1a: small, and the same everywhere.
uint64_t KnownMessageIds::Digest(std::string_view bytes, uint64_t seed) {
    uint64_t hash = seed;
    for (unsigned char c : bytes) {
        hash = (hash ^ c) * 0x100000001b3ULL;
    }
    return hash;
}

void KnownMessageIds::Append(const std::string& id, std::string_view mailbox) {
    Seen& seen = m_ids[id];
    ++seen.count;
    seen.mailbox = MailboxIndex(mailbox);
    seen.atRead = m_mailboxes[seen.mailbox].reads;
    ++m_total;
}

bool KnownMessageIds::Contains(const std::string& id) const {
    return m_ids.find(id) != m_ids.end();
}

void KnownMessageIds::MailboxRead(std::string_view mailbox) {
    const std::size_t index = MailboxIndex(mailbox);
    const uint64_t reads = ++m_mailboxes[index].reads;
    std::erase_if(m_ids, [&](const auto& entry) {
        return entry.second.mailbox == index && reads - entry.second.atRead > m_readsKept;
    });
}

uint64_t KnownMessageIds::CountOf(const std::string& id) const {
    auto it = m_ids.find(id);
    return it == m_ids.end() ? 0 : it->second.count;
}

std::size_t KnownMessageIds::MailboxIndex(std::string_view mailbox) {
    auto it = std::find_if(m_mailboxes.begin(), m_mailboxes.end(),
                           [&](const Mailbox& known) { return known.name == mailbox; });
    if (it == m_mailboxes.end()) {
        m_mailboxes.push_back({std::string(mailbox), 0});
        return m_mailboxes.size() - 1;
    }
    return static_cast<std::size_t>(std::distance(m_mailboxes.begin(), it));
}

bool KnownMessageIds::Restore(std::string id, std::string_view mailbox, uint64_t reads,
                              uint64_t atRead) {
    if (atRead > reads || m_ids.contains(id)) {
        return false;
    }
    const std::size_t index = MailboxIndex(mailbox);
    m_mailboxes[index].reads = reads;
    m_ids.emplace(std::move(id), Seen{1, index, atRead});
    ++m_total;
    return true;
}
