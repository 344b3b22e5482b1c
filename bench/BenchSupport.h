// What the benchmark's runs share: the mail they deliver and a timed check.
#pragma once

#include "CheckCycle.h"
#include "DelayRelay.h"
#include "QuietObserver.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

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
// One line of a check through a relay: time, round trips, bytes, rows.
void PrintRun(const char* label, const Timing& timing, const DelayRelay::Counts& counts,
              const MessageTable& table);

// This process's peak RSS so far.
double PeakMegabytes();
// A "Vm..." figure of /proc/<process>/status in KiB ("self" for this one);
// -1 when there is none.
long StatusKiB(const std::string& process, const std::string& field);

// A settings, a state and a runtime folder of their own, gone afterwards.
struct Folders {
    std::filesystem::path root;
    Folders();
    ~Folders();
    Folders(const Folders&) = delete;
    Folders& operator=(const Folders&) = delete;
    std::string Settings() const;
};

struct ProgramRun {
    double wall;          // seconds
    double peakMegabytes; // the child's peak RSS
    bool succeeded;       // exited with 0
};
// A program run with its output thrown away, on folders' settings and state.
ProgramRun RunProgram(const std::vector<const char*>& args, const Folders& folders);
// The real program's `--check` on folders' settings and state.
ProgramRun RunCommandLineCheck(const Folders& folders);
