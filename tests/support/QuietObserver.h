// A check observer for runs that watch only the check's result, and a check
// run directly with what a tray program keeps from one check to the next.
#pragma once

#include "CheckCycle.h"
#include "SignInMemory.h"

class QuietObserver : public CheckObserver {
public:
    void ShowProgress(int, const std::string&) override {}
    void SetCurrentConversation(MailConversation*) override {}
    void WaitHook() override {}
};

struct Checker {
    KnownMessageIds known;
    HeaderCache cache;
    SignInMemory signIns;
    MessageTable table;
    std::vector<int32_t> counts;

    CheckOutcome Check(const AccountList& accounts) {
        QuietObserver observer;
        return RunCheck(accounts, counts, table, known, cache, signIns, observer);
    }
};
