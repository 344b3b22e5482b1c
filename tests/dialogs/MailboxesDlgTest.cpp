#include "MailboxesDlg.h"

#include "DialogTest.h"

#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

namespace {

struct Fields {
    std::string server, user, password;
    bool operator==(const Fields&) const = default;
};

class MailboxesDlgTest : public testing::Test {
protected:
    void Open(const AccountList& accounts) {
        dialog.accounts = accounts;
        dialog.show();
    }
    QLineEdit* Field(const char* name) { return Child<QLineEdit>(dialog, name); }
    void Fill(const Fields& f) {
        Field("server")->setText(QString::fromStdString(f.server));
        Field("user")->setText(QString::fromStdString(f.user));
        Field("password")->setText(QString::fromStdString(f.password));
    }
    Fields Shown() {
        return {Field("server")->text().toStdString(), Field("user")->text().toStdString(),
                Field("password")->text().toStdString()};
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        auto* list = Child<QTreeWidget>(dialog, "list");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            lines.push_back(list->topLevelItem(i)->text(0).toStdString());
        }
        return lines;
    }
    void ClickLine(int line) {
        auto* list = Child<QTreeWidget>(dialog, "list");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(line)).center());
    }

    CMailboxesDlg dialog;
};

const AccountList kTwo = {{"pop.a", "pop.b"}, {"ua", "ub"}, {"pa", "pb"}};

TEST_F(MailboxesDlgTest, AddCreatesOrUpdatesByExactServerName) {
    struct Case {
        const char* what;
        AccountList before;
        Fields typed;
        AccountList after;
        Fields left;
    };
    const std::vector<Case> cases = {
        {"first account", {}, {"pop.a", "u", "p"}, {{"pop.a"}, {"u"}, {"p"}}, {}},
        {"trimmed with the C white-space set",
         {},
         {" \t\v\f pop.a \r\n", " u ", " p "},
         {{"pop.a"}, {" u "}, {" p "}},
         {}},
        {"empty user and password",
         kTwo,
         {"pop.c", "", ""},
         {{"pop.a", "pop.b", "pop.c"}, {"ua", "ub", ""}, {"pa", "pb", ""}},
         {}},
        {"same name updates in place",
         kTwo,
         {"pop.b", "new", "secret"},
         {{"pop.a", "pop.b"}, {"ua", "new"}, {"pa", "secret"}},
         {}},
        {"other letter case is another account",
         kTwo,
         {"POP.A", "x", "y"},
         {{"pop.a", "pop.b", "POP.A"}, {"ua", "ub", "x"}, {"pa", "pb", "y"}},
         {}},
        {"every account of the name is updated",
         {{"pop.a", "pop.b", "pop.a"}, {"1", "2", "3"}, {"1", "2", "3"}},
         {"pop.a", "u", "p"},
         {{"pop.a", "pop.b", "pop.a"}, {"u", "2", "u"}, {"p", "2", "p"}},
         {}},
        {"blank server adds nothing", kTwo, {" \t ", "u", "p"}, kTwo, {"", "u", "p"}},
    };
    for (const Case& c : cases) {
        CMailboxesDlg mailboxes;
        mailboxes.accounts = c.before;
        mailboxes.show();
        Child<QLineEdit>(mailboxes, "server")->setText(QString::fromStdString(c.typed.server));
        Child<QLineEdit>(mailboxes, "user")->setText(QString::fromStdString(c.typed.user));
        Child<QLineEdit>(mailboxes, "password")->setText(QString::fromStdString(c.typed.password));
        Click(mailboxes, "add");
        EXPECT_EQ(mailboxes.accounts, c.after) << c.what;
        EXPECT_EQ(Child<QTreeWidget>(mailboxes, "list")->topLevelItemCount(),
                  static_cast<int>(c.after.size()))
            << c.what;
        EXPECT_EQ(Child<QLineEdit>(mailboxes, "server")->text().toStdString(), c.left.server)
            << c.what;
        EXPECT_EQ(Child<QLineEdit>(mailboxes, "user")->text().toStdString(), c.left.user) << c.what;
    }
}

