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
