// Checks of a real server that speaks CAPA, PIPELINING and UIDL give the
// tables of the plain lockstep conversation, and a repeat check fetches only
// what is new.
#include "CheckCycle.h"
#include "DelayRelay.h"
#include "DovecotServer.h"
#include "QuietObserver.h"
#include "TableColumns.h"

#include <gtest/gtest.h>
#include <regex>
#include <thread>

namespace {

AccountList Alice(const std::string& server) {
    return {{server, "alice", "alice-pw"}};
}

std::string Message(int n) {
    std::string number = std::to_string(n);
    std::string folded = n % 3 == 0 ? "\n\tsecond line of the subject" : "";
    return "From: Sender " + number + " <s" + number + "@example.org>\nSubject: message " + number +
           folded + "\nMessage-Id: <" + number +
           "@example.org>\nX-Padding: " + std::string(static_cast<std::size_t>(n * 37 % 300), 'p') +
           "\n\nBody " + number + "\n";
}

// The table without the mailbox column, which names the address used.
MessageTable WithoutMailboxes(const MessageTable& table) {
    MessageTable rows;
    for (std::size_t row = 0; row < table.size(); ++row) {
        rows.AppendMessage(table.Headers()[row], "", table.State(row));
    }
    return rows;
}

// The TOP commands of every logout in the log, as Dovecot counts them.
std::vector<std::string> TopCounts(const std::string& log) {
    std::vector<std::string> counts;
    std::regex top("top=([0-9]+)/");
    for (std::sregex_iterator it(log.begin(), log.end(), top), end; it != end; ++it) {
        counts.push_back((*it)[1]);
    }
    return counts;
}

// Dovecot's log process writes a logout a moment after it happened.
std::string NextTopCount(const DovecotServer& server, std::size_t logoutsBefore) {
    for (int attempt = 0; attempt < 3000; ++attempt) {
        std::vector<std::string> counts = TopCounts(server.Log());
        if (counts.size() > logoutsBefore) {
            return counts[logoutsBefore];
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "no logout logged";
}

TEST(FastCheckAgainstDovecot, PipelinedAndKeptChecksGiveTheLockstepTables) {
    DovecotServer server;
    server.AddUser("alice", "alice-pw");
    for (int n = 1; n <= 40; ++n) {
        server.Deliver("alice", Message(n));
    }
    // The relay turns CAPA into a command Dovecot does not know.
    DelayRelay lockstepLink(server.Port(), std::chrono::milliseconds(0), true);

    Checker fast;
    fast.Check(Alice(server.Address()));
    Checker lockstep;
    lockstep.Check(Alice(lockstepLink.Address()));
    ASSERT_EQ(fast.table.size(), 40u) << server.Log();
    EXPECT_EQ(WithoutMailboxes(fast.table), WithoutMailboxes(lockstep.table));
    EXPECT_EQ(NextTopCount(server, 0), "40");

    server.Deliver("alice", Message(41));
    server.Deliver("alice", Message(42));
    server.Remove("alice", 3);
    server.Remove("alice", 20);
    KnownMessageIds knownBefore = fast.known;
    fast.Check(Alice(server.Address()));
    EXPECT_EQ(NextTopCount(server, 2), "2") << server.Log();

    Checker reference{knownBefore, {}, {}, {}, {}};
    reference.Check(Alice(lockstepLink.Address()));
    ASSERT_EQ(fast.table.size(), 40u);
    EXPECT_EQ(WithoutMailboxes(fast.table), WithoutMailboxes(reference.table));
    EXPECT_EQ(States(fast.table)[38], uint32_t{MessageNew});
    EXPECT_EQ(States(fast.table)[0], uint32_t{MessagePending});
}

} // namespace

// A server that takes no clear-text password: the check signs in with the
// strongest mechanism offered, and the password never crosses the wire.
TEST(SaslCheckAgainstDovecot, ThePasswordStaysOffTheWire) {
    for (const auto& [mechanisms, chosen] :
         {std::pair<std::string, std::string>{"scram-sha-256 cram-md5", "SCRAM-SHA-256"},
          {"cram-md5", "CRAM-MD5"}}) {
        SCOPED_TRACE(mechanisms);
        DovecotServer server(std::nullopt, mechanisms);
        server.AddUser("alice", "alice-pw");
        server.Deliver("alice", Message(1));
        DelayRelay link(server.Port(), std::chrono::milliseconds(0));
        Checker checker;
        checker.Check(Alice(link.Address()));
        ASSERT_EQ(checker.table.size(), 1u)
            << ::testing::PrintToString(HeaderTexts(checker.table)) << server.Log();
        EXPECT_EQ(Subjects(checker.table)[0], "message 1");
        const std::string sent = link.TakeClientBytes();
        EXPECT_NE(sent.find("AUTH " + chosen), std::string::npos) << sent;
        EXPECT_EQ(sent.find("alice-pw"), std::string::npos) << sent;
        EXPECT_EQ(sent.find("USER"), std::string::npos) << sent;
    }
}
