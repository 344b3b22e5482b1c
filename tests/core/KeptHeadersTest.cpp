// Checks of servers that list unique-ids: only unseen messages are fetched,
// and the table is always the one a full scan would give.
#include "AppProfile.h"
#include "MemoryRegistry.h"
#include "RecordingWindowServices.h"
#include "ScriptedPeer.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "resource.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

using namespace testpeer;

namespace {

Script CapaLogin() {
    return {Send("+OK ready\r\n"), ReplyIf("CAPA", "-ERR\r\n"), Reply("+OK\r\n"), Reply("+OK\r\n"),
            Reply("+OK\r\nPIPELINING\r\nUIDL\r\nTOP\r\n.\r\n")};
}

std::string Text(const std::string& subject) {
    return "Subject: " + subject + "\nFrom: ann@example.org\nMessage-ID: <" + subject + "@x>\n\n";
}

Step Top(const std::string& subject) {
    return Reply("+OK\r\nSubject: " + subject + "\r\nFrom: ann@example.org\r\nMessage-ID: <" +
                 subject + "@x>\r\n\r\n.\r\n");
}

// uids[i] is message i + 1's unique-id.
Script Listing(const std::vector<std::string>& uids) {
    std::string stat = "+OK " + std::to_string(uids.size()) + " 900\r\n";
    std::string listing = "+OK\r\n";
    for (std::size_t i = 0; i < uids.size(); ++i) {
        listing += std::to_string(i + 1) + " " + uids[i] + "\r\n";
    }
    return CapaLogin() + Script{Reply(stat), Reply(listing + ".\r\n")};
}

const Step kBye = Reply("+OK bye\r\n");

// A header block of 3 MiB: three overflow the 7 MiB of header text kept.
Step Big(const std::string& subject, bool withMessageId = false) {
    std::string block = "+OK\r\nSubject: " + subject + "\r\n";
    if (withMessageId) {
        block += "Message-ID: <" + subject + "@x>\r\n";
    }
    for (int i = 0; i < 3 * 1024; ++i) {
        block += "X-Trace: " + std::string(1000, 't') + "\r\n";
    }
    return Reply(block + "\r\n.\r\n");
}
const std::string kLogin = "CAPA\r\nUSER ann\r\nPASS secret\r\nCAPA\r\nSTAT\r\nUIDL\r\n";

class KeptHeadersTest : public ::testing::Test {
protected:
    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;
    std::unique_ptr<CTarvoWnd> window;

    void Start(const std::string& server, const std::string& state = {}) {
        SaveSettings(profile, Options{}, {{server, "ann", "secret"}});
        window.reset();
        window = std::make_unique<CTarvoWnd>(services, profile);
        if (!state.empty()) {
            window->UseStateFile(state);
        }
        window->OnCreate();
        services.Take();
    }
    std::vector<std::string> Check() {
        window->OnCommand(ID_CHECK_NOW);
        return services.Take();
    }
    // The rows a full scan of these messages gives.
    MessageTable FullScan(const std::vector<std::string>& subjects,
                          const std::vector<uint32_t>& states, const std::string& server) {
        MessageTable table;
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            const std::string text = Text(subjects[i]);
            table.AppendMessage(ScannedHeader(subjects[i], "ann@example.org",
                                              "<" + subjects[i] + "@x>", text, text.size()),
                                server, static_cast<MessageState>(states[i]));
        }
        return table;
    }
};

TEST_F(KeptHeadersTest, OnlyUnseenMessagesAreFetchedAndGoneOnesDropped) {
    // Ids not in the order of the messages, as some servers give them.
    ScriptedPeer peer({
        Listing({"u9", "u2", "u3"}) + Script{Top("a"), Top("b"), Top("c"), kBye},
        // b deleted, d delivered.
        Listing({"u9", "u3", "u10"}) + Script{Top("d"), kBye},
        Listing({"u9", "u3", "u10"}) + Script{kBye},
    });
    Start(peer.Address());
    const std::string server = peer.Address();
    Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "b", "c"}, {0, 0, 0}, server));

    std::vector<std::string> calls = Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "c", "d"}, {1, 1, 0}, server));
    auto called = [&calls](const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    };
    EXPECT_TRUE(called("ModifyTrayIcon 128 You have 3 unread message(s)"));
    EXPECT_TRUE(called("PlayNewMailSound"));
    EXPECT_EQ(window->Counts(), (std::vector<int32_t>{3}));

    calls = Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "c", "d"}, {1, 1, 1}, server));
    EXPECT_TRUE(called("ModifyTrayIcon 128 You have 3 unread message(s)"));
    EXPECT_FALSE(called("PlayNewMailSound"));

    EXPECT_EQ(peer.Received(0), kLogin + "TOP 1 0\r\nTOP 2 0\r\nTOP 3 0\r\nQUIT\r\n");
    EXPECT_EQ(peer.Received(1), kLogin + "TOP 3 0\r\nQUIT\r\n");
    EXPECT_EQ(peer.Received(2), kLogin + "QUIT\r\n");
}

