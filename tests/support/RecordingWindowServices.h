// A desktop that records what the main window asks of it, one line per call,
// and answers the dialogs the way a test scripts them.
#pragma once

#include "WindowServices.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RecordingWindowServices : public WindowServices {
public:
    std::vector<std::string> calls;
    // Each menu published, as its command ids (0 for a separator); kept
    // apart from the calls because it follows every change of the busy flag.
    std::vector<std::string> menus;
    // The size of each table handed to an open headers window; apart from
    // the calls because it follows every check.
    std::vector<std::size_t> refreshed;
    // The sockets watched, each with what its notice calls.
    std::map<int, std::function<void()>> sockets;
    // The table the headers window holds once shown, as the real one does.
    std::shared_ptr<const MessageTable> headersShown;

    // Scripted answers.
    bool optionsAnswer = false;
    Options optionsEntered;
    std::function<void(AccountList&)> editAccounts;
    // Runs inside the named call, as a re-entrant handler would.
    std::function<void()> onWait;
    std::function<void()> onOptions;
    std::function<void()> onAbout;
    uint32_t nextTimerId = 0;       // 0: SetTimer answers with the id asked for
    std::string mailProgramFailure; // what StartMailProgram answers
    int waits = 0;

    void AddTrayIcon(int iconId, const std::string& tip) override {
        Record("AddTrayIcon " + std::to_string(iconId) + " " + tip);
    }
    void ModifyTrayIcon(int iconId, const std::string& tip) override {
        Record("ModifyTrayIcon " + std::to_string(iconId) + " " + tip);
    }
    void DeleteTrayIcon() override { Record("DeleteTrayIcon"); }
    uint32_t SetTimer(uint32_t id, uint32_t intervalMs) override {
        Record("SetTimer " + std::to_string(id) + " " + std::to_string(intervalMs));
        return nextTimerId != 0 ? nextTimerId : id;
    }
    void KillTimer(uint32_t id) override { Record("KillTimer " + std::to_string(id)); }
    void PlayNewMailSound() override { Record("PlayNewMailSound"); }
    void WatchSocket(int fd, std::function<void()> ready) override {
        Record("WatchSocket");
        sockets[fd] = std::move(ready);
    }
    void UnwatchSocket(int fd) override { sockets.erase(fd); }
    void NotifyNewMail(const MessageTable& table, int newCount) override {
        Record("NotifyNewMail " + std::to_string(newCount) + " of " + std::to_string(table.size()));
    }
    std::string StartMailProgram(const std::string& commandLine) override {
        Record("StartMailProgram " + commandLine);
        return mailProgramFailure;
    }
    void ShowMessage(const std::string& text) override { Record("ShowMessage " + text); }
    void SetTrayMenu(std::span<const TrayMenuItem> items) override {
        std::string ids;
        for (const TrayMenuItem& item : items) {
            ids += (ids.empty() ? "" : " ") + std::to_string(item.id);
        }
        menus.push_back(ids);
    }
    void SetForegroundWindow() override { Record("SetForegroundWindow"); }
    void ShowHeadersWindow(std::shared_ptr<const MessageTable> table) override {
        Record("ShowHeadersWindow " + std::to_string(table->size()));
        headersShown = std::move(table);
    }
    void RefreshHeadersWindow(std::shared_ptr<const MessageTable> table) override {
        refreshed.push_back(table->size());
        if (headersShown) {
            headersShown = std::move(table);
        }
    }
    bool RunOptionsDialog(Options& options) override {
        Record("RunOptionsDialog " + std::to_string(options.Delay) + " " +
               std::to_string(options.Sound) + " " + std::to_string(options.Message) + " " +
               std::to_string(options.Notify));
        if (onOptions) {
            onOptions();
        }
        if (optionsAnswer) {
            options = optionsEntered;
        }
        return optionsAnswer;
    }
    void RunMailboxesDialog(AccountList& accounts) override {
        Record("RunMailboxesDialog " + std::to_string(accounts.size()));
        if (editAccounts) {
            editAccounts(accounts);
        }
    }
    void RunAboutDialog() override {
        Record("RunAboutDialog");
        if (onAbout) {
            onAbout();
        }
    }
    void WaitHook() override {
        ++waits;
        if (onWait) {
            onWait();
        }
    }
    void EndProgram() override { Record("EndProgram"); }

    // The calls recorded so far, and a fresh start for the next step.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

private:
    void Record(std::string call) { calls.push_back(std::move(call)); }
};
