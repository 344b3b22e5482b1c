// Whole checks of the main window against a real POP3 server: what the tray,
// the sound and the headers window are told, and the table the check leaves.
#include "AppProfile.h"
#include "DovecotServer.h"
#include "MemoryRegistry.h"
#include "RecordingWindowServices.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "TestCertificates.h"
#include "TrayTip.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <ostream>
#include <sys/socket.h>
#include <unistd.h>

using Calls = std::vector<std::string>;

// Rows as the headers window would list them, for readable failures.
void PrintTo(const MessageTable& table, std::ostream* out) {
    for (std::size_t r = 0; r < table.size(); ++r) {
        *out << "\n  [" << States(table)[r] << "] " << Subjects(table)[r] << " | "
             << Froms(table)[r] << " | " << Mailboxes(table)[r] << " | "
             << ::testing::PrintToString(HeaderTexts(table)[r]);
    }
}

namespace {

// A loopback port that refuses connections: bound, never listening, and held
// so that nothing else can take it while the test runs.
class RefusingPort {
public:
    RefusingPort() : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~RefusingPort() { ::close(m_fd); }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    int m_fd;
    uint16_t m_port = 0;
};

struct Mail {
    std::string from;
    std::string subject;
    std::string id;

    std::string Message() const {
        return "From: " + from + "\nSubject: " + subject + "\nMessage-Id: " + id +
               "\n\nThe body, which no check reads.\n";
    }
    std::string HeaderText() const {
        return "From: " + from + "\nSubject: " + subject + "\nMessage-Id: " + id + "\n\n";
    }
};

const Mail kFirst{"Ann <ann@example.org>", "first", "<1@example.org>"};
const Mail kShared{"Ann <ann@example.org>", "to both", "<shared@example.org>"};
const Mail kSharedCopy{"Ann <ann@example.org>", "to both, copy", "<shared@example.org>"};
const Mail kLate{"Cid <cid@example.org>", "late", "<late@example.org>"};

class CheckAgainstDovecot : public ::testing::Test {
protected:
    DovecotServer server;
    RefusingPort refusing;
    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;

    void SetUp() override {
        server.AddUser("alice", "alice-pw");
        server.AddUser("bob", "bob-pw");
    }

    std::unique_ptr<CTarvoWnd> Start(const AccountList& accounts) {
        SaveSettings(profile, Options{}, accounts);
        auto window = std::make_unique<CTarvoWnd>(services, profile);
        window->OnCreate();
        services.Take();
        return window;
    }

    std::string Contacting(const std::string& server) { return "Contacting " + server + "..."; }
    std::string Retrieving(int count) {
        return "Retrieving " + std::to_string(count) + " header(s) from " + server.Address() +
               "...";
    }

