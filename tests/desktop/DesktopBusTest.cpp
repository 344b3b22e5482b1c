// The program on private buses: the desktop notification, with a
// notification server of our own that records what arrives; a check without
// any bus; and a check after a resume announced on the "system" bus. A
// process holds one session and one system bus for its life, so each test
// needs a process of its own, as ctest runs them.
#include "AppProfile.h"
#include "Desktop.h"
#include "DesktopNotifier.h"
#include "HeadersDlg.h"
#include "MemoryRegistry.h"
#include "QtWindowServices.h"
#include "ScriptedPeer.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "WakeWatcher.h"
#include "resource.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace testpeer;

namespace {

struct Received {
    uint replacesId;
    QString icon, summary, body;
    QStringList actions;
};

class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    std::vector<Received> received;
    QStringList capabilities;

public slots:
    Q_SCRIPTABLE QStringList GetCapabilities() { return capabilities; }

    Q_SCRIPTABLE uint Notify(const QString&, uint replacesId, const QString& icon,
                             const QString& summary, const QString& body,
                             const QStringList& actions, const QVariantMap&, int) {
        received.push_back({replacesId, icon, summary, body, actions});
        return replacesId != 0 ? replacesId : static_cast<uint>(received.size()) + 40;
    }
};

// dbus-daemon --session of the test's own, ended with it.
struct PrivateBus {
    BusDaemon daemon;
    QString address = QString::fromStdString(daemon.Address());
};

std::string Block(const std::string& from, const std::string& subject, const std::string& id) {
    return "Subject: " + subject + "\r\nFrom: " + from + "\r\nMessage-ID: " + id + "\r\n\r\n";
}

QApplication* MakeApplication() {
    static int argc = 1;
    static char name[] = "notification";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}

// The tray program's window on its desktop layer, with one account at peer.
// The buses are those the environment names when it is made.
struct TrayProgram {
    TrayProgram(const ScriptedPeer& peer, int32_t notify, const std::string& mailProgram = {}) {
        SaveSettings(
            profile,
            {.Delay = 5, .Sound = 0, .Message = 0, .Notify = notify, .MailProgram = mailProgram},
            {{peer.Address(), "ann", "pw"}});
        window = std::make_unique<CTarvoWnd>(services, profile);
        services.Attach(window.get());
    }
    ~TrayProgram() { services.Attach(nullptr); }

    std::unique_ptr<QApplication> application{MakeApplication()};
    MemoryRegistry registry;
    AppProfile profile{registry};
    QtWindowServices services;
    std::unique_ptr<CTarvoWnd> window;
};

