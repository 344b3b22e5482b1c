// Where a secret comes from, each source against the real thing: the shell,
// a gnome-keyring-daemon on a private bus, scripted D-Bus services, and a
// check of the test Dovecot signing in with what they gave.
#include "AccountSecret.h"
#include "AppProfile.h"
#include "CheckCycle.h"
#include "CommandSecret.h"
#include "DovecotServer.h"
#include "FileRegistry.h"
#include "KeyringSecret.h"
#include "LoopbackListener.h"
#include "MemoryRegistry.h"
#include "OnlineAccountSecret.h"
#include "Pop3Connection.h"
#include "PrivateBus.h"
#include "QuietObserver.h"
#include "RecordingWindowServices.h"
#include "SettingsStore.h"
#include "TableColumns.h"
#include "TarvoWnd.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Bounds far below the 30 s a user gets, far above what an answer takes.
SecretWait ShortWait(std::chrono::milliseconds bound = 300ms) {
    SecretWait wait;
    wait.bound = bound;
    return wait;
}

std::string Text(const SecretOutcome& outcome) {
    return outcome.secret ? "secret " + *outcome.secret : "reason " + outcome.reason;
}

void UseBus(const std::string& address) {
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

TEST(CommandSecretTest, FirstLinePrintedIsTheSecretAndFailuresQuoteStandardError) {
    const struct {
        const char* command;
        std::string expected;
    } rows[] = {
        {"printf 'hunter2\\nsecond line\\n'", "secret hunter2"},
        {"printf 'token\\r\\n'", "secret token"},
        // The shell's end is enough: a child left behind holds no check up.
        {"sleep 30 & echo pw", "secret pw"},
        {"echo leaked; echo 'no such entry' >&2; echo more >&2; exit 3",
         "reason The password command failed with exit status 3: no such entry"},
        {"echo leaked; echo leaked >&2; exit 1",
         "reason The password command failed with exit status 1."},
        {"kill -9 $$", "reason The password command was ended by signal 9."},
        // Standard error is quoted only from a command that failed: this one
        // may have written its token to the wrong stream.
        {"echo 'ya29.token' >&2", "reason The password command printed nothing."},
        {"", "reason No password command is set for this account."},
        // Too long to be a password or token, and never sent cut short.
        {"head -c 70000 /dev/zero | tr '\\0' a; echo",
         "reason The password command printed a first line longer than 64 KiB."},
        {"head -c 70000 /dev/zero | tr '\\0' e >&2; exit 1",
         "reason The password command failed with exit status 1: " + std::string(200, 'e')},
    };
    for (const auto& row : rows) {
        SecretRequest request{"pop.example.org", "lena", "file password", row.command};
        EXPECT_EQ(Text(CommandSecret().Fetch(request, ShortWait(10s))), row.expected)
            << row.command;
    }
}

// Nothing of Tarvo's reaches the command: no descriptor it inherited, no
// blocked signal, no ignored one (an ignored SIGPIPE keeps "... | head -1"
// from ending as it should). The C library's own signals, 32 and 33, aside.
TEST(CommandSecretTest, TheCommandInheritsNoDescriptorOrSignalOfTarvos) {
    const int inherited = dup2(STDIN_FILENO, 50);
    ASSERT_EQ(inherited, 50);
    sigset_t term;
    sigset_t before;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &term, &before);
    const auto pipeBefore = signal(SIGPIPE, SIG_IGN);
    const SecretRequest request{"pop.example.org", "lena", "",
                                "echo $(grep SigBlk /proc/$$/status) ignored $(( 0x$(sed -n "
                                "'s/^SigIgn:[[:space:]]*//p' /proc/$$/status) & 0x7fffffff )) "
                                "$(test -e /proc/$$/fd/50 && echo fd 50)"};
    const std::string got = Text(CommandSecret().Fetch(request, ShortWait(10s)));
    signal(SIGPIPE, pipeBefore);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    close(inherited);
    EXPECT_EQ(got, "secret SigBlk: 0000000000000000 ignored 0");
}

TEST(CommandSecretTest, ACommandThatNeverEndsIsBoundedAndStopEndsIt) {
    int hooks = 0;
    SecretWait wait = ShortWait(200ms);
    wait.hook = [&hooks] { ++hooks; };
    const SecretRequest request{"pop.example.org", "lena", "", "echo partial; exec sleep 60"};
    const auto started = std::chrono::steady_clock::now();
    const SecretOutcome outcome = CommandSecret().Fetch(request, wait);
    EXPECT_EQ(Text(outcome), "reason The password command did not answer within 200 ms.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_GT(hooks, 0);

    wait.bound = 60s;
    wait.stopped = [&hooks] { return hooks >= 2; };
    const SecretOutcome stopped = CommandSecret().Fetch(request, wait);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.secret);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 40s);
}

class KeyringTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bus = new PrivateBus(true); }
    static void TearDownTestSuite() {
        delete bus;
        bus = nullptr;
    }
    void SetUp() override { UseBus(bus->Address()); }

    static PrivateBus* bus;
};
PrivateBus* KeyringTest::bus = nullptr;

// As another tool on the desktop would store it: attributes only, its own label.
TEST_F(KeyringTest, APasswordStoredBySecretToolIsFoundByItsAttributes) {
    ChildProcess tool({"/bin/sh", "-c",
                       "printf 'from the tool' | secret-tool store --label=x application tarvo "
                       "server pop.example.org:995 user lena"},
                      bus->Environment());
    ASSERT_TRUE(WaitFor([&tool] { return tool.HasEnded(); }));
    ASSERT_EQ(tool.ExitStatus(), 0);
    const struct {
        const char* server;
        const char* user;
        const char* expected;
    } rows[] = {
        {"pop.example.org:995", "lena", "secret from the tool"},
        {"pop.example.org:995", "ann",
         "reason The keyring holds no password for ann on pop.example.org:995."},
        {"pop.example.org", "lena",
         "reason The keyring holds no password for lena on pop.example.org."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Text(KeyringSecret().Fetch({row.server, row.user, "", ""}, ShortWait(10s))),
                  row.expected);
    }
}

// Moved: the keyring has the password first, then the file loses it in one
// save, and the check signs in with the keyring's copy.
TEST_F(KeyringTest, APasswordMovedFromTheFileSignsInFromTheKeyring) {
    DovecotServer server;
    server.AddUser("lena", "lena-pw");
    server.Deliver("lena", "From: a@example.org\nSubject: hi\nMessage-Id: <1@x>\n\nbody\n");
    char pattern[] = "/tmp/tarvo-settings.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string path = std::string(pattern) + "/Tarvo.reg";
    auto fileText = [&path] {
        std::stringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    };
    FileRegistry registry(path);
    AppProfile profile(registry);
    AccountList accounts{{server.Address(), "lena", "lena-pw"}};
    SaveSettings(profile, {}, accounts);
    ASSERT_NE(fileText().find("\"Password\""), std::string::npos);

    ASSERT_EQ(StoreInKeyring(server.Address(), "lena", "lena-pw", ShortWait(10s)), "");
    accounts[0].secretSource = SecretSourceKind::Keyring;
    accounts[0].password = "";
    SaveSettings(profile, {}, accounts);
    EXPECT_EQ(fileText().find("\"Password\""), std::string::npos);
    EXPECT_NE(fileText().find("\"Secret\"=dword:00000001"), std::string::npos);

    Options options;
    AccountList loaded;
    ASSERT_EQ(LoadSettings(profile, options, loaded), 1);
    Checker checker;
    checker.Check(loaded);
    ASSERT_EQ(checker.table.size(), 1u);
    EXPECT_EQ(Subjects(checker.table)[0], "hi");
    EXPECT_EQ(checker.counts, std::vector<int32_t>{1});
    std::system(("rm -rf '" + std::string(pattern) + "'").c_str());
}

// A keyring that never answers, or no bus at all: a reason, not a hang.
TEST(KeyringFailureTest, AKeyringThatCannotBeReachedGivesTheReason) {
    // First, while no connection to a bus is cached in this process: GLib and
    // libsecret keep the last one, and a program's bus never changes.
    UseBus("unix:path=/nonexistent/bus");
    const std::string reason =
        Text(KeyringSecret().Fetch({"pop.example.org", "lena", "", ""}, ShortWait(10s)));
    EXPECT_EQ(reason.rfind("reason The keyring failed: ", 0), 0u) << reason;

    PrivateBus bus(false);
    BusPeer silent(bus, "org.freedesktop.secrets",
                   [](const std::string&, const std::string&, const std::string&, GVariant*) {
                       return static_cast<GVariant*>(nullptr);
                   });
    UseBus(bus.Address());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Text(KeyringSecret().Fetch({"pop.example.org", "lena", "", ""}, ShortWait())),
              "reason The keyring did not answer within 300 ms.");
    EXPECT_EQ(StoreInKeyring("pop.example.org", "lena", "pw", ShortWait()),
              "The keyring did not answer within 300 ms.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_GT(silent.Calls(), 0);

    // No bus is started where none runs (GLib would start one, and a keyring
    // on it asking for a new keyring's password).
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    EXPECT_EQ(Text(KeyringSecret().Fetch({"pop.example.org", "lena", "", ""}, ShortWait(10s))),
              "reason The keyring cannot be reached: no session bus is running.");
    EXPECT_EQ(
        Text(OnlineAccountSecret().Fetch({"pop.example.org", "lena", "", ""}, ShortWait(10s))),
        "reason GNOME Online Accounts cannot be reached: no session bus is running.");
    unsetenv("XDG_RUNTIME_DIR");
}

