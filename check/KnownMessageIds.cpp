#include "KnownMessageIds.h"

#include "HeaderBlock.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <stdexcept>

std::string KnownMessageIds::KeyOf(std::string_view messageId, std::string_view uid,
                                   std::string_view subject, std::string_view from,
                                   std::size_t headerBytes) {
    if (messageId != kNoMessageId) {
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

void KnownMessageIds::Append(std::string_view id, std::string_view mailbox) {
    const uint32_t index = MailboxIndex(mailbox);
    Entry& entry = m_entries[EntryFor(id)];
    entry.count += entry.count != UINT32_MAX ? 1 : 0;
    entry.mailbox = index;
    entry.atRead = static_cast<uint32_t>(m_mailboxes[index].reads);
    ++m_total;
}

void KnownMessageIds::MailboxRead(std::string_view mailbox) {
    const uint32_t index = MailboxIndex(mailbox);
    const uint64_t reads = ++m_mailboxes[index].reads;
    for (Entry& entry : m_entries) {
        if (entry.count != 0 && entry.mailbox == index && ReadsSince(entry, reads) > m_readsKept) {
            entry.count = 0;
            ++m_dead;
        }
    }
    // Dropping the forgotten only once they are many keeps each drop paid for
    // by the forgetting that led to it.
    if (m_dead * 2 > DistinctCount()) {
        std::size_t slots = kMinSlots;
        while (DistinctCount() * 10 > slots * 7) {
            slots *= 2;
        }
        Rebuild(slots);
    }
}

uint64_t KnownMessageIds::CountOf(std::string_view id) const {
    const Entry* entry = Find(id);
    return entry == nullptr ? 0 : entry->count;
}

uint32_t KnownMessageIds::MailboxIndex(std::string_view mailbox) {
    auto it = std::find_if(m_mailboxes.begin(), m_mailboxes.end(),
                           [&](const Mailbox& known) { return known.name == mailbox; });
    if (it == m_mailboxes.end()) {
        m_mailboxes.push_back({std::string(mailbox), 0});
        return static_cast<uint32_t>(m_mailboxes.size() - 1);
    }
    return static_cast<uint32_t>(std::distance(m_mailboxes.begin(), it));
}

bool KnownMessageIds::Restore(std::string_view id, std::string_view mailbox, uint64_t reads,
                              uint64_t atRead) {
    if (atRead > reads) {
        return false;
    }
    Entry& entry = m_entries[EntryFor(id)];
    if (entry.count != 0) {
        return false;
    }
    const uint32_t index = MailboxIndex(mailbox);
    m_mailboxes[index].reads = reads;
    entry.count = 1;
    entry.mailbox = index;
    entry.atRead = static_cast<uint32_t>(atRead);
    ++m_total;
    return true;
}

const KnownMessageIds::Entry* KnownMessageIds::Find(std::string_view id) const {
    if (m_slots.empty()) {
        return nullptr;
    }
    const uint32_t index = m_slots[SlotOf(id)];
    return index == kNoEntry ? nullptr : &m_entries[index];
}

// Probes by triangular steps, which visit every slot of a power-of-two table;
// the table is never full, so an empty slot ends every search.
std::size_t KnownMessageIds::SlotOf(std::string_view id) const {
    // Only the low bits pick the slot; the library's string hash mixes every
    // byte into them, as the digest above would not.
    const std::size_t hash = std::hash<std::string_view>{}(id);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    for (std::size_t step = 1;; ++step) {
        const uint32_t index = m_slots[slot];
        if (index == kNoEntry || (m_entries[index].count != 0 && IdAt(index) == id)) {
            return slot;
        }
        slot = (slot + step) & mask;
    }
}

namespace {

// Half again rather than double: what a buffer holds beyond its size is held
// for every id, and the copies stay amortised O(1) all the same.
template <class T> void GrowFor(std::vector<T>& buffer, std::size_t more) {
    if (buffer.size() + more > buffer.capacity()) {
        buffer.reserve(buffer.size() + more + buffer.size() / 2);
    }
}

} // namespace

// A new id's entry starts with a count of 0, for the caller to set.
uint32_t KnownMessageIds::EntryFor(std::string_view id) {
    // Forgotten entries keep their slots until dropped, so they count here.
    if ((m_entries.size() + 1) * 10 > m_slots.size() * 7) {
        Rebuild(std::max(kMinSlots, 2 * m_slots.size()));
    }
    const std::size_t slot = SlotOf(id);
    if (m_slots[slot] == kNoEntry) {
        if (m_arena.size() + id.size() > UINT32_MAX || m_entries.size() >= kNoEntry) {
            throw std::length_error("KnownMessageIds: more than 4 GiB of ids");
        }
        GrowFor(m_arena, id.size());
        GrowFor(m_entries, 1);
        m_slots[slot] = static_cast<uint32_t>(m_entries.size());
        m_entries.push_back({static_cast<uint32_t>(m_arena.size()), 0, 0, 0});
        m_arena.insert(m_arena.end(), id.begin(), id.end());
    }
    return m_slots[slot];
}

// Moves the live ids down over the forgotten ones in place, gives back what
// the forgotten held, and fills a table of the given size.
void KnownMessageIds::Rebuild(std::size_t slots) {
    if (m_dead > 0) {
        std::size_t kept = 0;
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].count == 0) {
                continue;
            }
            // IdAt reads entries i and i + 1, which the writes (at kept <= i)
            // have not reached.
            const std::string_view id = IdAt(i);
            std::memmove(m_arena.data() + bytes, id.data(), id.size());
            m_entries[kept] = m_entries[i];
            m_entries[kept].offset = static_cast<uint32_t>(bytes);
            bytes += id.size();
            ++kept;
        }
        m_arena.resize(bytes);
        m_arena.shrink_to_fit();
        m_entries.resize(kept);
        m_entries.shrink_to_fit();
        m_dead = 0;
    }
    m_slots = std::vector<uint32_t>(slots, kNoEntry);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        m_slots[SlotOf(IdAt(i))] = static_cast<uint32_t>(i);
    }
}
