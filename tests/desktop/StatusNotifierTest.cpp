// The real program under a StatusNotifierItem host on a private session bus:
// the menu it publishes, clicks in that menu as a host passes them on, and a
// host that starts after the program.
#include "DovecotServer.h"
#include "StatusNotifierHost.h"
#include "TarvoDesktopFixture.h"

#include <QCoreApplication>
#include <cstdio>
#include <sys/wait.h>
#include <thread>

namespace {

class StatusNotifierTest : public TarvoDesktopTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "sni-host";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    // The item's bus name once it has registered with the watcher.
    QString AwaitItem(const StatusNotifierWatcher& watcher, std::chrono::milliseconds limit = 15s) {
        PumpUntil([&] { return !watcher.RegisteredStatusNotifierItems().isEmpty(); }, limit);
        QStringList items = watcher.RegisteredStatusNotifierItems();
        return items.isEmpty() ? QString() : items.front();
    }

    std::vector<PublishedItem> AwaitMenu(const QString& item, size_t entries) {
        std::vector<PublishedItem> menu;
        PumpUntil([&] {
            menu = MenuLayout(m_bus, item);
            return menu.size() == entries;
        });
        return menu;
    }

    int IdOf(const std::vector<PublishedItem>& menu, const std::string& label) {
        for (const PublishedItem& entry : menu) {
            if (entry.label == label) {
                return entry.id;
            }
        }
        ADD_FAILURE() << "no menu entry " << label;
        return -1;
    }

    SessionBus m_bus;
};

TEST_F(StatusNotifierTest, MenuIsPublishedAndItsClicksRunTheCommands) {
    SilentServer server;
    WriteSettings({{server.Address(), "alice", "secret"}});
    StatusNotifierWatcher watcher(m_bus);
    m_tarvo = LaunchTarvo(m_bus.Address());
    const QString item = AwaitItem(watcher);
    ASSERT_FALSE(item.isEmpty());

    std::vector<PublishedItem> menu = AwaitMenu(item, 9);
    std::vector<std::string> labels;
    for (const PublishedItem& entry : menu) {
        labels.push_back(entry.type == "separator" ? "-" : entry.label);
    }
    EXPECT_EQ(labels,
              (std::vector<std::string>{"_Check now", "_Read mail", "_Headers...", "-",
                                        "_Servers...", "_Options...", "_About...", "-", "_Quit"}));

    ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(menu, "_Check now")));
    EXPECT_TRUE(PumpUntil([&] { return server.CloseConnections() == 1; }));
    // Once the check is over the whole menu is back, its entries under the
    // ids they had: a panel that kept Quit's id from before still quits.
    const std::vector<PublishedItem> before = menu;
    menu = AwaitMenu(item, 9);
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].id, before[i].id) << menu[i].label;
    }
    ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(before, "_Quit")));
    ASSERT_TRUE(PumpUntil([&] { return m_tarvo.HasEnded(); }));
    ASSERT_TRUE(WIFEXITED(m_tarvo.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(m_tarvo.ExitStatus()), 0);
}

// In German the published menu and the tooltip are German, and so is the
// reason the check composed in the core.
TEST_F(StatusNotifierTest, InGermanTheMenuAndTheTooltipSpeakGerman) {
    SilentServer server;
    WriteSettings({{server.Address(), "alice", "secret"}});
    m_environment = {"LC_ALL=de_DE.UTF-8"};
    StatusNotifierWatcher watcher(m_bus);
    m_tarvo = LaunchTarvo(m_bus.Address());
    const QString item = AwaitItem(watcher);
    ASSERT_FALSE(item.isEmpty());

    std::vector<PublishedItem> menu = AwaitMenu(item, 9);
    std::vector<std::string> labels;
    for (const PublishedItem& entry : menu) {
        labels.push_back(entry.type == "separator" ? "-" : entry.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Jetzt _prüfen", "E-Mails _lesen", "_Kopfzeilen...",
                                                "-", "_Server...", "_Optionen...", "_Über...", "-",
                                                "_Beenden"}));
    EXPECT_TRUE(PumpUntil([&] { return ToolTipTitle(m_bus, item) == "Tarvo ist leer"; }))
        << ToolTipTitle(m_bus, item);

    ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(menu, "Jetzt _prüfen")));
    EXPECT_TRUE(PumpUntil([&] { return server.CloseConnections() == 1; }));
    const std::string failed =
        "Fehler aufgetreten\n" + server.Address() + " schloss die Verbindung.";
    EXPECT_TRUE(PumpUntil([&] { return ToolTipTitle(m_bus, item) == failed; }))
        << ToolTipTitle(m_bus, item);
}

