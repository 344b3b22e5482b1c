// CImapConnection against a real Dovecot over clear text, STARTTLS and
// SSL/TLS: what it reads is what the server holds (doveadm says so), its
// headers are POP3's, no flag of any message changes, and a message saved
// while it waits in IDLE or NOTIFY is reported within the bound.
#include "DovecotServer.h"
#include "ImapConnection.h"
#include "Pop3Connection.h"
#include "PushWait.h"
#include "TestCertificates.h"

#include <cstdlib>
#include <gtest/gtest.h>

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

} // namespace
