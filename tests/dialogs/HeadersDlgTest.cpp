#include "HeadersDlg.h"

#include "DialogTest.h"
#include "TableColumns.h"
#include "TarvoResources.h"
#include "resource.h"

#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace {

struct Row {
    const char* subject;
    const char* from;
    const char* header;
    uint32_t state;
};

std::shared_ptr<const MessageTable> TableOf(const std::vector<Row>& rows) {
    auto table = std::make_shared<MessageTable>();
    for (const Row& row : rows) {
        if (row.state == MessageError) {
            table->AppendError(row.subject, "pop.example.org", row.header);
        } else {
            const std::string_view text = row.header;
            table->AppendMessage(ScannedHeader(row.subject, row.from, "(none)", text, text.size()),
                                 "pop.example.org", static_cast<MessageState>(row.state));
        }
    }
    return table;
}

QImage Image(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

class HeadersDlgTest : public testing::Test {
protected:
    void Open(const std::vector<Row>& rows) {
        dialog.SetTable(TableOf(rows));
        dialog.show();
        list = Child<QTreeView>(dialog, "list");
    }

    RecordingMessageBoxes boxes;
    CHeadersDlg dialog{boxes};
    QTreeView* list = nullptr;
};

const Row kNew = {"Lunch", "ann@example.org", "Subject: Lunch\r\nFrom: ann@example.org\r\n",
                  MessageNew};
const Row kPending = {"Old news", "bob@example.org", "Subject: Old news\r\n", MessagePending};
const Row kError = {"Connection refused", "", "", MessageError};

TEST_F(HeadersDlgTest, CaptionCountsRowsByStateAndPicksTheIcon) {
    struct Case {
        std::vector<Row> rows;
        const char* caption;
        int icon;
    };
    const std::vector<Case> cases = {
        {{}, "No new messages.", IDI_IDLE},
        {{kPending, kPending}, "0 new message(s), 2 pending, 0 error(s)", IDI_UNREAD},
        {{kError}, "0 new message(s), 0 pending, 1 error(s)", IDI_UNREAD},
        {{kNew, kError, kPending, kNew, kError},
         "2 new message(s), 1 pending, 2 error(s)",
         IDI_UNREAD},
        // A state the check never produces counts nowhere.
        {{kNew, {"odd", "", "", 7}}, "1 new message(s), 0 pending, 0 error(s)", IDI_UNREAD},
    };
    for (const Case& c : cases) {
        RecordingMessageBoxes caseBoxes;
        CHeadersDlg headers(caseBoxes);
        headers.SetTable(TableOf(c.rows));
        headers.show();
        EXPECT_EQ(headers.windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_EQ(Image(headers.windowIcon()), Image(TarvoIcon(c.icon))) << c.caption;
        EXPECT_EQ(LineCount(Child<QTreeView>(headers, "list")), static_cast<int>(c.rows.size()));
    }
}

TEST_F(HeadersDlgTest, LinesShowTextsAndTheImageOfTheirState) {
    Open({kNew, kPending, kError, {"odd", "x", "", 7}});
    const int images[] = {IDI_UNREAD, IDI_IDLE, IDI_RETRIEVING};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Image(qvariant_cast<QIcon>(Cell(list, i).data(Qt::DecorationRole))),
                  Image(TarvoIcon(images[i])))
            << "line " << i;
        EXPECT_EQ(CellText(list, i, 2), "pop.example.org");
    }
    EXPECT_EQ(CellText(list, 2, 0), "Connection refused");
    EXPECT_EQ(CellText(list, 2, 1), "");
    EXPECT_FALSE(Cell(list, 3).data(Qt::DecorationRole).isValid());
}

// An open window takes each later check's table in place of the last.
TEST_F(HeadersDlgTest, ANewTableReplacesTheLinesAndTheCaption) {
    Open({kNew, kPending});
    dialog.SetTable(TableOf({kPending, kPending, kError}));
    EXPECT_EQ(dialog.windowTitle(), "0 new message(s), 2 pending, 1 error(s)");
    ASSERT_EQ(LineCount(list), 3);
    EXPECT_EQ(CellText(list, 2, 0), "Connection refused");
    dialog.SetTable({});
    EXPECT_EQ(dialog.windowTitle(), "No new messages.");
    EXPECT_EQ(LineCount(list), 0);

    // A closed window keeps no copy of the table; it opens with the next one.
    dialog.SetTable(TableOf({kNew, kPending}));
    dialog.close();
    EXPECT_EQ(dialog.Table(), MessageTable{});
    EXPECT_EQ(LineCount(list), 0);
    dialog.SetTable(TableOf({kNew}));
    dialog.show();
    EXPECT_EQ(LineCount(list), 1);
}

