// Starting the user's mail program as a desktop entry is started: a command
// line chosen in Options, split by the quoting rules of a desktop entry's
// Exec, or the application the desktop has for mailto: links (mimeapps.list,
// through GIO), run as its entry says. Either starts without an address, and
// runs without a shell, detached: nothing waits for it or reaps it later.
#pragma once

#include <string>

// Empty once it has started, else one sentence that says why it did not.
std::string LaunchMailProgram(const std::string& commandLine);
