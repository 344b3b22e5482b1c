// The program's hidden main window: owns all state (options, accounts, the
// last check's table, the known message ids, the busy flag, the timer id, the
// current conversation) and the handlers. It reaches the desktop only through
// WindowServices.
#pragma once

#include "CheckCycle.h"
#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "MessageTable.h"
#include "PushWatch.h"
#include "Settings.h"
#include "StateFile.h"
#include "WindowServices.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class AppProfile;
class CPop3Connection;

class CTarvoWnd : private CheckObserver {
public:
    // Time that goes on while the machine sleeps, so that a check from before
    // a suspend is not taken for a recent one after it.
    using Clock = std::function<std::chrono::milliseconds()>;
    static std::chrono::milliseconds BootClock();

    // After a wake, the network needs a moment before servers answer.
    static constexpr uint32_t kSettleTimerId = 2;
    static constexpr std::chrono::milliseconds kSettleDelay{5000};
    // A check this recent makes a wake check needless, unless it failed
    // while the network was down.
    static constexpr std::chrono::milliseconds kRecentCheck{60000};
    // Settled while NetworkManager says the network is not back yet, the wake
    // check waits for it this long at most.
    static constexpr uint32_t kNetworkWaitTimerId = 5;
    static constexpr std::chrono::milliseconds kNetworkWait{60000};
    // A server that reports a change again at once is heard at most once in
    // this time: a burst of reports is one check.
    static constexpr uint32_t kPushBurstTimerId = 6;
    static constexpr std::chrono::milliseconds kPushBurst{1000};

    // Loads the settings; with no account stored, asks for accounts at once.
    CTarvoWnd(WindowServices& services, AppProfile& profile, Clock clock = BootClock);
    ~CTarvoWnd() override;

    CTarvoWnd(const CTarvoWnd&) = delete;
    CTarvoWnd& operator=(const CTarvoWnd&) = delete;

    int OnCreate();
    void OnClose();
    void OnTimer(uint32_t eventId);
    int OnTrayNotify(uint32_t iconId, uint32_t mouseMessage);
    // Every command id, whatever its source (menu, left click, another program).
    void OnCommand(uint32_t id);

    void OnCheckNow();
    void OnHeaders();
    // Starts the mail program, whatever else goes on: it waits for nothing.
    void OnReadMail();
    void OnServers();
    void OnOptions();
    void OnAbout();
    void OnDisconnect();
    // The machine has resumed or the network has come back: a check follows
    // once things have settled (and the network is back, or has been waited
    // for long enough), unless one is running or has just run; one that
    // settles while a dialog is open follows when the dialog closes.
    void OnWake();
    // Whether the network is online, as it changes; a return counts as a wake.
    void OnNetwork(bool online);

    int LoadSettings();
    void SaveSettings();
    // Takes up what the state file at path holds (the messages announced
    // before, the headers kept), and keeps it there after each check that
    // changes it.
    void UseStateFile(std::string path);
    void SaveState();
    static std::string EncodePassword(const std::string& password);
    static std::string DecodePassword(const std::string& stored);

    // Read access for the desktop layer and tests.
    const Options& GetOptions() const { return m_options; }
    const AccountList& Accounts() const { return m_accounts; }
    const std::vector<int32_t>& Counts() const { return m_counts; }
    const MessageTable& Table() const { return *m_table; }
    const KnownMessageIds& KnownIds() const { return m_knownIds; }
    bool IsBusy() const { return m_busy; }
    uint32_t TimerId() const { return m_timerId; }
    MailConversation* CurrentConversation() const { return m_current; }

    // The check timer's interval for a Delay in minutes, kept within what a
    // timer can hold: at least one minute, at most 2^31-1 ms. A negative Delay
    // (only a hand-edited file holds one) asks for rare checks, not frequent
    // ones: it gets the longest interval.
    static uint32_t TimerInterval(int32_t delayMinutes);

private:
    // What the check cycle reports while it runs.
    void ShowProgress(int iconId, const std::string& tip) override;
    void SetCurrentConversation(MailConversation* conversation) override;
    void WaitHook() override;
    bool Cancelled() const override { return m_quitAfterCheck; }
    void KeepForPush(std::size_t account, std::unique_ptr<CImapConnection> conversation) override;
    // The check of every account, or of the one scope names.
    void Check(const CheckScope* scope);
    void OnPushCheck(std::size_t account);
    // The checks of accounts whose servers told of changes, once not busy.
    void CheckPushed();
    bool TakeUnlockPrompt() override { return !std::exchange(m_unlockPrompted, true); }

    void StartTimer();
    void LengthenCounts();
    // The busy flag and, with it, what the tray menu holds.
    void SetBusy(bool busy);
    // The end of a modal dialog: the busy flag cleared and a wake that came
    // meanwhile checked for.
    void DialogClosed();
    void PublishMenu();
    std::string WithStateProblem(const std::string& tip) const;
    void OnSettled();
    // The wake check, now or once the dialog open closes.
    void WakeCheckDue();
    void CheckAfterWake();

    WindowServices& m_services;
    AppProfile& m_profile;
    Clock m_clock;
    std::optional<std::chrono::milliseconds> m_lastCheckEnded;
    ChannelLimits m_limits; // of every check, and of what the state file keeps
    uint32_t m_timerId = 1;
    Options m_options;
    // Shared with the headers window while it shows it.
    std::shared_ptr<MessageTable> m_table = std::make_shared<MessageTable>();
    KnownMessageIds m_knownIds;
    HeaderCache m_headerCache;
    SignInMemory m_signIns;
    AccountList m_accounts;
    std::vector<int32_t> m_counts;
    std::optional<StateFile> m_state;
    // Where each account's rows begin in the table.
    std::vector<std::size_t> m_firstRows;
    PushWatch m_push{m_services, [this](std::size_t account) { OnPushCheck(account); }};
    std::vector<std::size_t> m_pushDue;
    std::map<std::size_t, std::chrono::milliseconds> m_lastPushCheck;
    std::vector<std::size_t> m_reopenAfterWake;
    MailConversation* m_current = nullptr;
    bool m_busy = false;
    bool m_checking = false;
    bool m_quitAfterCheck = false;
    bool m_unlockPrompted = false; // in this check
    bool m_wakeAfterDialog = false;
    bool m_checkAfterDialog = false; // an interval ended while a dialog was open
    bool m_offline = false;          // as the desktop last told
    bool m_awaitingNetwork = false;  // a wake check waits for the network
    const TrayMenuItem* m_publishedMenu = nullptr;
};