TEST_F(HeadersDlgTest, ResizingKeepsTheListsPlaceEqualMarginsAndColumnWidths) {
    Open({kNew});
    const QPoint place = list->pos();
    const std::vector<int> columns = {list->columnWidth(0), list->columnWidth(1),
                                      list->columnWidth(2)};
    const QWidget* readMail = Child<QWidget>(dialog, "readMail");
    for (const QSize size : {QSize(900, 600), QSize(300, 150), QSize(641, 377)}) {
        dialog.resize(size);
        EXPECT_EQ(list->pos(), place);
        EXPECT_EQ(dialog.width() - list->geometry().right() - 1, place.x()) << size.width();
        EXPECT_EQ(dialog.width() - readMail->geometry().right() - 1, place.x()) << size.width();
        EXPECT_EQ(dialog.height() - readMail->geometry().bottom() - 1, place.x()) << size.height();
        EXPECT_LT(list->geometry().bottom(), readMail->y()) << size.height();
        EXPECT_EQ(
            (std::vector<int>{list->columnWidth(0), list->columnWidth(1), list->columnWidth(2)}),
            columns);
    }
    const QRect before = list->geometry();
    dialog.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(list->geometry(), before);
}

// Opened at a size that shows all three columns for typical lines, within a
// share of the screen, with the first new message selected and in view.
TEST_F(HeadersDlgTest, OpensWithEveryColumnInViewAndTheFirstNewLineSelected) {
    std::vector<Row> rows(53, {"Lunch on Friday?", "Anna <anna@example.org>", "", MessagePending});
    rows.push_back(kNew);
    Open(rows);
    QCoreApplication::processEvents();
    const QRect screen = dialog.screen()->availableGeometry();
    int columns = 0;
    for (int column = 0; column < 3; ++column) {
        const QString text = CellText(list, 0, column);
        EXPECT_GT(list->columnWidth(column), list->fontMetrics().horizontalAdvance(text)) << column;
        EXPECT_GT(list->columnWidth(column), 0) << column;
        columns += list->columnWidth(column);
    }
    EXPECT_LE(columns, list->viewport()->width());
    EXPECT_LE(dialog.width(), screen.width() * 3 / 4);
    EXPECT_LE(dialog.height(), screen.height() / 2);
    ASSERT_TRUE(list->currentIndex().isValid());
    EXPECT_EQ(list->currentIndex().row(), 53);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->currentIndex())));
}

// Lines too long for the screen: every column gives up the same share, so
// all three stay in view.
TEST_F(HeadersDlgTest, LongLinesShareTheWidthTheScreenGives) {
    const std::string subject(300, 's');
    const std::string from(200, 'f');
    Open({{subject.c_str(), from.c_str(), "", MessageNew}});
    const QRect screen = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.width(), screen.width() * 3 / 4);
    const int columns = list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2);
    EXPECT_LE(columns, list->viewport()->width());
    EXPECT_GT(list->columnWidth(0), list->columnWidth(1));
    EXPECT_GT(list->columnWidth(1), list->columnWidth(2));
}

// One subject of thousands of characters: From and Mailbox still show in
// full, the subject is elided, and the whole window is on the screen.
TEST_F(HeadersDlgTest, ALongSubjectLeavesFromAndMailboxTheirRoom) {
    const std::string subject(2000, 's');
    const char* from = "J\xc3\xb6rg M\xc3\xbcller <joerg@example.org>";
    std::vector<Row> rows(25, {"Lunch", from, "", MessagePending});
    rows.push_back({subject.c_str(), from, "", MessageNew});
    dialog.openNear = [] { return QPoint(5, 5); };
    Open(rows);
    QCoreApplication::processEvents();
    const QRect screen = dialog.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(dialog.frameGeometry())) << dialog.frameGeometry().x();
    const QFontMetrics metrics = list->fontMetrics();
    EXPECT_GT(list->columnWidth(1), metrics.horizontalAdvance(CellText(list, 0, 1)));
    EXPECT_GT(list->columnWidth(2), metrics.horizontalAdvance("pop.example.org"));
    const int columns = list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2);
    EXPECT_LE(columns, list->viewport()->width());
    EXPECT_GT(list->columnWidth(0), list->columnWidth(1));
}

