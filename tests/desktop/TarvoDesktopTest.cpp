// The real program on a private X desktop with an XEmbed tray, driven like a
// user would with xdotool, checking mail on a private Dovecot server.
#include "Desktop.h"
#include "DovecotServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Account {
    std::string server, user, password;
};

std::string Scrambled(const std::string& password) {
    std::string text;
    for (char c : password) {
        text += std::to_string(static_cast<signed char>(c) ^ 0x5D) + " ";
    }
    return text;
}

// A server that takes the connection and then never says a word.
class SilentServer {
public:
    SilentServer() : m_fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_fd, 4) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(m_fd); }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    int m_fd;
    uint16_t m_port = 0;
};

class TarvoDesktopTest : public ::testing::Test {
protected:
    TarvoDesktopTest() : m_config(fs::temp_directory_path() / ("tarvo-desktop-" + Unique())) {
        fs::create_directories(m_config / "Halvik");
        fs::create_directories(m_config / "runtime");
        fs::permissions(m_config / "runtime", fs::perms::owner_all);
    }
    ~TarvoDesktopTest() override {
        m_tarvo = ChildProcess();
        fs::remove_all(m_config);
    }

    static std::string Unique() {
        static int count = 0;
        return std::to_string(getpid()) + "-" + std::to_string(++count);
    }

    void WriteSettings(const std::vector<Account>& accounts, int message = 1) {
        std::ofstream file(m_config / "Halvik" / "Tarvo.reg", std::ios::binary);
        file << "REGEDIT4\r\n";
        const std::string base = "[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo";
        for (size_t i = 0; i < accounts.size(); ++i) {
            file << "\r\n"
                 << base << "\\Mailboxes\\" << i << "]\r\n"
                 << "\"Server\"=\"" << accounts[i].server << "\"\r\n"
                 << "\"User\"=\"" << accounts[i].user << "\"\r\n"
                 << "\"Password\"=\"" << Scrambled(accounts[i].password) << "\"\r\n";
        }
        file << "\r\n"
             << base << "\\Settings]\r\n"
             << "\"Delay\"=dword:00000005\r\n"
             << "\"Sound\"=dword:00000001\r\n"
             << "\"Message\"=dword:0000000" << message << "\r\n";
    }

    void StartTarvo() { m_tarvo = LaunchTarvo(); }

    // The usual start: one account, a tray, Tarvo; the icon's window.
    std::string StartWithAccount(const Account& account) {
        WriteSettings({account});
        m_desktop.StartTray();
        StartTarvo();
        return AwaitIcon("Tarvo is empty");
    }

    ChildProcess LaunchTarvo() {
        std::vector<std::string> env = m_desktop.Environment();
        env.push_back("XDG_CONFIG_HOME=" + m_config.string());
        env.push_back("XDG_RUNTIME_DIR=" + (m_config / "runtime").string());
        env.push_back("QT_QPA_PLATFORM=xcb");
        // No session bus: the icon must take the XEmbed tray.
        env.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent");
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
            if (const char* value = std::getenv(name)) {
                env.push_back(std::string(name) + "=" + value);
            }
        }
        return ChildProcess({TARVO_BINARY}, env);
    }

    std::vector<std::string> TarvoWindows(const std::string& title) const {
        std::vector<std::string> found;
        std::istringstream lines(
            m_desktop.Xdo({"search", "--onlyvisible", "--classname", "^tarvo$"}));
        for (std::string window; std::getline(lines, window);) {
            if (m_desktop.WindowTitle(window) == title) {
                found.push_back(window);
            }
        }
        return found;
    }

    // For failure messages: every named window, the visible ones marked.
    std::string WindowList() const {
        std::vector<std::string> visible = m_desktop.VisibleWindows("");
        std::istringstream lines(m_desktop.Xdo({"search", "--name", ""}));
        std::string list;
        for (std::string window; std::getline(lines, window);) {
            bool shown = std::find(visible.begin(), visible.end(), window) != visible.end();
            list += window + (shown ? " visible \"" : " hidden \"") +
                    m_desktop.WindowTitle(window) + "\"\n";
        }
        return list;
    }

    bool Shows(const std::string& title) const { return !TarvoWindows(title).empty(); }

    // The icon's window carries its tooltip as title.
    std::string AwaitIcon(const std::string& tip) {
        std::string icon;
        bool appeared = WaitFor([&] {
            std::vector<std::string> found = TarvoWindows(tip);
            icon = found.empty() ? "" : found.front();
            return !icon.empty();
        });
        EXPECT_TRUE(appeared) << "no tray icon with the tip \"" << tip << "\"; windows:\n"
                              << WindowList();
        return icon;
    }

    bool AwaitTip(const std::string& icon, const std::string& tip) {
        return WaitFor([&] { return m_desktop.WindowTitle(icon) == tip; });
    }

    // Clicks alternate between two spots far enough apart that two quick
    // clicks never make a double click.
    void Click(const std::string& window, const std::string& button) {
        const char* spot = (++m_clicks % 2 != 0) ? "4" : "16";
        m_desktop.Xdo({"mousemove", "--window", window, spot, spot, "click", button});
    }

    // The tray menu has no caption of its own; its window takes the
    // program's name.
    void OpenMenu(const std::string& icon) {
        Click(icon, "3");
        ASSERT_TRUE(WaitFor([&] { return Shows("Tarvo"); })) << "the tray menu did not open";
    }

    // Picks the menu's n-th command (separators do not count) by keyboard.
    void Choose(const std::string& icon, int n) {
        OpenMenu(icon);
        std::vector<std::string> keys = {"key", "--delay", "0"};
        keys.insert(keys.end(), n, "Down");
        keys.push_back("Return");
        m_desktop.Xdo(keys);
        ASSERT_TRUE(WaitFor([&] { return !Shows("Tarvo"); })) << "the tray menu stayed open";
    }

    void Dismiss(const std::string& title) {
        std::vector<std::string> windows = TarvoWindows(title);
        ASSERT_FALSE(windows.empty()) << "no window \"" << title << "\"";
        m_desktop.Xdo({"windowfocus", "--sync", windows.front(), "key", "Escape"});
        ASSERT_TRUE(WaitFor([&] { return !Shows(title); })) << "\"" << title << "\" stayed open";
    }

    Desktop m_desktop;
    fs::path m_config;
    ChildProcess m_tarvo;
    int m_clicks = 0;
};

