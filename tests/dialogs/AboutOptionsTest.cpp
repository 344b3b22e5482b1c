#include "AboutDlg.h"
#include "DialogTest.h"
#include "HeadersDlg.h"
#include "MailboxesDlg.h"
#include "OptionsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

namespace {

class OptionsDlgTest : public testing::Test {
protected:
    void Open(int32_t delay, int32_t sound = 1, int32_t message = 0) {
        dialog.Delay = delay;
        dialog.Sound = sound;
        dialog.Message = message;
        ASSERT_TRUE(ShowActive(dialog));
        field = Child<QLineEdit>(dialog, "delay");
    }

    RecordingMessageBoxes boxes;
    COptionsDlg dialog{boxes};
    QLineEdit* field = nullptr;
};

TEST_F(OptionsDlgTest, OkClosesOnlyOnAnIntervalFromOneToSixty) {
    struct Case {
        const char* typed;
        bool closes;
        const char* shown; // the field afterwards
        int32_t delay;     // Delay afterwards
        std::size_t boxes;
    };
    const std::vector<Case> cases = {
        {"1", true, "1", 1, 0},
        {" \t30\t ", true, " \t30\t ", 30, 0},
        {"+7", true, "+7", 7, 0},
        {"0", false, "1", 1, 0},
        {"-5", false, "1", 1, 0},
        {"61", false, "60", 60, 0},
        {"12345678901234567890", false, "60", 60, 0},
        {"-12345678901234567890", false, "1", 1, 0},
        {"", false, "", 5, 1},
        {"+0", false, "+0", 5, 1},
        {"-0", false, "-0", 5, 1},
        {"5x", false, "5x", 5, 1},
        {"1 2", false, "1 2", 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RecordingMessageBoxes caseBoxes;
        COptionsDlg options(caseBoxes);
        options.Delay = 5;
        options.show();
        auto* delay = Child<QLineEdit>(options, "delay");
        delay->setText(QString::fromLatin1(c.typed));
        Click(options, "ok");
        EXPECT_EQ(!options.isVisible(), c.closes);
        EXPECT_EQ(delay->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(options.Delay, c.delay);
        EXPECT_EQ(caseBoxes.shown.size(), c.boxes);
    }
}

TEST_F(OptionsDlgTest, AFieldThatIsNoNumberIsReportedAndSelected) {
    Open(5, 1, 0);
    Child<QCheckBox>(dialog, "sound")->setChecked(false);
    field->setText("abc");
    Child<QWidget>(dialog, "ok")->setFocus();
    Click(dialog, "ok");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].owner, &dialog);
    EXPECT_EQ(boxes.shown[0].caption, "Tarvo");
    EXPECT_EQ(boxes.shown[0].text, "Please enter an integer.");
    EXPECT_EQ(boxes.shown[0].icon, MessageBoxes::Icon::Exclamation);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), "abc");
    EXPECT_EQ(dialog.Sound, 1); // the check boxes were not read
}

TEST_F(OptionsDlgTest, CorrectionIsShownAndConfirmedWithASecondOk) {
    Open(100);
    EXPECT_EQ(field->text(), "100");
    Click(dialog, "ok");
    EXPECT_EQ(field->text(), "60");
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, "ok");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Delay, 60);
}

TEST_F(OptionsDlgTest, TypedKeysAreDigitsOnlyButAPasteIsTakenAsIs) {
    Open(5);
    field->clear();
    QTest::keyClicks(field, "a1-+ 2.b");
    EXPECT_EQ(field->text(), "12");

    field->clear();
    QGuiApplication::clipboard()->setText("5x");
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "5x");
    Click(dialog, "ok");
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(OptionsDlgTest, OkHandsTheValuesBackAndCancelDiscardsThem) {
    for (const bool confirm : {true, false}) {
        RecordingMessageBoxes caseBoxes;
        COptionsDlg options(caseBoxes);
        options.Delay = 5;
        options.Sound = 1;
        options.Message = 0;
        options.Notify = 1;
        options.Push = 1;
        options.StartAtLogin = false;
        QTimer::singleShot(0, &options, [&options, confirm] {
            EXPECT_EQ(options.focusWidget(), Child<QLineEdit>(options, "delay"));
            EXPECT_TRUE(Child<QCheckBox>(options, "sound")->isChecked());
            EXPECT_FALSE(Child<QCheckBox>(options, "message")->isChecked());
            EXPECT_TRUE(Child<QCheckBox>(options, "notify")->isChecked());
            EXPECT_TRUE(Child<QCheckBox>(options, "push")->isChecked());
            EXPECT_FALSE(Child<QCheckBox>(options, "startAtLogin")->isChecked());
            auto* mailProgram = Child<QLineEdit>(options, "mailProgram");
            EXPECT_EQ(mailProgram->text(), "");
            EXPECT_EQ(mailProgram->placeholderText(), "Desktop's default");
            mailProgram->setText("  mail --inbox \t");
            Click(options, "sound");
            Click(options, "message");
            Click(options, "notify");
            Click(options, "push");
            Child<QCheckBox>(options, "startAtLogin")->click(); // its text ends short of the middle
            Child<QLineEdit>(options, "delay")->setText("15");
            Click(options, confirm ? "ok" : "cancel");
        });
        const int result = options.DoModal();
        EXPECT_EQ(result, confirm ? 1 : 2);
        EXPECT_EQ(options.Delay, confirm ? 15 : 5);
        EXPECT_EQ(options.Sound, confirm ? 0 : 1);
        EXPECT_EQ(options.Message, confirm ? 1 : 0);
        EXPECT_EQ(options.Notify, confirm ? 0 : 1);
        EXPECT_EQ(options.Push, confirm ? 0 : 1);
        EXPECT_EQ(options.StartAtLogin, confirm);
        EXPECT_EQ(options.MailProgram, confirm ? "mail --inbox" : "");
    }
}

