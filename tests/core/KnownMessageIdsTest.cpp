#include "KnownMessageIds.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

TEST(KnownMessageIds, WholeByteStringsCaseSensitiveDuplicatesCounted) {
    KnownMessageIds ids;
    EXPECT_FALSE(ids.Contains("<a@x>"));
    for (int check = 0; check < 3; ++check) {
        ids.Append("<a@x>");
        ids.Append("<b@x>");
    }
    EXPECT_EQ(ids.size(), 6u);
    EXPECT_EQ(ids.DistinctCount(), 2u);
    EXPECT_EQ(ids.CountOf("<a@x>"), 3u);
    EXPECT_TRUE(ids.Contains("<a@x>"));
    EXPECT_FALSE(ids.Contains("<A@x>"));
    EXPECT_FALSE(ids.Contains("<a@x"));
    EXPECT_FALSE(ids.Contains("<a@x> "));
    EXPECT_FALSE(ids.Contains(std::string("<a@x>\0", 6)));
    ids.Append(std::string("<a@x>\0", 6));
    EXPECT_TRUE(ids.Contains(std::string("<a@x>\0", 6)));
    EXPECT_EQ(ids.CountOf("<a@x>"), 3u);
    // The empty id and ids of NULs alone are ids like any other.
    EXPECT_FALSE(ids.Contains(""));
    ids.Append("");
    ids.Append(std::string(1, '\0'));
    ids.Append("");
    EXPECT_EQ(ids.CountOf(""), 2u);
    EXPECT_EQ(ids.CountOf(std::string(1, '\0')), 1u);
    EXPECT_FALSE(ids.Contains(std::string(2, '\0')));
    EXPECT_EQ(ids.CountOf("<b@x>"), 3u);
}

// An id is forgotten after readsKept reads of its mailbox without it, and only
// reads of that mailbox age it.
TEST(KnownMessageIds, ForgetsWhatItsMailboxNoLongerShows) {
    struct Row {
        const char* name;
        int readsOfOwnMailbox;
        int readsOfOtherMailbox;
        bool known;
    };
    const Row rows[] = {
        {"just seen", 0, 0, true},
        {"left out of fewer reads than kept", 2, 0, true},
        {"left out of as many reads as kept", 3, 0, false},
        {"other mailboxes read many times", 0, 50, true},
    };
    for (const Row& row : rows) {
        KnownMessageIds ids(3);
        ids.Append("<a@x>", "pop.one\nann");
        ids.MailboxRead("pop.one\nann");
        for (int read = 0; read < row.readsOfOwnMailbox; ++read) {
            ids.Append("<b@x>", "pop.one\nann");
            ids.MailboxRead("pop.one\nann");
        }
        for (int read = 0; read < row.readsOfOtherMailbox; ++read) {
            ids.MailboxRead("pop.one\nbob");
        }
        EXPECT_EQ(ids.Contains("<a@x>"), row.known) << row.name;
        EXPECT_TRUE(ids.Contains("<b@x>") || row.readsOfOwnMailbox == 0) << row.name;
    }
}

// Thousands of short ids, many of them prefixes of one another, seen and
// forgotten by two mailboxes over many reads, and once carried over as the
// state file does: the ids kept, their counts and reads are always those of
// a plain map holding the same rules.
TEST(KnownMessageIds, ManyIdsForgottenAndSeenAgainStayExact) {
    struct Seen {
        uint64_t count;
        std::string mailbox;
        uint64_t atRead;
    };
    const uint64_t kept = 3;
    std::map<std::string, Seen> model;
    std::map<std::string, uint64_t> reads;
    std::mt19937 random(20261208);
    std::vector<std::string> pool;
    for (int n = 0; n < 3000; ++n) {
        std::string id(random() % 9, 'a');
        for (char& c : id) {
            c = "a<\0"[random() % 3];
        }
        pool.push_back(id);
    }
    KnownMessageIds ids(kept);
    for (int read = 0; read < 60; ++read) {
        const std::string mailbox = read % 3 == 0 ? "pop.two\nbob" : "pop.one\nann";
        // Some reads see most of the pool, some almost none of it.
        const std::size_t seen = pool.size() * (read % 5) / 4 + 1;
        for (std::size_t n = 0; n < seen; ++n) {
            const std::string& id = pool[random() % pool.size()];
            ids.Append(id, mailbox);
            Seen& entry = model[id];
            entry = {entry.count + 1, mailbox, reads[mailbox]};
        }
        ids.MailboxRead(mailbox);
        ++reads[mailbox];
        std::erase_if(model, [&](const auto& entry) {
            return entry.second.mailbox == mailbox && reads[mailbox] - entry.second.atRead > kept;
        });
        if (read == 30) {
            KnownMessageIds restored(kept);
            ids.ForEachId([&](std::string_view id, uint64_t, std::size_t m, uint64_t atRead) {
                EXPECT_TRUE(restored.Restore(id, ids.MailboxName(m), ids.MailboxReads(m), atRead));
            });
            ids = restored;
            for (auto& entry : model) {
                entry.second.count = 1;
            }
        }
        ASSERT_EQ(ids.DistinctCount(), model.size()) << "read " << read;
        for (const std::string& id : pool) {
            auto it = model.find(id);
            ASSERT_EQ(ids.CountOf(id), it == model.end() ? 0 : it->second.count) << "read " << read;
        }
        std::size_t visited = 0;
        ids.ForEachId([&](std::string_view id, uint64_t count, std::size_t m, uint64_t atRead) {
            const Seen& entry = model.at(std::string(id));
            EXPECT_EQ(count, entry.count);
            EXPECT_EQ(ids.MailboxName(m), entry.mailbox);
            EXPECT_EQ(ids.MailboxReads(m) - atRead, reads[entry.mailbox] - entry.atRead);
            ++visited;
        });
        ASSERT_EQ(visited, model.size());
    }
}