// A locked keyring is said to be locked, not to lack the password, where it
// stays locked: the command line never asks to unlock it, and a prompt that
// no desktop shows ends as a refused one.
TEST(LockedKeyringTest, ALockedKeyringThatStaysLockedIsSaidToBe) {
    PrivateBus bus(true);
    UseBus(bus.Address());
    ASSERT_EQ(StoreInKeyring("pop.example.org", "lena", "lena-pw", ShortWait(10s)), "");
    const char* const login[] = {"/org/freedesktop/secrets/collection/login", nullptr};
    GVariant* reply =
        bus.Call("org.freedesktop.secrets", "/org/freedesktop/secrets",
                 "org.freedesktop.Secret.Service", "Lock", g_variant_new("(^ao)", login));
    ASSERT_NE(reply, nullptr);
    g_variant_unref(reply);
    const std::string locked = "reason The keyring is locked; unlock it to let Tarvo read the "
                               "password for lena on pop.example.org.";
    EXPECT_EQ(Text(KeyringSecret().Fetch({"pop.example.org", "lena", "", ""}, ShortWait(10s))),
              locked);
    SecretWait prompting = ShortWait(10s);
    prompting.mayPrompt = [] { return true; };
    EXPECT_EQ(Text(KeyringSecret().Fetch({"pop.example.org", "lena", "", ""}, prompting)), locked);
}

// The tray asks the desktop to unlock the keyring (it shows its own prompt)
// once per check, whatever the number of accounts; the command line never.
TEST(LockedKeyringTest, TheTrayAsksToUnlockOncePerCheck) {
    PrivateBus bus(false);
    static const char* const kItem = "/org/freedesktop/secrets/collection/login/1";
    std::atomic<int> unlocks{0};
    BusPeer service(bus, "org.freedesktop.secrets",
                    [&unlocks](const std::string& path, const std::string&,
                               const std::string& method, GVariant*) -> GVariant* {
                        if (method == "GetAll") {
                            GVariantBuilder properties;
                            g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
                            if (path == kItem) {
                                g_variant_builder_add(&properties, "{sv}", "Locked",
                                                      g_variant_new_boolean(TRUE));
                            }
                            return g_variant_new("(a{sv})", &properties);
                        }
                        const char* const none[] = {nullptr};
                        const char* const item[] = {kItem, nullptr};
                        if (method == "SearchItems") {
                            return g_variant_new("(^ao^ao)", none, item);
                        }
                        if (method == "Unlock") {
                            ++unlocks;
                            return g_variant_new("(^aoo)", none, "/");
                        }
                        return nullptr;
                    });
    UseBus(bus.Address());
    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;
    const AccountList accounts{{"pop.example.org", "lena", "", Security::None, "",
                                SignInMethod::Automatic, SecretSourceKind::Keyring},
                               {"pop.example.org:995", "ann", "", Security::None, "",
                                SignInMethod::Automatic, SecretSourceKind::Keyring}};
    SaveSettings(profile, Options{}, accounts);
    CTarvoWnd window(services, profile);
    window.OnCreate();
    window.OnCheckNow();
    EXPECT_EQ(unlocks, 1);
    EXPECT_EQ(HeaderTexts(window.Table()),
              (std::vector<std::string>{"The keyring is locked; unlock it to let Tarvo read the "
                                        "password for lena on pop.example.org.",
                                        "The keyring is locked; unlock it to let Tarvo read the "
                                        "password for ann on pop.example.org:995."}));
    window.OnCheckNow();
    EXPECT_EQ(unlocks, 2);

    Checker checker;
    checker.Check(accounts);
    EXPECT_EQ(unlocks, 2);
    EXPECT_EQ(HeaderTexts(checker.table), HeaderTexts(window.Table()));
}

GVariant* AccountInterfaces(const char* identity, const char* secretInterface) {
    GVariantBuilder interfaces;
    g_variant_builder_init(&interfaces, G_VARIANT_TYPE("a{sa{sv}}"));
    GVariantBuilder account;
    g_variant_builder_init(&account, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&account, "{sv}", "Identity", g_variant_new_string(identity));
    g_variant_builder_add(&interfaces, "{sa{sv}}", "org.gnome.OnlineAccounts.Account", &account);
    g_variant_builder_add(&interfaces, "{s@a{sv}}", "org.gnome.OnlineAccounts.Mail",
                          g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0));
    g_variant_builder_add(&interfaces, "{s@a{sv}}", secretInterface,
                          g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0));
    return g_variant_builder_end(&interfaces);
}