TEST_F(TarvoDesktopTest, MenuCommandsInOrderThenQuitRemovesTheIcon) {
    std::string icon = StartWithAccount({"127.0.0.1:1", "alice", "secret"});
    ASSERT_FALSE(icon.empty());

    struct Row {
        int position;
        const char* opens;
    };
    const Row rows[] = {
        {2, "No new messages."},     // &Headers...
        {3, "1 server(s) to check"}, // &Servers...
        {4, "Tarvo options"},        // &Options...
        {5, "About Tarvo"},          // &About...
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.opens);
        Choose(icon, row.position);
        ASSERT_TRUE(WaitFor([&] { return Shows(row.opens); }));
        Dismiss(row.opens);
    }

    Choose(icon, 6); // &Quit
    EXPECT_TRUE(WaitFor([&] { return m_tarvo.HasEnded(); }));
    ASSERT_TRUE(WIFEXITED(m_tarvo.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(m_tarvo.ExitStatus()), 0);
    EXPECT_FALSE(Shows("Tarvo is empty"));
}

// With a dialog open the window is busy: a click on the icon starts nothing
// and brings the dialog forward.
TEST_F(TarvoDesktopTest, AClickWhileADialogIsOpenBringsTheDialogForward) {
    std::string icon = StartWithAccount({"127.0.0.1:1", "alice", "secret"});
    ASSERT_FALSE(icon.empty());
    Choose(icon, 4); // &Options...
    ASSERT_TRUE(WaitFor([&] { return Shows("Tarvo options"); }));
    const std::string options = TarvoWindows("Tarvo options").front();

    m_desktop.Xdo({"windowfocus", "--sync", icon});
    Click(icon, "1");
    EXPECT_TRUE(WaitFor([&] { return m_desktop.Xdo({"getwindowfocus", "-f"}) == options; }));
    EXPECT_EQ(m_desktop.WindowTitle(icon), "Tarvo is empty"); // no check ran
    Dismiss("Tarvo options");
}

TEST_F(TarvoDesktopTest, FirstRunAsksForAccountsBeforeTheIconExists) {
    m_desktop.StartTray();
    StartTarvo();
    ASSERT_TRUE(WaitFor([&] { return Shows("No servers to check"); }));
    EXPECT_FALSE(Shows("No mailboxes to check"));
    Dismiss("No servers to check");
    EXPECT_FALSE(AwaitIcon("No mailboxes to check").empty());
}

TEST_F(TarvoDesktopTest, ASecondCopyEndsAtOnceAndLeavesTheFirstAlone) {
    ASSERT_FALSE(StartWithAccount({"127.0.0.1:1", "alice", "secret"}).empty());
    ChildProcess second = LaunchTarvo();
    ASSERT_TRUE(WaitFor([&] { return second.HasEnded(); }));
    EXPECT_TRUE(WIFEXITED(second.ExitStatus()));
    EXPECT_EQ(TarvoWindows("Tarvo is empty").size(), 1u);
    EXPECT_FALSE(m_tarvo.HasEnded());
}

