// Everything the main window needs of the desktop. The Qt layer implements it
// for real; tests record the calls.
#pragma once

#include "MessageTable.h"
#include "Settings.h"
#include "TrayMenu.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // The notification-area icon: one icon with a tooltip of at most two
    // lines of at most 63 bytes each.
    virtual void AddTrayIcon(int iconId, const std::string& tip) = 0;
    virtual void ModifyTrayIcon(int iconId, const std::string& tip) = 0;
    virtual void DeleteTrayIcon() = 0;

    // Returns the id the timer runs under (0 when it could not be started).
    virtual uint32_t SetTimer(uint32_t id, uint32_t intervalMs) = 0;
    virtual void KillTimer(uint32_t id) = 0;

    // The desktop's new-mail sound, asynchronous; silence when there is none.
    virtual void PlayNewMailSound() = 0;
    // A desktop notification of the new rows of table, replacing the one
    // before: a click on it opens the headers window, its "Read mail" sends
    // ID_READ_MAIL. Nothing without a notification service.
    virtual void NotifyNewMail(const MessageTable& table, int newCount) = 0;

    // Starts the mail program and returns without waiting for it: the
    // command line given, or, when it is blank, the desktop's default mail
    // client. Empty when it started, else one sentence that says why not.
    virtual std::string StartMailProgram(const std::string& commandLine) = 0;
    // A box that tells the user text, with OK. It holds nothing back: the call
    // returns at once and the box stays until it is answered.
    virtual void ShowMessage(const std::string& text) = 0;

    // The menu the icon offers from now on (none when empty), with "&Check
    // now" as default item where it holds it. The desktop shows it itself on
    // a right click, or draws it from what the icon publishes. A chosen
    // command reaches the window after the menu has closed; while a
    // conversation waits, at once.
    virtual void SetTrayMenu(std::span<const TrayMenuItem> items) = 0;
    virtual void SetForegroundWindow() = 0;

    // The headers window holds no check back: it opens (or comes forward)
    // showing the table and returns at once. While it stays open, each
    // check's table replaces what it shows; a closed window stays closed.
    // The table is shared, not copied: the window lets go of it when it
    // closes or is given the next one.
    virtual void ShowHeadersWindow(std::shared_ptr<const MessageTable> table) = 0;
    virtual void RefreshHeadersWindow(std::shared_ptr<const MessageTable> table) = 0;

    // The modal dialogs. Each returns only when the dialog has closed.
    // In: the values to show. Out: the values confirmed. True for OK.
    virtual bool RunOptionsDialog(Options& options) = 0;
    // The list as edited comes back however the dialog was closed.
    virtual void RunMailboxesDialog(AccountList& accounts) = 0;
    virtual void RunAboutDialog() = 0;

    // Calls ready once, from the event loop, when fd has something to read
    // (or has failed); watching it again is asked anew. What comes while a
    // check waits is held until the check is over.
    virtual void WatchSocket(int fd, std::function<void()> ready) = 0;
    virtual void UnwatchSocket(int fd) = 0;

    // Called again and again while a conversation waits on its socket: keeps
    // the desktop painted and lets the Disconnect command through.
    virtual void WaitHook() = 0;

    // Ends the program's event loop (after the window has cleaned up).
    virtual void EndProgram() = 0;
};