// The size the user gives the window is handed out when it closes and used
// when it opens again; a window left as it opened hands out nothing.
TEST_F(HeadersDlgTest, RemembersTheSizeTheUserGivesIt) {
    std::vector<QSize> chosen;
    dialog.onSizeChosen = [&chosen](QSize size) { chosen.push_back(size); };
    Open({kNew, kPending});
    dialog.hide();
    EXPECT_TRUE(chosen.empty());

    dialog.show();
    dialog.resize(611, 333);
    dialog.hide();
    EXPECT_EQ(chosen, (std::vector<QSize>{QSize(611, 333)}));

    dialog.rememberedSize = QSize(520, 310);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(520, 310));

    // While it stays open, once a drag has settled.
    dialog.resize(700, 400);
    EXPECT_TRUE(QTest::qWaitFor([&chosen] { return chosen.size() == 2; }, 10000));
    EXPECT_EQ(chosen.back(), QSize(700, 400));
    dialog.hide();
    EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(HeadersDlgTest, DoubleClickShowsTheWholeHeaderOfAMessageOnly) {
    Open({kNew, kError, kPending});
    auto doubleClick = [this](QPoint at) { DoubleClick(list->viewport(), at); };
    doubleClick(LineCentre(list, 1));
    doubleClick({5, list->viewport()->height() - 3});
    EXPECT_TRUE(boxes.shown.empty());

    doubleClick(LineCentre(list, 0));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].owner, &dialog);
    EXPECT_EQ(boxes.shown[0].caption, "Message Header");
    EXPECT_EQ(boxes.shown[0].text, QString::fromLatin1(kNew.header));
    EXPECT_EQ(boxes.shown[0].icon, MessageBoxes::Icon::None);
}

// Read mail, or Enter on a line, closes the window and goes on to the mail
// program; a double-click still shows the header and nothing more.
TEST_F(HeadersDlgTest, ReadMailOrEnterGoesOnToTheMailProgram) {
    int reads = 0;
    dialog.onReadMail = [&reads] { ++reads; };
    Open({kNew, kPending});
    ASSERT_TRUE(ShowActive(dialog));
    DoubleClick(list->viewport(), LineCentre(list, 1));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(dialog.isVisible());

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(reads, 1);
    EXPECT_FALSE(dialog.isVisible());

    Open({kPending});
    Click(dialog, "readMail");
    EXPECT_EQ(reads, 2);
    EXPECT_FALSE(dialog.isVisible());
}

// Why an account failed is its error row's tooltip, and the box of that row
// is titled after the account.
TEST_F(HeadersDlgTest, AnErrorRowTellsWhyItsAccountFailed) {
    const char* why = "pop.example.org refused the connection.";
    Open({kNew, {"(error contacting pop.example.org)", "", why, MessageError}});
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(Cell(list, 1, column).data(Qt::ToolTipRole).toString(), why) << column;
        EXPECT_EQ(Cell(list, 0, column).data(Qt::ToolTipRole).toString(), "") << column;
    }
    DoubleClick(list->viewport(), LineCentre(list, 1));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "pop.example.org");
    EXPECT_EQ(boxes.shown[0].text, why);
}

TEST_F(HeadersDlgTest, ShowsSubjectsAndSendersDecodedAndSortsByWhatItShows) {
    Open({{"=?UTF-8?Q?Zebra_=C3=BCber_alles?=", "Bob <bob@example.org>", "Subject: z\r\n",
           MessageNew},
          {"Apfel", "=?UTF-8?Q?J=C3=B6rg?= <joerg@example.org>", "Subject: a\r\n", MessagePending},
          {"=?UTF-8?B?TWFuZ28=?=", "Anna <anna@example.org>", "Subject: m\r\n", MessageNew}});
    auto column = [this](int c) {
        QStringList texts;
        for (int i = 0; i < LineCount(list); ++i) {
            texts << CellText(list, i, c);
        }
        return texts;
    };
    EXPECT_EQ(column(0), (QStringList{"Zebra über alles", "Apfel", "Mango"}));
    EXPECT_EQ(column(1), (QStringList{"Bob <bob@example.org>", "Jörg <joerg@example.org>",
                                      "Anna <anna@example.org>"}));

    QHeaderView* header = list->header();
    auto clickHeading = [header](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(section) + 5, header->height() / 2});
    };
    clickHeading(0);
    EXPECT_EQ(column(0), (QStringList{"Apfel", "Mango", "Zebra über alles"}));
    clickHeading(1);
    EXPECT_EQ(column(1), (QStringList{"Anna <anna@example.org>", "Bob <bob@example.org>",
                                      "Jörg <joerg@example.org>"}));

    // A sorted line still opens its own message's header.
    DoubleClick(list->viewport(), LineCentre(list, 1));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Subject: z\r\n");
}

} // namespace
