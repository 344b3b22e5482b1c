#include "Pop3Connection.h"
#include "ScanColumns.h"
#include "ScriptedPeer.h"

#include <gtest/gtest.h>

using namespace testpeer;

namespace {

const std::string kLogin = "CAPA\r\nUSER bob\r\nPASS pw\r\nCAPA\r\nNOOP\r\n";

void ExpectListsOfOneLength(const CPop3Connection& conversation, std::size_t length) {
    EXPECT_EQ(conversation.Headers().size(), length);
}

TEST(HeaderScan, CountsTwiceThenAsksForEachHeaderBlockInTurn) {
    ScriptedPeer peer(
        HealthyMailbox({"Subject: one\r\n\r\n", "Subject: two\r\n\r\n", "Subject: three\r\n\r\n"}));
    {
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        EXPECT_EQ(conversation.GetMessageCount(), 3);
        EXPECT_EQ(conversation.RetrieveHeaders(), 1);
        EXPECT_TRUE(conversation.IsIdle());
        EXPECT_EQ(Subjects(conversation.Headers()),
                  (std::vector<std::string>{"one", "two", "three"}));
        ExpectListsOfOneLength(conversation, 3);
        EXPECT_EQ(conversation.Close(), 1);
    }
    EXPECT_EQ(peer.Received(),
              kLogin + "STAT\r\nSTAT\r\nTOP 1 0\r\nTOP 2 0\r\nTOP 3 0\r\nQUIT\r\n");
}

TEST(HeaderScan, ExtractsFieldsByLineStartInAnyCase) {
    struct Row {
        const char* name;
        std::string block;
        std::string subject, from, id, text;
    };
    const std::vector<Row> rows = {
        {"well formed", "From: Ann <a@x>\r\nSubject: Hi\r\nMessage-ID: <1@x>\r\n\r\n", "Hi",
         "Ann <a@x>", "<1@x>", "From: Ann <a@x>\nSubject: Hi\nMessage-ID: <1@x>\n\n"},
        {"no field at all", "X-Other: 1\r\n\r\n", "(untitled)", "(unknown)", "(none)",
         "X-Other: 1\n\n"},
        {"From without colon", "From ann@x\r\n", "(untitled)", "ann@x", "(none)", "From ann@x\n"},
        {"Fromage", "Fromage: brie\r\n", "(untitled)", "ge: brie", "(none)", "Fromage: brie\n"},
        {"blank before colon", "Subject : x\r\n", ": x", "(unknown)", "(none)", "Subject : x\n"},
        {"empty value", "Subject:\r\n", "", "(unknown)", "(none)", "Subject:\n"},
        {"name alone", "Subject\r\n", "", "(unknown)", "(none)", "Subject\n"},
        {"any case", "SUBJECT: a\r\nmessage-id: <b>\r\n", "a", "(unknown)", "<b>",
         "SUBJECT: a\nmessage-id: <b>\n"},
        {"later line wins", "Subject: one\r\nSubject: two\r\n", "two", "(unknown)", "(none)",
         "Subject: one\nSubject: two\n"},
        {"name only ends in a field", "Resent-From: r\r\nX-Subject: s\r\n", "(untitled)",
         "(unknown)", "(none)", "Resent-From: r\nX-Subject: s\n"},
        {"folded", "Subject: first\r\n\tsecond\r\n", "first\tsecond", "(unknown)", "(none)",
         "Subject: first\n\tsecond\n"},
        {"each field folded",
         "Subject: a\r\n b\r\n  c\r\nFrom: Ann\r\n <a@x>\r\nMessage-ID:\r\n <1@x>\r\n\r\n",
         "a b  c", "Ann <a@x>", "<1@x>",
         "Subject: a\n b\n  c\nFrom: Ann\n <a@x>\nMessage-ID:\n <1@x>\n\n"},
        {"another header's fold is not the field's", "Subject: a\r\nX-Long: x\r\n y\r\n", "a",
         "(unknown)", "(none)", "Subject: a\nX-Long: x\n y\n"},
        {"a folded line that looks like a field", "X-Long: x\r\n Subject: no\r\n", "(untitled)",
         "(unknown)", "(none)", "X-Long: x\n Subject: no\n"},
        {"later line wins over a folded one", "Subject: one\r\n more\r\nSubject: two\r\n", "two",
         "(unknown)", "(none)", "Subject: one\n more\nSubject: two\n"},
        {"blanks around the value", "Subject:   spaced \t\r\n", "spaced", "(unknown)", "(none)",
         "Subject:   spaced\n"},
        {"dot-stuffed", "..\r\nSubject: s\r\n", "s", "(unknown)", "(none)", ".\nSubject: s\n"},
        {"dot-stuffed text", "...x\r\nSubject: s\r\n .. folded\r\n", "s .. folded", "(unknown)",
         "(none)", "..x\nSubject: s\n .. folded\n"},
        {"dot and blank ends the block", "Subject: a\r\n. \r\nSubject: b\r\n", "a", "(unknown)",
         "(none)", "Subject: a\n"},
        {"bare LF", "Subject: lf\nFrom: f\n", "lf", "f", "(none)", "Subject: lf\nFrom: f\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(HealthyMailbox({row.block}));
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(), 1);
        ASSERT_EQ(conversation.RetrieveHeaders(), 1);
        ExpectListsOfOneLength(conversation, 1);
        EXPECT_EQ(Subjects(conversation.Headers())[0], row.subject);
        EXPECT_EQ(Froms(conversation.Headers())[0], row.from);
        EXPECT_EQ(MessageIds(conversation.Headers())[0], row.id);
        EXPECT_EQ(HeaderTexts(conversation.Headers())[0], row.text);
    }
}

TEST(HeaderScan, ParsesTheStatCount) {
    const std::vector<std::pair<std::string, int>> rows = {
        {"+OK 2 320", 2},
        {"+OK 0 0", 0},
        {"+OK   7   900  ", 7},
        {"+OK 5", 5},
        {"* +OK 3 100", 3},
        {"+OK 99999999999 1", 2147483647},
        {"+OK 0", 0},
        {"+OK +4 10", 4},
        {"+ok 2 320", -1},
        {"-ERR locked", -1},
        {"", -1},
        // No count, or none a mailbox can have: not an empty mailbox.
        {"+OK x 1", -1},
        {"+OK", -1},
        {"+OK  ", -1},
        {"+OK -3 0", -1},
        {"+OK - 1", -1},
        {"+OK -99999999999 1", -1},
    };
    for (const auto& [reply, count] : rows) {
        SCOPED_TRACE(reply);
        ScriptedPeer peer(Login() + Script{Reply(reply + "\r\n")});
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        EXPECT_EQ(conversation.GetMessageCount(), count);
    }
}

TEST(HeaderScan, StopsWaitingForABlockThatCannotCome) {
    struct Row {
        const char* name;
        Script afterCounts; // the scan's own STAT reply onward
        std::size_t maxHeaderBytes;
        int result;
        std::vector<std::string> subjects;
        bool open;
    };
    const Step topA = Reply("+OK\r\nSubject: a\r\n.\r\n");
    const Step topC = Reply("+OK\r\nSubject: c\r\n.\r\n");
    const Step stat3 = Reply("+OK 3 30\r\n");
    const Step bye = Reply("+OK bye\r\n");
    const std::string bigHeader = "X-Big: " + std::string(100, 'b') + "\r\n";
    const std::vector<Row> rows = {
        {"empty mailbox", {Reply("+OK 0 0\r\n"), bye}, 4096, 1, {}, true},
        {"TOP refused",
         {stat3, topA, Reply("-ERR no such message\r\n"), topC, bye},
         4096,
         1,
         {"a", "(untitled)", "c"},
         true},
        {"status line a lone dot: neither +OK nor -ERR ends the scan",
         {stat3, topA, Reply(".\r\n"), topC, bye},
         4096,
         0,
         {"a", "(untitled)"},
         false},
        {"STAT refused", {Reply("-ERR\r\n"), bye}, 4096, 0, {}, true},
        {"server leaves mid-block",
         {stat3, topA, Reply("+OK\r\nSubject: b\r\n"), Hangup()},
         4096,
         0,
         {"a", "b"},
         true},
        // The terminating dot, or a stuffed line's first byte: either way
        // a line without its CR LF is a reply broken off.
        {"server leaves after a dot without its line end",
         {stat3, topA, Reply("+OK\r\nSubject: b\r\n."), Hangup()},
         4096,
         0,
         {"a", "b"},
         true},
        {"block over its bound",
         {stat3, topA, Reply("+OK\r\n" + bigHeader + ".\r\n"), Stall()},
         64,
         0,
         {"a", "(untitled)"},
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChannelLimits limits;
        limits.maxHeaderBytes = row.maxHeaderBytes;
        ScriptedPeer peer(Login() + Script{Reply("+OK 3 30\r\n")} + row.afterCounts);
        CPop3Connection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(), 3);
        EXPECT_EQ(conversation.RetrieveHeaders(), row.result);
        EXPECT_TRUE(conversation.IsIdle());
        EXPECT_EQ(Subjects(conversation.Headers()), row.subjects);
        ExpectListsOfOneLength(conversation, row.subjects.size());
        EXPECT_EQ(conversation.IsOpen(), row.open);
    }
}

TEST(HeaderScan, AServerClaimingEndlessMailCannotGrowTheScanWithoutBound) {
    Script refusals;
    for (int i = 0; i < 50; ++i) {
        refusals.push_back(Reply("-ERR no such message\r\n"));
    }
    ScriptedPeer peer(Login() + Script{Reply("+OK 2147483647 0\r\n")} + refusals);
    ChannelLimits limits;
    limits.maxScanBytes = 1000; // about 25 messages held
    {
        CPop3Connection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        EXPECT_EQ(conversation.RetrieveHeaders(), 0);
        EXPECT_TRUE(conversation.IsIdle());
        EXPECT_FALSE(conversation.IsOpen());
        EXPECT_GT(Subjects(conversation.Headers()).size(), 1u);
        EXPECT_LT(Subjects(conversation.Headers()).size(), 50u);
        ExpectListsOfOneLength(conversation, Subjects(conversation.Headers()).size());
    }
    EXPECT_EQ(peer.Received().find("TOP 50 0"), std::string::npos);
}

TEST(HeaderScan, AScanEnteredAgainFromTheWaitRefusesAndLeavesTheFirstWhole) {
    ScriptedPeer peer(Login() +
                      Script{Reply("+OK 2 0\r\n"), Await(), Pause(std::chrono::milliseconds(150)),
                             Send("+OK\r\nSubject: one\r\n.\r\n"),
                             Reply("+OK\r\nSubject: two\r\n.\r\n"), Reply("+OK bye\r\n")});
    {
        CPop3Connection* self = nullptr;
        std::vector<int> inner;
        CPop3Connection conversation(
            [&] {
                if (self != nullptr) {
                    inner.push_back(self->RetrieveHeaders());
                }
            },
            {});
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        self = &conversation;
        EXPECT_EQ(conversation.RetrieveHeaders(), 1);
        self = nullptr;
        EXPECT_FALSE(inner.empty());
        EXPECT_EQ(inner, std::vector<int>(inner.size(), 0));
        EXPECT_EQ(Subjects(conversation.Headers()), (std::vector<std::string>{"one", "two"}));
        EXPECT_EQ(conversation.Close(), 1);
    }
    EXPECT_EQ(peer.Received(), kLogin + "STAT\r\nTOP 1 0\r\nTOP 2 0\r\nQUIT\r\n");
}

TEST(HeaderScan, CarriesOutACloseThatCameDuringTheScanAfterTheLastMessage) {
    ScriptedPeer peer(Login() + Script{Reply("+OK 2 0\r\n"), Reply("+OK 2 0\r\n"), Await(), Hold(),
                                       Send("+OK\r\n.\r\n"), Reply("+OK\r\n.\r\n"),
                                       Reply("+OK bye\r\n")});
    {
        CPop3Connection* self = nullptr;
        std::vector<int> closeResults;
        CPop3Connection conversation([&] {
            if (self != nullptr && closeResults.empty()) {
                closeResults.push_back(self->Close());
                peer.Release();
            }
        });
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(), 2);
        self = &conversation;
        EXPECT_EQ(conversation.RetrieveHeaders(), 1);
        EXPECT_EQ(closeResults, std::vector<int>{0});
        EXPECT_FALSE(conversation.IsOpen());
        ExpectListsOfOneLength(conversation, 2);
        EXPECT_EQ(conversation.Close(), 0);
    }
    EXPECT_EQ(peer.Received(), kLogin + "STAT\r\nSTAT\r\nTOP 1 0\r\nTOP 2 0\r\nQUIT\r\n");
}

