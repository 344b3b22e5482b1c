// A desktop that records what the main window asks of it, one line per call,
// and answers the dialogs the way a test scripts them.
#pragma once

#include "WindowServices.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class RecordingWindowServices : public WindowServices {
public:
    std::vector<std::string> calls;

    // Scripted answers.
    bool optionsAnswer = false;
    Options optionsEntered;
    std::function<void(AccountList&)> editAccounts;
    // Runs inside the named call, as a re-entrant handler would.
    std::function<void()> onWait;
    std::function<void(const MessageTable&)> onHeaders;
    uint32_t nextTimerId = 0; // 0: SetTimer answers with the id asked for
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
    void NotifyNewMail(const MessageTable& table, int newCount) override {
        Record("NotifyNewMail " + std::to_string(newCount) + " of " + std::to_string(table.size()));
    }
    void ShowTrayMenu() override { Record("ShowTrayMenu"); }
    void SetForegroundWindow() override { Record("SetForegroundWindow"); }
    void RunHeadersDialog(const MessageTable& table) override {
        Record("RunHeadersDialog " + std::to_string(table.size()));
        if (onHeaders) {
            onHeaders(table);
        }
    }
    bool RunOptionsDialog(Options& options) override {
        Record("RunOptionsDialog " + std::to_string(options.Delay) + " " +
               std::to_string(options.Sound) + " " + std::to_string(options.Message) + " " +
               std::to_string(options.Notify));
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
    void RunAboutDialog() override { Record("RunAboutDialog"); }
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
