// The real program on a private X desktop with an XEmbed tray, driven like a
// user would with xdotool, checking mail on a private Dovecot server.
#include "DovecotServer.h"
#include "TarvoDesktopFixture.h"

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
#include <thread>

namespace {

// How often the process has gone to sleep and been woken, all threads.
long WakeUps(pid_t pid) {
    long total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
                total += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return total;
}

TEST_F(TarvoDesktopTest, MenuCommandsInOrderThenQuitRemovesTheIcon) {
    FakeMailProgram mail;
    m_environment = mail.MakeDesktopDefault(m_config.string());
    std::string icon = StartWithAccount({"127.0.0.1:1", "alice", "secret"});
    ASSERT_FALSE(icon.empty());

    // A right click shows one menu, never a second one over it.
    OpenMenu(icon);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(TarvoWindows("Tarvo").size(), 1u);
    m_desktop.Xdo({"key", "Escape"});
    ASSERT_TRUE(WaitFor([&] { return !Shows("Tarvo"); }));

    struct Row {
        int position;
        const char* opens;
    };
    // With no program chosen in Options, the desktop's default mail client,
    // as its entry says, without an address.
    Choose(icon, 2); // &Read mail
    EXPECT_TRUE(WaitFor([&] { return mail.Starts() == std::vector<std::string>{"--from-entry|"}; }))
        << mail.Starts().size();

    const Row rows[] = {
        {3, "No new messages."},     // &Headers...
        {4, "1 server(s) to check"}, // &Servers...
        {5, "Tarvo options"},        // &Options...
        {6, "About Tarvo"},          // &About...
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.opens);
        Choose(icon, row.position);
        ASSERT_TRUE(WaitFor([&] { return Shows(row.opens); }));
        Dismiss(row.opens);
    }

