// What the benchmark's runs share: the mail they deliver and a timed check.
#pragma once

#include "CheckCycle.h"
#include "QuietObserver.h"

#include <cstddef>
#include <string>

std::string BenchMessageId(int n);
// About the header block of an ordinary message that crossed two relays,
// padded with trace lines to at least headerBytes, and a short body.
std::string BenchMessage(int n, std::size_t headerBytes = 0);

struct Timing {
    double wall; // seconds
    double cpu;  // this process's CPU seconds
};

double CpuSeconds();
// One RunCheck of accounts, keeping what the check keeps in state.
struct CheckState {
    MessageTable table;
    KnownMessageIds known;
    HeaderCache cache;
    SignInMemory signIns;
};
Timing TimeCheck(const AccountList& accounts, CheckState& state);
std::size_t ErrorRows(const MessageTable& table);
