// Servers that answer CAPA: the conversation they get, the pipelined scan's
// faults handled as in lockstep, the unique-id listing, the header-text budget.
#include "Pop3Connection.h"
#include "ScanColumns.h"
#include "ScriptedPeer.h"

#include <gtest/gtest.h>

using namespace testpeer;

namespace {

const std::string kCapaLogin = "CAPA\r\nUSER bob\r\nPASS pw\r\n";

Script CapaLogin(const std::string& capabilities) {
    return {Send("+OK ready\r\n"), Reply("+OK list follows\r\n" + capabilities + ".\r\n"),
            Reply("+OK\r\n"), Reply("+OK\r\n")};
}

std::string Top(const std::string& subject) {
    return "+OK\r\nSubject: " + subject + "\r\n\r\n.\r\n";
}

TEST(Pipelining, AScanBehavesAsInLockstepWhateverTheServerDoes) {
    struct Row {
        const char* name;
        std::string capabilities;
        Script afterStat;
        int result;
        std::vector<std::string> subjects;
        bool open;
    };
    const Step bye = Reply("+OK bye\r\n");
    // A server that answers only once all three commands are in: lockstep
    // would wait for ever.
    const Script allThree{Await(), Await(), Await()};
    const std::vector<Row> rows = {
        {"CAPA without PIPELINING: one command, then its reply",
         "TOP\r\nUIDL\r\n",
         {Reply(Top("a")), Reply(Top("b")), Reply(Top("c")), bye},
         1,
         {"a", "b", "c"},
         true},
        {"PIPELINING: the commands go out ahead of the replies",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a") + Top("b") + Top("c")), bye},
         1,
         {"a", "b", "c"},
         true},
        {"-ERR for one message in the window",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a") + "-ERR no such message\r\n" + Top("c")), bye},
         1,
         {"a", "(untitled)", "c"},
         true},
        {"a lone dot for one message in the window",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a") + ".\r\n" + Top("c")), bye},
         0,
         {"a", "(untitled)"},
         false},
        {"an extra dot after one reply would shift every later header",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a") + ".\r\n" + Top("b") + Top("c")), bye},
         0,
         {"a", "(untitled)"},
         false},
        {"a status line holding +OK after other text",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a") + "Subject: +OK\r\n.\r\n" + Top("c")), bye},
         0,
         {"a", "(untitled)"},
         false},
        {"close in the middle of the window",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a") + "+OK\r\nSubject: b\r\n"), Hangup()},
         0,
         {"a", "b"},
         true},
        {"stall in the middle of the window",
         "PIPELINING\r\n",
         allThree + Script{Send(Top("a")), Stall()},
         0,
         {"a", "(untitled)"},
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChannelLimits limits;
        limits.ioTimeout = std::chrono::seconds(2);
        ScriptedPeer peer(CapaLogin(row.capabilities) + Script{Reply("+OK 3 90\r\n")} +
                          row.afterStat);
        {
            CPop3Connection conversation({}, limits);
            ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
            ASSERT_EQ(conversation.GetMessageCount(), 3);
            EXPECT_EQ(conversation.RetrieveHeaders(), row.result);
            EXPECT_TRUE(conversation.IsIdle());
            EXPECT_EQ(Subjects(conversation.Headers()), row.subjects);
            EXPECT_EQ(HeaderTexts(conversation.Headers()).size(), row.subjects.size());
            EXPECT_EQ(conversation.IsOpen(), row.open);
            conversation.Close();
        }
        // No NOOP and no second STAT for a server that speaks CAPA.
        const std::string scan = kCapaLogin + "STAT\r\nTOP 1 0\r\nTOP 2 0\r\nTOP 3 0\r\n";
        EXPECT_EQ(peer.Received(), row.open ? scan + "QUIT\r\n" : scan);
    }
}

TEST(Pipelining, UniqueIdListingsThatBreakTheRulesAreNotUsed) {
    struct Row {
        const char* name;
        std::string reply;
        UniqueIdListing result;
        std::vector<std::string> ids;
    };
    const std::string seventy(70, 'x');
    const std::vector<Row> rows = {
        {"sound",
         "+OK\r\n1 a\r\n2 b~\r\n3 " + seventy + "\r\n.\r\n",
         UniqueIdListing::Listed,
         {"a", "b~", seventy}},
        {"refused", "-ERR no UIDL\r\n", UniqueIdListing::Refused, {}},
        {"duplicate id", "+OK\r\n1 a\r\n2 b\r\n3 a\r\n.\r\n", UniqueIdListing::Broken, {}},
        {"duplicate id, in order",
         "+OK\r\n1 a\r\n2 b\r\n3 b\r\n.\r\n",
         UniqueIdListing::Broken,
         {}},
        {"fewer than STAT counted", "+OK\r\n1 a\r\n2 b\r\n.\r\n", UniqueIdListing::Broken, {}},
        {"more than STAT counted",
         "+OK\r\n1 a\r\n2 b\r\n3 c\r\n4 d\r\n.\r\n",
         UniqueIdListing::Broken,
         {}},
        {"number out of range", "+OK\r\n1 a\r\n2 b\r\n9 c\r\n.\r\n", UniqueIdListing::Broken, {}},
        {"number twice", "+OK\r\n1 a\r\n1 b\r\n3 c\r\n.\r\n", UniqueIdListing::Broken, {}},
        {"id of 71 bytes",
         "+OK\r\n1 a\r\n2 b\r\n3 " + seventy + "y\r\n.\r\n",
         UniqueIdListing::Broken,
         {}},
        {"blank inside an id", "+OK\r\n1 a\r\n2 b c\r\n3 d\r\n.\r\n", UniqueIdListing::Broken, {}},
        {"control character", "+OK\r\n1 a\r\n2 b\x7f\r\n3 d\r\n.\r\n", UniqueIdListing::Broken, {}},
        {"empty id", "+OK\r\n1 a\r\n2 \r\n3 d\r\n.\r\n", UniqueIdListing::Broken, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(CapaLogin("UIDL\r\n") +
                          Script{Reply("+OK 3 90\r\n"), Reply(row.reply), Reply("+OK 3 90\r\n")});
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(), 3);
        UniqueIdList ids;
        ids.push_back("stale");
        EXPECT_EQ(conversation.ListUniqueIds(ids), row.result);
        EXPECT_EQ(Listed(ids), row.ids);
        // The listing was read to its end: the next reply is the next command's.
        EXPECT_EQ(conversation.GetMessageCount(), 3);
    }
}

// Asked for once the server lists it (RFC 6856), so that it shows the real
// headers; a refusal leaves the conversation as it was.
TEST(Pipelining, UTF8IsAskedForWhereOffered) {
    for (const char* answer : {"+OK UTF8 enabled\r\n", "-ERR not now\r\n"}) {
        ScriptedPeer peer(CapaLogin("TOP\r\nutf8 USER\r\n") +
                          Script{Reply(answer), Reply("+OK 1 9\r\n"),
                                 Reply("+OK\r\nSubject: J\xc3\xb6rg\r\n\r\n.\r\n")});
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1) << answer;
        EXPECT_EQ(conversation.RetrieveHeaders(), 1);
        EXPECT_EQ(Subjects(conversation.Headers()), (std::vector<std::string>{"J\xc3\xb6rg"}));
        EXPECT_EQ(peer.Received(), kCapaLogin + "UTF8\r\nSTAT\r\nTOP 1 0\r\n");
    }
}

// STAT and UIDL leave together: the server answers only once both are in.
// A listing asked for and then not read is never taken for a TOP reply.
TEST(Pipelining, UniqueIdsAreAskedWithTheCount) {
    const std::string replies = "+OK 1 20\r\n+OK\r\n1 a\r\n.\r\n";
    const Script countAndList = Script{Await(), Send(replies)};
    ScriptedPeer peer(
        {CapaLogin("PIPELINING\r\nUIDL\r\n") + countAndList,
         CapaLogin("PIPELINING\r\nUIDL\r\n") + countAndList + Script{Reply(Top("x"))}});
    ChannelLimits limits;
    limits.ioTimeout = std::chrono::seconds(2);
    for (bool listed : {true, false}) {
        CPop3Connection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(true), 1);
        if (listed) {
            UniqueIdList ids;
            EXPECT_EQ(conversation.ListUniqueIds(ids), UniqueIdListing::Listed);
            EXPECT_EQ(Listed(ids), std::vector<std::string>{"a"});
        } else {
            EXPECT_EQ(conversation.RetrieveHeaders(), 1);
            EXPECT_EQ(Subjects(conversation.Headers()), std::vector<std::string>{"x"});
        }
    }
    EXPECT_EQ(peer.Received(0), kCapaLogin + "STAT\r\nUIDL\r\n");
}