    Choose(icon, 7); // &Quit
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
    Choose(icon, 5); // &Options...
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

// However the settings folder is spelled.
TEST_F(TarvoDesktopTest, ASecondCopyEndsAtOnceAndLeavesTheFirstAlone) {
    ASSERT_FALSE(StartWithAccount({"127.0.0.1:1", "alice", "secret"}).empty());
    const fs::path link = m_config / "runtime" / "config";
    fs::create_directory_symlink(m_config, link);
    for (const std::string& spelling : {m_config.string(), m_config.string() + "/",
                                        (m_config / "Halvik" / "..").string(), link.string()}) {
        SCOPED_TRACE(spelling);
        ChildProcess second = LaunchTarvo("unix:path=/nonexistent", spelling);
        ASSERT_TRUE(WaitFor([&] { return second.HasEnded(); }));
        EXPECT_TRUE(WIFEXITED(second.ExitStatus()));
    }
    EXPECT_EQ(TarvoWindows("Tarvo is empty").size(), 1u);
    EXPECT_FALSE(m_tarvo.HasEnded());
}

// A log-out's SIGTERM ends Tarvo as Quit does: the lock is let go, so the
// next start is not taken for a second copy.
TEST_F(TarvoDesktopTest, SigtermEndsTarvoAsQuitDoes) {
    ASSERT_FALSE(StartWithAccount({"127.0.0.1:1", "alice", "secret"}).empty());
    m_tarvo.Signal(SIGTERM);
    ASSERT_TRUE(WaitFor([&] { return m_tarvo.HasEnded(); }, 10s));
    ASSERT_TRUE(WIFEXITED(m_tarvo.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(m_tarvo.ExitStatus()), 0);
    EXPECT_TRUE(fs::is_empty(m_config / "runtime"));
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
    // It waits without looking again and again: hardly a wake-up in five
    // seconds once started, where looking five times a second made 80.
    std::this_thread::sleep_for(1s);
    const long before = WakeUps(m_tarvo.Pid());
    std::this_thread::sleep_for(5s);
    EXPECT_LT(WakeUps(m_tarvo.Pid()) - before, 15);
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

// A log-out or a crash forgets nothing: after a new start, mail already
// announced opens no window, and only mail that came since is new.
TEST_F(TarvoDesktopTest, AfterARestartOnlyMailThatCameSinceIsAnnounced) {
    DovecotServer dovecot;
    dovecot.AddUser("bob", "pw");
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: one\nMessage-ID: <1@x>\n\nhi\n");
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: two\nMessage-ID: <2@x>\n\nhi\n");
    std::string icon = StartWithAccount({dovecot.Address(), "bob", "pw"});
    ASSERT_FALSE(icon.empty());
    Choose(icon, 1); // &Check now
    ASSERT_TRUE(WaitFor([&] { return Shows("2 new message(s), 0 pending, 0 error(s)"); }));

    m_tarvo = ChildProcess(); // killed
    StartTarvo();
    icon = AwaitIcon("Tarvo is empty");
    ASSERT_FALSE(icon.empty());
    Click(icon, "1");
    ASSERT_TRUE(AwaitTip(icon, "You have 2 unread message(s)")) << dovecot.Log();
    // The check has ended: a window it opened would be there now.
    OpenMenu(icon);
    EXPECT_FALSE(Shows("0 new message(s), 2 pending, 0 error(s)"));

    m_desktop.Xdo({"key", "Escape"});
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: three\nMessage-ID: <3@x>\n\nhi\n");
    ASSERT_TRUE(WaitFor([&] { return !Shows("Tarvo"); }));
    Click(icon, "1");
    EXPECT_TRUE(WaitFor([&] { return Shows("1 new message(s), 2 pending, 0 error(s)"); }))
        << WindowList();
}

TEST_F(TarvoDesktopTest, DisconnectSignalFreesACheckStuckOnASilentServer) {
    SilentServer silent;
    std::string icon = StartWithAccount({silent.Address(), "carol", "pw"});
    ASSERT_FALSE(icon.empty());

    Click(icon, "1");
    ASSERT_TRUE(AwaitTip(icon, "Contacting " + silent.Address() + "..."));
    m_tarvo.Signal(SIGUSR1);
    // The tooltip's second line says which account failed and why.
    EXPECT_TRUE(
        AwaitTip(icon, "Error(s) occured\n" + silent.Address() + ": The check was stopped."))
        << m_desktop.WindowTitle(icon);
    OpenMenu(icon);
}

// The headers window left open holds no check back: a click checks, and the
// open window shows the new table instead of a second window opening.
TEST_F(TarvoDesktopTest, ChecksGoOnWhileTheHeadersWindowIsOpen) {
    DovecotServer dovecot;
    dovecot.AddUser("bob", "pw");
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: One\nMessage-ID: <1@x>\n\nhi\n");
    std::string icon = StartWithAccount({dovecot.Address(), "bob", "pw"});
    ASSERT_FALSE(icon.empty());

    Click(icon, "1");
    ASSERT_TRUE(WaitFor([&] { return Shows("1 new message(s), 0 pending, 0 error(s)"); }))
        << dovecot.Log();
    dovecot.Deliver("bob", "From: ann@example.org\nSubject: Two\nMessage-ID: <2@x>\n\nhi\n");
    Click(icon, "1");
    const std::string caption = "1 new message(s), 1 pending, 0 error(s)";
    ASSERT_TRUE(WaitFor([&] { return Shows(caption); })) << WindowList() << dovecot.Log();
    EXPECT_EQ(m_desktop.WindowTitle(icon), "You have 2 unread message(s)");
    EXPECT_FALSE(Shows("1 new message(s), 0 pending, 0 error(s)"));
    EXPECT_EQ(TarvoWindows(caption).size(), 1u);

    Click(icon, "1"); // nothing new: the open window still follows
    ASSERT_TRUE(WaitFor([&] { return Shows("0 new message(s), 2 pending, 0 error(s)"); }))
        << WindowList();
    Dismiss("0 new message(s), 2 pending, 0 error(s)");
}

// During a check stuck on a silent server the menu offers "Stop check" and
// "Quit", and both act at once.
TEST_F(TarvoDesktopTest, AStuckCheckCanBeStoppedOrQuitFromTheMenu) {
    SilentServer silent;
    std::string icon = StartWithAccount({silent.Address(), "carol", "pw"});
    ASSERT_FALSE(icon.empty());
    const std::string contacting = "Contacting " + silent.Address() + "...";

    Click(icon, "1");
    ASSERT_TRUE(AwaitTip(icon, contacting));
    Choose(icon, 1); // Stop check
    EXPECT_TRUE(
        AwaitTip(icon, "Error(s) occured\n" + silent.Address() + ": The check was stopped."))
        << m_desktop.WindowTitle(icon);

    Click(icon, "1");
    ASSERT_TRUE(AwaitTip(icon, contacting));
    Choose(icon, 2); // Quit
    ASSERT_TRUE(WaitFor([&] { return m_tarvo.HasEnded(); }, 10s));
    ASSERT_TRUE(WIFEXITED(m_tarvo.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(m_tarvo.ExitStatus()), 0);
}

} // namespace
