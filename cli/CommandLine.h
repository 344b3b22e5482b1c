// The program's command line: one check of every account without the tray
// (--check, --json for scripts and status bars), --help and --version. It
// runs before anything of Qt starts, takes no one-copy lock (it may run
// beside the tray program) and never writes the settings file.
#pragma once

#include "LineChannel.h"

#include <csignal>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Exit codes.
inline constexpr int kExitAllChecked = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

struct CommandLineSetup {
    std::string settingsPath;
    // The tray program's state for that settings file; none when empty.
    std::string statePath;
    ChannelLimits limits;
    // Turned non-zero (by a signal handler) to give the check up at once.
    const volatile std::sig_atomic_t* interrupted = nullptr;
    // Turned non-zero to give up the conversation in progress, as the tray
    // program's Disconnect does; cleared when done.
    volatile std::sig_atomic_t* disconnect = nullptr;
    // Called before anything is written for a reader (not for --json): puts
    // the user's language in place where there is a catalogue for it.
    void (*speakUserLanguage)() = nullptr;
};

// The exit code when the arguments (without the program name) ask for a
// command-line mode or hold one that is neither ours nor the toolkit's;
// nothing when they are for the tray program.
std::optional<int> RunCommandLine(const std::vector<std::string>& args,
                                  const CommandLineSetup& setup, std::ostream& out,
                                  std::ostream& err);

// main()'s entry: the user's settings file, the usual bounds, Ctrl-C ending
// a check at once, as a Ctrl-C ends any program, and SIGUSR1 (meant for the
// tray program, but `kill -USR1 $(pidof tarvo)` reaches every copy) giving
// up the server in progress instead of ending the check.
std::optional<int> RunCommandLine(int argc, char** argv);