// A server that listed PIPELINING before the login gets PASS, STAT and UIDL
// with USER; a refusal is told as in lockstep, and what the server said after
// it is never taken for an answer.
TEST(Pipelining, TheLoginGoesOutWithTheCountAndARefusalEndsIt) {
    struct Row {
        const char* name;
        Script replies; // after CAPA's
        int result;
        std::string reason;
    };
    const Step bye = Reply("+OK bye\r\n");
    // Answers only once USER, PASS, STAT and UIDL are all in.
    auto together = [](const std::string& replies) {
        return Script{Await(), Await(), Await(), Await(), Send(replies)};
    };
    const std::vector<Row> rows = {
        {"accepted", together("+OK\r\n+OK\r\n+OK 1 20\r\n+OK\r\n1 a\r\n.\r\n"), 1, ""},
        {"USER refused while PASS is on its way",
         together("-ERR who?\r\n+OK\r\n+OK 1 20\r\n+OK\r\n1 a\r\n.\r\n"), 0,
         "The server refused the login: -ERR who?."},
        {"PASS refused", together("+OK\r\n-ERR bad password\r\n+OK 1 20\r\n+OK\r\n1 a\r\n.\r\n"), 0,
         "The server refused the login: -ERR bad password."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A server that would refuse CAPA after the login: it is not asked.
        ScriptedPeer peer(
            Script{Send("+OK ready\r\n"), Reply("+OK\r\nPIPELINING\r\nUIDL\r\n.\r\n")} +
            row.replies + Script{ReplyIf("CAPA", "-ERR\r\n"), bye});
        {
            ChannelLimits limits;
            limits.ioTimeout = std::chrono::seconds(2);
            CPop3Connection conversation({}, limits);
            conversation.CountWithLogin(true);
            EXPECT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), row.result);
            EXPECT_EQ(conversation.FailureReason(), row.reason);
            EXPECT_EQ(conversation.GetMessageCount(true), row.result == 1 ? 1 : -1);
            UniqueIdList ids;
            EXPECT_EQ(conversation.ListUniqueIds(ids),
                      row.result == 1 ? UniqueIdListing::Listed : UniqueIdListing::BrokenOff);
            EXPECT_EQ(Listed(ids),
                      row.result == 1 ? std::vector<std::string>{"a"} : std::vector<std::string>{});
            conversation.Close();
        }
        EXPECT_EQ(peer.Received(), kCapaLogin + "STAT\r\nUIDL\r\nQUIT\r\n");
    }
}