// A start reads the settings without writing them, and the copy that holds
// the lock, the file's only writer, clears what a killed save left behind.
TEST_F(TarvoDesktopTest, TheOnlyCopyRemovesAKilledSavesTemporaryFileAndNothingElse) {
    const fs::path folder = m_config / "Halvik";
    WriteSettings({{"127.0.0.1:1", "alice", "secret"}});
    const auto settingsText = [&] {
        std::ifstream in(folder / "Tarvo.reg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string settings = settingsText();
    for (const char* name : {".Tarvo.reg.tmp-a1B2c3", ".Tarvo.reg.backup"}) {
        std::ofstream(folder / name) << "REGEDIT4\n";
    }
    m_desktop.StartTray();
    StartTarvo();
    ASSERT_FALSE(AwaitIcon("Tarvo is empty").empty());
    EXPECT_FALSE(fs::exists(folder / ".Tarvo.reg.tmp-a1B2c3"));
    EXPECT_TRUE(fs::exists(folder / ".Tarvo.reg.backup"));
    EXPECT_EQ(settingsText(), settings);

    std::ofstream(folder / ".Tarvo.reg.tmp-d4E5f6") << "REGEDIT4\n";
    ChildProcess second = LaunchTarvo();
    ASSERT_TRUE(WaitFor([&] { return second.HasEnded(); }));
    EXPECT_TRUE(fs::exists(folder / ".Tarvo.reg.tmp-d4E5f6"));
}

TEST_F(TarvoDesktopTest, IconWaitsForATrayThatStartsLater) {
    WriteSettings({{"127.0.0.1:1", "alice", "secret"}});
    StartTarvo();
    ASSERT_TRUE(WaitFor([&] {
        return !m_desktop.Xdo({"search", "--name", "^Qt Selection Owner for tarvo$"}).empty();
    }));
    EXPECT_FALSE(m_tarvo.HasEnded());
    m_desktop.StartTray();
    EXPECT_FALSE(AwaitIcon("Tarvo is empty").empty());
}

TEST_F(TarvoDesktopTest, NewMailOpensTheHeadersOnceAndAgainNothing) {
    DovecotServer dovecot;
    dovecot.AddUser("bob", "pw");
    dovecot.Deliver("bob",
                    "From: Ann <ann@example.org>\nSubject: Lunch\nMessage-ID: <1@x>\n\nhi\n");
    dovecot.Deliver("bob", "From: Ben <ben@example.org>\nSubject: Plan\nMessage-ID: <2@x>\n\nhi\n");
    std::string icon = StartWithAccount({dovecot.Address(), "bob", "pw"});
    ASSERT_FALSE(icon.empty());

    Choose(icon, 1); // &Check now
    const std::string caption = "2 new message(s), 0 pending, 0 error(s)";
    ASSERT_TRUE(WaitFor([&] { return Shows(caption); })) << dovecot.Log();
    EXPECT_EQ(m_desktop.WindowTitle(icon), "You have 2 unread message(s)");
    Dismiss(caption);

    auto logins = [&] {
        std::string log = dovecot.Log();
        size_t count = 0;
        for (size_t at = log.find("Logged out"); at != std::string::npos;
             at = log.find("Logged out", at + 1)) {
            ++count;
        }
        return count;
    };
    ASSERT_EQ(logins(), 1u) << dovecot.Log();
    Click(icon, "1");
    ASSERT_TRUE(WaitFor([&] { return logins() == 2; })) << dovecot.Log();
    // The menu opens only once the check has ended without a window of its own.
    OpenMenu(icon);
    EXPECT_FALSE(Shows(caption));
    EXPECT_EQ(m_desktop.WindowTitle(icon), "You have 2 unread message(s)");
}

TEST_F(TarvoDesktopTest, DisconnectSignalFreesACheckStuckOnASilentServer) {
    SilentServer silent;
    std::string icon = StartWithAccount({silent.Address(), "carol", "pw"});
    ASSERT_FALSE(icon.empty());

    Click(icon, "1");
    ASSERT_TRUE(AwaitTip(icon, "Contacting " + silent.Address() + "..."));
    m_tarvo.Signal(SIGUSR1);
    EXPECT_TRUE(AwaitTip(icon, "Error(s) occured")) << m_desktop.WindowTitle(icon);
    OpenMenu(icon);
}

} // namespace
