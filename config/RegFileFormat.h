// The current user's tree as text in the classic registry export format:
// a "REGEDIT4" header, one "[HKEY_CURRENT_USER\...]" line per key followed by
// its values ("Name"=dword:0000002a, "Name"="text" with \\ and \" escaped
// for UTF-8 text, "Name"=hex(N):.. for anything else, "@" for the unnamed
// value). The file is UTF-8 text.
#pragma once

#include "MemoryRegistry.h"

#include <string>
#include <string_view>

std::string FormatRegFile(const RegNode& root);

// Adds every key and value that parses to `into`, skipping what does not;
// returns false when anything was skipped or the header is missing. Text
// with no line at all counts as a clean, empty tree.
bool ParseRegFile(std::string_view text, MemoryRegistry& into);