    // Every account on the server here shares it with another: rows name the user.
    void AddRow(MessageTable& table, const std::string& user, const Mail& mail,
                MessageState state) {
        const std::string text = mail.HeaderText();
        table.AppendMessage(ScannedHeader(mail.subject, mail.from, mail.id, text, text.size()),
                            user + "@" + server.Address(), state);
    }
    void AddErrorRow(MessageTable& table, const std::string& server, const std::string& mailbox,
                     const std::string& reason) {
        table.AppendError("(error contacting " + server + ")", mailbox, reason);
    }
};

TEST_F(CheckAgainstDovecot, TwoMailboxesAndAnUnreachableServerThenOneNewMessage) {
    server.Deliver("alice", kFirst.Message());
    server.Deliver("alice", kShared.Message());
    server.Deliver("bob", kSharedCopy.Message());
    const std::string dovecot = server.Address();
    const std::string unreachable = refusing.Address();
    auto window = Start({{dovecot, "alice", "alice-pw"},
                         {unreachable, "alice", "alice-pw"},
                         {dovecot, "bob", "bob-pw"}});

    // The tray during the walk over the three accounts, then how the check ends.
    auto walk = [&](int aliceMessages, const Calls& end) {
        Calls calls{"KillTimer 1",
                    "ModifyTrayIcon 131 " + Contacting(dovecot),
                    "ModifyTrayIcon 132 " + Retrieving(aliceMessages),
                    "ModifyTrayIcon 131 " + Contacting(unreachable),
                    "ModifyTrayIcon 131 " + Contacting(dovecot),
                    "ModifyTrayIcon 132 " + Retrieving(1)};
        calls.insert(calls.end(), end.begin(), end.end());
        calls.push_back("SetTimer 1 300000");
        return calls;
    };

    // The tooltip's second line: the account that failed, and why.
    const std::string failed = "\n" + unreachable + " refused the connection.";
    // The copy in bob's mailbox was seen at alice's account moments before.
    window->OnCheckNow();
    EXPECT_EQ(services.Take(),
              walk(2, {"ModifyTrayIcon 128 You have 3 unread message(s)" + failed,
                       "PlayNewMailSound", "NotifyNewMail 2 of 4", "ShowHeadersWindow 4"}))
        << server.Log();
    MessageTable expected;
    AddRow(expected, "alice", kFirst, MessageNew);
    AddRow(expected, "alice", kShared, MessageNew);
    AddErrorRow(expected, unreachable, unreachable, unreachable + " refused the connection.");
    AddRow(expected, "bob", kSharedCopy, MessagePending);
    EXPECT_EQ(window->Table(), expected);
    EXPECT_EQ(window->Counts(), (std::vector<int32_t>{2, 0, 1}));
    EXPECT_EQ(window->KnownIds().size(), 3u);
    EXPECT_EQ(window->KnownIds().CountOf("(none)"), 0u);
    EXPECT_FALSE(window->IsBusy());

    server.Deliver("alice", kLate.Message());
    window->OnCheckNow();
    EXPECT_EQ(services.Take(),
              walk(3, {"ModifyTrayIcon 128 You have 4 unread message(s)" + failed,
                       "PlayNewMailSound", "NotifyNewMail 1 of 5", "ShowHeadersWindow 5"}));
    MessageTable afterDelivery;
    AddRow(afterDelivery, "alice", kFirst, MessagePending);
    AddRow(afterDelivery, "alice", kShared, MessagePending);
    AddRow(afterDelivery, "alice", kLate, MessageNew);
    AddErrorRow(afterDelivery, unreachable, unreachable, unreachable + " refused the connection.");
    AddRow(afterDelivery, "bob", kSharedCopy, MessagePending);
    EXPECT_EQ(window->Table(), afterDelivery);

    // Nothing new: the tray is updated and nothing else happens.
    window->OnCheckNow();
    EXPECT_EQ(services.Take(),
              walk(3, {"ModifyTrayIcon 128 You have 4 unread message(s)" + failed}));
    EXPECT_EQ(window->KnownIds().size(), 3u + 4u + 4u);
    EXPECT_EQ(window->KnownIds().CountOf("<shared@example.org>"), 6u);
}

TEST_F(CheckAgainstDovecot, ChecksThatFindNoMail) {
    const std::string dovecot = server.Address();
    const std::string refused = "The server refused the login: -ERR [AUTH] Authentication failed.";
    // The second line names the account and its reason, cut to fit the tray.
    auto failed = [&](const std::string& mailbox) {
        return FitTrayTip("Error(s) occured\n" + mailbox + ": " + refused);
    };
    struct Case {
        const char* name;
        AccountList accounts;
        std::string finalTip;
        std::vector<std::string> errorRows; // their mailboxes
    } cases[] = {
        {"wrong password", {{dovecot, "alice", "not-alice-pw"}}, failed(dovecot), {dovecot}},
        {"empty mailbox", {{dovecot, "alice", "alice-pw"}}, "No unread messages", {}},
        {"unknown user", {{dovecot, "carol", "alice-pw"}}, failed(dovecot), {dovecot}},
        {"empty mailbox and a wrong password",
         {{dovecot, "alice", "alice-pw"}, {dovecot, "bob", "alice-pw"}},
         failed("bob@" + dovecot),
         {"bob@" + dovecot}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = Start(c.accounts);
        window->OnCheckNow();
        Calls expected{"KillTimer 1"};
        for (std::size_t i = 0; i < c.accounts.size(); ++i) {
            expected.push_back("ModifyTrayIcon 131 " + Contacting(dovecot));
        }
        expected.push_back("ModifyTrayIcon 130 " + c.finalTip);
        expected.push_back("SetTimer 1 300000");
        EXPECT_EQ(services.Take(), expected) << server.Log();

        MessageTable errors;
        for (const std::string& mailbox : c.errorRows) {
            AddErrorRow(errors, dovecot, mailbox, refused);
        }
        EXPECT_EQ(window->Table(), errors);
        // An error row is no message: it is never a known id.
        EXPECT_EQ(window->KnownIds().size(), 0u);
    }
}

// The same mailbox, in clear text, after STLS, and over implicit TLS, against
// a server whose certificate comes from an authority made for this test.
TEST(SecureCheckAgainstDovecot, EverySecurityFindsTheSameRows) {
    testpki::TestAuthority authority;
    ::setenv("SSL_CERT_FILE", authority.AuthorityFile().c_str(), 1);
    testpki::IssuedCertificate certificate = authority.Issue({{"127.0.0.1"}});
    DovecotServer server(DovecotTls{certificate.certificateFile, certificate.keyFile});
    server.AddUser("alice", "alice-pw");
    server.Deliver("alice", kFirst.Message());
    server.Deliver("alice", kShared.Message());

    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;
    AccountList accounts{{server.Address(), "alice", "alice-pw", Security::None},
                         {server.Address(), "alice", "alice-pw", Security::StartTls},
                         {server.TlsAddress(), "alice", "alice-pw", Security::Tls}};
    SaveSettings(profile, Options{}, accounts);
    CTarvoWnd window(services, profile);
    window.OnCreate();
    window.OnCheckNow();
    ::unsetenv("SSL_CERT_FILE");

    const MessageTable& table = window.Table();
    ASSERT_EQ(table.size(), 6u) << server.Log();
    for (std::size_t account = 0; account < 3; ++account) {
        SCOPED_TRACE(account);
        for (std::size_t row = 0; row < 2; ++row) {
            const std::size_t at = account * 2 + row;
            EXPECT_EQ(Subjects(table)[at], Subjects(table)[row]);
            EXPECT_EQ(Froms(table)[at], Froms(table)[row]);
            EXPECT_EQ(HeaderTexts(table)[at], HeaderTexts(table)[row]);
            // The first two accounts share a server, so their rows name the user.
            EXPECT_EQ(Mailboxes(table)[at],
                      (account < 2 ? "alice@" : "") + accounts[account].server);
            EXPECT_EQ(States(table)[at], account == 0 ? MessageNew : MessagePending);
        }
    }
    EXPECT_EQ(Subjects(table)[0], kFirst.subject);
    EXPECT_EQ(HeaderTexts(table)[1], kShared.HeaderText());
}

} // namespace
