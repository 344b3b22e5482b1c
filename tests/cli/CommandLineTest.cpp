// tarvo --check and its neighbours: what a script or a status bar reads, the
// exit codes, and that the settings file is only ever read.
#include "CommandLine.h"

#include "AppProfile.h"
#include "DelayRelay.h"
#include "DovecotServer.h"
#include "FileRegistry.h"
#include "MemoryRegistry.h"
#include "RecordingWindowServices.h"
#include "SaslPeer.h"
#include "ScriptedPeer.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "TrayTip.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using nlohmann::json;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A settings folder of its own per test.
class CommandLineTest : public ::testing::Test {
protected:
    std::string folder;
    std::string settingsPath;
    std::string statePath; // none unless a test gives one

    void SetUp() override {
        char name[] = "/tmp/tarvo-cli-XXXXXX";
        folder = ::mkdtemp(name);
        settingsPath = folder + "/Tarvo.reg";
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    void Store(const AccountList& accounts) {
        FileRegistry registry(settingsPath);
        AppProfile profile(registry);
        SaveSettings(profile, Options{}, accounts);
    }

    struct Result {
        std::optional<int> code;
        std::string out;
        std::string err;
    };
    Result Run(const std::vector<std::string>& args, ChannelLimits limits = {}) {
        std::ostringstream out;
        std::ostringstream err;
        CommandLineSetup setup{settingsPath, statePath, limits, nullptr};
        auto code = RunCommandLine(args, setup, out, err);
        return {code, out.str(), err.str()};
    }
};

TEST_F(CommandLineTest, ArgumentsAndExitCodes) {
    struct Case {
        std::vector<std::string> args;
        std::optional<int> code;
        std::string outStart;
        std::string errPart;
    } cases[] = {
        {{}, std::nullopt, "", ""},
        {{"-platform", "offscreen"}, std::nullopt, "", ""},
        {{"--platform=offscreen", "-session", "1a2b", "-reverse"}, std::nullopt, "", ""},
        {{"--chek"}, 2, "", "unknown argument '--chek'\n\nUsage: tarvo"},
        {{"-platform", "xcb", "stray"}, 2, "", "unknown argument 'stray'"},
        {{"--help"}, 0, "Usage: tarvo [--check [--json]]\n", ""},
        {{"-h"}, 0, "Usage:", ""},
        {{"--version"}, 0, "tarvo 2.1.0.1\n", ""},
        {{"--json"}, 2, "", "--json goes with --check"},
        {{"--check", "--verbose"}, 2, "", "unknown argument '--verbose'"},
        {{"--check"}, 2, "", "No mailboxes to check"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        Result result = Run(c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out.substr(0, c.outStart.size()), c.outStart);
        EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
    }
}

TEST_F(CommandLineTest, TextAndJsonAgainstDovecot) {
    DovecotServer server;
    server.AddUser("alice", "alice-pw");
    server.AddUser("bob", "bob-pw");
    server.Deliver("alice", "From: Ann <ann@example.org>\nSubject: first\n"
                            "Message-Id: <1@example.org>\n\nbody\n");
    server.Deliver("alice", "From: J\xF6rg <joerg@example.org>\nSubject: =?ISO-8859-1?Q?Gr=FC=DF"
                            "e?=\nMessage-Id: <2@example.org>\n\nbody\n");
    // Seen in an earlier account of the same check.
    server.Deliver("bob", "From: Ann <ann@example.org>\nSubject: again\n"
                          "Message-Id: <1@example.org>\n\nbody\n");
    const std::string dovecot = server.Address();
    Store({{dovecot, "alice", "alice-pw"}, {dovecot, "bob", "bob-pw"}, {dovecot, "alice", "no"}});
    const std::string stored = ReadBytes(settingsPath);
    const std::string kRefused = "The server refused the login: -ERR [AUTH] Authentication failed.";

    Result text = Run({"--check"});
    EXPECT_EQ(text.code, 1);
    EXPECT_EQ(text.out, dovecot + ", alice: 2 message(s)\n" + dovecot + ", bob: 1 message(s)\n" +
                            dovecot + ", alice: error: " + kRefused + "\n" +
                            "Total: 3 message(s), 1 of 3 account(s) failed\n");

    Result result = Run({"--check", "--json"});
    EXPECT_EQ(result.code, 1);
    const json parsed = json::parse(result.out);
    EXPECT_EQ(parsed["total"], 3);
    EXPECT_EQ(parsed["accounts_checked"], 3);
    EXPECT_EQ(parsed["accounts_failed"], 1);
    EXPECT_EQ(parsed["accounts"][0],
              json({{"server", dovecot}, {"user", "alice"}, {"count", 2}, {"error", nullptr}}));
    EXPECT_EQ(parsed["accounts"][1]["count"], 1);
    EXPECT_EQ(parsed["accounts"][2]["count"], nullptr);
    EXPECT_EQ(parsed["accounts"][2]["error"], kRefused);
    ASSERT_EQ(parsed["messages"].size(), 3u);
    // Accounts share the server, so the mailbox names the user too.
    EXPECT_EQ(parsed["messages"][0], json({{"mailbox", "alice@" + dovecot},
                                           {"subject", "first"},
                                           {"from", "Ann <ann@example.org>"},
                                           {"message_id", "<1@example.org>"},
                                           {"new", true}}));
    // A raw Latin-1 byte and an encoded word both arrive as readable UTF-8.
    EXPECT_EQ(parsed["messages"][1]["from"], "J\xC3\xB6rg <joerg@example.org>");
    EXPECT_EQ(parsed["messages"][1]["subject"], "Gr\xC3\xBC\xC3\x9F"
                                                "e");
    EXPECT_EQ(parsed["messages"][1]["message_id"], "<2@example.org>");
    EXPECT_EQ(parsed["messages"][2]["mailbox"], "bob@" + dovecot);
    EXPECT_EQ(parsed["messages"][2]["new"], false);

    // Reading the accounts creates a section in memory, never in the file.
    EXPECT_EQ(ReadBytes(settingsPath), stored);

    Store({{dovecot, "bob", "bob-pw"}});
    EXPECT_EQ(Run({"--check"}).code, 0);
}

// The kept headers make a second run a repeat check whose rows are a fresh
// check's; "new" is what the tray program has not announced, whoever ran.
TEST_F(CommandLineTest, RunsShareTheKeptHeadersAndTellWhatTheTrayHasNotAnnounced) {
    DovecotServer server;
    server.AddUser("alice", "alice-pw");
    auto deliver = [&](int n) {
        server.Deliver("alice", "From: ann@example.org\nSubject: s" + std::to_string(n) +
                                    "\nMessage-Id: <" + std::to_string(n) + "@x>\n\nbody\n");
    };
    deliver(1);
    deliver(2);
    DelayRelay relay(server.Port(), 0ms);
    const AccountList accounts{{relay.Address(), "alice", "alice-pw"}};
    Store(accounts);
    const std::string kept = folder + "/state/Tarvo.state";
    auto run = [&](const std::string& state) {
        statePath = state;
        Result result = Run({"--check", "--json"});
        EXPECT_EQ(result.code, 0) << result.err;
        json messages = json::parse(result.out)["messages"];
        std::vector<bool> news;
        for (json& message : messages) {
            news.push_back(message["new"]);
            message.erase("new");
        }
        return std::pair{messages, news};
    };

    EXPECT_EQ(run(kept).second, std::vector<bool>(2, true));
    deliver(3);
    relay.TakeCountsOnceEnded();
    const auto [repeat, repeatNews] = run(kept);
    const DelayRelay::Counts repeatCounts = relay.TakeCountsOnceEnded();
    const auto [fresh, freshNews] = run("");
    const DelayRelay::Counts freshCounts = relay.TakeCountsOnceEnded();
    EXPECT_EQ(repeat, fresh);
    EXPECT_EQ(repeatNews, std::vector<bool>(3, true));
    // The same conversation but for "TOP 1 0\r\nTOP 2 0\r\n".
    EXPECT_EQ(freshCounts.toServer - repeatCounts.toServer, 18u);

    // The tray announces the three; a run after it tells only the fourth as new.
    MemoryRegistry registry;
    AppProfile profile(registry);
    SaveSettings(profile, Options{}, accounts);
    RecordingWindowServices services;
    CTarvoWnd tray(services, profile);
    tray.UseStateFile(kept);
    tray.OnCheckNow();
    EXPECT_EQ(States(tray.Table()), std::vector<uint32_t>(3, MessageNew));
    deliver(4);
    EXPECT_EQ(run(kept).second, (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(run(kept).second, (std::vector<bool>{false, false, false, true}));
}

// A SCRAM sign-in is remembered in the state file: neither a later run nor a
// restarted tray hands the password over another way to a server that no
// longer offers SCRAM.
TEST_F(CommandLineTest, RunsAndTheTrayShareWhatEachAccountSignedInWith) {
    using namespace testpeer;
    const Script greeting{Send("+OK ready\r\n")};
    const Script stripped = greeting + Script{Reply("+OK\r\nUSER\r\n.\r\n"), Reply("+OK bye\r\n")};
    ScriptedPeer peer({greeting + Script{Reply("+OK\r\nUSER\r\nSASL SCRAM-SHA-256\r\n.\r\n")} +
                           ScramExchange("SCRAM-SHA-256", "secret") +
                           Script{Reply("+OK 0 0\r\n"), Reply("+OK bye\r\n")},
                       stripped, stripped, stripped});
    const AccountList accounts{{peer.Address(), "ann", "secret"}};
    Store(accounts);
    statePath = folder + "/state/Tarvo.state";
    MemoryRegistry registry;
    AppProfile profile(registry);
    SaveSettings(profile, Options{}, accounts);
    RecordingWindowServices services;
    const std::string kRefusal = "no longer offers SCRAM-SHA-256";
    {
        CTarvoWnd tray(services, profile);
        tray.UseStateFile(statePath);
        tray.OnCheckNow();
        EXPECT_EQ(States(tray.Table()), std::vector<uint32_t>{});
    }
    for (int run = 0; run < 2; ++run) {
        const Result result = Run({"--check"});
        EXPECT_EQ(result.code, 1);
        EXPECT_NE(result.out.find(kRefusal), std::string::npos) << result.out;
    }
    CTarvoWnd restarted(services, profile);
    restarted.UseStateFile(statePath);
    restarted.OnCheckNow();
    ASSERT_EQ(HeaderTexts(restarted.Table()).size(), 1u);
    EXPECT_NE(HeaderTexts(restarted.Table())[0].find(kRefusal), std::string::npos);
    for (std::size_t session = 1; session < 4; ++session) {
        EXPECT_EQ(peer.Received(session), "CAPA\r\nQUIT\r\n");
    }
}

// Something other than a file where the state or its lock belongs: each
// program says once that its state is not saved.
TEST_F(CommandLineTest, AStateThatCannotBeSavedIsSaidOnce) {
    using namespace testpeer;
    const Script empty = Login() + Script{Reply("+OK 0 0\r\n"), Reply("+OK bye\r\n")};
    ScriptedPeer peer({empty, empty, empty, empty});
    const AccountList accounts{{peer.Address(), "ann", "pw"}};
    Store(accounts);
    MemoryRegistry registry;
    AppProfile profile(registry);
    SaveSettings(profile, Options{}, accounts);
    statePath = folder + "/state/Tarvo.state";
    for (const std::string& inTheWay : {statePath, statePath + ".lock"}) {
        SCOPED_TRACE(inTheWay);
        std::filesystem::remove_all(folder + "/state");
        std::filesystem::create_directories(inTheWay);
        const std::string sentence =
            "Tarvo cannot save its state: " + inTheWay + " is not a regular file.";
        const Result result = Run({"--check"});
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.err, sentence + "\n");
        RecordingWindowServices services;
        CTarvoWnd tray(services, profile);
        tray.UseStateFile(statePath);
        tray.OnCheckNow();
        EXPECT_EQ(services.calls.back(), "SetTimer 1 300000");
        EXPECT_EQ(services.calls[services.calls.size() - 2],
                  "ModifyTrayIcon 130 " + FitTrayTip("No unread messages\n" + sentence));
    }
}

// The same sources as the tray's check; what a command printed never shows.
TEST_F(CommandLineTest, PasswordCommandsSignInAndTheirOutputIsNeverShown) {
    DovecotServer server;
    server.AddUser("alice", "alice-pw");
    const std::string dovecot = server.Address();
    Store({{dovecot, "alice", "", Security::None, "", SignInMethod::PasswordOnly,
            SecretSourceKind::Command, "printf 'alice-pw\\n'"},
           {dovecot, "bob", "", Security::None, "", SignInMethod::PasswordOnly,
            SecretSourceKind::Command,
            "echo bob-pw; echo 'bob-pw denied' >&2; echo locked >&2; exit 4"}});
    const std::string stored = ReadBytes(settingsPath);
    const std::string kFailed = "The password command failed with exit status 4.";
    Result text = Run({"--check"});
    EXPECT_EQ(text.code, 1);
    EXPECT_EQ(text.out, dovecot + ", alice: 0 message(s)\n" + dovecot + ", bob: error: " + kFailed +
                            "\nTotal: 0 message(s), 1 of 2 account(s) failed\n");
    Result result = Run({"--check", "--json"});
    EXPECT_EQ(json::parse(result.out)["accounts"][1]["error"], kFailed);
    EXPECT_EQ((text.out + text.err + result.out + result.err).find("bob-pw"), std::string::npos);
    EXPECT_EQ(ReadBytes(settingsPath), stored);
}

TEST_F(CommandLineTest, DamagedSettingsFileIsReportedAndLeftAlone) {
    const std::string damaged = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\"
                                "Mailboxes\\0]\n\"Server\"=\"pop.example.org\n\x01\xFF garbage";
    std::ofstream(settingsPath, std::ios::binary) << damaged;
    for (const auto& args : {std::vector<std::string>{"--check"}, {"--check", "--json"}}) {
        Result result = Run(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(settingsPath + " cannot be read whole"), std::string::npos)
            << result.err;
    }
    EXPECT_EQ(ReadBytes(settingsPath), damaged);
    EXPECT_EQ(std::system(("test $(ls -A '" + folder + "' | wc -l) -eq 1").c_str()), 0);
}

// A silent server is given up at the bound; a refused count, which the tray
// shows as an empty mailbox, is a failure to a script.
TEST_F(CommandLineTest, SilentServerAndRefusedCountFailTheAccount) {
    using namespace testpeer;
    ScriptedPeer silent(Script{Stall()});
    ScriptedPeer statRefused(Login() + Script{Reply("-ERR not now\r\n"), Reply("+OK bye\r\n")});
    Store({{silent.Address(), "ann", "pw"}, {statRefused.Address(), "bob", "pw"}});
    ChannelLimits limits;
    limits.ioTimeout = 2s;
    const auto start = std::chrono::steady_clock::now();
    Result result = Run({"--check"}, limits);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              silent.Address() + ", ann: error: No reply from " + silent.Address() +
                  " within 2 seconds.\n" + statRefused.Address() +
                  ", bob: error: The server did not give the number of messages: -ERR not now.\n" +
                  "Total: 0 message(s), 2 of 2 account(s) failed\n");
}

// What servers send reaches the terminal, and the JSON, without a control
// character or a bidi override, which could clear the screen, set the title or
// forge a line.
TEST_F(CommandLineTest, NothingAServerSendsSteersTheTerminal) {
    using namespace testpeer;
    const Script refusal{Send("+OK\r\n"), ReplyIf("CAPA", "-ERR\r\n"), Reply("+OK\r\n"),
                         Reply("-ERR \x9bH\x1b]0;owned\x07\r\n"), Reply("+OK\r\n")};
    ScriptedPeer refusing({refusal, refusal});
    const Script mailbox =
        HealthyMailbox({"Subject: \xe2\x80\xaeLive\xc2\x9bH\r\nMessage-ID: <\x1b]0;x@y>\r\n\r\n"});
    ScriptedPeer delivering({mailbox, mailbox});
    Store({{refusing.Address(), "ann", "pw"}, {delivering.Address(), "bob", "pw"}});
    const std::string reason = "The server refused the login: -ERR  H ]0;owned.";
    EXPECT_EQ(Run({"--check"}).out, refusing.Address() + ", ann: error: " + reason + "\n" +
                                        delivering.Address() + ", bob: 1 message(s)\n" +
                                        "Total: 1 message(s), 1 of 2 account(s) failed\n");
    const json parsed = json::parse(Run({"--check", "--json"}).out);
    EXPECT_EQ(parsed["accounts"][0]["error"], reason);
    EXPECT_EQ(parsed["messages"][0]["subject"], "Live H");
    EXPECT_EQ(parsed["messages"][0]["message_id"], "< ]0;x@y>");
}

// Started where no desktop runs (over ssh, say), the tray program says so in
// one line instead of Qt's abort.
TEST_F(CommandLineTest, TheTrayProgramWithoutADisplaySaysSoInOneLine) {
    const std::string errPath = folder + "/err";
    const int status = std::system(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                    "XDG_CONFIG_HOME='" +
                                    folder + "' timeout 60 " TARVO_BINARY " 2>'" + errPath + "'")
                                       .c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(ReadBytes(errPath), "tarvo: Tarvo needs a graphical session (no display could be "
                                  "opened); 'tarvo --check' works without one\n");
}

// The real program's whole check loads no library of the desktop, neither
// linked nor opened on the way, so that it starts as quickly as a small one.
TEST_F(CommandLineTest, ACheckLoadsNoDesktopLibrary) {
    using namespace testpeer;
    ScriptedPeer delivering(HealthyMailbox({"Subject: s\r\nMessage-ID: <1@x>\r\n\r\n"}));
    ::mkdir((folder + "/Halvik").c_str(), 0700);
    settingsPath = folder + "/Halvik/Tarvo.reg";
    Store({{delivering.Address(), "ann", "pw"}});
    const std::string loadsPath = folder + "/loads";
    const int status = std::system(
        ("XDG_CONFIG_HOME='" + folder + "' XDG_STATE_HOME='" + folder +
         "' LD_DEBUG=files timeout 60 " TARVO_BINARY " --check >/dev/null 2>'" + loadsPath + "'")
            .c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string loads = ReadBytes(loadsPath);
    ASSERT_NE(loads.find("file=libc.so.6"), std::string::npos) << "no loads seen";
    for (const char* library : {"libQt6Gui", "libQt6Widgets", "libQt6DBus", "libdbus-1"}) {
        EXPECT_EQ(loads.find(library), std::string::npos) << library;
    }
}

// The real program, which reads its catalogue as installed beside it: a reader
// gets the locale's language, reasons included; --json and a locale Tarvo has
// no catalogue for stay English.
TEST_F(CommandLineTest, ReadersGetTheirLanguageAndScriptsEnglish) {
    ::mkdir((folder + "/Halvik").c_str(), 0700);
    settingsPath = folder + "/Halvik/Tarvo.reg";
    Store({{"127.0.0.1:1", "ann", "pw"}}); // nothing listens on port 1
    struct Case {
        std::string locale, args, out, err;
    } cases[] = {
        {"LC_ALL=de_DE.UTF-8", "--check",
         "127.0.0.1:1, ann: Fehler: 127.0.0.1:1 lehnte die Verbindung ab.\n"
         "Gesamt: 0 Nachrichten, 1 von 1 Konto fehlgeschlagen\n",
         ""},
        {"LC_ALL=de_DE.UTF-8", "--check --json",
         "\"error\":\"127.0.0.1:1 refused the connection.\"", ""},
        {"LANGUAGE=ja:de LANG=fr_FR.UTF-8", "--help", "使い方: tarvo [--check [--json]]\n", ""},
        {"LANG=fr_FR.UTF-8", "--json", "", "tarvo: --json s'utilise avec --check\n"},
        {"LANGUAGE=de LC_ALL=C", "--help", "Usage: tarvo [--check [--json]]\n", ""},
        {"LANGUAGE=de", "--help", "Usage: tarvo [--check [--json]]\n", ""},
        {"LANG=pt_BR.UTF-8", "--help", "Usage: tarvo [--check [--json]]\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale + " " + c.args);
        std::system(("env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + c.locale +
                     " XDG_CONFIG_HOME='" + folder + "' XDG_STATE_HOME='" + folder +
                     "' timeout 60 " TARVO_BINARY " " + c.args + " >'" + folder + "/out' 2>'" +
                     folder + "/err'")
                        .c_str());
        const std::string out = ReadBytes(folder + "/out");
        EXPECT_TRUE(c.out.empty() ? out.empty() : out.find(c.out) != std::string::npos) << out;
        const std::string err = ReadBytes(folder + "/err");
        EXPECT_TRUE(c.err.empty() ? err.empty() : err.starts_with(c.err)) << err;
    }
}

// The real program, so that the signals take their real way: Ctrl-C ends the
// check at once; SIGUSR1, meant for the tray program, gives up the silent
// server and the check goes on.
TEST_F(CommandLineTest, SignalsEndTheCheckOrTheWaitAtOnce) {
    using namespace testpeer;
    ScriptedPeer silent(std::vector<Script>{{Stall()}, {Stall()}}); // one run per signal
    ScriptedPeer hangingUp(Script{Hangup()});
    ::mkdir((folder + "/Halvik").c_str(), 0700);
    settingsPath = folder + "/Halvik/Tarvo.reg";
    Store({{silent.Address(), "ann", "pw"}, {hangingUp.Address(), "bob", "pw"}});
    const std::string outPath = folder + "/out";

    for (const int signal : {SIGINT, SIGUSR1}) {
        SCOPED_TRACE(signal);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
            ::setenv("XDG_STATE_HOME", folder.c_str(), 1);
            ::freopen(outPath.c_str(), "w", stdout);
            ::execl(TARVO_BINARY, "tarvo", "--check", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // The signal goes once the program waits for the silent server, not
        // after a guess at how long a loaded machine takes to start it.
        const bool waiting = silent.AwaitSession(signal == SIGINT ? 0 : 1, 30s);
        ::kill(pid, signal);
        const auto sent = std::chrono::steady_clock::now();
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() - sent < 30s) {
            std::this_thread::sleep_for(10ms);
        }
        if (ended == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "still running 30 s after the signal";
            continue;
        }
        ASSERT_TRUE(waiting) << "the check never reached the silent server";
        // At once: well inside the 60 seconds the silent server would cost.
        EXPECT_LT(std::chrono::steady_clock::now() - sent, 10s);
        const std::string out = ReadBytes(outPath);
        if (signal == SIGINT) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
            EXPECT_EQ(out, "");
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
            EXPECT_NE(out.find(silent.Address() + ", ann: error: "), std::string::npos) << out;
            EXPECT_NE(out.find("Total: 0 message(s), 2 of 2 account(s) failed"), std::string::npos)
                << out;
        }
    }
}

} // namespace
