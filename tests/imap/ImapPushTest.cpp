// Waiting for changes as the tray's event loop will: poll() on SocketFd(),
// then TakeEvents(), which never waits, then EndIdle() before the next check.
#include "ImapConnection.h"
#include "ImapPeer.h"
#include "PushWait.h"

#include <gtest/gtest.h>

using namespace testpeer;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const SignIn kPassword{SignInMethod::PasswordOnly, "pw", {}, {}};
// Far beyond what a loopback needs on a loaded machine, far below a test's time-out.
constexpr milliseconds kArrival{5000};

TEST(ImapPush, ReportsAChangeOnceAndGoesBackToCommandsAfterDone) {
    struct Row {
        const char* name;
        std::string capabilities;
        std::function<bool(CImapConnection&)> start;
        Script upToIdle;
        std::string report;
        std::string sent; // from the start to IDLE
    };
    const std::string events = "(MessageNew MessageExpunge FlagChange)";
    const std::vector<Row> rows = {
        {"IDLE",
         "IMAP4rev1 IDLE",
         [](CImapConnection& conversation) { return conversation.StartIdle("INBOX"); },
         {Tagged("OK", "* 1 EXISTS\r\n"), Reply("+ idling\r\n")},
         "* 2 EXISTS\r\n* 1 RECENT\r\n",
         "a2 EXAMINE \"INBOX\"\r\na3 IDLE\r\n"},
        {"NOTIFY",
         "IMAP4rev1 IDLE NOTIFY",
         [](CImapConnection& conversation) {
             return conversation.StartNotify({"INBOX", "Entw\xC3\xBCrfe"});
         },
         {Tagged("OK"), Reply("+ idling\r\n")},
         "* STATUS \"Entw&APw-rfe\" (MESSAGES 3 UIDNEXT 4)\r\n",
         "a2 NOTIFY SET (SELECTED " + events + ") (MAILBOXES (\"INBOX\" \"Entw&APw-rfe\") " +
             events + ")\r\na3 IDLE\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(ImapLogin(row.capabilities) + row.upToIdle +
                          Script{Hold(), Send("* OK Still here\r\n"), Hold(), Send(row.report),
                                 Reply("a3 OK Idle completed\r\n"), Tagged("OK bye")});
        {
            CImapConnection conversation;
            ASSERT_EQ(conversation.Connect(peer.Address(), "bob", kPassword, 143), 1);
            ASSERT_TRUE(row.start(conversation)) << conversation.FailureReason();
            const Clock::time_point start = Clock::now();
            EXPECT_EQ(conversation.TakeEvents(), ImapPush::Quiet);
            EXPECT_LT(Clock::now() - start, kArrival);
            peer.Release();
            ASSERT_TRUE(SocketReadable(conversation.SocketFd(), kArrival));
            EXPECT_EQ(conversation.TakeEvents(), ImapPush::Quiet);
            peer.Release();
            EXPECT_EQ(AwaitReport(conversation, kArrival), ImapPush::Changed);
            EXPECT_EQ(conversation.TakeEvents(), ImapPush::Quiet);
            EXPECT_TRUE(conversation.EndIdle());
            EXPECT_EQ(conversation.Close(), 1);
            EXPECT_EQ(conversation.FailureReason(), "");
        }
        EXPECT_EQ(peer.Received(), kImapLogin + row.sent + "DONE\r\na4 LOGOUT\r\n");
    }
}

TEST(ImapPush, AWaitThatGoesWrongEndsAsAFailureWithAReason) {
    ChannelLimits limits;
    limits.maxPushBytes = 64 * 1024;
    limits.ioTimeout = std::chrono::seconds(2);
    std::string flood;
    for (int i = 0; i < 5000; ++i) {
        flood += "* OK still here\r\n";
    }
    struct Row {
        const char* name;
        Script afterIdle;
        bool ended; // by EndIdle, after a TakeEvents that found nothing whole
        std::string reason;
    };
    const std::vector<Row> rows = {
        {"a flood",
         {Send(flood)},
         false,
         "@ sent more than 65536 bytes while Tarvo waited for new mail."},
        {"BYE", {Send("* BYE going down\r\n")}, false, "@ ended the conversation: BYE going down."},
        {"the server ends the wait",
         {Send("a3 NO timed out\r\n"), Tagged("OK bye")},
         false,
         "The server stopped waiting for new mail: NO timed out."},
        {"closed", {Hangup()}, false, "@ closed the connection."},
        {"half a response, then DONE unanswered",
         {Send("* 2 EXI"), Stall()},
         true,
         "No reply from @ within 2 seconds."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(ImapLogin() + Script{Tagged("OK"), Reply("+ idling\r\n")} +
                          row.afterIdle);
        CImapConnection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", kPassword, 143), 1);
        ASSERT_TRUE(conversation.StartIdle("INBOX"));
        const Clock::time_point start = Clock::now();
        if (row.ended) {
            // The half may have come with IDLE's answer, or not yet.
            EXPECT_EQ(conversation.TakeEvents(), ImapPush::Quiet);
            EXPECT_LT(Clock::now() - start, limits.ioTimeout);
            EXPECT_FALSE(conversation.EndIdle());
        } else {
            EXPECT_EQ(AwaitReport(conversation, kArrival), ImapPush::Failed);
        }
        EXPECT_LT(Clock::now() - start, 5 * limits.ioTimeout);
        EXPECT_EQ(conversation.FailureReason(), [&] {
            std::string reason = row.reason;
            if (std::size_t at = reason.find('@'); at != std::string::npos) {
                reason.replace(at, 1, peer.Address());
            }
            return reason;
        }());
    }
}

} // namespace
