// A check observer for runs that watch only the check's result.
#pragma once

#include "CheckCycle.h"

class QuietObserver : public CheckObserver {
public:
    void ShowProgress(int, const std::string&) override {}
    void SetCurrentConversation(CPop3Connection*) override {}
    void WaitHook() override {}
};
