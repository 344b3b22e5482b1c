#include "TarvoWnd.h"

#include "AppProfile.h"
#include "CheckCycle.h"
#include "Pop3Connection.h"
#include "SettingsStore.h"
#include "Translate.h"
#include "TrayTip.h"
#include "resource.h"

#include <algorithm>
#include <ctime>
#include <span>
#include <utility>

CTarvoWnd::CTarvoWnd(WindowServices& services, AppProfile& profile, Clock clock)
    : m_services(services), m_profile(profile), m_clock(std::move(clock)) {
    if (!LoadSettings()) {
        OnServers();
    }
    LengthenCounts();
}

CTarvoWnd::~CTarvoWnd() = default;

std::chrono::milliseconds CTarvoWnd::BootClock() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::nanoseconds(now.tv_nsec));
}

uint32_t CTarvoWnd::TimerInterval(int32_t delayMinutes) {
    constexpr int64_t kMinute = 60000;
    constexpr int64_t kLongest = 0x7fffffff;
    if (delayMinutes < 0) {
        return kLongest;
    }
    return static_cast<uint32_t>(std::clamp(int64_t{delayMinutes} * kMinute, kMinute, kLongest));
}

void CTarvoWnd::StartTimer() {
    m_timerId = m_services.SetTimer(m_timerId, TimerInterval(m_options.Delay));
}

void CTarvoWnd::ShowProgress(int iconId, const std::string& tip) {
    m_services.ModifyTrayIcon(iconId, FitTrayTip(tip));
}

void CTarvoWnd::SetCurrentConversation(MailConversation* conversation) {
    m_current = conversation;
}

void CTarvoWnd::WaitHook() {
    m_services.WaitHook();
}

void CTarvoWnd::LengthenCounts() {
    if (m_counts.size() < m_accounts.size()) {
        m_counts.resize(m_accounts.size(), 0);
    }
}

void CTarvoWnd::SetBusy(bool busy) {
    m_busy = busy;
    PublishMenu();
}

// While a dialog is open the icon offers no menu: a right click then only
// brings the dialog forward. A check can always be stopped or left.
void CTarvoWnd::PublishMenu() {
    std::span<const TrayMenuItem> menu;
    if (!m_busy) {
        menu = kTrayMenu;
    } else if (m_checking) {
        menu = kCheckingTrayMenu;
    }
    if (menu.data() != m_publishedMenu) {
        m_publishedMenu = menu.data();
        m_services.SetTrayMenu(menu);
    }
}

int CTarvoWnd::OnCreate() {
    m_services.AddTrayIcon(
        IDI_IDLE,
        FitTrayTip(WithStateProblem(translate(
            "TrayTip", m_accounts.size() == 0 ? kNoMailboxesTip
                                              : QT_TRANSLATE_NOOP("TrayTip", "Tarvo is empty")))));
    PublishMenu();
    StartTimer();
    return 0;
}

void CTarvoWnd::OnClose() {
    // Quit during a check: the conversation ends at once, the walk stops, and
    // the check's end closes the window.
    if (m_checking) {
        m_quitAfterCheck = true;
        OnDisconnect();
        return;
    }
    m_push.DropAll();
    m_services.KillTimer(m_timerId);
    m_services.DeleteTrayIcon();
    m_services.EndProgram();
}

void CTarvoWnd::OnTimer(uint32_t eventId) {
    if (eventId == m_timerId) {
        if (!m_busy) {
            OnCheckNow();
        } else if (!m_checking) {
            m_checkAfterDialog = true;
        }
    } else if (eventId == kSettleTimerId) {
        OnSettled();
    } else if (eventId == kPushBurstTimerId) {
        m_services.KillTimer(kPushBurstTimerId);
        CheckPushed();
    } else if (eventId == kNetworkWaitTimerId) {
        m_services.KillTimer(kNetworkWaitTimerId);
        m_awaitingNetwork = false;
        WakeCheckDue();
    } else {
        m_push.OnTimer(eventId);
    }
}

// Another wake while settling starts the delay again: one check follows.
// Connections held before the sleep are dead or soon will be: they are
// opened again by that check.
void CTarvoWnd::OnWake() {
    for (std::size_t account : m_push.DropAll()) {
        m_reopenAfterWake.push_back(account);
    }
    m_services.SetTimer(kSettleTimerId, static_cast<uint32_t>(kSettleDelay.count()));
}

// A wake check with the network still down would only fail: it waits for
// the network's return, within a bound.
void CTarvoWnd::OnNetwork(bool online) {
    const bool back = online && m_offline;
    m_offline = !online;
    if (!back) {
        return;
    }
    if (std::exchange(m_awaitingNetwork, false)) {
        m_services.KillTimer(kNetworkWaitTimerId);
    }
    OnWake();
}

