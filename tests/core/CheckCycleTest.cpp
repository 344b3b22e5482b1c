// Whole checks of the main window against scripted servers on loopback: the
// rows, their states, what the desktop is told and in which order.
#include "AppProfile.h"
#include "ImapPeer.h"
#include "MemoryRegistry.h"
#include "PushWait.h"
#include "QuietObserver.h"
#include "RecordingWindowServices.h"
#include "SaslPeer.h"
#include "ScriptedPeer.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "resource.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace testpeer;
using Calls = std::vector<std::string>;

const std::string kWholeMenu = "32771 32777 32772 0 32774 32773 57664 0 57665";

namespace {

std::string Block(const std::string& subject, const std::string& id) {
    return "Subject: " + subject + "\r\nFrom: ann@example.org\r\nMessage-ID: " + id + "\r\n\r\n";
}

// A loopback address where nothing listens: connecting is refused at once.
std::string ClosedAddress() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

class CheckCycleTest : public ::testing::Test {
protected:
    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;
    std::unique_ptr<CTarvoWnd> window;

    void Start(const std::vector<std::string>& servers, Options options = {}) {
        AccountList accounts;
        for (const auto& server : servers) {
            accounts.push_back({server, "ann", "secret"});
        }
        Start(accounts, options);
    }
    void Start(const AccountList& accounts, Options options = {}) {
        SaveSettings(profile, options, accounts);
        window = std::make_unique<CTarvoWnd>(services, profile);
        window->OnCreate();
        services.Take();
        services.menus.clear();
    }
    Calls Check() {
        window->OnCommand(ID_CHECK_NOW);
        EXPECT_FALSE(window->IsBusy());
        EXPECT_EQ(window->CurrentConversation(), nullptr);
        return services.Take();
    }
    const MessageTable& Table() { return window->Table(); }
};

TEST_F(CheckCycleTest, NewMailThenTheSameMailAgain) {
    std::vector<std::string> blocks{Block("one", "<1@x>"), Block("two", "<2@x>"),
                                    Block("three", "<3@x>")};
    ScriptedPeer peer({HealthyMailbox(blocks), HealthyMailbox(blocks)});
    Start({peer.Address()});
    const std::string server = peer.Address();

    EXPECT_EQ(Check(), (Calls{"KillTimer 1", "ModifyTrayIcon 131 Contacting " + server + "...",
                              "ModifyTrayIcon 132 Retrieving 3 header(s) from " + server + "...",
                              "ModifyTrayIcon 128 You have 3 unread message(s)", "PlayNewMailSound",
                              "NotifyNewMail 3 of 3", "ShowHeadersWindow 3", "SetTimer 1 300000"}));
    EXPECT_EQ(Subjects(Table()), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(Froms(Table()), std::vector<std::string>(3, "ann@example.org"));
    EXPECT_EQ(Mailboxes(Table()), std::vector<std::string>(3, server));
    EXPECT_EQ(HeaderTexts(Table())[0],
              "Subject: one\nFrom: ann@example.org\nMessage-ID: <1@x>\n\n");
    EXPECT_EQ(States(Table()), (std::vector<uint32_t>{0, 0, 0}));
    EXPECT_EQ(window->Counts(), (std::vector<int32_t>{3}));
    // The open headers window shares the table; the next check makes its own
    // rather than taking the rows from under the window.
    const std::shared_ptr<const MessageTable> shown = services.headersShown;
    ASSERT_EQ(shown.get(), &Table());

    EXPECT_EQ(Check(),
              (Calls{"KillTimer 1", "ModifyTrayIcon 131 Contacting " + server + "...",
                     "ModifyTrayIcon 132 Retrieving 3 header(s) from " + server + "...",
                     "ModifyTrayIcon 128 You have 3 unread message(s)", "SetTimer 1 300000"}));
    EXPECT_EQ(States(Table()), (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(Subjects(*shown), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(States(*shown), (std::vector<uint32_t>{0, 0, 0}));
    EXPECT_EQ(services.headersShown.get(), &Table());
    EXPECT_EQ(window->KnownIds().size(), 6u); // k checks of n messages: k x n entries
    EXPECT_EQ(window->KnownIds().DistinctCount(), 3u);
    EXPECT_EQ(peer.Received(0), HealthyTranscript("ann", "secret", 3));
    EXPECT_EQ(peer.Received(1), HealthyTranscript("ann", "secret", 3));
}

TEST_F(CheckCycleTest, ClassificationAcrossAccountsAndWithinOne) {
    // Account 1: a new id twice, and ids differing only in case.
    // Account 2: an id account 1 already had, two messages without an id, and one new.
    ScriptedPeer first(HealthyMailbox({Block("a", "<dup@x>"), Block("b", "<dup@x>"),
                                       Block("c", "<Case@x>"), Block("d", "<case@x>")}));
    ScriptedPeer second(HealthyMailbox({Block("e", "<case@x>"), "Subject: no id\r\n\r\n",
                                        "Subject: no id either\r\n\r\n", Block("f", "<fresh@x>")}));
    Start({first.Address(), ClosedAddress(), second.Address()});
    Check();
    // Neither the unreachable account nor the other message without an id
    // makes a message without an id pending.
    EXPECT_EQ(States(Table()), (std::vector<uint32_t>{0, 0, 0, 0, 2, 1, 0, 0, 0}));
    EXPECT_EQ(Subjects(Table())[4], "(error contacting " + window->Accounts()[1].server + ")");
    EXPECT_EQ(window->KnownIds().CountOf("(none)"), 0u);
    EXPECT_EQ(window->KnownIds().CountOf("<dup@x>"), 2u);
}

// Rows of two accounts on one server say whose they are; a server with one
// account keeps its plain name.
TEST_F(CheckCycleTest, TwoAccountsOnOneServerNameTheirMailboxesByUser) {
    ScriptedPeer shared({HealthyMailbox({Block("a", "<a@x>")}),
                         {Send("+OK POP3 ready\r\n"), ReplyIf("CAPA", "-ERR\r\n"), Reply("+OK\r\n"),
                          Reply("-ERR no\r\n"), Reply("+OK bye\r\n")}});
    ScriptedPeer single(HealthyMailbox({Block("b", "<b@x>")}));
    const std::string server = shared.Address();
    Start(AccountList{{server, "ann", "p"}, {server, "bob", "q"}, {single.Address(), "ann", "r"}});
    Check();
    EXPECT_EQ(Mailboxes(Table()),
              (std::vector<std::string>{"ann@" + server, "bob@" + server, single.Address()}));
    EXPECT_EQ(Subjects(Table())[1], "(error contacting " + server + ")");
}

TEST_F(CheckCycleTest, OneNewMessageAmongKnownOnes) {
    std::vector<std::string> known{Block("a", "<a@x>"), Block("b", "<b@x>")};
    std::vector<std::string> later = known;
    later.insert(later.begin() + 1, Block("new", "<n@x>"));
    ScriptedPeer peer({HealthyMailbox(known), HealthyMailbox(later)});
    Start({peer.Address()}, {.Delay = 5, .Sound = 1, .Message = 0});
    Check();
    Calls calls = Check();
    EXPECT_EQ(States(Table()), (std::vector<uint32_t>{1, 0, 1}));
    EXPECT_EQ(calls[calls.size() - 3], "PlayNewMailSound");
    EXPECT_EQ(calls[calls.size() - 2], "NotifyNewMail 1 of 3");
    EXPECT_EQ(calls.back(), "SetTimer 1 300000");
}

// A message its server leaves out of a few readings is still known; only
// readings of its own mailbox age it, so an outage never makes old mail new.
TEST_F(CheckCycleTest, AMessageIsForgottenOnlyAfterItsServerLongShowedItNoMore) {
    const std::string a = Block("a", "<a@x>"), b = Block("b", "<b@x>");
    const int kept = static_cast<int>(KnownMessageIds::kReadsKept);
    std::vector<Script> sessions{HealthyMailbox({a, b})};
    sessions.insert(sessions.end(), 3, Script{Hangup()}); // unreachable for a while
    sessions.insert(sessions.end(), kept - 1, HealthyMailbox({b}));
    sessions.push_back(HealthyMailbox({a, b}));
    sessions.insert(sessions.end(), kept, HealthyMailbox({b}));
    sessions.push_back(HealthyMailbox({a, b}));
    ScriptedPeer peer(sessions);
    Start({peer.Address()});
    std::vector<std::vector<uint32_t>> states;
    for (std::size_t check = 0; check < sessions.size(); ++check) {
        Check();
        states.push_back(States(Table()));
    }
    EXPECT_EQ(states[0], (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(states[1], (std::vector<uint32_t>{2}));
    EXPECT_EQ(states[3 + kept], (std::vector<uint32_t>{1, 1})) << "briefly left out: still known";
    EXPECT_EQ(states.back(), (std::vector<uint32_t>{0, 1})) << "long gone: new again";
    EXPECT_LE(window->KnownIds().DistinctCount(), 3u);
}

TEST_F(CheckCycleTest, SoundNotificationAndHeadersWindowFollowTheOptions) {
    struct Case {
        int32_t sound, message, notify;
        Calls tail;
    } cases[] = {
        {1, 1, 1, {"PlayNewMailSound", "NotifyNewMail 1 of 1", "ShowHeadersWindow 1"}},
        {0, 1, 0, {"ShowHeadersWindow 1"}},
        {1, 0, 0, {"PlayNewMailSound"}},
        {0, 0, 1, {"NotifyNewMail 1 of 1"}},
        {0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        ScriptedPeer peer(HealthyMailbox({Block("a", "<a@x>")}));
        Start({peer.Address()},
              {.Delay = 2, .Sound = c.sound, .Message = c.message, .Notify = c.notify});
        Calls calls = Check();
        Calls expected{calls.begin(), calls.begin() + 4};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        expected.push_back("SetTimer 1 120000");
        EXPECT_EQ(calls, expected) << c.sound << c.message << c.notify;
    }
}

TEST_F(CheckCycleTest, FailuresEndTheCheckAsTheUserIsTold) {
    std::string closed = ClosedAddress();
    ScriptedPeer wrongPassword(Script{Send("+OK ready\r\n"), ReplyIf("CAPA", "-ERR\r\n"),
                                      Reply("+OK\r\n"), Reply("-ERR no\r\n"),
                                      Reply("+OK bye\r\n")});
    ScriptedPeer empty(Login() + Script{Reply("+OK 0 0\r\n"), Reply("+OK bye\r\n")});
    ScriptedPeer statRefused(Login() + Script{Reply("-ERR not now\r\n"), Reply("+OK bye\r\n")});
    ScriptedPeer closedAfterNoop(Login() + Script{Hangup()});
    ScriptedPeer negativeCount(Login() + Script{Reply("+OK -2 0\r\n"), Reply("+OK bye\r\n")});
    ScriptedPeer noCount(Login() + Script{Reply("+OK mailbox ready\r\n"), Reply("+OK bye\r\n")});
    ScriptedPeer countAlone(Login() + Script{Reply("+OK 0\r\n"), Reply("+OK bye\r\n")});
    ScriptedPeer statRefusedToo(Login() + Script{Reply("-ERR\r\n"), Reply("+OK bye\r\n")});
    ScriptedPeer mailBeside(HealthyMailbox({Block("c", "<c@x>"), Block("d", "<d@x>")}));
    ScriptedPeer twoMessages(HealthyMailbox({Block("a", "<a@x>"), Block("b", "<b@x>")}));
    // The tooltip's second line names the failed account and begins its
    // reason; a reason that names the server already stands alone.
    auto failed = [](const std::string& first, const std::string& account, const std::string& why) {
        return first + "\n" + (account.empty() ? "" : account + ": ") + why;
    };
    const std::string errors = "ModifyTrayIcon 130 Error(s) occured";
    const std::string noCountGiven = "The server gave no number of messages";
    struct Case {
        const char* name;
        std::vector<std::string> servers;
        Calls last; // the final tooltip (its start, where it has two lines) and what follows it
        std::vector<uint32_t> states;
    } cases[] = {
        {"no accounts", {}, {"ModifyTrayIcon 130 No mailboxes to check"}, {}},
        {"unreachable", {closed}, {failed(errors, "", closed + " refused the connection.")}, {2}},
        {"three unreachable, their names too long to leave room for the reason",
         {closed, ClosedAddress(), ClosedAddress()},
         {failed(errors, "", "3 accounts failed. " + closed + " refused the connection.")},
         {2, 2, 2}},
        {"login refused",
         {wrongPassword.Address()},
         {failed(errors, wrongPassword.Address(), "The server refused the login: -ERR no.")},
         {2}},
        {"empty mailbox", {empty.Address()}, {"ModifyTrayIcon 130 No unread messages"}, {}},
        {"empty mailbox, count alone",
         {countAlone.Address()},
         {"ModifyTrayIcon 130 No unread messages"},
         {}},
        {"STAT refused",
         {statRefused.Address()},
         {failed(errors, statRefused.Address(), "The server did not give")},
         {2}},
        {"closed after NOOP",
         {closedAfterNoop.Address()},
         {failed(errors, "", closedAfterNoop.Address() + " closed the connection.")},
         {2}},
        {"negative count",
         {negativeCount.Address()},
         {failed(errors, negativeCount.Address(), noCountGiven)},
         {2}},
        {"no count", {noCount.Address()}, {failed(errors, noCount.Address(), noCountGiven)}, {2}},
        {"unreadable count beside mail",
         {statRefusedToo.Address(), mailBeside.Address()},
         {failed("ModifyTrayIcon 128 You have 2 unread message(s)", statRefusedToo.Address(),
                 "The server did not give"),
          "PlayNewMailSound", "NotifyNewMail 2 of 3", "ShowHeadersWindow 3"},
         {2, 0, 0}},
        {"mail and an unreachable account",
         {twoMessages.Address(), closed},
         {failed("ModifyTrayIcon 128 You have 2 unread message(s)", "",
                 closed + " refused the connection."),
          "PlayNewMailSound", "NotifyNewMail 2 of 3", "ShowHeadersWindow 3"},
         {0, 0, 2}},
    };
    for (const auto& c : cases) {
        Start(c.servers);
        Calls calls = Check();
        // Progress tips come first: each account's "Contacting", then
        // "Retrieving" where there are messages.
        Calls expected{"KillTimer 1"}, contacting, shown;
        for (const auto& server : c.servers) {
            contacting.push_back("ModifyTrayIcon 131 Contacting " + server + "...");
        }
        for (const auto& call : calls) {
            if (call.rfind("ModifyTrayIcon 131", 0) == 0) {
                shown.push_back(call);
            }
            if (call.rfind("ModifyTrayIcon 131", 0) == 0 ||
                call.rfind("ModifyTrayIcon 132", 0) == 0) {
                expected.push_back(call);
            }
        }
        EXPECT_EQ(shown, contacting) << c.name;
        expected.insert(expected.end(), c.last.begin(), c.last.end());
        // A second line is cut to fit the tray: the case gives its start.
        const std::string& tip = c.last.front();
        for (std::string& call : calls) {
            if (tip.find('\n') != std::string::npos && call.rfind(tip, 0) == 0) {
                call = tip;
            }
        }
        expected.push_back("SetTimer 1 300000");
        EXPECT_EQ(calls, expected) << c.name;
        EXPECT_EQ(States(Table()), c.states) << c.name;
        for (std::size_t row = 0; row < Table().size(); ++row) {
            if (States(Table())[row] == MessageError) {
                EXPECT_EQ(Subjects(Table())[row],
                          "(error contacting " + Mailboxes(Table())[row] + ")")
                    << c.name;
                // One sentence that says why.
                EXPECT_FALSE(HeaderTexts(Table())[row].empty()) << c.name;
                EXPECT_EQ(HeaderTexts(Table())[row].back(), '.') << c.name;
            }
        }
    }
    EXPECT_EQ(wrongPassword.Received(), "CAPA\r\nUSER ann\r\nPASS secret\r\nQUIT\r\n");
    EXPECT_EQ(statRefused.Received(),
              "CAPA\r\nUSER ann\r\nPASS secret\r\nCAPA\r\nNOOP\r\nSTAT\r\nQUIT\r\n");
    EXPECT_EQ(window->Counts(), (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(Subjects(Table())[2], "(error contacting " + closed + ")");
    EXPECT_EQ(Froms(Table())[2], "");
    EXPECT_EQ(Mailboxes(Table())[2], closed);
    EXPECT_EQ(HeaderTexts(Table())[2], closed + " refused the connection.");
}

// The error row's header text says why, and a server that quotes the
// password back, plain or in its stored form, does not get it shown.
TEST_F(CheckCycleTest, AFailedAccountsRowSaysWhyWithoutThePassword) {
    const std::string stored = EncodePassword("secret");
    // The password at the quote's cut, and a reply far longer than a quote.
    ScriptedPeer echoPlain(Script{Send("+OK\r\n"), ReplyIf("CAPA", "-ERR\r\n"), Reply("+OK\r\n"),
                                  Reply("-ERR [AUTH] secret is wrong" + std::string(170, 'x') +
                                        "secret" + std::string(1000, 'y') + "\r\n"),
                                  Reply("+OK\r\n")});
    ScriptedPeer echoStored(Script{Send("+OK\r\n"), ReplyIf("CAPA", "-ERR\r\n"), Reply("+OK\r\n"),
                                   Reply("-ERR " + stored + "\r\n"), Reply("+OK\r\n")});
    ScriptedPeer cutOff(Login() + Script{Reply("+OK 2 20\r\n"), Reply("+OK 2 20\r\n"),
                                         Reply("+OK\r\nSubject: a\r\n"), Hangup()});
    Start({echoPlain.Address(), echoStored.Address(), cutOff.Address()});
    Check();
    EXPECT_EQ(States(Table()), (std::vector<uint32_t>{2, 2, 2}));
    EXPECT_EQ(HeaderTexts(Table()),
              (std::vector<std::string>{"The server refused the login: -ERR [AUTH] *** is wrong" +
                                            std::string(170, 'x') + "***yyy.",
                                        "The server refused the login: -ERR ***.",
                                        cutOff.Address() + " closed the connection."}));
    EXPECT_EQ(Subjects(Table())[2], "(error retrieving 2 message header(s))");
}

TEST_F(CheckCycleTest, FailedCountLeavesMinusOneAndNoProgressTip) {
    ScriptedPeer statRefused(Login() + Script{Reply("-ERR\r\n"), Reply("+OK\r\n")});
    Start({statRefused.Address()});
    Calls calls = Check();
    EXPECT_EQ(window->Counts(), (std::vector<int32_t>{-1}));
    for (const auto& call : calls) {
        EXPECT_EQ(call.find("Retrieving"), std::string::npos);
    }
}

// Disconnect while a conversation waits frees the check at once; the cycle
// goes on with the next account and nothing more reaches the stalled server.
TEST_F(CheckCycleTest, DisconnectDuringAWaitEndsThatAccountOnly) {
    ScriptedPeer stalled(Script{Send("+OK ready\r\n"), Stall()});
    ScriptedPeer healthy(HealthyMailbox({Block("a", "<a@x>")}));
    Start({stalled.Address(), healthy.Address()}, {.Delay = 5, .Sound = 1, .Message = 0});
    MailConversation* seen = nullptr;
    services.onWait = [&] {
        // Other entry points stand back while the check runs.
        window->OnCheckNow();
        window->OnTimer(window->TimerId());
        EXPECT_EQ(window->OnTrayNotify(1, WM_RBUTTONUP), 1);
        if (window->Accounts().size() == 2 && seen == nullptr) {
            seen = window->CurrentConversation();
            window->OnCommand(ID_DISCONNECT);
        }
    };
    Calls calls = Check();
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(States(Table()), (std::vector<uint32_t>{2, 0}));
    EXPECT_EQ(Subjects(Table())[0], "(error contacting " + stalled.Address() + ")");
    EXPECT_EQ(stalled.Received(), "CAPA\r\n"); // no QUIT after Disconnect
    EXPECT_EQ(healthy.Received(), HealthyTranscript("ann", "secret", 1));
    // While it ran the menu offered only "Stop check" and "Quit".
    EXPECT_EQ(services.menus, (std::vector<std::string>{"32776 57665", kWholeMenu}));
}

// Quit during a check ends the conversation under way at once, contacts no
// further account and ends the program.
TEST_F(CheckCycleTest, QuitDuringACheckEndsItAndTheProgram) {
    ScriptedPeer stalled(Script{Send("+OK ready\r\n"), Stall()});
    Start({stalled.Address(), ClosedAddress()});
    services.onWait = [&] {
        if (window->CurrentConversation() != nullptr) {
            window->OnCommand(ID_APP_EXIT);
        }
    };
    window->OnCommand(ID_CHECK_NOW);
    EXPECT_EQ(services.Take(),
              (Calls{"KillTimer 1", "ModifyTrayIcon 131 Contacting " + stalled.Address() + "...",
                     "KillTimer 1", "DeleteTrayIcon", "EndProgram"}));
    EXPECT_EQ(stalled.Received(), "CAPA\r\n");
    EXPECT_EQ(Table().size(), 1u); // the second account was never tried
    EXPECT_FALSE(window->IsBusy());
}

// An account that signed in through SCRAM does not hand its password over
// in clear text to a server that no longer offers SCRAM, until the user
// changes how it signs in.
TEST_F(CheckCycleTest, AServerThatDropsTheMechanismUsedBeforeGetsNoPassword) {
    const Script greeting{Send("+OK ready\r\n")};
    const Script mailbox{Reply("+OK 0 0\r\n"), Reply("+OK bye\r\n")};
    ScriptedPeer peer(
        {greeting + Script{Reply("+OK\r\nUSER\r\nSASL SCRAM-SHA-256\r\n.\r\n")} +
             ScramExchange("SCRAM-SHA-256", "secret") + mailbox,
         greeting + Script{Reply("+OK\r\nUSER\r\n.\r\n"), Reply("+OK bye\r\n")},
         greeting + Script{Reply("+OK\r\nUIDL\r\n.\r\n"), Reply("+OK\r\n"), Reply("+OK\r\n")} +
             mailbox});
    AccountList accounts{{peer.Address(), "ann", "secret"}};
    Checker checker;
    const MessageTable& table = checker.table;
    for (SignInMethod signIn :
         {SignInMethod::Automatic, SignInMethod::Automatic, SignInMethod::PasswordOnly}) {
        SCOPED_TRACE(static_cast<int>(signIn));
        accounts[0].signIn = signIn;
        checker.Check(accounts);
        if (table.size() > 0) {
            EXPECT_EQ(HeaderTexts(table)[0],
                      peer.Address() +
                          " no longer offers SCRAM-SHA-256, with which this account signed in "
                          "before, so the password was not sent another way: someone may be "
                          "tampering with the connection. If the server's sign-in really "
                          "changed, change the account's sign-in method.");
        }
    }
    EXPECT_EQ(peer.Received(1), "CAPA\r\nQUIT\r\n");
    EXPECT_EQ(peer.Received(2), "CAPA\r\nUSER ann\r\nPASS secret\r\nSTAT\r\nQUIT\r\n");
    EXPECT_EQ(checker.counts, (std::vector<int32_t>{0}));
}

// An IMAP folder that CONDSTORE says is unchanged costs no search and no
// fetch: its unseen messages are the ones kept. A change of its
// HIGHESTMODSEQ searches again and fetches only what is not kept; a new
// UIDVALIDITY keeps nothing.
TEST_F(CheckCycleTest, AnUnchangedImapFolderIsNeitherSearchedNorFetched) {
    const std::string header = "Subject: one\r\nMessage-ID: <1@x>\r\n\r\n";
    auto examined = [](int modSeq, int uidValidity = 7) {
        return Tagged("OK [READ-ONLY] done",
                      "* 2 EXISTS\r\n* OK [UIDVALIDITY " + std::to_string(uidValidity) +
                          "] v\r\n* OK [HIGHESTMODSEQ " + std::to_string(modSeq) + "] m\r\n");
    };
    const Script login = ImapLogin("IMAP4rev1 CONDSTORE");
    const Step bye = Tagged("OK bye", "* BYE\r\n");
    const Step fetched =
        Tagged("OK", "* 1 FETCH (UID 5 BODY[HEADER] {" + std::to_string(header.size()) + "}\r\n" +
                         header + ")\r\n");
    ScriptedPeer peer(
        {login + Script{examined(100), Tagged("OK", "* SEARCH 5\r\n"), fetched, bye},
         login + Script{examined(100), bye},
         login + Script{examined(101), Tagged("OK", "* SEARCH 5\r\n"), bye},
         login + Script{examined(101, 8), Tagged("OK", "* SEARCH 5\r\n"), fetched, bye}});
    Checker checker;
    const AccountList accounts{
        {.server = peer.Address(), .user = "bob", .password = "pw", .protocol = Protocol::Imap}};
    for (int check = 0; check < 4; ++check) {
        SCOPED_TRACE(check);
        checker.Check(accounts);
        EXPECT_EQ(Subjects(checker.table), std::vector<std::string>{"one"});
        EXPECT_EQ(checker.counts, std::vector<int32_t>{1});
    }
    EXPECT_EQ(peer.Received(1), kImapLogin + "a2 EXAMINE \"INBOX\" (CONDSTORE)\r\na3 LOGOUT\r\n");
    EXPECT_EQ(peer.Received(2), kImapLogin +
                                    "a2 EXAMINE \"INBOX\" (CONDSTORE)\r\na3 UID SEARCH UNSEEN "
                                    "UNDELETED\r\na4 LOGOUT\r\n");
    EXPECT_EQ(peer.Received(3), kImapLogin +
                                    "a2 EXAMINE \"INBOX\" (CONDSTORE)\r\na3 UID SEARCH UNSEEN "
                                    "UNDELETED\r\na4 UID FETCH 5 (UID BODY.PEEK[HEADER])\r\n"
                                    "a5 LOGOUT\r\n");
}

// The tray keeps an IMAP account's connection waiting in IDLE after its
// check, renews the IDLE when its timer says so, and opens it again after a
// pause when the server drops it; with Push off it says LOGOUT at once.
TEST_F(CheckCycleTest, AnImapConnectionWaitsIsRenewedAndIsRetriedWhenDropped) {
    const Script checked =
        ImapLogin("IMAP4rev1 IDLE") +
        Script{Tagged("OK [READ-ONLY] done", "* 0 EXISTS\r\n"), Tagged("OK", "* SEARCH\r\n")};
    ScriptedPeer peer({checked + Script{Reply("+ idling\r\n"), Reply("a4 OK done\r\n"),
                                        Reply("+ idling\r\n"), Hold(), Hangup()},
                       checked + Script{Tagged("OK bye", "* BYE\r\n")}});
    AccountList accounts{
        {.server = peer.Address(), .user = "bob", .password = "pw", .protocol = Protocol::Imap}};
    Start(accounts);
    Check();
    ASSERT_EQ(services.sockets.size(), 1u);
    window->OnTimer(PushWatch::kRenewTimerId);
    ASSERT_EQ(services.sockets.size(), 1u);
    peer.Release();
    auto [fd, ready] = *services.sockets.begin();
    ASSERT_TRUE(SocketReadable(fd, std::chrono::seconds(10)));
    services.Take();
    ready();
    EXPECT_EQ(services.Take(), (Calls{"SetTimer 4 10000"}));
    EXPECT_TRUE(services.sockets.empty());
    EXPECT_EQ(peer.Received(0), kImapLogin +
                                    "a2 EXAMINE \"INBOX\"\r\na3 UID SEARCH UNSEEN UNDELETED\r\n"
                                    "a4 IDLE\r\nDONE\r\na5 IDLE\r\n");

    Options off;
    off.Push = 0;
    Start(accounts, off);
    Check();
    EXPECT_TRUE(services.sockets.empty());
    EXPECT_EQ(peer.Received(1), kImapLogin +
                                    "a2 EXAMINE \"INBOX\"\r\na3 UID SEARCH UNSEEN UNDELETED\r\n"
                                    "a4 LOGOUT\r\n");
}

// A server that reports a change with every answer to IDLE is checked once,
// then again only when a second has passed since: a burst is one check.
TEST_F(CheckCycleTest, AServerThatReportsAtOnceIsHeardOnceASecond) {
    const Script reporting =
        ImapLogin("IMAP4rev1 IDLE") +
        Script{Tagged("OK [READ-ONLY] done", "* 0 EXISTS\r\n"), Tagged("OK", "* SEARCH\r\n"),
               Reply("+ idling\r\n* 1 EXISTS\r\n"), Reply("a4 OK done\r\n"),
               Tagged("OK bye", "* BYE\r\n")};
    ScriptedPeer peer({reporting, reporting});
    SaveSettings(
        profile, Options{},
        {{.server = peer.Address(), .user = "bob", .password = "pw", .protocol = Protocol::Imap}});
    // The clock stands still: the second report comes within the second.
    window =
        std::make_unique<CTarvoWnd>(services, profile, [] { return std::chrono::milliseconds(0); });
    window->OnCreate();
    services.Take();
    window->OnCommand(ID_CHECK_NOW);
    const Calls calls = services.Take();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetTimer 6 1000"), calls.end())
        << ::testing::PrintToString(calls);
    EXPECT_TRUE(peer.AwaitSession(1, std::chrono::seconds(10)));
    EXPECT_FALSE(peer.AwaitSession(2, std::chrono::milliseconds(200)));
}

} // namespace
