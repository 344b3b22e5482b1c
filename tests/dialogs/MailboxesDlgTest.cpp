#include "MailboxesDlg.h"

#include "AccountColumns.h"
#include "DialogTest.h"
#include "SecretSource.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

using Texts = std::vector<std::string>;

QLineEdit* Field(const QWidget& dialog, const char* name) {
    return Child<QLineEdit>(dialog, name);
}

// Server, user, password and, when given, the folders.
void Fill(const QWidget& dialog, const Texts& fields) {
    const char* names[] = {"server", "user", "password", "folders"};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        Field(dialog, names[i])->setText(QString::fromStdString(fields[i]));
    }
}

Texts Shown(const QWidget& dialog) {
    return {Field(dialog, "server")->text().toStdString(),
            Field(dialog, "user")->text().toStdString(),
            Field(dialog, "password")->text().toStdString()};
}

// How the list shows each account.
Texts LinesOf(const AccountList& accounts) {
    Texts lines;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        lines.push_back(accounts[i].user.empty() ? accounts[i].server
                                                 : accounts[i].user + "@" + accounts[i].server);
    }
    return lines;
}

Texts Lines(const QWidget& dialog) {
    Texts lines;
    const auto* list = Child<QTreeWidget>(dialog, "list");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        lines.push_back(list->topLevelItem(i)->text(0).toStdString());
    }
    return lines;
}

void ClickAt(const QWidget& dialog, int line) {
    auto* list = Child<QTreeWidget>(dialog, "list");
    const QPoint below(5, list->viewport()->height() - 3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      line < 0 ? below : list->visualItemRect(list->topLevelItem(line)).center());
}

QString Caption(std::size_t count) {
    return count == 0 ? QStringLiteral("No servers to check")
                      : QStringLiteral("%1 server(s) to check").arg(count);
}

// Questions are answered Cancel unless a test scripts its answers.
RecordingMessageBoxes boxes;

const AccountList kTwo = {{"pop.a", "ua", "pa"}, {"pop.b", "ub", "pb"}};

struct Case {
    const char* what;
    AccountList before;
    const char* button;
    Texts typed;
    AccountList after;
    Texts left; // the fields afterwards
};

