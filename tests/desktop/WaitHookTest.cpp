// While a conversation waits, the desktop keeps being served: everything but
// input is handled, and of input only a click on the tray icon, which the busy
// window answers at once instead of finding it queued once the check is over.
#include "QtWindowServices.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class EventLog : public QObject {
public:
    int releases = 0;
    int others = 0;

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            ++releases;
        } else if (event->type() == QEvent::User) {
            ++others;
        }
        return false;
    }
};

void PostClickAndUserEvent(QWidget& widget) {
    QCoreApplication::postEvent(&widget,
                                new QMouseEvent(QEvent::MouseButtonRelease, {1, 1}, {1, 1},
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::postEvent(&widget, new QEvent(QEvent::User));
}

TEST(WaitHook, ReadsNoInputButTheTrayIconsWhileAConversationWaits) {
    static int argc = 1;
    static char name[] = "wait-hook";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QtWindowServices services;

    QWidget icon;
    icon.setObjectName(QStringLiteral("QSystemTrayIconSys"));
    QWidget other;
    EventLog iconLog, otherLog;
    icon.installEventFilter(&iconLog);
    other.installEventFilter(&otherLog);

    PostClickAndUserEvent(icon);
    PostClickAndUserEvent(other);
    services.WaitHook();
    EXPECT_EQ(iconLog.releases, 1);
    EXPECT_EQ(iconLog.others, 1);
    EXPECT_EQ(otherLog.releases, 0);
    EXPECT_EQ(otherLog.others, 1);

    // Outside a wait input goes where it is sent.
    PostClickAndUserEvent(other);
    QCoreApplication::processEvents();
    EXPECT_EQ(otherLog.releases, 1);
}

} // namespace
