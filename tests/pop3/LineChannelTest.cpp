#include "Pop3Connection.h"
#include "ScanColumns.h"
#include "ScriptedPeer.h"

#include <gtest/gtest.h>

using namespace testpeer;

namespace {

// Logs in, sends one command, and reads as many lines as `lines` holds.
std::vector<std::string> ReadAfterLogin(CPop3Connection& conversation, const ScriptedPeer& peer,
                                        std::size_t lines) {
    std::vector<std::string> read;
    if (conversation.Connect(peer.Address(), "bob", "pw", 110) == 1 &&
        conversation.SendLine("LIST") == 1) {
        for (std::size_t i = 0; i < lines; ++i) {
            read.push_back(conversation.ReadLine());
        }
    }
    return read;
}

TEST(LineChannel, SplitsLinesAtCrLfOrBareLfWhateverTheSegments) {
    struct Row {
        const char* name;
        std::vector<std::string> segments;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"CR LF", {"+OK a\r\nb\r\n"}, {"+OK a", "b"}},
        {"bare LF", {"+OK a\nb\n"}, {"+OK a", "b"}},
        {"split everywhere", {"+O", "K a\r", "\nb", "\r\n"}, {"+OK a", "b"}},
        {"bare CR is not a line end", {"a\rb\r\n"}, {"a\rb"}},
        {"empty lines", {"\r\n\n"}, {"", ""}},
        {"longer than the buffer", {std::string(10000, 'y') + "\r\n"}, {std::string(10000, 'y')}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(Login() + Script{ReplySegmented(row.segments), Reply("+OK bye\r\n")});
        CPop3Connection conversation;
        EXPECT_EQ(ReadAfterLogin(conversation, peer, row.lines.size()), row.lines);
        EXPECT_TRUE(conversation.IsOpen());
        EXPECT_EQ(conversation.Close(), 1);
    }
}

TEST(LineChannel, EndOfStreamReadsAsEmptyLinesAndKeepsTheConversationOpen) {
    ScriptedPeer peer(Login() + Script{Reply("last\r\nunfinished"), Hangup()});
    {
        CPop3Connection conversation;
        EXPECT_EQ(ReadAfterLogin(conversation, peer, 4),
                  (std::vector<std::string>{"last", "", "", ""}));
        EXPECT_TRUE(conversation.IsOpen());
        EXPECT_EQ(conversation.GetMessageCount(), -1);
        EXPECT_EQ(conversation.Close(), 1);
    }
    EXPECT_EQ(peer.Received(),
              "CAPA\r\nUSER bob\r\nPASS pw\r\nCAPA\r\nNOOP\r\nLIST\r\nSTAT\r\nQUIT\r\n");
}

TEST(LineChannel, BoundsEveryWaitAndEveryLine) {
    struct Row {
        const char* name;
        Step reply;
        std::size_t maxLineBytes;
        bool stillOpen;
    };
    const std::string sixteen(16, 'a');
    // A byte at a time, each well within the time-out, the line not: 100
    // pauses of 20 ms outlast the second however fast the machine.
    std::vector<std::string> trickle(100, "a");
    trickle.push_back("\r\n");
    const std::vector<Row> rows = {
        {"line at the limit", Reply(sixteen + "\r\n"), 16, true},
        {"line end split after the limit", ReplySegmented({sixteen + "\r", "\n"}), 16, true},
        {"line over the limit", Reply(sixteen + "a\r\n"), 16, false},
        {"endless line", Flood(8 * 1024 * 1024), 64 * 1024, false},
        {"server never answers", Await(), 1024, false},
        {"server trickles one line past the time-out", ReplySegmented(trickle), 1024, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChannelLimits limits;
        limits.maxLineBytes = row.maxLineBytes;
        limits.ioTimeout = std::chrono::seconds(1);
        ScriptedPeer peer(Login() + Script{row.reply, Stall()});
        CPop3Connection conversation({}, limits);
        std::vector<std::string> read = ReadAfterLogin(conversation, peer, 1);
        ASSERT_EQ(read.size(), 1U);
        EXPECT_EQ(read[0], row.stillOpen ? sixteen : "");
        EXPECT_EQ(conversation.IsOpen(), row.stillOpen);
    }
}

// Lines that each come in time can still come too slowly together, and a
// brisk server must not hold a check for ever either.
TEST(LineChannel, BoundsTheConversationsPaceAndLength) {
    using namespace std::chrono_literals;
    struct Row {
        const char* name;
        std::vector<std::string> segments; // one reply, a segment every 20 ms
        std::size_t lowSpeedBytes;
        std::chrono::milliseconds conversationTimeout;
        bool allRead;
    };
    const std::vector<std::string> shortLines(40, "x\r\n");
    // 500 bytes a segment pass the low-speed limit 7 times over, so a loaded
    // machine may deliver them 7 times slower; the short lines stay 20 times
    // under it however fast they come.
    const std::vector<std::string> longLines(40, std::string(498, 'y') + "\r\n");
    const std::vector<Row> rows = {
        {"short lines, each in time, too slow together", shortLines, 1024, 10min, false},
        {"long lines at the same pace", longLines, 1024, 10min, true},
        {"no low-speed limit", shortLines, 0, 10min, true},
        {"brisk but longer than the conversation may last", longLines, 0, 400ms, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChannelLimits limits;
        limits.ioTimeout = 10s;
        limits.lowSpeedBytes = row.lowSpeedBytes;
        limits.lowSpeedTime = 300ms;
        limits.conversationTimeout = row.conversationTimeout;
        ScriptedPeer peer(Login() + Script{ReplySegmented(row.segments), Stall()});
        CPop3Connection conversation({}, limits);
        std::vector<std::string> read = ReadAfterLogin(conversation, peer, row.segments.size());
        std::vector<std::string> expected;
        for (const std::string& segment : row.segments) {
            expected.push_back(segment.substr(0, segment.size() - 2));
        }
        EXPECT_EQ(read == expected, row.allRead);
        EXPECT_EQ(conversation.IsOpen(), row.allRead);
    }
}

// The trickling server of old: every TOP answered within the line time-out,
// a few bytes at a time, for as many messages as it claims.
TEST(LineChannel, ATricklingScanEndsAsAFailedOne) {
    using namespace std::chrono_literals;
    Script script = Login() + Script{Reply("+OK 2000 0\r\n"), Reply("+OK 2000 0\r\n")};
    for (int message = 0; message < 2000; ++message) {
        script.push_back(ReplySegmented({"+OK\r\n", "Subject: s\r\n", ".\r\n"}));
    }
    ScriptedPeer peer(script);
    ChannelLimits limits;
    limits.lowSpeedTime = 500ms;
    CPop3Connection conversation({}, limits);
    ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
    EXPECT_EQ(conversation.GetMessageCount(), 2000);
    EXPECT_EQ(conversation.RetrieveHeaders(), 0);
    EXPECT_FALSE(conversation.IsOpen());
    EXPECT_LT(Subjects(conversation.Headers()).size(), 200U);
    EXPECT_EQ(conversation.FailureReason(),
              peer.Address() + " sent less than 1024 bytes in 0.5 seconds.");
}

} // namespace