// While a check hangs the published menu holds only "Stop check" and "Quit",
// and both act at once.
TEST_F(StatusNotifierTest, DuringACheckThePublishedMenuStopsOrQuits) {
    SilentServer silent;
    WriteSettings({{silent.Address(), "carol", "pw"}});
    StatusNotifierWatcher watcher(m_bus);
    m_tarvo = LaunchTarvo(m_bus.Address());
    const QString item = AwaitItem(watcher);
    ASSERT_FALSE(item.isEmpty());

    for (const char* choice : {"_Stop check", "_Quit"}) {
        SCOPED_TRACE(choice);
        ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(AwaitMenu(item, 9), "_Check now")));
        std::vector<PublishedItem> menu = AwaitMenu(item, 2);
        ASSERT_EQ(menu.size(), 2u);
        EXPECT_EQ(menu[0].label, "_Stop check");
        EXPECT_EQ(menu[1].label, "_Quit");
        ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(menu, choice)));
    }
    ASSERT_TRUE(PumpUntil([&] { return m_tarvo.HasEnded(); }, 10s));
    ASSERT_TRUE(WIFEXITED(m_tarvo.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(m_tarvo.ExitStatus()), 0);
}

// A panel that starts after Tarvo, as at log-in, still gets the icon.
TEST_F(StatusNotifierTest, AHostThatStartsLaterGetsTheItem) {
    WriteSettings({{"127.0.0.1:1", "alice", "secret"}});
    m_tarvo = LaunchTarvo(m_bus.Address());
    ASSERT_TRUE(WaitFor([&] {
        return !m_desktop.Xdo({"search", "--name", "^Qt Selection Owner for tarvo$"}).empty();
    }));
    std::this_thread::sleep_for(5s);
    ASSERT_FALSE(m_tarvo.HasEnded());

    StatusNotifierWatcher watcher(m_bus);
    const auto started = std::chrono::steady_clock::now();
    const QString item = AwaitItem(watcher, 20s);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    ASSERT_FALSE(item.isEmpty()) << "no item within 20 seconds";
    std::printf("the item came %lld ms after the host\n", static_cast<long long>(took.count()));
    EXPECT_EQ(AwaitMenu(item, 9).size(), 9u);
    EXPECT_FALSE(m_tarvo.HasEnded());
}

// The restart for a panel that comes late keeps what was announced; a host
// that registers with a watcher already there counts as a late panel too.
TEST_F(StatusNotifierTest, TheRestartForALateHostKeepsWhatWasAnnounced) {
    DovecotServer dovecot;
    dovecot.AddUser("bob", "pw");
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: one\nMessage-ID: <1@x>\n\nhi\n");
    WriteSettings({{dovecot.Address(), "bob", "pw"}});
    {
        StatusNotifierWatcher watcher(m_bus);
        m_tarvo = LaunchTarvo(m_bus.Address());
        const QString item = AwaitItem(watcher);
        ASSERT_FALSE(item.isEmpty());
        ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(AwaitMenu(item, 9), "_Check now")));
        ASSERT_TRUE(PumpUntil([&] { return Shows("1 new message(s), 0 pending, 0 error(s)"); }));
        m_tarvo = ChildProcess();
    }

    StatusNotifierWatcher watcher(m_bus, false);
    m_tarvo = LaunchTarvo(m_bus.Address());
    ASSERT_TRUE(WaitFor([&] {
        return !m_desktop.Xdo({"search", "--name", "^Qt Selection Owner for tarvo$"}).empty();
    }));
    PumpUntil([] { return false; }, 2s);
    ASSERT_TRUE(watcher.RegisteredStatusNotifierItems().isEmpty());
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: two\nMessage-ID: <2@x>\n\nhi\n");
    watcher.HostStarted();
    const QString item = AwaitItem(watcher);
    ASSERT_FALSE(item.isEmpty()) << "no restart for the host";
    ASSERT_TRUE(ClickMenuItem(m_bus, item, IdOf(AwaitMenu(item, 9), "_Check now")));
    EXPECT_TRUE(PumpUntil([&] { return Shows("1 new message(s), 1 pending, 0 error(s)"); }))
        << WindowList();
}

} // namespace
