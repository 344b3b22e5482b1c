// CImapConnection against a real Dovecot over clear text, STARTTLS and
// SSL/TLS: what it reads is what the server holds (doveadm says so), its
// headers are POP3's, no flag of any message changes, and a message saved
// while it waits in IDLE or NOTIFY is reported within the bound.
#include "AppProfile.h"
#include "DovecotServer.h"
#include "ImapConnection.h"
#include "MemoryRegistry.h"
#include "Pop3Connection.h"
#include "PushWait.h"
#include "QuietObserver.h"
#include "RecordingWindowServices.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "TestCertificates.h"
#include "resource.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kLists = "Lists";
const std::string kDrafts = "Entw\xC3\xBCrfe";
// Delivery to report, at most: 5x the two seconds new mail may take to show.
constexpr std::chrono::milliseconds kPushBound{10'000};

std::string Message(int n, const std::string& folder) {
    return "From: Sender " + std::to_string(n) + " <s" + std::to_string(n) +
           "@example.org>\nSubject: " + folder + " message\n " + std::to_string(n) +
           "\nMessage-Id: <" + std::to_string(n) + "@example.org>\nX-Other: x\n\nbody\n";
}

class ImapAgainstDovecot : public ::testing::Test {
protected:
    struct Way {
        const char* name;
        Security security;
        std::string address;
    };

    static void SetUpTestSuite() {
        authority = new testpki::TestAuthority;
        ::setenv("SSL_CERT_FILE", authority->AuthorityFile().c_str(), 1);
        testpki::IssuedCertificate certificate = authority->Issue({{"127.0.0.1"}});
        server = new DovecotServer(DovecotTls{certificate.certificateFile, certificate.keyFile});
        server->AddUser("ann", "secret");
        server->AddUser("bea", "secret");
        server->AddUser("cid", "secret");
        server->AddUser("dan", "secret");
        server->AddUser("eve", "secret");
    }
    static void TearDownTestSuite() {
        delete server;
        delete authority;
        ::unsetenv("SSL_CERT_FILE");
    }
    static std::vector<Way> Ways() {
        return {{"clear text", Security::None, server->ImapAddress()},
                {"STARTTLS", Security::StartTls, server->ImapAddress()},
                {"SSL/TLS", Security::Tls, server->ImapTlsAddress()}};
    }
    static std::unique_ptr<CImapConnection> Connect(const Way& way, const std::string& user) {
        auto conversation = std::make_unique<CImapConnection>();
        conversation->SetSecurity(way.security);
        EXPECT_EQ(conversation->Connect(way.address, user,
                                        {SignInMethod::Automatic, "secret", {}, {}},
                                        ImapDefaultPort(way.security)),
                  1)
            << conversation->FailureReason() << server->Log();
        return conversation;
    }

    // The headers a session fetched, as Dovecot logs it when the session is
    // over, which may come a moment after the check: the count of sessions
    // ended and the last one's figure.
    static std::pair<std::size_t, std::string> SessionsEnded() {
        const std::string log = server->Log();
        std::size_t count = 0;
        std::size_t last = std::string::npos;
        for (std::size_t at = log.find("hdr_count="); at != std::string::npos;
             at = log.find("hdr_count=", at + 1)) {
            ++count;
            last = at + 10;
        }
        return {count, count == 0 ? "" : log.substr(last, log.find(' ', last) - last)};
    }
    // The figure of the session after the sessions counted, once it has ended.
    static std::string HeadersFetchedNext(std::size_t& sessions) {
        const auto start = Clock::now();
        while (SessionsEnded().first <= sessions && Clock::now() - start < kPushBound) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        sessions = SessionsEnded().first;
        return SessionsEnded().second;
    }

    static inline testpki::TestAuthority* authority = nullptr;
    static inline DovecotServer* server = nullptr;
};

TEST_F(ImapAgainstDovecot, ReadsWhatTheServerHoldsAndChangesNoFlag) {
    for (int n = 1; n <= 3; ++n) {
        server->Deliver("ann", Message(n, "INBOX"));
    }
    server->CreateFolder("ann", kLists);
    server->CreateFolder("ann", kDrafts);
    server->Save("ann", kLists, Message(4, kLists));
    server->Save("ann", kDrafts, Message(5, kDrafts));
    server->Save("ann", kDrafts, Message(6, kDrafts));
    // POP3's scan is the measure of a header row.
    CPop3Connection pop3;
    ASSERT_EQ(pop3.Connect(server->Address(), "ann", "secret", 110), 1) << pop3.FailureReason();
    ASSERT_EQ(pop3.RetrieveHeaders(), 1);
    const ScannedHeaders scanned = pop3.TakeHeaders();
    pop3.Close();
    server->AddFlags("ann", "INBOX", 2, "\\Seen");
    server->AddFlags("ann", kDrafts, 1, "\\Seen \\Flagged");
    const std::vector<std::pair<std::string, std::vector<uint32_t>>> unseen = {
        {"INBOX", {1, 3}}, {kLists, {1}}, {kDrafts, {2}}};
    std::string flags;
    for (const auto& [folder, uids] : unseen) {
        flags += server->Flags("ann", folder);
    }
    for (const Way& way : Ways()) {
        SCOPED_TRACE(way.name);
        std::unique_ptr<CImapConnection> conversation = Connect(way, "ann");
        const ImapCapabilities& offered = conversation->Capabilities();
        EXPECT_TRUE(offered.condStore && offered.esearch && offered.idle && offered.notify);
        std::optional<std::vector<std::string>> folders = conversation->ListFolders();
        ASSERT_TRUE(folders.has_value()) << conversation->FailureReason();
        std::sort(folders->begin(), folders->end());
        EXPECT_EQ(*folders, (std::vector<std::string>{kDrafts, "INBOX", kLists}));
        for (const auto& [folder, uids] : unseen) {
            SCOPED_TRACE(folder);
            std::optional<ImapFolderState> state = conversation->Examine(folder);
            ASSERT_TRUE(state.has_value()) << conversation->FailureReason();
            EXPECT_EQ(state->uidValidity, server->Status("ann", folder, "uidvalidity"));
            EXPECT_EQ(state->highestModSeq, server->Status("ann", folder, "highestmodseq"));
            EXPECT_EQ(state->exists, folder == "INBOX" ? 3u : folder == kLists ? 1u : 2u);
            ASSERT_EQ(conversation->SearchUnseen(), uids);
            ASSERT_TRUE(conversation->FetchHeaders(uids)) << conversation->FailureReason();
            ScannedHeaders headers = conversation->TakeHeaders();
            ASSERT_EQ(headers.size(), uids.size());
            for (std::size_t i = 0; i < uids.size() && folder == "INBOX"; ++i) {
                ScannedHeader expected = scanned[uids[i] - 1];
                expected.SetUniqueId(std::to_string(uids[i]));
                EXPECT_EQ(headers[i], expected);
            }
        }
        EXPECT_EQ(conversation->Close(), 1);
        std::string flagsAfter;
        for (const auto& [folder, uids] : unseen) {
            flagsAfter += server->Flags("ann", folder);
        }
        EXPECT_EQ(flagsAfter, flags);
    }
    // Read in another client: no longer unseen.
    server->AddFlags("ann", "INBOX", 3, "\\Seen");
    std::unique_ptr<CImapConnection> conversation = Connect(Ways()[0], "ann");
    ASSERT_TRUE(conversation->Examine("INBOX").has_value());
    EXPECT_EQ(conversation->SearchUnseen(), (std::vector<uint32_t>{1}));
}

// A check of an IMAP account: a row for each message neither seen nor
// deleted in the watched folders, new once and pending after; each header
// fetched once while the message stays unseen; no flag changed.
TEST_F(ImapAgainstDovecot, ChecksShowTheUnseenMessagesOfEveryWatchedFolder) {
    server->CreateFolder("cid", kLists);
    for (int n = 1; n <= 3; ++n) {
        server->Deliver("cid", Message(n, "INBOX"));
    }
    server->Save("cid", kLists, Message(4, kLists));
    server->AddFlags("cid", "INBOX", 2, "\\Seen");
    const std::string flags = server->Flags("cid", "INBOX") + server->Flags("cid", kLists);
    std::size_t sessions = SessionsEnded().first;
    auto headersFetched = [&sessions] { return HeadersFetchedNext(sessions); };
    for (const Way& way : Ways()) {
        SCOPED_TRACE(way.name);
        const AccountList accounts{{.server = way.address,
                                    .user = "cid",
                                    .password = "secret",
                                    .security = way.security,
                                    .protocol = Protocol::Imap,
                                    .folders = {"INBOX", kLists}}};
        Checker checker;
        EXPECT_TRUE(checker.Check(accounts).newMail);
        EXPECT_EQ(Subjects(checker.table),
                  (std::vector<std::string>{"INBOX message 1", "INBOX message 3",
                                            kLists + " message 4"}));
        EXPECT_EQ(Mailboxes(checker.table),
                  (std::vector<std::string>{way.address, way.address, way.address + "/" + kLists}));
        EXPECT_EQ(checker.counts, (std::vector<int32_t>{3}));
        EXPECT_EQ(headersFetched(), "3");
        EXPECT_FALSE(checker.Check(accounts).newMail);
        EXPECT_EQ(States(checker.table),
                  (std::vector<uint32_t>{MessagePending, MessagePending, MessagePending}));
        EXPECT_EQ(headersFetched(), "0");
        EXPECT_EQ(server->Flags("cid", "INBOX") + server->Flags("cid", kLists), flags);
    }
    // Read elsewhere, and new mail: the count follows the server.
    server->AddFlags("cid", "INBOX", 1, "\\Seen");
    server->Deliver("cid", Message(5, "INBOX"));
    Checker checker;
    const AccountList inbox{{.server = Ways()[0].address,
                             .user = "cid",
                             .password = "secret",
                             .protocol = Protocol::Imap}};
    checker.Check(inbox);
    EXPECT_EQ(Subjects(checker.table),
              (std::vector<std::string>{"INBOX message 3", "INBOX message 5"}));
}

TEST_F(ImapAgainstDovecot, ReportsAMessageSavedWhileItWaits) {
    server->CreateFolder("bea", kLists);
    int saved = 0;
    for (const Way& way : Ways()) {
        for (bool notify : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (notify ? ", NOTIFY" : ", IDLE"));
            std::unique_ptr<CImapConnection> conversation = Connect(way, "bea");
            ASSERT_TRUE(notify ? conversation->StartNotify({"INBOX", kLists})
                               : conversation->StartIdle("INBOX"))
                << conversation->FailureReason();
            EXPECT_EQ(conversation->TakeEvents(), ImapPush::Quiet);
            const std::string folder = notify ? kLists : "INBOX";
            const Clock::time_point start = Clock::now();
            server->Save("bea", folder, Message(++saved, folder));
            EXPECT_EQ(AwaitReport(*conversation, kPushBound), ImapPush::Changed)
                << conversation->FailureReason();
            EXPECT_LT(Clock::now() - start, kPushBound);
            ASSERT_TRUE(conversation->EndIdle()) << conversation->FailureReason();
            ASSERT_TRUE(conversation->Examine(folder).has_value());
            EXPECT_FALSE(conversation->SearchUnseen().value_or(std::vector<uint32_t>{}).empty());
            EXPECT_EQ(conversation->Close(), 1);
            EXPECT_EQ(conversation->FailureReason(), "");
        }
    }
}