TEST(AboutDlgTest, ThanksListsTheContributors) {
    RecordingMessageBoxes boxes;
    CAboutDlg about(boxes);
    about.show();
    EXPECT_EQ(Child<QLabel>(about, "text")->text().count('\n'), 7);
    Click(about, "thanks");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].owner, &about);
    EXPECT_EQ(boxes.shown[0].caption, "Thanks for their response and help to:");
    EXPECT_EQ(boxes.shown[0].icon, MessageBoxes::Icon::None);
    const QStringList names = boxes.shown[0].text.split('\n');
    ASSERT_GE(names.size(), 2);
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].endsWith(','), i + 1 < names.size()) << names[i].toStdString();
    }
}

// A program-wide F1 stands for the Help command, which opens the About box.
TEST(AboutDlgTest, F1IsSwallowedInTheAboutBoxOnly) {
    QWidget anchor; // a shortcut only works while its widget is visible
    anchor.show();
    QShortcut help(QKeySequence(Qt::Key_F1), &anchor);
    help.setContext(Qt::ApplicationShortcut);
    int helps = 0;
    QObject::connect(&help, &QShortcut::activated, [&helps] { ++helps; });
    RecordingMessageBoxes boxes;

    COptionsDlg options(boxes);
    ASSERT_TRUE(ShowActive(options));
    QTest::keyClick(Child<QWidget>(options, "delay"), Qt::Key_F1);
    EXPECT_EQ(helps, 1);

    options.hide();
    CAboutDlg about(boxes);
    ASSERT_TRUE(ShowActive(about));
    QTest::keyClick(Child<QWidget>(about, "ok"), Qt::Key_F1);
    EXPECT_EQ(helps, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

// The fixed-size dialogs offer no minimise or maximise; a window minimised
// all the same (by Qt's own title bar on Wayland, which draws those buttons
// whatever a window asks for) comes back when brought forward.
TEST(DialogLayoutTest, AMinimisedWindowComesBackWhenBroughtForward) {
    RecordingMessageBoxes boxes;
    COptionsDlg options(boxes);
    CAboutDlg about(boxes);
    CMailboxesDlg mailboxes(boxes);
    CHeadersDlg headers(boxes);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&options, &about, &mailboxes, &headers}) {
        const auto name = window->metaObject()->className();
        if (window != &headers) {
            EXPECT_TRUE(window->windowFlags() & Qt::CustomizeWindowHint) << name;
            EXPECT_FALSE(window->windowFlags() & Qt::WindowMinMaxButtonsHint) << name;
        }
        window->show();
        window->windowHandle()->setWindowStates(Qt::WindowMinimized);
        QApplication::processEvents();
        BringForward(*window);
        QApplication::processEvents();
        EXPECT_FALSE(window->windowHandle()->windowStates() & Qt::WindowMinimized) << name;
        EXPECT_FALSE(window->isMinimized()) << name;
        EXPECT_TRUE(window->isVisible()) << name;
        window->hide();
    }
}

// A running dialog that a title bar minimises or maximises all the same is
// back at once, still running, and ends as the user answers it.
TEST(DialogLayoutTest, ARunningDialogIsNotLeftMinimisedOrMaximised) {
    RecordingMessageBoxes boxes;
    for (Qt::WindowState state : {Qt::WindowMinimized, Qt::WindowMaximized}) {
        CAboutDlg about(boxes);
        bool back = false;
        QTimer::singleShot(0, [&] {
            about.windowHandle()->setWindowStates(state);
            QTimer::singleShot(50, [&] {
                back = about.isVisible() && about.windowState() == Qt::WindowNoState;
                about.accept();
            });
        });
        EXPECT_EQ(about.DoModal(), 1) << state;
        EXPECT_TRUE(back) << state;
    }
}

// Every text fits its control and no two controls overlap, whatever font
// the desktop gives the dialogs and however long the language's texts are:
// the dialog grows for them.
TEST(DialogLayoutTest, TextsFitAndControlsDoNotOverlap) {
    for (const char* language : {"", "de", "es", "fi", "fr", "ja"}) {
        SCOPED_TRACE(language);
        QTranslator catalogue;
        if (*language != '\0') {
            ASSERT_TRUE(
                catalogue.load(QStringLiteral(TARVO_CATALOGUES "/tarvo_%1.qm").arg(language)));
            QCoreApplication::installTranslator(&catalogue);
        }
        RecordingMessageBoxes boxes;
        COptionsDlg options(boxes);
        CAboutDlg about(boxes);
        CMailboxesDlg mailboxes(boxes);
        for (QWidget* dialog : std::initializer_list<QWidget*>{&options, &about, &mailboxes}) {
            dialog->show();
            std::vector<const QWidget*> controls;
            for (const QWidget* child :
                 dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<const QGroupBox*>(child) == nullptr) {
                    controls.push_back(child);
                }
            }
            for (const QWidget* a : controls) {
                const auto name = a->objectName().toStdString();
                EXPECT_TRUE(dialog->rect().contains(a->geometry())) << name;
                if (qobject_cast<const QLabel*>(a) || qobject_cast<const QAbstractButton*>(a)) {
                    EXPECT_GE(a->width(), a->minimumSizeHint().width()) << name;
                }
                for (const QWidget* b : controls) {
                    EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                        << name << " and " << b->objectName().toStdString();
                }
            }
            dialog->hide();
        }
        QCoreApplication::removeTranslator(&catalogue);
    }
}

} // namespace