// What was announced and kept outlasts the program: a start with the state
// file is a repeat check, and only mail that came since is announced.
TEST_F(KeptHeadersTest, AStartWithTheStateFileAnnouncesOnlyWhatCameSince) {
    ScriptedPeer peer({Listing({"u1", "u2"}) + Script{Top("a"), Top("b"), kBye},
                       Listing({"u1", "u2"}) + Script{kBye},
                       Listing({"u1", "u2", "u3"}) + Script{Top("c"), kBye}});
    const std::string folder = ::testing::TempDir() + "tarvo-kept-state";
    std::filesystem::remove_all(folder);
    const std::string state = folder + "/Tarvo.state";
    const std::string server = peer.Address();
    Start(server, state);
    Check();
    Start(server, state);
    std::vector<std::string> calls = Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "b"}, {1, 1}, server));
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& call) {
                                return call == "PlayNewMailSound" ||
                                       call.starts_with("NotifyNewMail") ||
                                       call.starts_with("ShowHeadersWindow");
                            }),
              0);
    Start(server, state);
    calls = Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "b", "c"}, {1, 1, 0}, server));
    EXPECT_NE(std::find(calls.begin(), calls.end(), "NotifyNewMail 1 of 3"), calls.end());
    EXPECT_EQ(peer.Received(1), kLogin + "QUIT\r\n");
    EXPECT_EQ(peer.Received(2), kLogin + "TOP 3 0\r\nQUIT\r\n");
    std::filesystem::remove_all(folder);
}

TEST_F(KeptHeadersTest, ListingsThatBreakTheRulesGetAFullScan) {
    struct Row {
        const char* name;
        std::string listing;
    };
    const std::vector<Row> rows = {
        {"duplicate id", "+OK\r\n1 u1\r\n2 u1\r\n3 u3\r\n.\r\n"},
        {"count other than STAT's", "+OK\r\n1 u1\r\n2 u2\r\n.\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Script fullScan{Top("a"), Top("b"), Top("c"), kBye};
        // The second check finds nothing kept from the first.
        Script broken = CapaLogin() + Script{Reply("+OK 3 900\r\n"), Reply(row.listing)};
        ScriptedPeer peer({broken + fullScan, broken + fullScan});
        Start(peer.Address());
        Check();
        EXPECT_EQ(window->Table(), FullScan({"a", "b", "c"}, {0, 0, 0}, peer.Address()));
        Check();
        EXPECT_EQ(window->Table(), FullScan({"a", "b", "c"}, {1, 1, 1}, peer.Address()));
        EXPECT_EQ(peer.Received(1), kLogin + "TOP 1 0\r\nTOP 2 0\r\nTOP 3 0\r\nQUIT\r\n");
    }
}

// A server out of reach for one check costs no full scan at the next.
TEST_F(KeptHeadersTest, WhatWasKeptOutlastsACheckThatCouldNotReachTheServer) {
    ScriptedPeer peer({Listing({"u1", "u2"}) + Script{Top("a"), Top("b"), kBye},
                       Script{Send("-ERR too busy\r\n"), kBye},
                       CapaLogin() + Script{Reply("-ERR locked\r\n"), kBye},
                       Listing({"u1", "u2", "u3"}) + Script{Top("c"), kBye}});
    Start(peer.Address());
    Check();
    Check();
    EXPECT_EQ(States(window->Table()), (std::vector<uint32_t>{2}));
    Check();
    EXPECT_EQ(States(window->Table()), (std::vector<uint32_t>{2}));
    Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "b", "c"}, {1, 1, 0}, peer.Address()));
    EXPECT_EQ(peer.Received(3), kLogin + "TOP 3 0\r\nQUIT\r\n");
}

// A scan that fails part-way keeps what was kept and what it fetched whole,
// within the texts' budget, for the next check, after a restart too: that
// check asks only for what it has not seen.
TEST_F(KeptHeadersTest, WhatWasKeptAndFetchedOutlastsAScanThatFailedPartWay) {
    const Script listed = Listing({"u1", "u2", "u3", "u4", "u5"});
    ScriptedPeer peer({Listing({"u1", "u2", "u3"}) + Script{Big("a"), Big("b"), Big("c"), kBye},
                       listed + Script{Big("d"), Hangup()}, listed + Script{Big("e"), kBye}});
    const std::string folder = ::testing::TempDir() + "tarvo-kept-failed";
    std::filesystem::remove_all(folder);
    Start(peer.Address(), folder + "/Tarvo.state");
    Check();
    Check();
    EXPECT_EQ(States(window->Table()), (std::vector<uint32_t>{2}));
    Start(peer.Address(), folder + "/Tarvo.state");
    Check();
    EXPECT_EQ(Subjects(window->Table()), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(peer.Received(2), kLogin + "TOP 5 0\r\nQUIT\r\n");
    std::filesystem::remove_all(folder);
}

TEST_F(KeptHeadersTest, AnAccountWhoseUserChangesStartsEmpty) {
    const Script all{Top("a"), Top("b"), kBye};
    ScriptedPeer peer({Listing({"u1", "u2"}) + all, Listing({"u1", "u2"}) + all});
    Start(peer.Address());
    Check();
    services.editAccounts = [](AccountList& accounts) { accounts[0].user = "bob"; };
    window->OnCommand(ID_SERVERS);
    Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "b"}, {1, 1}, peer.Address()));
    EXPECT_EQ(peer.Received(1), "CAPA\r\nUSER bob\r\nPASS secret\r\nCAPA\r\nSTAT\r\nUIDL\r\nTOP 1 "
                                "0\r\nTOP 2 0\r\nQUIT\r\n");
}