TEST_F(MailboxesDlgTest, DeleteRemovesEveryEqualAccountAndKeepsTheFields) {
    struct Case {
        const char* what;
        AccountList before;
        const char* server;
        AccountList after;
    };
    const std::vector<Case> cases = {
        {"one match", kTwo, "pop.a", {{"pop.b"}, {"ub"}, {"pb"}}},
        {"trailing space is not trimmed", kTwo, "pop.a ", kTwo},
        {"no match", kTwo, "pop.z", kTwo},
        {"neighbours of the same name",
         {{"pop.a", "pop.a", "pop.b", "pop.a"}, {"1", "2", "3", "4"}, {"1", "2", "3", "4"}},
         "pop.a",
         {{"pop.b"}, {"3"}, {"3"}}},
    };
    for (const Case& c : cases) {
        CMailboxesDlg mailboxes;
        mailboxes.accounts = c.before;
        mailboxes.show();
        Child<QLineEdit>(mailboxes, "server")->setText(QString::fromLatin1(c.server));
        Child<QLineEdit>(mailboxes, "user")->setText("kept");
        Click(mailboxes, "delete");
        EXPECT_EQ(mailboxes.accounts, c.after) << c.what;
        EXPECT_EQ(Child<QTreeWidget>(mailboxes, "list")->topLevelItemCount(),
                  static_cast<int>(c.after.size()))
            << c.what;
        EXPECT_EQ(Child<QLineEdit>(mailboxes, "server")->text(), QString::fromLatin1(c.server));
        EXPECT_EQ(Child<QLineEdit>(mailboxes, "user")->text(), "kept");
    }
}

TEST_F(MailboxesDlgTest, CaptionFollowsTheCount) {
    Open({});
    EXPECT_EQ(dialog.windowTitle(), "No servers to check");
    Fill({"pop.a", "u", "p"});
    Click(dialog, "add");
    EXPECT_EQ(dialog.windowTitle(), "1 server(s) to check");
    Fill({"pop.b", "u", "p"});
    Click(dialog, "add");
    Fill({"pop.b", "u2", "p2"});
    Click(dialog, "add");
    EXPECT_EQ(dialog.windowTitle(), "2 server(s) to check");
    Fill({"pop.a", "", ""});
    Click(dialog, "delete");
    Click(dialog, "delete");
    EXPECT_EQ(dialog.windowTitle(), "1 server(s) to check");
    EXPECT_EQ(Lines(), std::vector<std::string>{"pop.b"});
}

TEST_F(MailboxesDlgTest, LineClickFillsTheFieldsThenDeleteRemovesThatAccount) {
    Open(kTwo);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"pop.a", "pop.b"}));
    ClickLine(1);
    EXPECT_EQ(Shown(), (Fields{"pop.b", "ub", "pb"}));
    EXPECT_EQ(Field("password")->echoMode(), QLineEdit::Password);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts, (AccountList{{"pop.a"}, {"ua"}, {"pa"}}));
    EXPECT_EQ(Lines(), std::vector<std::string>{"pop.a"});
    EXPECT_EQ(Shown(), (Fields{"pop.b", "ub", "pb"}));

    Fill({"typed", "", ""});
    auto* list = Child<QTreeWidget>(dialog, "list");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, {5, list->viewport()->height() - 3});
    EXPECT_EQ(Shown(), (Fields{"typed", "", ""}));
}

TEST_F(MailboxesDlgTest, BytesThatAreNotUtf8SurviveAClickAndAnUpdate) {
    const AccountList latin = {{"caf\xe9"}, {"r\xf6n"}, {"\xff\xfe!"}};
    Open(latin);
    ClickLine(0);
    EXPECT_EQ(Field("server")->text(), QString::fromUtf8("caf\u00e9"));
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts, latin);

    ClickLine(0);
    Field("user")->setText("new");
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts, (AccountList{{"caf\xe9"}, {"new"}, {"\xff\xfe!"}}));

    ClickLine(0);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts.size(), 0u);
}

TEST_F(MailboxesDlgTest, EnterAddsAndBothWaysOutHandTheListsBack) {
    dialog.accounts = kTwo;
    int result = 0;
    QTimer::singleShot(0, &dialog, [this] {
        Field("server")->setFocus();
        QTest::keyClicks(Field("server"), "pop.c");
        QTest::keyClick(Field("server"), Qt::Key_Return);
        QTest::keyClick(Field("server"), Qt::Key_Escape);
    });
    result = dialog.DoModal();
    EXPECT_EQ(result, 2);
    EXPECT_EQ(dialog.accounts.servers, (std::vector<std::string>{"pop.a", "pop.b", "pop.c"}));

    CMailboxesDlg second;
    second.accounts = kTwo;
    QTimer::singleShot(0, &second, [&second] { Click(second, "done"); });
    EXPECT_EQ(second.DoModal(), 1);
    EXPECT_EQ(second.accounts, kTwo);
    EXPECT_FALSE(second.windowFlags() & Qt::WindowCloseButtonHint);
}

} // namespace
