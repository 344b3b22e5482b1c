// The desktop as the main window sees it, made of Qt: the tray icon and its
// menu, timers, the sound, the modal dialogs and the wait hook.
#pragma once

#include "CommandGate.h"
#include "DesktopNotifier.h"
#include "MessageBoxes.h"
#include "NewMailSound.h"
#include "TrayIcon.h"
#include "WindowServices.h"

#include <QMenu>
#include <QMessageBox>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class AppProfile;
class CHeadersDlg;
class CTarvoWnd;
class TemplateDialog;

class QtWindowServices : public WindowServices {
public:
    QtWindowServices();
    ~QtWindowServices() override;

    // Events reach the window only once it exists; until then (while its
    // constructor asks for accounts) there is nothing to deliver.
    void Attach(CTarvoWnd* window) { m_window = window; }
    CommandGate& Gate() { return m_gate; }
    // Where the headers window's size is kept once the user has given it one.
    void UseProfile(AppProfile* profile) { m_profile = profile; }
    void OnLateTrayHost(std::function<void()> restart) { m_tray.OnLateHost(std::move(restart)); }
    MessageBoxes& Boxes() { return m_boxes; }

    void AddTrayIcon(int iconId, const std::string& tip) override;
    void ModifyTrayIcon(int iconId, const std::string& tip) override;
    void DeleteTrayIcon() override;

    uint32_t SetTimer(uint32_t id, uint32_t intervalMs) override;
    void KillTimer(uint32_t id) override;

    void PlayNewMailSound() override;
    void WatchSocket(int fd, std::function<void()> ready) override;
    void UnwatchSocket(int fd) override;
    void NotifyNewMail(const MessageTable& table, int newCount) override;
    std::string StartMailProgram(const std::string& commandLine) override;
    void ShowMessage(const std::string& text) override;

    void SetTrayMenu(std::span<const TrayMenuItem> items) override;
    void SetForegroundWindow() override;

    void ShowHeadersWindow(std::shared_ptr<const MessageTable> table) override;
    void RefreshHeadersWindow(std::shared_ptr<const MessageTable> table) override;
    bool RunOptionsDialog(Options& options) override;
    void RunMailboxesDialog(AccountList& accounts) override;
    void RunAboutDialog() override;

    void WaitHook() override;
    void EndProgram() override;

private:
    void Send(const std::function<void(CTarvoWnd&)>& handler);
    void SendCommand(uint32_t id);
    // Runs a dialog as the one a click on the busy icon brings forward.
    int RunModal(TemplateDialog& dialog);

    CTarvoWnd* m_window = nullptr;
    AppProfile* m_profile = nullptr;
    TemplateDialog* m_openDialog = nullptr;
    CommandGate m_gate;
    QtMessageBoxes m_boxes;
    std::unique_ptr<CHeadersDlg> m_headers;
    std::unique_ptr<QMessageBox> m_message;
    NewMailSound m_sound;
    QMenu m_menu;
    TrayIcon m_tray;
    DesktopNotifier m_notifier;
    TrayInputOnly m_trayInputOnly;
    std::map<uint32_t, std::unique_ptr<QTimer>> m_timers;
    std::map<int, std::unique_ptr<QSocketNotifier>> m_sockets;
};