// Push in the tray: after a check the IMAP account's connection waits on the
// server, watched by the event loop; a message delivered meanwhile is shown
// by a check of that account alone within the bound, and the POP3 account
// beside it keeps its rows without being asked again.
TEST_F(ImapAgainstDovecot, NewMailComesAtOnceThroughTheConnectionHeldForIt) {
    MemoryRegistry registry;
    AppProfile profile{registry};
    SaveSettings(profile, Options{},
                 {{.server = server->Address(), .user = "dan", .password = "secret"},
                  {.server = server->ImapAddress(),
                   .user = "dan",
                   .password = "secret",
                   .protocol = Protocol::Imap}});
    server->Deliver("dan", Message(1, "INBOX"));
    RecordingWindowServices services;
    CTarvoWnd window(services, profile);
    window.OnCreate();
    window.OnCommand(ID_CHECK_NOW);
    ASSERT_EQ(services.sockets.size(), 1u) << server->Log();
    EXPECT_EQ(Subjects(window.Table()),
              (std::vector<std::string>{"INBOX message 1", "INBOX message 1"}));
    services.Take();

    const Clock::time_point delivered = Clock::now();
    server->Save("dan", "INBOX", Message(2, "INBOX"));
    // The event loop's part: a notice when the socket turns readable.
    while (Clock::now() - delivered < kPushBound && !services.sockets.empty() &&
           window.Table().size() == 2) {
        auto [fd, ready] = *services.sockets.begin();
        services.sockets.erase(fd);
        if (SocketReadable(fd, kPushBound)) {
            ready();
        }
    }
    const auto took = Clock::now() - delivered;
    EXPECT_LT(took, kPushBound);
    const std::vector<std::string> calls = services.Take();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "NotifyNewMail 1 of 3"), calls.end())
        << ::testing::PrintToString(calls);
    EXPECT_EQ(std::count_if(
                  calls.begin(), calls.end(),
                  [](const std::string& call) { return call.starts_with("ModifyTrayIcon 131"); }),
              1)
        << "only the IMAP account is contacted";
    // What the POP3 account showed as new was announced by the check before.
    EXPECT_EQ(States(window.Table()),
              (std::vector<uint32_t>{MessagePending, MessagePending, MessageNew}));
    // Waiting again for the next.
    EXPECT_EQ(services.sockets.size(), 1u);
}