// In lockstep, and with PIPELINING in the middle of a window of commands.
TEST(HeaderScan, AbortFromTheWaitHookEndsTheScanWithoutQuit) {
    struct Row {
        const char* name;
        Script script;
        std::string sent;
    };
    const std::vector<Row> rows = {
        {"lockstep",
         Login() + Script{Reply("+OK 2 0\r\n"), Reply("+OK 2 0\r\n"),
                          Reply("+OK\r\nSubject: a\r\n.\r\n"), Await(), Stall()},
         kLogin + "STAT\r\nSTAT\r\nTOP 1 0\r\nTOP 2 0\r\n"},
        {"pipelined",
         Script{Send("+OK\r\n"), Reply("+OK\r\nPIPELINING\r\n.\r\n"), Reply("+OK\r\n"),
                Reply("+OK\r\n"), Reply("+OK 2 0\r\n"), Await(), Await(),
                Send("+OK\r\nSubject: a\r\n.\r\n"), Stall()},
         "CAPA\r\nUSER bob\r\nPASS pw\r\nSTAT\r\nTOP 1 0\r\nTOP 2 0\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        {
            CPop3Connection* self = nullptr;
            int hookCallsAfterAbort = 0;
            bool aborted = false;
            CPop3Connection conversation([&] {
                if (aborted) {
                    ++hookCallsAfterAbort;
                } else if (self != nullptr && self->Headers().size() == 1) {
                    // The first message is in; the scan waits for the second.
                    aborted = true;
                    self->Abort();
                }
            });
            ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
            ASSERT_EQ(conversation.GetMessageCount(), 2);
            self = &conversation;
            EXPECT_EQ(conversation.RetrieveHeaders(), 0);
            EXPECT_TRUE(aborted);
            EXPECT_EQ(hookCallsAfterAbort, 0);
            EXPECT_TRUE(conversation.IsIdle());
            EXPECT_EQ(Subjects(conversation.Headers()),
                      (std::vector<std::string>{"a", "(untitled)"}));
            ExpectListsOfOneLength(conversation, 2);
        }
        EXPECT_EQ(peer.Received(), row.sent);
    }
}

} // namespace

