#include "MailboxesDlg.h"

#include "DialogTest.h"

#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

namespace {

using Texts = std::vector<std::string>;

QLineEdit* Field(const QWidget& dialog, const char* name) {
    return Child<QLineEdit>(dialog, name);
}

void Fill(const QWidget& dialog, const Texts& fields) {
    const char* names[] = {"server", "user", "password"};
    for (std::size_t i = 0; i < 3; ++i) {
        Field(dialog, names[i])->setText(QString::fromStdString(fields[i]));
    }
}

Texts Shown(const QWidget& dialog) {
    return {Field(dialog, "server")->text().toStdString(),
            Field(dialog, "user")->text().toStdString(),
            Field(dialog, "password")->text().toStdString()};
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

const AccountList kTwo = {{"pop.a", "pop.b"}, {"ua", "ub"}, {"pa", "pb"}};
// No box is expected from Add, Delete or a click.
RecordingMessageBoxes boxes;

struct Case {
    const char* what;
    AccountList before;
    const char* button;
    Texts typed;
    AccountList after;
    Texts left; // the fields afterwards
};

TEST(MailboxesDlgTest, AddAndDeleteWorkByExactServerName) {
    const Texts none = {"", "", ""};
    const AccountList dup = {
        {"pop.a", "pop.a", "pop.b", "pop.a"}, {"1", "2", "3", "4"}, {"1", "2", "3", "4"}};
    const std::vector<Case> cases = {
        {"first", {}, "add", {"pop.a", "u", "p"}, {{"pop.a"}, {"u"}, {"p"}, {2}}, none},
        {"blank adds nothing", kTwo, "add", {" \t ", "u", "p"}, kTwo, {"", "u", "p"}},
        {"C white space trimmed",
         {},
         "add",
         {" \t\v\f pop.a \r\n", " u ", " p "},
         {{"pop.a"}, {" u "}, {" p "}, {2}},
         none},
        {"same name updates",
         kTwo,
         "add",
         {"pop.b", "new", ""},
         {{"pop.a", "pop.b"}, {"ua", "new"}, {"pa", ""}, {0, 2}},
         none},
        {"other case is new",
         kTwo,
         "add",
         {"POP.A", "x", "y"},
         {{"pop.a", "pop.b", "POP.A"}, {"ua", "ub", "x"}, {"pa", "pb", "y"}, {0, 0, 2}},
         none},
        {"every namesake updated",
         dup,
         "add",
         {"pop.a", "u", "p"},
         {dup.servers, {"u", "u", "3", "u"}, {"p", "p", "3", "p"}, {2, 2, 0, 2}},
         none},
        {"delete one",
         kTwo,
         "delete",
         {"pop.a", "k", ""},
         {{"pop.b"}, {"ub"}, {"pb"}},
         {"pop.a", "k", ""}},
        {"delete is not trimmed", kTwo, "delete", {"pop.a ", "", ""}, kTwo, {"pop.a ", "", ""}},
        {"delete every namesake",
         dup,
         "delete",
         {"pop.a", "", ""},
         {{"pop.b"}, {"3"}, {"3"}},
         {"pop.a", "", ""}},
    };
    for (const Case& c : cases) {
        CMailboxesDlg dialog(boxes);
        dialog.accounts = c.before;
        dialog.show();
        Fill(dialog, c.typed);
        Click(dialog, c.button);
        EXPECT_EQ(dialog.accounts, c.after) << c.what;
        EXPECT_EQ(Lines(dialog), c.after.servers) << c.what;
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
    EXPECT_EQ(dialog.accounts, (AccountList{{"pop.a"}, {"ua"}, {"pa"}}));
    EXPECT_EQ(Shown(dialog), (Texts{"pop.b", "ub", "pb"}));

    Fill(dialog, {"typed", "", ""});
    ClickAt(dialog, -1);
    EXPECT_EQ(Shown(dialog), (Texts{"typed", "", ""}));
}

TEST(MailboxesDlgTest, BytesThatAreNotUtf8SurviveAClickAndAnUpdate) {
    const AccountList latin = {{"caf\xe9"}, {"r\xf6n"}, {"\xff\xfe!"}};
    CMailboxesDlg dialog(boxes);
    dialog.accounts = latin;
    dialog.show();
    ClickAt(dialog, 0);
    EXPECT_EQ(Field(dialog, "server")->text(), QString::fromUtf8("caf\u00e9"));
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts, latin);

    ClickAt(dialog, 0);
    Field(dialog, "user")->setText("new");
    Click(dialog, "add");
    EXPECT_EQ(dialog.accounts, (AccountList{{"caf\xe9"}, {"new"}, {"\xff\xfe!"}}));
    ClickAt(dialog, 0);
    Click(dialog, "delete");
    EXPECT_EQ(dialog.accounts.size(), 0u);
}

TEST(MailboxesDlgTest, EnterAddsAndBothWaysOutHandTheListsBack) {
    for (const bool done : {false, true}) {
        CMailboxesDlg dialog(boxes);
        dialog.accounts = kTwo;
        QTimer::singleShot(0, &dialog, [&dialog, done] {
            QLineEdit* server = Field(dialog, "server");
            server->setFocus();
            QTest::keyClicks(server, "pop.c");
            QTest::keyClick(server, Qt::Key_Return);
            done ? Click(dialog, "done") : QTest::keyClick(server, Qt::Key_Escape);
        });
        EXPECT_EQ(dialog.DoModal(), done ? 1 : 2);
        EXPECT_EQ(dialog.accounts.servers, (Texts{"pop.a", "pop.b", "pop.c"}));
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    }
}

} // namespace