// More unseen header text than an account keeps: the oldest text is left
// out, and not fetched again at every check while it would not fit.
TEST_F(ImapAgainstDovecot, TextsBeyondTheBudgetAreNotFetchedAgainAndAgain) {
    std::string padding;
    for (int i = 0; i < 3 * 1024; ++i) {
        padding += "X-Trace: " + std::string(1000, 't') + "\n";
    }
    for (int n = 1; n <= 3; ++n) {
        server->Save("eve", "INBOX", Message(n, "INBOX").insert(0, padding));
    }
    std::size_t sessions = SessionsEnded().first;
    const AccountList accounts{{.server = server->ImapAddress(),
                                .user = "eve",
                                .password = "secret",
                                .protocol = Protocol::Imap}};
    Checker checker;
    checker.Check(accounts);
    EXPECT_EQ(HeadersFetchedNext(sessions), "3");
    EXPECT_EQ(HeaderTexts(checker.table)[0], kHeaderTextNotKept);
    checker.Check(accounts);
    EXPECT_EQ(HeadersFetchedNext(sessions), "0");
    EXPECT_EQ(HeaderTexts(checker.table)[0], kHeaderTextNotKept);
    EXPECT_NE(HeaderTexts(checker.table)[2], kHeaderTextNotKept);
}

} // namespace
