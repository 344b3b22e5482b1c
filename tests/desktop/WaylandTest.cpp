// The real program on a Wayland compositor (Weston, nested in the test's
// Xvfb, with no Xwayland: the program sees no X server), its icon and menu
// on a StatusNotifierItem host.
#include "StatusNotifierHost.h"
#include "TarvoDesktopFixture.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <thread>

namespace {

class WaylandTest : public TarvoDesktopTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "wayland-host";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    void SetUp() override {
        const fs::path plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() +
                                "/platforms/libqwayland-generic.so";
        if (!fs::exists("/usr/bin/weston") || !fs::exists(plugin)) {
            GTEST_SKIP() << "no Weston or no Qt Wayland platform here";
        }
        std::vector<std::string> env = m_desktop.Environment();
        env.push_back("XDG_RUNTIME_DIR=" + (m_config / "runtime").string());
        m_weston =
            ChildProcess({"/usr/bin/weston", "--backend=x11-backend.so", "--socket=wayland-tarvo",
                          "--idle-time=0", "--use-pixman", "--width=640", "--height=480"},
                         env);
        if (!WaitFor([&] { return fs::exists(m_config / "runtime" / "wayland-tarvo"); })) {
            GTEST_SKIP() << "Weston did not start";
        }
    }

    ChildProcess OnWayland(const std::vector<std::string>& argv) const {
        // Qt's Wayland platform leaves some of the Wayland library's objects
        // to the end of the process; LeakSanitizer need not stop at those.
        const fs::path suppressions = m_config / "lsan.supp";
        std::ofstream(suppressions) << "leak:libwayland-client.so\n";
        std::string lsan =
            "LSAN_OPTIONS=print_suppressions=0:suppressions=" + suppressions.string();
        std::vector<std::string> env;
        for (const std::string& variable :
             m_desktop.ProgramEnvironment(m_config.string(), m_config.string(), m_bus.Address())) {
            if (variable.rfind("LSAN_OPTIONS=", 0) == 0) {
                lsan += ":" + variable.substr(variable.find('=') + 1);
            } else if (variable.rfind("DISPLAY=", 0) != 0 &&
                       variable.rfind("QT_QPA_PLATFORM=", 0) != 0) {
                env.push_back(variable);
            }
        }
        env.push_back(lsan);
        env.push_back("WAYLAND_DISPLAY=wayland-tarvo");
        env.push_back("QT_QPA_PLATFORM=wayland");
        return ChildProcess(argv, env);
    }

    // What Qt said on stderr; a machine without a sound card adds its own.
    std::string QtWarnings() const {
        std::ifstream file(m_config / "stderr");
        std::string warnings;
        for (std::string line; std::getline(file, line);) {
            if (line.rfind("ALSA lib ", 0) != 0) {
                warnings += line + "\n";
            }
        }
        return warnings;
    }

    size_t MenuEntries(const QString& item) const { return MenuLayout(m_bus, item).size(); }

    SessionBus m_bus;
    ChildProcess m_weston;
};

// A window that opens over a dialog takes the keyboard; a click on the icon
// brings the dialog back in front of it, where Escape reaches it. Weston
// offers no activation protocol, so this is the fallback: the dialog mapped
// again.
TEST_F(WaylandTest, ACoveredDialogComesForwardWithoutAQtWarning) {
    WriteSettings({{"127.0.0.1:1", "ann", "pw"}});
    StatusNotifierWatcher watcher(m_bus);
    m_tarvo = OnWayland(
        {"/bin/sh", "-c", "exec \"$0\" 2>\"$1\"", TARVO_BINARY, (m_config / "stderr").string()});
    ASSERT_TRUE(PumpUntil([&] { return !watcher.RegisteredStatusNotifierItems().isEmpty(); }));
    const QString item = watcher.RegisteredStatusNotifierItems().front();
    ASSERT_TRUE(PumpUntil([&] { return MenuEntries(item) == 9; }));
    int about = -1;
    for (const PublishedItem& entry : MenuLayout(m_bus, item)) {
        about = entry.label == "_About..." ? entry.id : about;
    }
    ASSERT_TRUE(ClickMenuItem(m_bus, item, about));
    ASSERT_TRUE(PumpUntil([&] { return MenuEntries(item) == 0; })) << "no dialog opened";

    const fs::path shell = m_config / "cover.sh";
    std::ofstream(shell) << "#!/bin/sh\n: >'" << (m_config / "covered").string()
                         << "'\nexec sleep 600\n";
    fs::permissions(shell, fs::perms::owner_all);
    ChildProcess cover = OnWayland({"/usr/bin/weston-terminal", "--shell=" + shell.string()});
    ASSERT_TRUE(WaitFor([&] { return fs::exists(m_config / "covered"); }));
    PumpUntil([] { return false; }, 2s);
    m_desktop.Xdo({"key", "Escape"});
    PumpUntil([] { return false; }, 1s);
    ASSERT_EQ(MenuEntries(item), 0u) << "the cover did not take the keyboard";

    ASSERT_TRUE(ActivateItem(m_bus, item));
    EXPECT_TRUE(PumpUntil(
        [&] {
            m_desktop.Xdo({"key", "Escape"});
            return PumpUntil([&] { return MenuEntries(item) == 9; }, 500ms);
        },
        10s))
        << "the dialog did not come forward";
    m_tarvo.Signal(SIGTERM);
    ASSERT_TRUE(WaitFor([&] { return m_tarvo.HasEnded(); }));
    EXPECT_EQ(QtWarnings(), "");
}

} // namespace
