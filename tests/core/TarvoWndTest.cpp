// The main window's handlers against a recording desktop: what each entry
// point does with the busy flag clear and set, the dialogs' outcomes, start-up
// and Quit.
#include "TarvoWnd.h"

#include "AppProfile.h"
#include "MemoryRegistry.h"
#include "RecordingWindowServices.h"
#include "SettingsStore.h"
#include "TrayTip.h"
#include "resource.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using Calls = std::vector<std::string>;

namespace {

AccountList TwoAccounts() {
    return {{"pop.one", "ann", "pw1"}, {"pop.two", "bob", "pw2"}};
}

class TarvoWndTest : public ::testing::Test {
protected:
    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;

    void Store(const AccountList& accounts, Options options = {}) {
        SaveSettings(profile, options, accounts);
    }
    std::unique_ptr<CTarvoWnd> Start() {
        auto window = std::make_unique<CTarvoWnd>(services, profile);
        window->OnCreate();
        services.Take();
        return window;
    }
    AccountList Stored() {
        Options options;
        AccountList accounts;
        LoadSettings(profile, options, accounts);
        return accounts;
    }
};

TEST_F(TarvoWndTest, FirstRunAsksForAccountsBeforeTheIconExists) {
    struct Case {
        std::function<void(AccountList&)> entered;
        std::string tip;
    } cases[] = {
        {nullptr, "No mailboxes to check"},
        {[](AccountList& a) { a = TwoAccounts(); }, "Tarvo is empty"},
    };
    for (const auto& c : cases) {
        MemoryRegistry fresh;
        AppProfile freshProfile{fresh};
        services.editAccounts = c.entered;
        CTarvoWnd window(services, freshProfile);
        window.OnCreate();
        EXPECT_EQ(services.Take(),
                  (Calls{"RunMailboxesDialog 0", "AddTrayIcon 130 " + c.tip, "SetTimer 1 300000"}));
        EXPECT_FALSE(window.IsBusy());
        EXPECT_EQ(window.Counts().size(), window.Accounts().size());
        Options options;
        AccountList saved;
        LoadSettings(freshProfile, options, saved);
        EXPECT_EQ(saved, window.Accounts());
    }
}

TEST_F(TarvoWndTest, StoredAccountsStartQuietlyAndTheTimerKeepsTheIdItWasGiven) {
    Store(TwoAccounts(), {.Delay = 7, .Sound = 1, .Message = 0});
    services.nextTimerId = 42;
    CTarvoWnd window(services, profile);
    window.OnCreate();
    EXPECT_EQ(services.Take(), (Calls{"AddTrayIcon 130 Tarvo is empty", "SetTimer 1 420000"}));
    EXPECT_EQ(window.TimerId(), 42u);
    EXPECT_EQ(window.Accounts(), TwoAccounts());
    EXPECT_EQ(window.GetOptions().Delay, 7);

    window.OnTimer(1); // not the check timer's id any more
    EXPECT_TRUE(services.Take().empty());
    services.nextTimerId = 0;
    window.OnCommand(ID_APP_EXIT);
    EXPECT_EQ(services.Take(), (Calls{"KillTimer 42", "DeleteTrayIcon", "EndProgram"}));
}

TEST_F(TarvoWndTest, IdleTrayClicks) {
    Store({});
    auto window = Start();
    struct Case {
        uint32_t icon, message;
        int result;
        Calls calls;
    } cases[] = {
        {1, WM_RBUTTONUP, 1, {}}, // the desktop shows the published menu
        {1,
         WM_LBUTTONUP,
         1,
         {"KillTimer 1", "ModifyTrayIcon 130 No mailboxes to check", "SetTimer 1 300000"}},
        {1, 0x0200 /* mouse move */, 1, {}},
        {1, 0x0204 /* right button down */, 1, {}},
        {1, 0x0203 /* left double-click */, 1, {}},
        {2, WM_RBUTTONUP, 0, {}},
        {2, WM_LBUTTONUP, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(window->OnTrayNotify(c.icon, c.message), c.result) << c.message;
        EXPECT_EQ(services.Take(), c.calls) << c.message;
    }
}

// Every entry point, reached while a dialog of the window is open.
TEST_F(TarvoWndTest, BusyFlagKeepsEntryPointsApart) {
    Store(TwoAccounts());
    auto window = Start();
    struct Case {
        const char* name;
        std::function<void(CTarvoWnd&)> enter;
        Calls calls;
    } cases[] = {
        {"check", [](CTarvoWnd& w) { w.OnCheckNow(); }, {}},
        {"check command", [](CTarvoWnd& w) { w.OnCommand(ID_CHECK_NOW); }, {}},
        {"timer", [](CTarvoWnd& w) { w.OnTimer(w.TimerId()); }, {}},
        {"right click",
         [](CTarvoWnd& w) { w.OnTrayNotify(1, WM_RBUTTONUP); },
         {"SetForegroundWindow"}},
        {"left click",
         [](CTarvoWnd& w) { w.OnTrayNotify(1, WM_LBUTTONUP); },
         {"SetForegroundWindow"}},
        {"about", [](CTarvoWnd& w) { w.OnCommand(ID_APP_ABOUT); }, {}},
        {"headers command", [](CTarvoWnd& w) { w.OnCommand(ID_HEADERS); }, {"SetForegroundWindow"}},
        {"options command", [](CTarvoWnd& w) { w.OnCommand(ID_OPTIONS); }, {"SetForegroundWindow"}},
        {"servers command", [](CTarvoWnd& w) { w.OnCommand(ID_SERVERS); }, {"SetForegroundWindow"}},
        {"help", [](CTarvoWnd& w) { w.OnCommand(ID_HELP); }, {}},
        {"read mail", [](CTarvoWnd& w) { w.OnCommand(ID_READ_MAIL); }, {"StartMailProgram "}},
        {"disconnect without a conversation", [](CTarvoWnd& w) { w.OnDisconnect(); }, {}},
    };
    for (const auto& c : cases) {
        Calls inside;
        services.editAccounts = [&](AccountList&) {
            EXPECT_TRUE(window->IsBusy());
            services.Take();
            c.enter(*window);
            inside = services.Take();
        };
        window->OnCommand(ID_SERVERS);
        EXPECT_EQ(inside, c.calls) << c.name;
        EXPECT_FALSE(window->IsBusy()) << c.name;
        services.Take();
    }
}

TEST_F(TarvoWndTest, AboutHoldsTheBusyFlagWhileOpen) {
    Store(TwoAccounts());
    auto window = Start();
    window->OnCommand(ID_APP_ABOUT);
    window->OnCommand(ID_HELP);
    EXPECT_EQ(services.Take(), (Calls{"RunAboutDialog", "RunAboutDialog"}));
    EXPECT_FALSE(window->IsBusy());
}

// The headers window holds no check back: timer ticks and clicks check as
// usual while it is open, and each check hands it the new table.
TEST_F(TarvoWndTest, HeadersWindowHoldsNoCheckBack) {
    Store({});
    auto window = Start();
    window->OnCommand(ID_HEADERS);
    EXPECT_EQ(services.Take(), (Calls{"ShowHeadersWindow 0"}));
    EXPECT_FALSE(window->IsBusy());
    EXPECT_EQ(services.menus.back(), "32771 32777 32772 0 32774 32773 57664 0 57665");

    const Calls check = {"KillTimer 1", "ModifyTrayIcon 130 No mailboxes to check",
                         "SetTimer 1 300000"};
    window->OnTimer(window->TimerId());
    EXPECT_EQ(services.Take(), check);
    window->OnTrayNotify(1, WM_LBUTTONUP);
    EXPECT_EQ(services.Take(), check);
    EXPECT_EQ(services.refreshed, (std::vector<std::size_t>{0, 0}));
}

// The icon offers the whole menu while idle and none while a dialog is open,
// where a right click brings the dialog forward instead.
TEST_F(TarvoWndTest, TrayMenuFollowsTheBusyFlag) {
    const std::string whole = "32771 32777 32772 0 32774 32773 57664 0 57665";
    Store(TwoAccounts());
    auto window = std::make_unique<CTarvoWnd>(services, profile);
    EXPECT_TRUE(services.menus.empty()); // nothing to offer before the icon exists
    window->OnCreate();
    EXPECT_EQ(services.menus, (std::vector<std::string>{whole}));

    const uint32_t dialogs[] = {ID_SERVERS, ID_OPTIONS, ID_APP_ABOUT};
    for (const uint32_t command : dialogs) {
        services.menus.clear();
        std::vector<std::string> inside;
        services.editAccounts = [&](AccountList&) { inside = services.menus; };
        services.onAbout = [&] { inside = services.menus; };
        services.onOptions = [&] { inside = services.menus; };
        window->OnCommand(command);
        EXPECT_EQ(inside, (std::vector<std::string>{""})) << command;
        EXPECT_EQ(services.menus, (std::vector<std::string>{"", whole})) << command;
    }
}

TEST_F(TarvoWndTest, OptionsOkSavesAndRestartsTheTimerCancelChangesNothing) {
    Store(TwoAccounts(), {.Delay = 5, .Sound = 1, .Message = 1});
    auto window = Start();

    services.optionsAnswer = false;
    services.optionsEntered = {.Delay = 30, .Sound = 0, .Message = 0, .Notify = 0};
    window->OnCommand(ID_OPTIONS);
    EXPECT_EQ(services.Take(), (Calls{"RunOptionsDialog 5 1 1 1"}));
    EXPECT_EQ(window->GetOptions().Delay, 5);

    services.optionsAnswer = true;
    services.optionsEntered.MailProgram = "mail --inbox";
    services.nextTimerId = 9;
    window->OnCommand(ID_OPTIONS);
    EXPECT_EQ(services.Take(),
              (Calls{"RunOptionsDialog 5 1 1 1", "KillTimer 1", "SetTimer 1 1800000"}));
    EXPECT_EQ(window->TimerId(), 9u);
    EXPECT_FALSE(window->IsBusy());
    Options saved;
    AccountList accounts;
    LoadSettings(profile, saved, accounts);
    EXPECT_EQ(saved.Delay, 30);
    EXPECT_EQ(saved.Sound, 0);
    EXPECT_EQ(saved.Message, 0);
    EXPECT_EQ(saved.Notify, 0);
    EXPECT_EQ(saved.MailProgram, "mail --inbox");
}

// Read mail starts the program Options names (the desktop's default when
// none is named: BusyFlagKeepsEntryPointsApart); one that does not start is
// told, never passed over.
TEST_F(TarvoWndTest, ReadMailStartsTheChosenProgramAndTellsWhyOneDidNot) {
    Store(TwoAccounts(), {.MailProgram = "mail --inbox"});
    auto window = Start();
    window->OnCommand(ID_READ_MAIL);
    EXPECT_EQ(services.Take(), (Calls{"StartMailProgram mail --inbox"}));

    services.mailProgramFailure = "The mail program could not be started.";
    window->OnCommand(ID_READ_MAIL);
    EXPECT_EQ(services.Take(), (Calls{"StartMailProgram mail --inbox",
                                      "ShowMessage The mail program could not be started."}));
    EXPECT_FALSE(window->IsBusy());
}

TEST_F(TarvoWndTest, MailboxesListsAreTakenBackAndSavedHoweverTheDialogEnds) {
    Store(TwoAccounts());
    auto window = Start();
    services.editAccounts = [](AccountList& a) {
        a.push_back({"pop.three", "cy", "\x80\xff secret"});
    };
    window->OnCommand(ID_SERVERS);
    EXPECT_EQ(services.Take(), (Calls{"RunMailboxesDialog 2"})); // no tooltip, no timer
    ASSERT_EQ(window->Accounts().size(), 3u);
    EXPECT_EQ(window->Counts().size(), 3u);
    EXPECT_EQ(Stored(), window->Accounts());

    services.editAccounts = [](AccountList& a) { a = {}; };
    window->OnCommand(ID_SERVERS);
    EXPECT_EQ(Stored(), AccountList{});
    EXPECT_GE(window->Counts().size(), 3u); // counts are only ever lengthened
}

TEST(TimerInterval, DelayIsKeptWithinWhatATimerCanHold) {
    struct Case {
        int32_t delay;
        uint32_t ms;
    } cases[] = {
        {5, 300000},
        {1, 60000},
        {60, 3600000},
        {0, 60000},
        {-1, 2147483647u},
        {-5, 2147483647u},
        {INT32_MIN, 2147483647u},
        {35791, 2147460000},
        {35792, 2147483647u},
        {INT32_MAX, 2147483647u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTarvoWnd::TimerInterval(c.delay), c.ms) << c.delay;
    }
}

// Resume and reconnect: a check once things have settled, not while busy,
// not twice within a minute, on a clock that goes on during a suspend.
TEST_F(TarvoWndTest, WakeChecksOnceAfterSettlingUnlessBusyOrJustChecked) {
    using namespace std::chrono_literals;
    std::chrono::milliseconds now = 1000s;
    services.editAccounts = [](AccountList&) {};
    CTarvoWnd window(services, profile, [&now] { return now; });
    window.OnCreate();
    services.Take();
    auto wakeAndSettle = [&] {
        window.OnWake();
        window.OnTimer(CTarvoWnd::kSettleTimerId);
        return services.Take();
    };
    const Calls check{"SetTimer 2 5000", "KillTimer 2", "KillTimer 1",
                      "ModifyTrayIcon 130 No mailboxes to check", "SetTimer 1 300000"};
    const Calls skipped{"SetTimer 2 5000", "KillTimer 2"};

    window.OnWake();
    EXPECT_EQ(services.Take(), Calls{"SetTimer 2 5000"});
    EXPECT_EQ(wakeAndSettle(), check); // the second wake restarted the delay
    now += 59s;
    EXPECT_EQ(wakeAndSettle(), skipped);
    now += 2s;
    EXPECT_EQ(wakeAndSettle(), check);

    // Settled while a dialog is open: the check follows when it closes,
    // unless one ran in the last minute.
    now += 10min;
    services.editAccounts = [&](AccountList&) { window.OnTimer(CTarvoWnd::kSettleTimerId); };
    window.OnWake();
    window.OnCommand(ID_SERVERS);
    Calls afterDialog{"SetTimer 2 5000", "RunMailboxesDialog 0", "KillTimer 2"};
    afterDialog.insert(afterDialog.end(), check.begin() + 2, check.end());
    EXPECT_EQ(services.Take(), afterDialog);
    EXPECT_FALSE(window.IsBusy());
    now += 30s;
    services.onOptions = [&] { window.OnTimer(CTarvoWnd::kSettleTimerId); };
    window.OnWake();
    window.OnCommand(ID_OPTIONS);
    EXPECT_EQ(services.Take(),
              (Calls{"SetTimer 2 5000", "RunOptionsDialog 5 1 1 1", "KillTimer 2"}));
    services.onOptions = nullptr;
    window.OnCommand(ID_OPTIONS); // the wake was dealt with, not kept
    EXPECT_EQ(services.Take(), Calls{"RunOptionsDialog 5 1 1 1"});

    // The interval ending while a dialog is open (About... too): its check
    // follows when the dialog closes, and covers a wake that came meanwhile.
    services.onAbout = [&] { window.OnTimer(window.TimerId()); };
    window.OnCommand(ID_APP_ABOUT);
    Calls afterAbout{"RunAboutDialog"};
    afterAbout.insert(afterAbout.end(), check.begin() + 2, check.end());
    EXPECT_EQ(services.Take(), afterAbout);
    now += 30s;
    services.onOptions = [&] {
        window.OnTimer(window.TimerId());
        window.OnWake();
        window.OnTimer(CTarvoWnd::kSettleTimerId);
    };
    window.OnCommand(ID_OPTIONS);
    Calls afterOptions{"RunOptionsDialog 5 1 1 1", "SetTimer 2 5000", "KillTimer 2"};
    afterOptions.insert(afterOptions.end(), check.begin() + 2, check.end());
    EXPECT_EQ(services.Take(), afterOptions);
    services.onOptions = nullptr;
    window.OnCommand(ID_OPTIONS);
    EXPECT_EQ(services.Take(), Calls{"RunOptionsDialog 5 1 1 1"});
}

// Settled while NetworkManager says the network is not back, the wake check
// waits for its return, or the bound; a check that failed for want of the
// network leaves the minute's rule to the next return.
TEST_F(TarvoWndTest, WakeWaitsForTheNetworkAndItsReturnChecksAfterAFailure) {
    using namespace std::chrono_literals;
    std::chrono::milliseconds now = 1000s;
    Store({{"127.0.0.1:1", "ann", "pw"}}); // refused at once
    CTarvoWnd window(services, profile, [&now] { return now; });
    window.OnCreate();
    services.Take();
    const std::string failed = "ModifyTrayIcon 130 Error(s) occured";
    auto checked = [&](const Calls& calls) {
        return std::count_if(calls.begin(), calls.end(),
                             [&](const std::string& call) { return call.rfind(failed, 0) == 0; });
    };
    const Calls waiting{"SetTimer 2 5000", "KillTimer 2", "SetTimer 5 60000"};

    window.OnNetwork(true); // online from the start: nothing to do
    window.OnNetwork(false);
    EXPECT_TRUE(services.Take().empty());
    window.OnWake();
    window.OnTimer(CTarvoWnd::kSettleTimerId);
    EXPECT_EQ(services.Take(), waiting);
    window.OnWake(); // another wake keeps the first bound
    window.OnTimer(CTarvoWnd::kSettleTimerId);
    EXPECT_EQ(services.Take(), (Calls{"SetTimer 2 5000", "KillTimer 2"}));
    window.OnNetwork(true);
    EXPECT_EQ(services.Take(), (Calls{"KillTimer 5", "SetTimer 2 5000"}));
    window.OnTimer(CTarvoWnd::kSettleTimerId);
    EXPECT_EQ(checked(services.Take()), 1);

    // Never back within the bound: the check goes ahead, fails, and the
    // network's return a moment later checks again.
    now += 10min;
    window.OnNetwork(false);
    window.OnWake();
    window.OnTimer(CTarvoWnd::kSettleTimerId);
    EXPECT_EQ(services.Take(), waiting);
    now += 60s;
    window.OnTimer(CTarvoWnd::kNetworkWaitTimerId);
    Calls calls = services.Take();
    EXPECT_EQ(calls.front(), "KillTimer 5");
    EXPECT_EQ(checked(calls), 1);
    now += 10s;
    window.OnNetwork(true);
    window.OnTimer(CTarvoWnd::kSettleTimerId);
    EXPECT_EQ(checked(services.Take()), 1);
    // That one failed online: the minute's rule holds again.
    now += 10s;
    window.OnNetwork(false);
    window.OnNetwork(true);
    window.OnTimer(CTarvoWnd::kSettleTimerId);
    EXPECT_EQ(services.Take(), (Calls{"SetTimer 2 5000", "KillTimer 2"}));
}

TEST(FitTrayTip, LongTipsAreCutAtACharacterBoundary) {
    std::string ascii(100, 'a');
    EXPECT_EQ(FitTrayTip(ascii), std::string(63, 'a'));
    EXPECT_EQ(FitTrayTip(std::string(63, 'b')), std::string(63, 'b'));
    // A two-byte character at bytes 62-63 would be split by a plain cut.
    std::string utf8 = std::string(62, 'c') + "\xc3\xa9" + "tail";
    EXPECT_EQ(FitTrayTip(utf8), std::string(62, 'c'));
    // A three-byte character at bytes 61-63.
    std::string euro = std::string(61, 'd') + "\xe2\x82\xac" + "tail";
    EXPECT_EQ(FitTrayTip(euro), std::string(61, 'd'));
    // Latin-1 text keeps all 63 bytes, even where a byte looks like a
    // UTF-8 continuation.
    std::string latin1(70, '\xa9');
    EXPECT_EQ(FitTrayTip(latin1), std::string(63, '\xa9'));
}

// The second line, why a check failed, is cut to the same length but ends in
// "..."; a third line joins the second.
TEST(FitTrayTip, ASecondLineIsCutOnItsOwnAndSaysItGoesOn) {
    const std::string first = "Error(s) occured\n";
    EXPECT_EQ(FitTrayTip(first + "pop.a: No answer."), first + "pop.a: No answer.");
    EXPECT_EQ(FitTrayTip(first + std::string(63, 'r')), first + std::string(63, 'r'));
    EXPECT_EQ(FitTrayTip(first + std::string(64, 'r')), first + std::string(60, 'r') + "...");
    EXPECT_EQ(FitTrayTip(std::string(70, 'f') + "\n" + std::string(59, 'e') + "\xc3\xa9tail"),
              std::string(63, 'f') + "\n" + std::string(59, 'e') + "...");
    EXPECT_EQ(FitTrayTip(first + "a\nb\nc"), first + "a b c");
}

// Failed accounts whose names leave room for the first reason are named;
// a reason that names its server is not preceded by it again.
TEST(FinalTrayState, TheSecondLineNamesTheFailedAccountsAndTheFirstReasonOnce) {
    struct Row {
        const char* mailbox;
        const char* reason;
    };
    struct Case {
        std::vector<Row> failed;
        std::string second;
    } cases[] = {
        {{{"pop.a", "Could not resolve pop.a."}}, "Could not resolve pop.a."},
        {{{"[::1]:1100", "::1 refused the connection."}}, "::1 refused the connection."},
        {{{"pop.a", "The server refused the login: -ERR no."}},
         "pop.a: The server refused the login: -ERR no."},
        {{{"lena@pop.a", "Could not resolve pop.a."}}, "lena: Could not resolve pop.a."},
        {{{"pop.a", "Could not resolve pop.a."}, {"pop.b", "No answer."}},
         "pop.a, pop.b failed. Could not resolve pop.a."},
        {{{"pop.first.example.org", "Could not resolve pop.first.example.org."},
          {"pop.b", "No answer."}},
         "2 accounts failed. Could not resolve pop.first.example.org."},
    };
    for (const Case& c : cases) {
        MessageTable table;
        for (const Row& row : c.failed) {
            table.AppendError("(error)", row.mailbox, row.reason);
        }
        EXPECT_EQ(FinalTrayState({c.failed.size(), 0, false}, table).tip,
                  "Error(s) occured\n" + c.second);
    }
}

} // namespace