TEST(OnlineAccountTest, TheMailAccountOfTheUserGivesItsTokenOrPassword) {
    PrivateBus bus(false);
    BusPeer accounts(
        bus, "org.gnome.OnlineAccounts",
        [](const std::string& path, const std::string&, const std::string& method,
           GVariant*) -> GVariant* {
            if (method == "GetManagedObjects") {
                GVariantBuilder objects;
                g_variant_builder_init(&objects, G_VARIANT_TYPE("a{oa{sa{sv}}}"));
                g_variant_builder_add(
                    &objects, "{o@a{sa{sv}}}", "/org/gnome/OnlineAccounts/Accounts/account_1",
                    AccountInterfaces("ann@example.org", "org.gnome.OnlineAccounts.OAuth2Based"));
                g_variant_builder_add(
                    &objects, "{o@a{sa{sv}}}", "/org/gnome/OnlineAccounts/Accounts/account_2",
                    AccountInterfaces("bob", "org.gnome.OnlineAccounts.PasswordBased"));
                return g_variant_new("(a{oa{sa{sv}}})", &objects);
            }
            if (method == "GetAccessToken" && path.ends_with("account_1")) {
                return g_variant_new("(si)", "ya29.token", 3600);
            }
            if (method == "GetPassword" && path.ends_with("account_2")) {
                return g_variant_new("(s)", "bob-pw");
            }
            return nullptr;
        });
    UseBus(bus.Address());
    const struct {
        const char* user;
        const char* expected;
    } rows[] = {
        {"ann@example.org", "secret ya29.token"},
        {"bob", "secret bob-pw"},
        {"carl", "reason GNOME Online Accounts has no mail account for carl."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Text(OnlineAccountSecret().Fetch({"pop.example.org", row.user, "", ""},
                                                   ShortWait(10s))),
                  row.expected);
    }
}

// No secret, no contact: the row says why and the server hears nothing. An
// OAuth 2.0 account in clear text does not even ask its source.
TEST(CheckSecretTest, AFailedSourceIsTheAccountsErrorRowAndNothingReachesTheServer) {
    LoopbackListener port;
    const std::string failing = "echo s3cret; echo 'vault is locked' >&2; exit 2";
    // A NUL byte, like a line break, would end up inside the PASS line.
    AccountList accounts{{port.Address(), "lena", "", Security::None, "", SignInMethod::Automatic,
                          SecretSourceKind::Command, failing},
                         {port.Address(), "mia", "", Security::None, "", SignInMethod::OAuth2,
                          SecretSourceKind::Command, failing},
                         {port.Address(), "ann", "", Security::None, "", SignInMethod::Automatic,
                          SecretSourceKind::Command, "printf 'pw\\000rest\\n'"}};
    Checker checker;
    checker.Check(accounts);
    const MessageTable& table = checker.table;
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(States(table), (std::vector<uint32_t>{MessageError, MessageError, MessageError}));
    EXPECT_EQ(
        HeaderTexts(table),
        (std::vector<std::string>{
            "The password command failed with exit status 2: vault is locked",
            "An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS "
            "or STARTTLS for it. Nothing was sent.",
            "The user name or password holds a line break or a NUL byte; nothing was sent."}));
    EXPECT_EQ(port.CloseWaiting(), 0);
}

// A refused token is followed by one asked of the source again; Stop ends that too.
TEST(CheckSecretTest, AFreshTokenIsAskedOfTheSourceAgain) {
    char pattern[] = "/tmp/tarvo-token.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string counter = std::string(pattern) + "/n";
    const Account account{"pop.example.org",
                          "lena",
                          "",
                          Security::Tls,
                          "",
                          SignInMethod::OAuth2,
                          SecretSourceKind::Command,
                          "n=$(cat " + counter + " 2>/dev/null || echo 0); echo $((n+1)) > " +
                              counter + "; echo token-$n"};
    CPop3Connection conversation;
    QuietObserver observer;
    // The file and the keyring would give the same token again.
    for (SecretSourceKind source : {SecretSourceKind::File, SecretSourceKind::Keyring}) {
        Account fixed = account;
        fixed.secretSource = source;
        EXPECT_FALSE(FreshToken(fixed, observer, conversation)) << static_cast<int>(source);
    }
    const auto fresh = FreshToken(account, observer, conversation);
    EXPECT_EQ(fresh(), "token-0");
    EXPECT_EQ(fresh(), "token-1");
    conversation.Abort();
    EXPECT_EQ(fresh(), std::nullopt);
    std::system(("rm -rf '" + std::string(pattern) + "'").c_str());
}

} // namespace
