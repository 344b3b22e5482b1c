#include "MessageBoxes.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(TextTest, ValidUtf8IsShownAsUtf8AndAnythingElseAsLatin1WithoutControls) {
    struct Case {
        std::string bytes;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"plain", "plain"},
        {"Caf\xc3\xa9", QString::fromUtf8("Caf\u00e9")},
        {"Caf\xe9", QString::fromUtf8("Caf\u00e9")},
        {"\xc3", QString::fromUtf8("\u00c3")},            // cut short
        {"\xc0\xaf", QString::fromUtf8("\u00c0\u00af")},  // overlong
        {"\xef\xbb\xbfx", QString(QChar(0xfeff)) + u'x'}, // a byte-order mark is kept
        // Control characters as blanks: C0, C1 in UTF-8 and C1 through Latin-1.
        {std::string("a\0b\x1b", 4), "a b "},
        {"\xc2\x9bH", " H"},
        {"\x9dx\xe9", QString::fromUtf8(" x\u00e9")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayText(c.bytes), c.shown) << c.bytes;
    }
    EXPECT_EQ(TypedText(QString::fromUtf8("Caf\u00e9")), "Caf\xc3\xa9");
}

// A certificate's dates read as the language writes them, without an English
// month name in the middle of its sentence; English keeps the core's text.
TEST(TextTest, CertificateDatesInTheLanguagesOrder) {
    struct Case {
        const char* language;
        std::string date;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"", "8 Dec 2026", "8 Dec 2026"},
        {"de", "8 Dec 2026", "8.12.2026"},
        {"ja", "18 Nov 2026", QString::fromUtf8("2026年11月18日")},
        {"de", "an unreadable date", "an unreadable date"},
    };
    for (const Case& c : cases) {
        QTranslator catalogue;
        if (*c.language != '\0') {
            ASSERT_TRUE(
                catalogue.load(QStringLiteral(TARVO_CATALOGUES "/tarvo_%1.qm").arg(c.language)));
            QCoreApplication::installTranslator(&catalogue);
        }
        EXPECT_EQ(ShownDate(c.date), c.shown) << c.language << " " << c.date;
        QCoreApplication::removeTranslator(&catalogue);
    }
}

TEST(ResourcesTest, IconsBitmapAndStringsAreThere) {
    for (int id : {IDI_UNREAD, IDI_IDLE, IDI_CONTACTING, IDI_RETRIEVING}) {
        const QIcon icon = TarvoIcon(id);
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)})) << id;
    }
    EXPECT_TRUE(TarvoIcon(IDB_ABOUT).isNull());
    // One shared icon per id: a new one at each tray update fed Qt's pixmap
    // cache for as long as the program ran.
    EXPECT_EQ(TarvoIcon(IDI_IDLE).cacheKey(), TarvoIcon(IDI_IDLE).cacheKey());
    EXPECT_NE(TarvoIcon(IDI_IDLE).cacheKey(), TarvoIcon(IDI_UNREAD).cacheKey());
    EXPECT_EQ(TarvoBitmap(IDB_ABOUT).size(), QSize(106, 133));
    EXPECT_TRUE(TarvoBitmap(IDI_UNREAD).isNull());
}

} // namespace

namespace {

// A header block of a hundred lines must stay on the screen, scrollable,
// with its OK button in reach; a short text keeps the plain box.
TEST(MessageBoxesTest, LongTextsScrollWithinTheScreen) {
    struct Case {
        int lines;
        bool scrolls;
    };
    for (const Case& c : {Case{3, false}, Case{120, true}}) {
        QString text;
        for (int i = 0; i < c.lines; ++i) {
            text += QStringLiteral("Received: from relay%1.example.net\n").arg(i);
        }
        bool scrolled = false;
        QRect shown;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            auto* view = box->findChild<QPlainTextEdit*>();
            scrolled = view != nullptr && view->toPlainText() == text;
            shown = box->frameGeometry();
            box->close();
        });
        QtMessageBoxes boxes;
        boxes.Show(nullptr, QStringLiteral("Message Header"), text, MessageBoxes::Icon::None);
        EXPECT_EQ(scrolled, c.scrolls) << c.lines;
        EXPECT_LE(shown.height(), QGuiApplication::primaryScreen()->availableGeometry().height());
    }
}

// A box is wide enough for its caption in a bold title font beside the
// title bar's buttons (on Wayland, Qt's own), which the desktop would cut otherwise (Qt leaves room
// for its own sub-window title font alone), and its title bar offers the
// close box alone.
TEST(MessageBoxesTest, TheCaptionFitsAndNothingCanBeMinimised) {
    const QString thanks = QStringLiteral("Thanks for their response and help to:");
    const QString question =
        QStringLiteral("A caption longer than the question that the box asks below it");
    for (const QString& caption : {thanks, question}) {
        int width = 0;
        Qt::WindowFlags flags;
        QFont font;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            width = box->width();
            flags = box->windowFlags();
            font = box->font();
            box->close();
        });
        QtMessageBoxes boxes;
        if (caption == thanks) {
            boxes.Show(nullptr, caption, QStringLiteral("Ann,\nBo"), MessageBoxes::Icon::None);
        } else {
            boxes.Ask(nullptr, caption, QStringLiteral("Go?"), MessageBoxes::Choices::YesNo);
        }
        font.setBold(true);
        // Beside the caption, room for a close box and an icon or the like.
        const QFontMetrics metrics(font);
        EXPECT_GE(width, metrics.horizontalAdvance(caption) + 4 * metrics.height())
            << caption.toStdString();
        // Qt's own title bar on Wayland: 14-pixel type, centred, three
        // buttons to its right.
        QFont qtTitle = font;
        qtTitle.setBold(false);
        qtTitle.setPixelSize(14);
        EXPECT_GE(width, QFontMetrics(qtTitle).horizontalAdvance(caption) + 2 * 77)
            << caption.toStdString();
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
}

} // namespace