namespace {

// Many servers write a TOP reply's status line and its block in two writes
// with Nagle on. The rows must be right whatever the timing; the time taken
// (the delayed-ACK wait the client avoids) is the benchmark's to report.
TEST(HeaderScan, RepliesWrittenInTwoPiecesUnderNagle) {
    constexpr int kMessages = 30;
    Script script =
        Script{NagleOn()} + Login() + Script{Reply("+OK 30 900\r\n"), Reply("+OK 30 900\r\n")};
    std::vector<std::string> subjects;
    for (int n = 1; n <= kMessages; ++n) {
        subjects.push_back("message " + std::to_string(n));
        script.push_back(
            ReplyInWrites({"+OK\r\n", "Subject: " + subjects.back() + "\r\n\r\n.\r\n"}));
    }
    script.push_back(Reply("+OK bye\r\n"));
    ScriptedPeer peer(script);
    CPop3Connection conversation;
    ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
    ASSERT_EQ(conversation.GetMessageCount(), kMessages);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(conversation.RetrieveHeaders(), 1);
    ::testing::Test::RecordProperty(
        "scan_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start)
                                        .count()));
    EXPECT_EQ(Subjects(conversation.Headers()), subjects);
    EXPECT_EQ(conversation.Close(), 1);
}

} // namespace