// A click on the notification shows the headers, its one button reads mail;
// its body is markup only for a server that says it reads markup.
TEST(Notification, OnePerCheckWithNewMailReplacingTheOneBeforeWithItsActions) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toLocal8Bit());
    const std::vector<std::string> first{Block("Ann <ann@x>", "one", "<1@x>"),
                                         Block("bob@x", "two & more", "<2@x>")};
    std::vector<std::string> second = first;
    for (int i = 3; i <= 7; ++i) {
        second.push_back(
            Block("Cid <cid@x>", "more " + std::to_string(i), "<" + std::to_string(i)));
    }
    ScriptedPeer peer({HealthyMailbox(first), HealthyMailbox(second), HealthyMailbox(second)});
    FakeMailProgram mail;
    TrayProgram program(peer, 1, mail.CommandLine("--inbox %U"));
    CTarvoWnd& window = *program.window;
    QDBusConnection serverBus = QDBusConnection::connectToBus(bus.address, "server");
    NotificationServer server;
    ASSERT_TRUE(serverBus.registerService("org.freedesktop.Notifications"));
    ASSERT_TRUE(serverBus.registerObject("/org/freedesktop/Notifications", &server,
                                         QDBusConnection::ExportScriptableSlots));

    server.capabilities = {"actions", "body", "body-markup"};
    window.OnCheckNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 1; }));
    EXPECT_EQ(server.received[0].replacesId, 0u);
    EXPECT_EQ(server.received[0].icon, "tarvo");
    EXPECT_EQ(server.received[0].summary, "2 new messages");
    EXPECT_EQ(server.received[0].body, "Ann &lt;ann@x&gt;: one\nbob@x: two &amp; more");
    EXPECT_EQ(server.received[0].actions,
              (QStringList{"default", "Show headers", "read-mail", "Read mail"}));

    server.capabilities = {"actions", "body"};
    window.OnCheckNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 2; }));
    EXPECT_EQ(server.received[1].replacesId, 41u);
    EXPECT_EQ(server.received[1].summary, "5 new messages");
    EXPECT_EQ(server.received[1].body,
              "Cid <cid@x>: more 3\nCid <cid@x>: more 4\nCid <cid@x>: more 5\nand 2 more");

    // Nothing new: no notification.
    window.OnCheckNow();
    QTest::qWait(300);
    EXPECT_EQ(server.received.size(), 2u);

    bool headersShown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* headers = dynamic_cast<CHeadersDlg*>(widget);
                headers && headers->isVisible()) {
                headersShown = headers->Table().size() == 7;
                headers->reject();
            }
        }
    });
    closer.start(20);
    QDBusMessage invoked = QDBusMessage::createSignal(
        "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
    invoked << 41u << QString("default");
    serverBus.send(invoked);
    EXPECT_TRUE(QTest::qWaitFor([&] { return headersShown; }));
    EXPECT_TRUE(mail.Starts().empty());

    QDBusMessage readMail = QDBusMessage::createSignal(
        "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
    readMail << 41u << QString("read-mail");
    serverBus.send(readMail);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !mail.Starts().empty(); }));
    QTest::qWait(300);
    EXPECT_EQ(mail.Starts(), std::vector<std::string>{"--inbox|"});
    // Started and let go: no child of Tarvo's has ended unreaped.
    EXPECT_LE(waitpid(-1, nullptr, WNOHANG), 0);
}

// Never a silent nothing: a program that cannot be started is told in a box,
// which leaves the tray free.
TEST(ReadMail, AProgramThatCannotBeStartedIsToldInABox) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    ScriptedPeer peer(HealthyMailbox({}));
    TrayProgram program(peer, 0, "\"/nonexistent/mail program\" %u");
    program.window->OnCommand(ID_READ_MAIL);
    QMessageBox* box = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<QMessageBox*>(widget); found && found->isVisible()) {
            box = found;
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("The mail program could not be started: "))
        << box->text().toStdString();
    EXPECT_TRUE(box->text().contains("/nonexistent/mail program")) << box->text().toStdString();
    EXPECT_FALSE(program.window->IsBusy());
    box->accept();
}

// An unfolded Subject can be megabytes long; a line is cut without splitting
// a character made of two UTF-16 units or of a letter and its accent.
TEST(Notification, LongLinesAreCutBetweenCharacters) {
    const std::string ahead = "a@x: " + std::string(114, 'x');
    for (const char* character : {"\xF0\x9F\x98\x80", "e\xCC\x81"}) {
        SCOPED_TRACE(character);
        const std::string subject = std::string(114, 'x') + character + std::string(1 << 22, 'y');
        MessageTable table;
        table.AppendMessage(ScannedHeader(subject, "a@x", "(none)", "", 0), "box", MessageNew);
        EXPECT_EQ(DesktopNotifier::Body(table), QString::fromStdString(ahead + "\u2026"));
    }
}

TEST(Notification, WithoutAnyBusTheCheckCompletes) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    ScriptedPeer peer(HealthyMailbox({Block("ann@x", "one", "<1@x>")}));
    TrayProgram program(peer, 1);
    program.window->OnCheckNow();
    EXPECT_EQ(program.window->Table().size(), 1u);
    EXPECT_FALSE(program.window->IsBusy());
}

