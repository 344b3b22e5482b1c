#include "KnownMessageIds.h"

#include <gtest/gtest.h>

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