void CTarvoWnd::OnSettled() {
    m_services.KillTimer(kSettleTimerId);
    if (m_offline) {
        if (!std::exchange(m_awaitingNetwork, true)) {
            m_services.SetTimer(kNetworkWaitTimerId, static_cast<uint32_t>(kNetworkWait.count()));
        }
        return;
    }
    WakeCheckDue();
}

// A check under way is the check a wake asks for; a dialog only delays it.
void CTarvoWnd::WakeCheckDue() {
    if (m_checking) {
        return;
    }
    if (m_busy) {
        m_wakeAfterDialog = true;
        return;
    }
    CheckAfterWake();
}

void CTarvoWnd::CheckAfterWake() {
    const bool recent = m_lastCheckEnded && m_clock() - *m_lastCheckEnded < kRecentCheck;
    std::vector<std::size_t> reopen = std::exchange(m_reopenAfterWake, {});
    if (!recent) {
        OnCheckNow();
        return;
    }
    for (std::size_t account : reopen) {
        OnPushCheck(account);
    }
}

// The interval's check covers a wake's too, held connections included.
void CTarvoWnd::DialogClosed() {
    SetBusy(false);
    const bool woke = std::exchange(m_wakeAfterDialog, false);
    if (std::exchange(m_checkAfterDialog, false)) {
        m_reopenAfterWake.clear();
        OnCheckNow();
    } else if (woke) {
        CheckAfterWake();
    }
    CheckPushed();
}

int CTarvoWnd::OnTrayNotify(uint32_t iconId, uint32_t mouseMessage) {
    if (iconId != TRAY_ICON_ID) {
        return 0;
    }
    bool buttonUp = mouseMessage == WM_RBUTTONUP || mouseMessage == WM_LBUTTONUP;
    if (m_busy && buttonUp) {
        m_services.SetForegroundWindow();
        return 1;
    }
    // A right click opens the published menu; the desktop shows it.
    if (mouseMessage == WM_LBUTTONUP) {
        OnCommand(ID_CHECK_NOW);
    }
    return 1;
}

void CTarvoWnd::OnCommand(uint32_t id) {
    // These open a dialog without looking at the busy flag, trusting that
    // only the menu, which stays shut while busy, sends them. A menu choice
    // that comes late (held back by a check) must not open one over a
    // running check or another dialog; the dialog open is brought forward
    // instead, as the notification's action would otherwise do nothing seen.
    bool opensDialog = id == ID_HEADERS || id == ID_SERVERS || id == ID_OPTIONS;
    if (opensDialog && m_busy) {
        if (!m_checking) {
            m_services.SetForegroundWindow();
        }
        return;
    }
    switch (id) {
    case ID_CHECK_NOW:
        OnCheckNow();
        break;
    case ID_READ_MAIL:
        OnReadMail();
        break;
    case ID_HEADERS:
        OnHeaders();
        break;
    case ID_SERVERS:
        OnServers();
        break;
    case ID_OPTIONS:
        OnOptions();
        break;
    case ID_APP_ABOUT:
    case ID_HELP:
        OnAbout();
        break;
    case ID_APP_EXIT:
        OnClose();
        break;
    case ID_DISCONNECT:
        OnDisconnect();
        break;
    default:
        break;
    }
}

void CTarvoWnd::OnCheckNow() {
    if (m_busy) {
        return;
    }
    m_services.KillTimer(m_timerId);
    Check(nullptr);
    if (!m_quitAfterCheck) {
        StartTimer();
        // Failed for want of the network, the check makes none needless: the
        // network's return checks again.
        if (m_offline && m_table->CountOf(MessageError) > 0) {
            m_lastCheckEnded.reset();
        } else {
            m_lastCheckEnded = m_clock();
        }
    }
    CheckPushed();
}

// A server told of a change: that account alone is checked, and the others
// keep their rows and their interval. One that comes during a check or a
// dialog waits for its end.
void CTarvoWnd::OnPushCheck(std::size_t account) {
    if (std::find(m_pushDue.begin(), m_pushDue.end(), account) == m_pushDue.end()) {
        m_pushDue.push_back(account);
    }
    if (!m_busy) {
        CheckPushed();
    }
}

void CTarvoWnd::CheckPushed() {
    while (!m_busy && !m_pushDue.empty()) {
        const std::size_t account = m_pushDue.front();
        const auto last = m_lastPushCheck.find(account);
        const std::chrono::milliseconds now = m_clock();
        if (last != m_lastPushCheck.end() && now - last->second < kPushBurst) {
            m_services.SetTimer(kPushBurstTimerId,
                                static_cast<uint32_t>((kPushBurst - (now - last->second)).count()));
            return;
        }
        m_pushDue.erase(m_pushDue.begin());
        m_lastPushCheck[account] = now;
        if (account < m_accounts.size() && m_firstRows.size() == m_accounts.size() + 1) {
            const std::shared_ptr<const MessageTable> last = m_table;
            const std::vector<std::size_t> firstRows = m_firstRows;
            const CheckScope scope{account, *last, firstRows};
            Check(&scope);
        }
    }
}

