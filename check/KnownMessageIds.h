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
#include <unordered_map>
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
    void Append(const std::string& id, std::string_view mailbox = {});
    bool Contains(const std::string& id) const;
    // After mailbox was read: its ids that the last readsKept reads of it did
    // not see are forgotten.
    void MailboxRead(std::string_view mailbox);

    // Entries appended since the start, duplicates and forgotten ones included.
    uint64_t size() const { return m_total; }
    std::size_t DistinctCount() const { return m_ids.size(); }
    // Appends of an id still known.
    uint64_t CountOf(const std::string& id) const;

    // For the state file: each mailbox with its reads, and each id with its
    // count and the read of its mailbox that last saw it.
    std::size_t MailboxCount() const { return m_mailboxes.size(); }
    const std::string& MailboxName(std::size_t index) const { return m_mailboxes[index].name; }
    uint64_t MailboxReads(std::size_t index) const { return m_mailboxes[index].reads; }
    template <class Visit> void ForEachId(Visit visit) const {
        for (const auto& [id, seen] : m_ids) {
            visit(id, seen.count, seen.mailbox, seen.atRead);
        }
    }
    // Knows id again, seen once, with mailbox read reads times; false,
    // changing nothing, when the id is known already or was last seen after
    // the mailbox's last read.
    bool Restore(std::string id, std::string_view mailbox, uint64_t reads, uint64_t atRead);

private:
    struct Seen {
        uint64_t count = 0;
        std::size_t mailbox = 0;
        uint64_t atRead = 0; // the mailbox's read count when last seen
    };
    struct Mailbox {
        std::string name;
        uint64_t reads = 0;
    };
    std::size_t MailboxIndex(std::string_view mailbox);

    std::unordered_map<std::string, Seen> m_ids;
    std::vector<Mailbox> m_mailboxes; // one per account, so a list is enough
    uint64_t m_total = 0;
    uint64_t m_readsKept;
};
