// The settings as stored, for a program that must leave the file exactly as
// it is: a check from the command line may run beside the tray program, and
// the profile functions create sections even to read. Here they create them
// in a copy held in memory only.
#pragma once

#include "FileRegistry.h"
#include "Settings.h"

#include <string>

// Loads the options and accounts from the file at path. Never writes, renames
// or creates anything. When the file is damaged, the values are what could
// be read of it.
RegFileState ReadSettingsFile(const std::string& path, Options& options, AccountList& accounts);