void CTarvoWnd::Check(const CheckScope* scope) {
    m_checking = true;
    m_unlockPrompted = false;
    SetBusy(true);
    // The check takes the last table's rows for the headers it keeps; the
    // headers window, or a check of one account, may still need them, so it
    // then fills a copy instead.
    if (m_table.use_count() > 1 || scope != nullptr) {
        m_table = std::make_shared<MessageTable>(*m_table);
    }

    CheckOutcome outcome = RunCheck(m_accounts, m_counts, *m_table, m_knownIds, m_headerCache,
                                    m_signIns, *this, m_limits, scope);
    m_firstRows = std::move(outcome.firstRows);
    // Still checking while the state's lock is waited for: a Quit then ends
    // the program once the state is saved.
    SaveState();
    m_checking = false;
    if (m_quitAfterCheck) {
        SetBusy(false);
        OnClose();
        return;
    }
    TrayState final = FinalTrayState(outcome, *m_table);
    ShowProgress(final.iconId, WithStateProblem(final.tip));
    const bool newMail = outcome.total > 0 && outcome.newMail;
    if (newMail && m_options.Sound) {
        m_services.PlayNewMailSound();
    }
    if (newMail && m_options.Notify) {
        m_services.NotifyNewMail(*m_table, static_cast<int>(m_table->CountOf(MessageNew)));
    }
    if (newMail && m_options.Message) {
        OnHeaders();
    } else {
        m_services.RefreshHeadersWindow(m_table);
    }
    SetBusy(false);
}

void CTarvoWnd::KeepForPush(std::size_t account, std::unique_ptr<CImapConnection> conversation) {
    if (m_options.Push != 0 && !m_quitAfterCheck) {
        m_push.Hold(account, m_accounts[account], std::move(conversation));
    } else {
        conversation->Close();
    }
}

// Not busy: the window only shows a table, and the checks that go on while
// it is open bring it their own.
void CTarvoWnd::OnHeaders() {
    m_services.ShowHeadersWindow(m_table);
}

void CTarvoWnd::OnReadMail() {
    const std::string failure = m_services.StartMailProgram(m_options.MailProgram);
    if (!failure.empty()) {
        m_services.ShowMessage(failure);
    }
}

void CTarvoWnd::OnServers() {
    SetBusy(true);
    AccountList edited = m_accounts;
    m_services.RunMailboxesDialog(edited);
    if (edited != m_accounts) {
        // Held connections and the last rows belong to the accounts as they were.
        m_push.DropAll();
        m_firstRows.clear();
    }
    m_accounts = std::move(edited);
    LengthenCounts();
    SaveSettings();
    DialogClosed();
}

void CTarvoWnd::OnOptions() {
    SetBusy(true);
    Options edited = m_options;
    if (m_services.RunOptionsDialog(edited)) {
        m_options = edited;
        if (m_options.Push == 0) {
            m_push.DropAll();
        }
        SaveSettings();
        m_services.KillTimer(m_timerId);
        StartTimer();
    }
    DialogClosed();
}

void CTarvoWnd::OnAbout() {
    if (m_busy) {
        return;
    }
    SetBusy(true);
    m_services.RunAboutDialog();
    DialogClosed();
}

void CTarvoWnd::OnDisconnect() {
    if (m_current != nullptr) {
        m_current->Abort();
    }
    m_push.DropAll();
}

int CTarvoWnd::LoadSettings() {
    return ::LoadSettings(m_profile, m_options, m_accounts);
}

void CTarvoWnd::SaveSettings() {
    ::SaveSettings(m_profile, m_options, m_accounts);
}

void CTarvoWnd::UseStateFile(std::string path) {
    m_state.emplace(std::move(path), m_limits, [this] { WaitHook(); });
    m_state->Load(m_accounts, m_headerCache, m_knownIds, m_signIns);
}

void CTarvoWnd::SaveState() {
    if (m_state) {
        m_state->Save(m_accounts, m_headerCache, *m_table, m_knownIds, m_signIns);
    }
}

// A state that is never saved is told on the second line, after any failed
// account's reason, for as long as it lasts.
std::string CTarvoWnd::WithStateProblem(const std::string& tip) const {
    if (!m_state || m_state->Problem().empty()) {
        return tip;
    }
    return tip + (tip.find('\n') == std::string::npos ? "\n" : " ") + m_state->Problem();
}

std::string CTarvoWnd::EncodePassword(const std::string& password) {
    return ::EncodePassword(password);
}

std::string CTarvoWnd::DecodePassword(const std::string& stored) {
    return ::DecodePassword(stored);
}