// The last scan's QUIT leaves with its last TOP: the server answers only once
// all are in. Its reply is not waited for, and the conversation ends there.
TEST(Pipelining, QuitLeavesWithTheLastScansLastTop) {
    ScriptedPeer peer(CapaLogin("PIPELINING\r\n") +
                      Script{Reply("+OK 2 90\r\n"), Await(), Await(), Await(),
                             Send(Top("a") + Top("b") + "+OK bye\r\n")});
    ChannelLimits limits;
    limits.ioTimeout = std::chrono::seconds(2);
    {
        CPop3Connection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(), 2);
        conversation.QuitWithNextScan();
        EXPECT_EQ(conversation.RetrieveHeaders(), 1);
        EXPECT_EQ(Subjects(conversation.Headers()), (std::vector<std::string>{"a", "b"}));
        EXPECT_FALSE(conversation.IsOpen());
        EXPECT_EQ(conversation.Close(), 0);
    }
    EXPECT_EQ(peer.Received(), kCapaLogin + "STAT\r\nTOP 1 0\r\nTOP 2 0\r\nQUIT\r\n");
}

TEST(Pipelining, HeaderTextsBeyondTheBudgetAreDroppedOldestFirst) {
    // "Subject: x\n\n" is 12 bytes: a budget of 30 keeps the newest two.
    ScriptedPeer peer(CapaLogin("PIPELINING\r\n") + Script{Reply("+OK 3 90\r\n"), Reply(Top("a")),
                                                           Reply(Top("b")), Reply(Top("c")),
                                                           Reply("+OK bye\r\n")});
    ChannelLimits limits;
    limits.headerTextBudget = 30;
    CPop3Connection conversation({}, limits);
    ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
    ASSERT_EQ(conversation.GetMessageCount(), 3);
    EXPECT_EQ(conversation.RetrieveHeaders(), 1);
    EXPECT_EQ(Subjects(conversation.Headers()), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(HeaderTexts(conversation.Headers()),
              (std::vector<std::string>{"", "Subject: b\n\n", "Subject: c\n\n"}));
    EXPECT_EQ(HeaderBytes(conversation.Headers()), (std::vector<std::size_t>{12, 12, 12}));
}

} // namespace

