// The message ids seen by earlier checks, and by earlier accounts of this
// one. Ids are compared as whole byte strings, case-sensitively. Kept as
// counts per distinct id so that a program left running for weeks does not
// slow down, and an id is forgotten once the mailbox it came from has been
// read several times without it, so memory follows the mail on the servers
// rather than the uptime.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class KnownMessageIds {
public:
    // A message a server leaves out of a few listings is still known when it
    // shows again; a mailbox that cannot be read ages nothing, so an outage
    // never makes old mail new.
    static constexpr uint64_t kReadsKept = 10;

    explicit KnownMessageIds(uint64_t readsKept = kReadsKept) : m_readsKept(readsKept) {}

    // What a message is known by: its Message-Id, or for a message without
    // one (which the scan gives as "(none)") its unique-id, or else a digest
    // of what the server showed of it, so that no two messages without an id
    // are taken for one. None of these can be a real Message-Id.
    static std::string KeyOf(std::string_view messageId, std::string_view uid,
                             std::string_view subject, std::string_view from,
                             std::size_t headerBytes);
    // The same bytes give the same digest in every build and on every machine.
    static uint64_t Digest(std::string_view bytes, uint64_t seed = kDigestSeed);
    static constexpr uint64_t kDigestSeed = 0xcbf29ce484222325ULL;

    // mailbox names the account that saw the id; the last one to see it
    // decides when it is forgotten.
    void Append(std::string_view id, std::string_view mailbox = {});
    bool Contains(std::string_view id) const { return Find(id) != nullptr; }
    // After mailbox was read: its ids that the last readsKept reads of it did
    // not see are forgotten.
    void MailboxRead(std::string_view mailbox);

    // Entries appended since the start, duplicates and forgotten ones included.
    uint64_t size() const { return m_total; }
    std::size_t DistinctCount() const { return m_entries.size() - m_dead; }
    // Appends of an id still known.
    uint64_t CountOf(std::string_view id) const;

    // For the state file: each mailbox with its reads, and each id with its
    // count and the read of its mailbox that last saw it.
    std::size_t MailboxCount() const { return m_mailboxes.size(); }
    const std::string& MailboxName(std::size_t index) const { return m_mailboxes[index].name; }
    uint64_t MailboxReads(std::size_t index) const { return m_mailboxes[index].reads; }
    template <class Visit> void ForEachId(Visit visit) const {
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& entry = m_entries[i];
            if (entry.count != 0) {
                const uint64_t reads = m_mailboxes[entry.mailbox].reads;
                visit(IdAt(i), uint64_t{entry.count}, std::size_t{entry.mailbox},
                      reads - ReadsSince(entry, reads));
            }
        }
    }
    // Knows id again, seen once, with mailbox read reads times; false,
    // changing nothing, when the id is known already or was last seen after
    // the mailbox's last read.
    bool Restore(std::string_view id, std::string_view mailbox, uint64_t reads, uint64_t atRead);

private:
    // Tens of thousands of ids are held for as long as the program runs, so
    // each costs its bytes in one arena plus a 16-byte entry and a 4-byte
    // slot or two in the table, rather than a node and a string of its own.
    // Offsets and indices are 32 bits: past 4 GiB of ids, Append throws as a
    // full container does.
    struct Entry {
        uint32_t offset; // in the arena; the id ends where the next entry's begins
        uint32_t count;  // saturating; 0 marks an id forgotten but not yet dropped
        uint32_t mailbox;
        // The low 32 bits of the mailbox's read count when last seen: the
        // reads since then stay exact up to 2^32, far more than ids are kept.
        uint32_t atRead;
    };
    struct Mailbox {
        std::string name;
        uint64_t reads = 0;
    };
    static constexpr uint32_t kNoEntry = UINT32_MAX;
    static constexpr std::size_t kMinSlots = 8;

    static uint32_t ReadsSince(const Entry& entry, uint64_t reads) {
        return static_cast<uint32_t>(reads) - entry.atRead;
    }
    std::string_view IdAt(std::size_t index) const {
        const std::size_t end =
            index + 1 < m_entries.size() ? m_entries[index + 1].offset : m_arena.size();
        return {m_arena.data() + m_entries[index].offset, end - m_entries[index].offset};
    }
    const Entry* Find(std::string_view id) const;
    std::size_t SlotOf(std::string_view id) const;
    uint32_t EntryFor(std::string_view id);
    void Rebuild(std::size_t slots);
    uint32_t MailboxIndex(std::string_view mailbox);

    std::vector<char> m_arena;        // the ids' bytes, back to back
    std::vector<Entry> m_entries;     // in the order of their bytes in the arena
    std::vector<uint32_t> m_slots;    // open addressing; a power of two of entry indices
    std::size_t m_dead = 0;           // entries forgotten, still in the arena and the table
    std::vector<Mailbox> m_mailboxes; // one per account, so a list is enough
    uint64_t m_total = 0;
    uint64_t m_readsKept;
};