TEST(Resume, PrepareForSleepFalseStartsACheckOnceSettled) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address.toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    ScriptedPeer peer(HealthyMailbox({Block("ann@x", "one", "<1@x>")}));
    TrayProgram program(peer, 0);
    CTarvoWnd& window = *program.window;
    QDBusConnection login = QDBusConnection::connectToBus(bus.address, "login");
    ASSERT_TRUE(login.registerService("org.freedesktop.login1"));
    WakeWatcher watcher([&] { program.services.Gate().Deliver([&] { window.OnWake(); }); },
                        [&](bool online) {
                            program.services.Gate().Deliver(
                                [&, online] { window.OnNetwork(online); });
                        });

    for (const bool goingToSleep : {true, false}) {
        QDBusMessage sleep = QDBusMessage::createSignal(
            "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
        sleep << goingToSleep;
        login.send(sleep);
    }
    // The delay itself is the core's, timed there on an injected clock; here a
    // fifth of it shows that the signal does not check at once.
    QTest::qWait(static_cast<int>(CTarvoWnd::kSettleDelay.count()) / 5);
    EXPECT_EQ(window.Table().size(), 0u) << "checked before the network could settle";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Table().size() == 1; }, 30000));
}

// The network's state as NetworkManager publishes it, as far as Qt reads it.
class NetworkManagerStandIn : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager")
    Q_PROPERTY(uint State MEMBER state)

public:
    uint state = 20; // disconnected
};

// NetworkManager brings a connection up through "connecting", which Qt
// reports as Unknown, as it does "asleep": online after either is a way back.
TEST(Reconnect, OnlineAfterConnectingStartsACheckOnceSettled) {
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address.toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    ScriptedPeer peer(HealthyMailbox({Block("ann@x", "one", "<1@x>")}));
    TrayProgram program(peer, 0);
    CTarvoWnd& window = *program.window;
    QDBusConnection manager = QDBusConnection::connectToBus(bus.address, "manager");
    // Qt asks for the state with a blocking call, so the stand-in answers
    // from a thread of its own.
    QThread answering;
    answering.start();
    NetworkManagerStandIn standIn;
    // What NetworkManager's property says once the changes below are sent:
    // Qt may ask for it after they came, and must then hear the same.
    standIn.state = 70;
    standIn.moveToThread(&answering);
    const auto stop = qScopeGuard([&] {
        answering.quit();
        answering.wait();
    });
    ASSERT_TRUE(manager.registerObject("/org/freedesktop/NetworkManager", &standIn,
                                       QDBusConnection::ExportAllProperties));
    ASSERT_TRUE(manager.registerService("org.freedesktop.NetworkManager"));
    WakeWatcher watcher([&] { program.services.Gate().Deliver([&] { window.OnWake(); }); },
                        [&](bool online) {
                            program.services.Gate().Deliver(
                                [&, online] { window.OnNetwork(online); });
                        });

    // A loaded machine may subscribe Qt to the changes only after the first
    // were sent: they come again, as a connection that flaps would send them.
    bool checked = false;
    for (int round = 0; round < 3 && !checked; ++round) {
        for (const uint state : {40u /* connecting */, 70u /* connected, global */}) {
            QDBusMessage changed =
                QDBusMessage::createSignal("/org/freedesktop/NetworkManager",
                                           "org.freedesktop.DBus.Properties", "PropertiesChanged");
            changed << QString("org.freedesktop.NetworkManager")
                    << QVariantMap{{"State", QVariant::fromValue(state)}} << QStringList();
            manager.send(changed);
        }
        checked = QTest::qWaitFor([&] { return window.Table().size() == 1; },
                                  static_cast<int>(CTarvoWnd::kSettleDelay.count()) * 3);
    }
    EXPECT_TRUE(checked);
}

} // namespace

#include "DesktopBusTest.moc"