TEST(MailboxesDlgTest, AddAndDeleteWorkByExactServerAndUserName) {
    const Texts none = {"", "", ""};
    const AccountList shared = {{"pop.a", "alice", "pa"}, {"pop.a", "bob", "pb"}};
    const AccountList twins = {
        {"pop.a", "u", "1"}, {"pop.a", "v", "2"}, {"pop.b", "u", "3"}, {"pop.a", "u", "4"}};
    auto imap = [](const char* server, const char* password, Texts folders) {
        return Account{.server = server,
                       .user = "u",
                       .password = password,
                       .security = Security::Tls,
                       .protocol = Protocol::Imap,
                       .folders = std::move(folders)};
    };
    const std::vector<Case> cases = {
        {"first", {}, "add", {"pop.a", "u", "p"}, {{"pop.a", "u", "p", Security::Tls}}, none},
        {"a server not named pop is IMAP, its folders as typed",
         {},
         "add",
         {"mail.a", "u", "p", R"( Lists/x , INBOX,, "Work, 2023",inbox, " say ""hi""")"},
         {imap("mail.a", "p", {"Lists/x", "INBOX", "Work, 2023", " say \"hi\""})},
         none},
        {"typed in again, an account keeps its protocol, and its folders unless typed",
         {imap("pop.a", "p", {"Lists"})},
         "add",
         {"pop.a", "u", "new"},
         {imap("pop.a", "new", {"Lists"})},
         none},
        {"blank adds nothing", kTwo, "add", {" \t ", "u", "p"}, kTwo, {"", "u", "p"}},
        {"C white space trimmed",
         {},
         "add",
         {" \t\v\f pop.a \r\n", " u ", " p "},
         {{"pop.a", " u ", " p ", Security::Tls}},
         none},
        {"same server and user updates the password",
         kTwo,
         "add",
         {"pop.b", "ub", "new"},
         {{"pop.a", "ua", "pa", Security::None}, {"pop.b", "ub", "new", Security::Tls}},
         none},
        {"another user on a known server is a new account",
         kTwo,
         "add",
         {"pop.b", "new", ""},
         {{"pop.a", "ua", "pa", Security::None},
          {"pop.b", "ub", "pb", Security::None},
          {"pop.b", "new", "", Security::Tls}},
         none},
        {"an unchanged account stays one",
         shared,
         "add",
         {"pop.a", "bob", "pb"},
         {{"pop.a", "alice", "pa"}, {"pop.a", "bob", "pb", Security::Tls}},
         none},
        {"other case is new",
         kTwo,
         "add",
         {"POP.A", "x", "y"},
         {{"pop.a", "ua", "pa", Security::None},
          {"pop.b", "ub", "pb", Security::None},
          {"POP.A", "x", "y", Security::Tls}},
         none},
        {"every copy of one account updated",
         twins,
         "add",
         {"pop.a", "u", "p"},
         {{"pop.a", "u", "p", Security::Tls},
          {"pop.a", "v", "2"},
          {"pop.b", "u", "3"},
          {"pop.a", "u", "p", Security::Tls}},
         none},
        {"delete one",
         kTwo,
         "delete",
         {"pop.a", "ua", ""},
         {{"pop.b", "ub", "pb"}},
         {"pop.a", "ua", ""}},
        {"delete leaves the other user of the server",
         shared,
         "delete",
         {"pop.a", "bob", ""},
         {{"pop.a", "alice", "pa"}},
         {"pop.a", "bob", ""}},
        {"delete needs the user too",
         shared,
         "delete",
         {"pop.a", "carol", ""},
         shared,
         {"pop.a", "carol", ""}},
        {"delete is not trimmed", kTwo, "delete", {"pop.a ", "ua", ""}, kTwo, {"pop.a ", "ua", ""}},
        {"delete removes one copy",
         twins,
         "delete",
         {"pop.a", "u", ""},
         {{"pop.a", "v", "2"}, {"pop.b", "u", "3"}, {"pop.a", "u", "4"}},
         {"pop.a", "u", ""}},
    };
    for (const Case& c : cases) {
        CMailboxesDlg dialog(boxes);
        dialog.accounts = c.before;
        dialog.show();
        Fill(dialog, c.typed);
        Click(dialog, c.button);
        EXPECT_TRUE(boxes.shown.empty()) << c.what;
        EXPECT_EQ(dialog.accounts, c.after) << c.what;
        EXPECT_EQ(Lines(dialog), LinesOf(c.after)) << c.what;
        EXPECT_EQ(dialog.windowTitle(), Caption(c.after.size())) << c.what;
        EXPECT_EQ(Shown(dialog), c.left) << c.what;
    }
}

TEST(MailboxesDlgTest, LineClickFillsTheFieldsThenDeleteRemovesThatAccount) {
    CMailboxesDlg dialog(boxes);
    dialog.accounts = kTwo;
    dialog.show();
    ClickAt(dialog, 1);
    EXPECT_EQ(Shown(dialog), (Texts{"pop.b", "ub", "pb"}));
    EXPECT_EQ(Field(dialog, "password")->echoMode(), QLineEdit::Password);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts, (AccountList{{"pop.a", "ua", "pa"}}));
    EXPECT_EQ(Shown(dialog), (Texts{"pop.b", "ub", "pb"}));

    Fill(dialog, {"typed", "", ""});
    ClickAt(dialog, -1);
    EXPECT_EQ(Shown(dialog), (Texts{"typed", "", ""}));
}

// Two users of one server, and the same account stored twice: the selected
// line is the one that goes.
TEST(MailboxesDlgTest, DeleteTakesTheSelectedOfTwoLinesAndShowsUserAtServer) {
    const AccountList accounts = {
        {"pop.a", "alice", "pa"}, {"pop.a", "bob", "old"}, {"pop.a", "bob", "pb"}};
    CMailboxesDlg dialog(boxes);
    dialog.accounts = accounts;
    dialog.show();
    EXPECT_EQ(Lines(dialog), (Texts{"alice@pop.a", "bob@pop.a", "bob@pop.a"}));
    ClickAt(dialog, 2);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts, (AccountList{{"pop.a", "alice", "pa"}, {"pop.a", "bob", "old"}}));
    EXPECT_EQ(Lines(dialog), (Texts{"alice@pop.a", "bob@pop.a"}));
}

TEST(MailboxesDlgTest, BytesThatAreNotUtf8SurviveAClickAndAnUpdate) {
    const AccountList latin = {{.server = "caf\xe9",
                                .user = "r\xf6n",
                                .password = "\xff\xfe!",
                                .protocol = Protocol::Imap,
                                .folders = {"Entw\xfcrfe", "\xe9t\xe9, hiver"}}};
    CMailboxesDlg dialog(boxes);
    dialog.accounts = latin;
    dialog.show();
    ClickAt(dialog, 0);
    EXPECT_EQ(Field(dialog, "server")->text(), QString::fromUtf8("caf\u00e9"));
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts, latin);

    ClickAt(dialog, 0);
    Field(dialog, "password")->setText("new");
    Click(dialog, "add");
    EXPECT_EQ(Column(dialog.accounts, &Account::password), (Texts{"new"}));
    EXPECT_EQ(Column(dialog.accounts, &Account::folders), Column(latin, &Account::folders));
    ClickAt(dialog, 0);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts.size(), 0u);
}

// The protocol shown is the account's, or for a new account what the
// server's name says until the user picks one; folders are for IMAP alone.
TEST(MailboxesDlgTest, ProtocolAndFoldersGoWithTheAccount) {
    CMailboxesDlg dialog(boxes);
    dialog.accounts = {{"pop.a", "ua", "pa"},
                       {.server = "mail.b",
                        .user = "ub",
                        .protocol = Protocol::Imap,
                        .folders = {"INBOX", "Work, 2023"}}};
    const AccountList before = dialog.accounts;
    dialog.show();
    auto* protocol = Child<QComboBox>(dialog, "protocol");
    QLineEdit* folders = Field(dialog, "folders");
    auto state = [&] {
        EXPECT_EQ(Child<QPushButton>(dialog, "fetchFolders")->isEnabled(), folders->isEnabled());
        return Texts{protocol->currentText().toStdString(),
                     Child<QLabel>(dialog, "serverLabel")->text().toStdString(),
                     folders->text().toStdString(), folders->isEnabled() ? "typed" : "off"};
    };
    auto choose = [&](int index) {
        protocol->setCurrentIndex(index);
        emit protocol->activated(index);
    };
    EXPECT_EQ(state(), (Texts{"IMAP", "IMAP Server:", "", "typed"}));
    EXPECT_EQ(folders->placeholderText(), "INBOX");
    Fill(dialog, {"pop3.c"});
    EXPECT_EQ(state(), (Texts{"POP3", "POP3 Server:", "", "off"}));
    ClickAt(dialog, 1);
    EXPECT_EQ(state(), (Texts{"IMAP", "IMAP Server:", R"(INBOX, "Work, 2023")", "typed"}));
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts, before);

    // A POP3 account made IMAP at Add.
    ClickAt(dialog, 0);
    EXPECT_EQ(state(), (Texts{"POP3", "POP3 Server:", "", "off"}));
    choose(1);
    Fill(dialog, {"pop.a", "ua", "pa", "Lists"});
    Click(dialog, "add");
    EXPECT_EQ(Column(dialog.accounts, &Account::protocol),
              (std::vector{Protocol::Imap, Protocol::Imap}));
    EXPECT_EQ(dialog.accounts[0].folders, (Texts{"Lists"}));
    EXPECT_EQ(state(), (Texts{"IMAP", "IMAP Server:", "", "typed"}));

    // Picked, the protocol no longer follows the name.
    choose(0);
    Fill(dialog, {"mail.d", "ud", "pd"});
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts.back().protocol, Protocol::Pop3);
    EXPECT_EQ(Lines(dialog), (Texts{"ua@pop.a", "ub@mail.b", "ud@mail.d"}));
}

// The dialog comes up active, and what the user types at once goes to the
// server field, at the first start as later.
TEST(MailboxesDlgTest, EnterAddsAndBothWaysOutHandTheListsBack) {
    for (const bool done : {false, true}) {
        CMailboxesDlg dialog(boxes);
        dialog.accounts = done ? kTwo : AccountList{};
        QTimer::singleShot(0, &dialog, [&dialog, done] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            QWidget* typedInto = QApplication::focusWidget();
            EXPECT_EQ(typedInto, Field(dialog, "server"));
            QTest::keyClicks(typedInto, "pop.c");
            QTest::keyClick(typedInto, Qt::Key_Return);
            done ? Click(dialog, "done") : QTest::keyClick(typedInto, Qt::Key_Escape);
        });
        EXPECT_EQ(dialog.DoModal(), done ? 1 : 2);
        EXPECT_EQ(Column(dialog.accounts, &Account::server),
                  done ? (Texts{"pop.a", "pop.b", "pop.c"}) : Texts{"pop.c"});
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    }
}

// Done with an account in the fields that Add would add or change asks
// first, as what it is: Yes adds it or saves the changes, No leaves without
// them, Cancel stays in the dialog.
TEST(MailboxesDlgTest, DoneAsksAboutAnAccountTypedButNotAdded) {
    using Answer = MessageBoxes::Answer;
    // At the choice the fields start with, so that only the typed fields differ.
    const Account imap{.server = "mail.c",
                       .user = "uc",
                       .password = "pc",
                       .security = Security::Tls,
                       .protocol = Protocol::Imap,
                       .folders = {"INBOX", "Lists"}};
    const AccountList two = {
        {"pop.a", "ua", "pa", Security::Tls}, {"pop.b", "ub", "pb", Security::Tls}, imap};
    const AccountList withNew = {{"pop.a", "ua", "pa", Security::Tls},
                                 {"pop.b", "ub", "pb", Security::Tls},
                                 imap,
                                 {"pop.a", "dora", "pd", Security::Tls}};
    AccountList changed = two;
    changed[0].password = "new";
    const QString add = "Add dora@pop.a before closing?";
    struct DoneCase {
        const char* what;
        Texts typed;
        std::vector<Answer> answers;
        QString asked; // empty: nothing
        bool closed;
        AccountList after;
    };
    const std::vector<DoneCase> cases = {
        {"yes adds", {" pop.a ", "dora", "pd"}, {Answer::Yes}, add, true, withNew},
        {"no leaves without it", {"pop.a", "dora", "pd"}, {Answer::No}, add, true, two},
        {"cancel stays", {"pop.a", "dora", "pd"}, {Answer::Cancel}, add, false, two},
        {"a changed password counts",
         {"pop.a", "ua", "new"},
         {Answer::No},
         "Save the changes to ua@pop.a before closing?",
         true,
         two},
        {"yes saves the changes",
         {" pop.a", "ua", "new"},
         {Answer::Yes},
         "Save the changes to ua@pop.a before closing?",
         true,
         changed},
        {"the selected account unchanged", {"pop.b", "ub", "pb"}, {}, "", true, two},
        {"changed folders count",
         {"mail.c", "uc", "pc", "Lists"},
         {Answer::No},
         "Save the changes to uc@mail.c before closing?",
         true,
         two},
        {"the same folders", {"mail.c", "uc", "pc", "INBOX, Lists"}, {}, "", true, two},
        {"no folders typed keeps them", {"mail.c", "uc", "pc"}, {}, "", true, two},
        {"blank server", {"  ", "dora", "pd"}, {}, "", true, two},
    };
    for (const DoneCase& c : cases) {
        boxes = {};
        boxes.answers = c.answers;
        CMailboxesDlg dialog(boxes);
        dialog.accounts = two;
        dialog.show();
        Fill(dialog, c.typed);
        Click(dialog, "done");
        QStringList asked;
        for (const RecordingMessageBoxes::Box& box : boxes.shown) {
            asked.push_back(box.text);
        }
        EXPECT_EQ(asked, c.asked.isEmpty() ? QStringList() : QStringList{c.asked}) << c.what;
        EXPECT_EQ(dialog.isVisible(), !c.closed) << c.what;
        EXPECT_EQ(dialog.result(), c.closed ? QDialog::Accepted : QDialog::Rejected) << c.what;
        EXPECT_EQ(dialog.accounts, c.after) << c.what;
    }
    boxes = {};
}

// The sign-in and the password's source go with their account; a password
// moves to the keyring only once the keyring took it, the wait for it shown
// and cancellable, or to this file where the user says so; and what the
// source does not use cannot be typed.
TEST(MailboxesDlgTest, SignInAndPasswordSourceGoWithTheAccount) {
    using Answer = MessageBoxes::Answer;
    RecordingMessageBoxes boxes;
    std::vector<Texts> written;
    std::string keyringAnswer = "The collection is locked.";
    bool cancelWait = false;
    const QWidget* owner = nullptr;
    CMailboxesDlg dialog(boxes, nullptr,
                         [&](const std::string& server, const std::string& user,
                             const std::string& password, const SecretWait& wait) {
                             written.push_back({server, user, password});
                             auto* waiting = owner->findChild<QWidget*>("keyringWait");
                             EXPECT_TRUE(waiting != nullptr && waiting->isVisible());
                             if (cancelWait && waiting != nullptr) {
                                 Click(*waiting, "cancel");
                                 EXPECT_TRUE(wait.stopped());
                                 return std::string("The keyring: stopped.");
                             }
                             return keyringAnswer;
                         });
    owner = &dialog;
    dialog.accounts = {
        {"pop.a", "ua", "pa", Security::Tls, "", SignInMethod::Automatic, SecretSourceKind::File},
        {"pop.b", "ub", "", Security::Tls, "", SignInMethod::OAuth2, SecretSourceKind::Command,
         "pass show b"}};
    dialog.show();
    auto* signIn = Child<QComboBox>(dialog, "signIn");
    auto* source = Child<QComboBox>(dialog, "source");
    auto* command = Field(dialog, "secretCommand");
    auto enabled = [&] {
        return std::pair{Field(dialog, "password")->isEnabled(), command->isEnabled()};
    };
    auto choose = [&](int index) {
        source->setCurrentIndex(index);
        emit source->activated(index);
    };
    EXPECT_EQ(source->currentText(), "Keyring");
    EXPECT_EQ(enabled(), std::pair(true, false));

    ClickAt(dialog, 1);
    EXPECT_EQ(signIn->currentText(), "OAuth 2.0");
    EXPECT_EQ(source->currentText(), "Command");
    EXPECT_EQ(command->text(), "pass show b");
    EXPECT_EQ(enabled(), std::pair(false, true));
    choose(3);
    EXPECT_EQ(enabled(), std::pair(false, false));
    choose(0);
    EXPECT_EQ(enabled(), std::pair(true, false));

    // Into the keyring: refused, the user is asked whether to keep the
    // password in this file instead; No leaves the account and the fields.
    ClickAt(dialog, 0);
    choose(1);
    Click(dialog, "add");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The keyring did not take the password of ua@pop.a:\nThe collection is "
              "locked.\n\nKeep the password in Tarvo's settings file instead?");
    EXPECT_EQ(dialog.accounts[0].password, "pa");
    EXPECT_EQ(dialog.accounts[0].secretSource, SecretSourceKind::File);
    EXPECT_EQ(Shown(dialog), (Texts{"pop.a", "ua", "pa"}));
    EXPECT_EQ(source->currentText(), "Keyring");
    keyringAnswer.clear();
    signIn->setCurrentIndex(1);
    Click(dialog, "add");
    EXPECT_EQ(written, (std::vector<Texts>{{"pop.a", "ua", "pa"}, {"pop.a", "ua", "pa"}}));
    EXPECT_EQ(dialog.accounts[0].password, "");
    EXPECT_EQ(dialog.accounts[0].secretSource, SecretSourceKind::Keyring);
    EXPECT_EQ(dialog.accounts[0].signIn, SignInMethod::PasswordOnly);

    // A new account's password goes to the keyring when one answers, else
    // to this file if the user says so, else nowhere; Cancel while waiting
    // for the keyring keeps nothing and asks nothing. An untouched source
    // keeps a known account's.
    Fill(dialog, {"pop.c", "uc", "pc"});
    Click(dialog, "add");
    keyringAnswer = "No keyring is running.";
    boxes.answers = {Answer::Yes, Answer::No};
    Fill(dialog, {"pop.d", "ud", "pd"});
    Click(dialog, "add");
    Fill(dialog, {"pop.e", "ue", "pe"});
    Click(dialog, "add");
    EXPECT_EQ(Shown(dialog), (Texts{"pop.e", "ue", "pe"}));
    cancelWait = true;
    Click(dialog, "add");
    EXPECT_EQ(Shown(dialog), (Texts{"pop.e", "ue", "pe"}));
    Fill(dialog, {"pop.b", "ub", ""});
    Click(dialog, "add");
    EXPECT_EQ(Column(dialog.accounts, &Account::password), (Texts{"", "", "", "pd"}));
    EXPECT_EQ(Column(dialog.accounts, &Account::secretSource),
              (std::vector{SecretSourceKind::Keyring, SecretSourceKind::Command,
                           SecretSourceKind::Keyring, SecretSourceKind::File}));
    EXPECT_EQ(Column(dialog.accounts, &Account::secretCommand), (Texts{"", "pass show b", "", ""}));
    EXPECT_EQ(written.size(), 6u);
    EXPECT_EQ(boxes.shown.size(), 3u);

    // A command edited but not added is not left behind without a question.
    ClickAt(dialog, 1);
    command->setText("pass show b2");
    Click(dialog, "done");
    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[3].text, "Save the changes to ub@pop.b before closing?");
}

} // namespace
