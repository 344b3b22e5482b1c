// The Mailboxes dialog's connection security and its Certificate... button,
// the latter against a scripted TLS server on loopback.
#include "AccountColumns.h"
#include "DialogTest.h"
#include "ImapPeer.h"
#include "MailboxesDlg.h"
#include "ScriptedPeer.h"
#include "TestCertificates.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>

using namespace testpeer;

namespace {

using Texts = std::vector<std::string>;

QComboBox* Choice(const QWidget& dialog) {
    return Child<QComboBox>(dialog, "security");
}

void Select(const QWidget& dialog, int line) {
    auto* list = Child<QTreeWidget>(dialog, "list");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(line)).center());
}

TEST(MailboxesSecurityTest, TheChoiceGoesWithItsAccount) {
    RecordingMessageBoxes boxes;
    CMailboxesDlg dialog(boxes);
    dialog.accounts = {{"pop.a", "ua", "pa", Security::StartTls, "AA:BB"},
                       {"pop.b", "ub", "pb", Security::None}};
    dialog.show();
    EXPECT_EQ(Choice(dialog)->currentText(), "SSL/TLS");
    EXPECT_EQ(Choice(dialog)->count(), 3);

    Select(dialog, 0);
    EXPECT_EQ(Choice(dialog)->currentText(), "STARTTLS");
    Choice(dialog)->setCurrentIndex(0);
    Click(dialog, "add");
    EXPECT_EQ(Column(dialog.accounts, &Account::security),
              (std::vector{Security::None, Security::None}));
    // A new account starts at SSL/TLS and trusts no certificate by hand.
    EXPECT_EQ(Choice(dialog)->currentText(), "SSL/TLS");
    Child<QLineEdit>(dialog, "server")->setText("pop.c");
    Click(dialog, "add");
    Child<QLineEdit>(dialog, "server")->setText("pop.a");
    Child<QLineEdit>(dialog, "user")->setText("ua");
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts, (AccountList{{"pop.b", "ub", "pb", Security::None},
                                            {"pop.c", "", "", Security::Tls}}));
    EXPECT_EQ(Column(dialog.accounts, &Account::certificate).size(), 2u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MailboxesSecurityTest, CertificateShowsTheServersAndTrustsOrForgetsIt) {
    testpki::TestAuthority authority;
    const testpki::IssuedCertificate own = authority.Issue({{"127.0.0.1"}, -1, 30, true});
    const Script session{AcceptTls(own.certificateFile, own.keyFile), Send("+OK ready\r\n"),
                         Reply("+OK bye\r\n")};
    ScriptedPeer peer(std::vector<Script>{session, session, session});
    RecordingMessageBoxes boxes;
    // Yes trusts it; looking again and answering with Escape (No) keeps it;
    // only a Yes to giving it up takes it away.
    boxes.answers = {MessageBoxes::Answer::Yes, MessageBoxes::Answer::No,
                     MessageBoxes::Answer::Yes};
    CMailboxesDlg dialog(boxes);
    dialog.accounts = {{"no.line.chosen", "", "", Security::Tls},
                       {peer.Address(), "", "", Security::Tls},
                       {"clear.example", "", "", Security::None}};
    dialog.show();

    Click(dialog, "certificate");
    Select(dialog, 1);
    Click(dialog, "certificate");
    Click(dialog, "certificate");
    const std::string pinned = Column(dialog.accounts, &Account::certificate).at(1);
    Click(dialog, "certificate");
    Select(dialog, 2);
    Click(dialog, "certificate");

    ASSERT_EQ(boxes.shown.size(), 5u);
    EXPECT_EQ(boxes.shown[0].text, "Select a server in the list first.");
    const QString question = boxes.shown[1].text;
    EXPECT_EQ(boxes.shown[1].icon, MessageBoxes::Icon::Question);
    // What verification found comes first, then what the certificate claims.
    EXPECT_TRUE(question.startsWith("Not trusted: The certificate of 127.0.0.1 is not signed by "
                                    "an authority this computer trusts.\n\nServer: " +
                                    QString::fromStdString(peer.Address()) +
                                    "\nSubject: CN=127.0.0.1, O=Tarvo tests\n"))
        << question.toStdString();
    const QString fingerprint = question.section("SHA-256: ", 1).section('\n', 0, 0);
    EXPECT_EQ(fingerprint.size(), 95);
    EXPECT_EQ(boxes.shown[2].text.section("\n\n", 2, 3),
              "This account trusts exactly this certificate now.\n\nStop trusting it? The next "
              "checks then leave the decision to the authorities this computer trusts. No keeps "
              "it trusted.");
    EXPECT_EQ(boxes.shown[4].icon, MessageBoxes::Icon::Exclamation);
    EXPECT_EQ(boxes.shown[4].text,
              "This account uses no connection security, so its server shows no certificate.");
    EXPECT_EQ(QString::fromStdString(pinned), fingerprint);
    EXPECT_EQ(Column(dialog.accounts, &Account::certificate),
              (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(peer.Received(0), "QUIT\r\n" + std::string(kCloseNotify));
}

// Each protocol's conversation, up to the greeting and its goodbye.
TEST(MailboxesSecurityTest, YesTrustsTheCertificateShown) {
    testpki::TestAuthority authority;
    const testpki::IssuedCertificate own = authority.Issue({{"127.0.0.1"}, -1, 30, true});
    struct Way {
        Protocol protocol;
        Script session;
        std::string sent;
    };
    const Way ways[] = {
        {Protocol::Pop3, {Send("+OK ready\r\n"), Reply("+OK bye\r\n")}, "QUIT\r\n"},
        {Protocol::Imap,
         {Send("* OK ready\r\n"), Tagged("OK bye", "* BYE logging out\r\n")},
         "a1 LOGOUT\r\n"},
    };
    for (const Way& way : ways) {
        ScriptedPeer peer(Script{AcceptTls(own.certificateFile, own.keyFile)} + way.session);
        RecordingMessageBoxes boxes;
        boxes.answers = {MessageBoxes::Answer::Yes};
        CMailboxesDlg dialog(boxes);
        dialog.accounts = {{.server = peer.Address(),
                            .user = "u",
                            .password = "p",
                            .security = Security::Tls,
                            .protocol = way.protocol}};
        dialog.show();
        Select(dialog, 0);
        Click(dialog, "certificate");
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(QString::fromStdString(Column(dialog.accounts, &Account::certificate).at(0)),
                  boxes.shown[0].text.section("SHA-256: ", 1).section('\n', 0, 0));
        EXPECT_EQ(peer.Received(0), way.sent + kCloseNotify);
    }
}

// Trusting a certificate offers it to the other accounts on the same server
// and port that show one; the security fetched with is the one chosen now.
TEST(MailboxesSecurityTest, TrustGoesToTheOtherAccountsOnTheSameServerWhenAsked) {
    testpki::TestAuthority authority;
    const testpki::IssuedCertificate own = authority.Issue({{"127.0.0.1"}, -1, 30, true});
    ScriptedPeer peer(Script{AcceptTls(own.certificateFile, own.keyFile), Send("+OK ready\r\n"),
                             Reply("+OK bye\r\n")});
    const std::string server = peer.Address();
    RecordingMessageBoxes boxes;
    boxes.answers = {MessageBoxes::Answer::Yes, MessageBoxes::Answer::Yes};
    CMailboxesDlg dialog(boxes);
    dialog.accounts = {{server, "a", "", Security::None},
                       {server, "b", "", Security::Tls},
                       {server, "c", "", Security::None},
                       {"127.0.0.1:1", "d", "", Security::Tls},
                       {server, "e", "", Security::Tls, "AA:BB"}};
    dialog.show();
    Select(dialog, 0);
    Choice(dialog)->setCurrentIndex(2); // SSL/TLS, not yet added
    Click(dialog, "certificate");
    ASSERT_EQ(boxes.shown.size(), 2u);
    const QString fingerprint = boxes.shown[0].text.section("SHA-256: ", 1).section('\n', 0, 0);
    ASSERT_EQ(fingerprint.size(), 95);
    EXPECT_EQ(boxes.shown[1].text,
              "Trust this certificate also for the other accounts on this server: b@" +
                  QString::fromStdString(server) + ", e@" + QString::fromStdString(server) + "?");
    const std::string pinned = fingerprint.toStdString();
    EXPECT_EQ(Column(dialog.accounts, &Account::certificate),
              (std::vector<std::string>{pinned, pinned, "", "", pinned}));
}

// A certificate this computer trusts needs nothing added: no pin is offered,
// and one kept from before can be given up.
TEST(MailboxesSecurityTest, ACertificateTrustedByThisComputerIsSaidToBeSo) {
    testpki::TestAuthority authority;
    const testpki::IssuedCertificate issued = authority.Issue({{"127.0.0.1"}});
    ::setenv("SSL_CERT_FILE", authority.AuthorityFile().c_str(), 1);
    const Script session{AcceptTls(issued.certificateFile, issued.keyFile), Send("+OK ready\r\n"),
                         Reply("+OK bye\r\n")};
    ScriptedPeer peer(std::vector<Script>{session, session});
    RecordingMessageBoxes boxes;
    boxes.answers = {MessageBoxes::Answer::Yes};
    CMailboxesDlg dialog(boxes);
    dialog.accounts = {{peer.Address(), "a", "", Security::Tls},
                       {peer.Address(), "b", "", Security::Tls, "AA"}};
    dialog.show();
    Select(dialog, 0);
    Click(dialog, "certificate");
    Select(dialog, 1);
    Click(dialog, "certificate");
    ::unsetenv("SSL_CERT_FILE");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].icon, MessageBoxes::Icon::Information);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        "This certificate is trusted by this computer; nothing to add.\n\nServer: "));
    EXPECT_EQ(boxes.shown[1].icon, MessageBoxes::Icon::Question);
    EXPECT_TRUE(boxes.shown[1].text.contains("also trusts one certificate by hand (SHA-256 AA)"));
    EXPECT_EQ(Column(dialog.accounts, &Account::certificate), (std::vector<std::string>{"", ""}));
}

