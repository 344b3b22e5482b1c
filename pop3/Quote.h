// Words of another program quoted in a reason (a server's reply, a password
// command's error line, a D-Bus service's error): bounded and on one line,
// whoever wrote them.
#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t kMaxQuotedBytes = 200;

// Cut to kMaxQuotedBytes, control characters as blanks, no blank at the end.
std::string CutQuote(std::string text);