// A listing that breaks off would fail every check: once it did, the account
// is checked without one until its settings change, after a restart too.
TEST_F(KeptHeadersTest, AnAccountWhoseListingBrokeOffGoesWithoutOne) {
    const Script counted = CapaLogin() + Script{Reply("+OK 2 900\r\n")};
    const Script all{Top("a"), Top("b"), kBye};
    ScriptedPeer peer({counted + Script{Reply("+OK\r\n1 u1\r\n"), Hangup()}, counted + all,
                       counted + all, Listing({"u1", "u2"}) + all});
    const std::string folder = ::testing::TempDir() + "tarvo-kept-mark";
    std::filesystem::remove_all(folder);
    Start(peer.Address(), folder + "/Tarvo.state");
    Check();
    ASSERT_EQ(States(window->Table()), (std::vector<uint32_t>{2}));
    EXPECT_EQ(HeaderTexts(window->Table())[0],
              peer.Address() + " closed the connection. The server's list of unique-ids (UIDL) "
                               "broke off, so the next checks of this mailbox go without it and "
                               "fetch every header.");
    Start(peer.Address(), folder + "/Tarvo.state");
    Check();
    Check();
    EXPECT_EQ(window->Table(), FullScan({"a", "b"}, {1, 1}, peer.Address()));
    services.editAccounts = [](AccountList& accounts) { accounts[0].user = "bob"; };
    window->OnCommand(ID_SERVERS);
    Check();
    const std::string withoutListing =
        "CAPA\r\nUSER ann\r\nPASS secret\r\nCAPA\r\nSTAT\r\nTOP 1 0\r\nTOP 2 0\r\nQUIT\r\n";
    EXPECT_EQ(peer.Received(1), withoutListing);
    EXPECT_EQ(peer.Received(2), withoutListing);
    EXPECT_EQ(peer.Received(3),
              "CAPA\r\nUSER bob\r\nPASS secret\r\nCAPA\r\nSTAT\r\nUIDL\r\nTOP 1 0\r\nTOP 2 "
              "0\r\nQUIT\r\n");
    std::filesystem::remove_all(folder);
}

// Three header blocks of 3 MiB overflow the 7 MiB kept: the oldest row says
// its text was not kept, until the newest is deleted and it fits again. Its
// text is fetched after the new message's, so QUIT waits for that second
// fetch.
TEST_F(KeptHeadersTest, ARowWhoseTextWasNotKeptSaysSoUntilItFitsAgain) {
    ScriptedPeer peer({Listing({"u1", "u2", "u3"}) + Script{Big("a"), Big("b"), Big("c"), kBye},
                       Listing({"u1", "u2", "u4"}) + Script{Top("d"), Big("a"), kBye}});
    Start(peer.Address());
    Check();
    ASSERT_EQ(Subjects(window->Table()), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(HeaderTexts(window->Table())[0], kHeaderTextNotKept);
    EXPECT_EQ(HeaderTexts(window->Table())[1].substr(0, 11), "Subject: b\n");
    EXPECT_EQ(HeaderTexts(window->Table())[2].substr(0, 11), "Subject: c\n");

    Check();
    ASSERT_EQ(Subjects(window->Table()), (std::vector<std::string>{"a", "b", "d"}));
    EXPECT_EQ(HeaderTexts(window->Table())[0].substr(0, 11), "Subject: a\n");
    EXPECT_EQ(HeaderTexts(window->Table())[0].size(), HeaderTexts(window->Table())[1].size());
    EXPECT_EQ(States(window->Table()), (std::vector<uint32_t>{1, 1, 0}));
    EXPECT_EQ(peer.Received(1), kLogin + "TOP 3 0\r\nTOP 1 0\r\nQUIT\r\n");
}

// A server that gave a kept unique-id to another message: when that header
// is fetched again, what was kept under the unique-id is not shown.
TEST_F(KeptHeadersTest, AHeaderFetchedAgainWithAnotherMessageIdReplacesTheKeptRow) {
    ScriptedPeer peer(
        {Listing({"u1", "u2", "u3"}) + Script{Big("a", true), Big("b", true), Big("c", true), kBye},
         Listing({"u1", "u2"}) + Script{Big("z", true), kBye}});
    Start(peer.Address());
    Check();
    Check();
    EXPECT_EQ(Subjects(window->Table()), (std::vector<std::string>{"z", "b"}));
    EXPECT_EQ(States(window->Table()), (std::vector<uint32_t>{0, 1}));
}

} // namespace