// A server that never answers the handshake: Cancel ends the wait at once,
// and nothing is asked or changed.
TEST(MailboxesSecurityTest, CancelEndsTheFetch) {
    ScriptedPeer peer(Script{Stall()});
    RecordingMessageBoxes boxes;
    CMailboxesDlg dialog(boxes);
    dialog.accounts = {{peer.Address(), "u", "p", Security::Tls, "AA"}};
    dialog.show();
    Select(dialog, 0);
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        auto* fetching = dialog.findChild<QWidget*>("certificateFetch");
        if (fetching != nullptr && fetching->isVisible()) {
            Click(*fetching, "cancel");
        }
    });
    cancel.start(50);
    Click(dialog, "certificate");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(Column(dialog.accounts, &Account::certificate), (std::vector<std::string>{"AA"}));
}

// Folders... signs in with the fields as they stand (a password typed for the
// keyring, a command's) and offers the server's folders, the watched ones
// ticked and those it did not list after them; what is ticked goes to the
// field, and Cancel or a failure leaves it.
TEST(MailboxesSecurityTest, FoldersOffersTheServersFoldersToTick) {
    const Script listing =
        ImapLogin() + Script{Tagged("OK listed", "* LIST (\\HasNoChildren) \"/\" INBOX\r\n"
                                                 "* LIST (\\Noselect) \"/\" Lists\r\n"
                                                 "* LIST () \"/\" \"Lists/tarvo\"\r\n"
                                                 "* LIST () \"/\" \"Entw&APw-rfe\"\r\n"),
                             Tagged("OK bye", "* BYE\r\n")};
    const std::string listed = kImapLogin + "a2 LIST \"\" \"*\"\r\na3 LOGOUT\r\n";
    const Script refused{Send("* OK [CAPABILITY IMAP4rev1] ready\r\n"),
                         Tagged("NO [AUTHENTICATIONFAILED] Invalid credentials"), Tagged("OK bye")};
    const Texts offered = {"INBOX +", "Lists/tarvo", "Entwürfe", "Old (not listed) +"};
    struct Case {
        const char* what;
        Script script;
        SecretSourceKind source;
        const char* typed; // into the password field
        Texts tick;        // in the choice, then OK; none: Cancel
        bool cancelFetch;
        Texts offered;
        std::string box;
        const char* folders; // the field afterwards
        std::string sent;
    };
    const std::vector<Case> cases = {
        {"ticked, with a password typed for the keyring",
         listing,
         SecretSourceKind::Keyring,
         "pw",
         {"Lists/tarvo", "Entwürfe", "Old (not listed)"},
         false,
         offered,
         "",
         "Lists/tarvo, Entwürfe, Old",
         listed},
        {"cancelled in the choice, with a command's password",
         listing,
         SecretSourceKind::Command,
         "",
         {},
         false,
         offered,
         "",
         "INBOX, Old",
         listed},
        {"refused",
         refused,
         SecretSourceKind::File,
         "pw",
         {},
         false,
         {},
         "The server refused the login: NO [AUTHENTICATIONFAILED] Invalid credentials.",
         "INBOX, Old",
         kImapLogin + "a2 LOGOUT\r\n"},
        {"cancelled while fetching",
         {Stall()},
         SecretSourceKind::File,
         "pw",
         {},
         true,
         {},
         "",
         "INBOX, Old",
         ""},
    };
    for (const Case& c : cases) {
        ScriptedPeer peer(c.script);
        RecordingMessageBoxes boxes;
        CMailboxesDlg dialog(boxes);
        dialog.accounts = {{.server = peer.Address(),
                            .user = "bob",
                            .secretSource = c.source,
                            .secretCommand = "echo pw",
                            .protocol = Protocol::Imap,
                            .folders = {"INBOX", "Old"}}};
        dialog.show();
        Select(dialog, 0);
        Child<QLineEdit>(dialog, "password")->setText(c.typed);
        Texts shown;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* fetching = dialog.findChild<QWidget*>("folderFetch");
            if (c.cancelFetch && fetching != nullptr && fetching->isVisible()) {
                Click(*fetching, "cancel");
            }
            auto* choice = dialog.findChild<QWidget*>("folderChoice");
            if (choice == nullptr || !choice->isVisible()) {
                return;
            }
            auto* list = Child<QListWidget>(*choice, "folders");
            for (int i = 0; i < list->count(); ++i) {
                QListWidgetItem* item = list->item(i);
                const std::string name = item->text().toStdString();
                shown.push_back(name + (item->checkState() == Qt::Checked ? " +" : ""));
                const bool tick = std::find(c.tick.begin(), c.tick.end(), name) != c.tick.end();
                item->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
            }
            Click(*choice, c.tick.empty() ? "cancel" : "ok");
        });
        answer.start(20);
        Click(dialog, "fetchFolders");
        answer.stop();
        EXPECT_EQ(shown, c.offered) << c.what;
        ASSERT_EQ(boxes.shown.size(), c.box.empty() ? 0u : 1u) << c.what;
        if (!c.box.empty()) {
            EXPECT_EQ(boxes.shown[0].text.toStdString(), c.box) << c.what;
        }
        EXPECT_EQ(Child<QLineEdit>(dialog, "folders")->text().toStdString(), c.folders) << c.what;
        EXPECT_EQ(peer.Received(0), c.sent) << c.what;
    }
}

} // namespace