namespace {

// The commands in flight stay within the window, and the scan's memory
// bound ends it as in lockstep.
TEST(Pipelining, AServerClaimingEndlessMailEndsWithinTheSameBounds) {
    Script refusals;
    for (int i = 0; i < 50; ++i) {
        refusals.push_back(Reply("-ERR no such message\r\n"));
    }
    ScriptedPeer peer(CapaLogin("PIPELINING\r\n") + Script{Reply("+OK 2147483647 0\r\n")} +
                      refusals);
    ChannelLimits limits;
    limits.maxScanBytes = 1000; // about 25 messages held
    limits.pipelineWindowBytes = 200;
    {
        CPop3Connection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        ASSERT_EQ(conversation.GetMessageCount(), 2147483647);
        EXPECT_EQ(conversation.RetrieveHeaders(), 0);
        EXPECT_TRUE(conversation.IsIdle());
        EXPECT_FALSE(conversation.IsOpen());
        EXPECT_GT(Subjects(conversation.Headers()).size(), 1u);
        EXPECT_LT(Subjects(conversation.Headers()).size(), 50u);
    }
    const std::string sent = peer.Received();
    std::size_t commands = 0;
    for (std::size_t at = 0; (at = sent.find("TOP ", at)) != std::string::npos; ++at) {
        ++commands;
    }
    // At most one window (200 bytes: 20 commands) beyond the replies read.
    EXPECT_LE(commands, 50u + 20u);
    EXPECT_EQ(sent.find("TOP 80 0"), std::string::npos);
}

} // namespace

namespace {

// A server may stop reading until its replies are read (RFC 2449's warning):
// commands still to go must never hold back the reading of those replies.
TEST(Pipelining, AServerThatStopsReadingWhileItWritesIsStillRead) {
    constexpr int kMessages = 50000;
    std::string replies;
    for (int i = 0; i < kMessages; ++i) {
        replies += "-ERR no such message\r\n";
    }
    ScriptedPeer peer(CapaLogin("PIPELINING\r\n") +
                      Script{Reply("+OK 50000 0\r\n"), Await(), Send(replies), Stall()});
    ChannelLimits limits;
    limits.ioTimeout = std::chrono::seconds(10); // what a deadlock would take
    limits.pipelineWindowBytes = 1024 * 1024;
    CPop3Connection conversation({}, limits);
    ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
    ASSERT_EQ(conversation.GetMessageCount(), kMessages);
    EXPECT_EQ(conversation.RetrieveHeaders(), 1);
    EXPECT_EQ(conversation.FailureReason(), "");
    conversation.Abort();
}

} // namespace
