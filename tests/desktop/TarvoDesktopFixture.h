// The real program on a private X desktop with an XEmbed tray, driven like a
// user would with xdotool: its settings, its start, and what a user sees.
#pragma once

#include "Desktop.h"
#include "LoopbackListener.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

struct DesktopAccount {
    std::string server, user, password;
};

inline std::string Scrambled(const std::string& password) {
    std::string text;
    for (char c : password) {
        text += std::to_string(static_cast<signed char>(c) ^ 0x5D) + " ";
    }
    return text;
}

// A server that takes connections and then never says a word, unless told
// to close them.
class SilentServer {
public:
    std::string Address() const { return m_listener.Address(); }

    // Closes the connections waiting now; how many it has closed in all.
    int CloseConnections() { return m_closed += m_listener.CloseWaiting(); }

private:
    LoopbackListener m_listener;
    int m_closed = 0;
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

    void WriteSettings(const std::vector<DesktopAccount>& accounts, int message = 1) {
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
    std::string StartWithAccount(const DesktopAccount& account) {
        WriteSettings({account});
        m_desktop.StartTray();
        StartTarvo();
        return AwaitIcon("Tarvo is empty");
    }

    // Without a bus address the icon must take the XEmbed tray. The settings
    // folder may be given another spelling of m_config.
    ChildProcess LaunchTarvo(const std::string& busAddress = "unix:path=/nonexistent",
                             const std::string& configHome = "") {
        std::vector<std::string> environment = m_desktop.ProgramEnvironment(
            m_config.string(), configHome.empty() ? m_config.string() : configHome, busAddress);
        environment.insert(environment.end(), m_environment.begin(), m_environment.end());
        return ChildProcess({TARVO_BINARY}, environment);
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
    // More of the program's environment.
    std::vector<std::string> m_environment;
    ChildProcess m_tarvo;
    int m_clicks = 0;
};
