// A header packed into one block gives back every field byte for byte,
// whatever their sizes, and changing one field leaves the others alone.
#include "ScannedHeader.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct Fields {
    std::string subject, from, messageId, text, uniqueId;
    std::size_t headerBytes;
};

void ExpectFields(const ScannedHeader& header, const Fields& fields) {
    EXPECT_EQ(header.Subject(), fields.subject);
    EXPECT_EQ(header.From(), fields.from);
    EXPECT_EQ(header.MessageId(), fields.messageId);
    EXPECT_EQ(header.Text(), fields.text);
    EXPECT_EQ(header.UniqueId(), fields.uniqueId);
    EXPECT_EQ(header.HeaderBytes(), fields.headerBytes);
}

TEST(ScannedHeader, GivesBackEveryFieldAndChangesOneAtATime) {
    const std::string nul("a\0b", 3);
    const Fields rows[] = {
        {"", "", "", "", "", 0},
        {"one", "ann@x", "<1@x>", "Subject: one\n", "u1", 13},
        {nul, nul, nul, nul, nul, 3},
        // Sizes on each side of where a size takes another byte to store.
        {std::string(127, 's'), std::string(128, 'f'), std::string(16383, 'm'),
         std::string(16384, 't'), std::string(70, 'u'), 16384},
        {std::string(1 << 21, 's'), "f", "<m>", "", "u", 4 * 1024 * 1024},
    };
    for (const Fields& row : rows) {
        SCOPED_TRACE(row.subject.size());
        ScannedHeader header(row.subject, row.from, row.messageId, row.text, row.headerBytes,
                             row.uniqueId);
        ExpectFields(header, row);
        EXPECT_EQ(header.TextKept(), row.text.size() == row.headerBytes);
        const ScannedHeader copy = header;
        EXPECT_EQ(copy, header);

        Fields expected = row;
        expected.uniqueId = "another-" + std::to_string(row.subject.size());
        header.SetUniqueId(expected.uniqueId);
        ExpectFields(header, expected);
        EXPECT_NE(header, copy);

        header.DropText();
        expected.text.clear();
        ExpectFields(header, expected);
        EXPECT_EQ(header.TextKept(), row.headerBytes == 0);

        header.SetText("Subject: again\n", 15);
        expected.text = "Subject: again\n";
        expected.headerBytes = 15;
        ExpectFields(header, expected);
        // The copy shared the bytes, and kept them through every change.
        ExpectFields(copy, row);
    }
    // A header moved from is empty, not broken.
    ScannedHeader moved("s", "f", "m", "t", 1, "u");
    const ScannedHeader taken = std::move(moved);
    ExpectFields(moved, {"", "", "", "", "", 0}); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(taken.Subject(), "s");
}

} // namespace
