#pragma once

#include <string>

// The notification area holds at most 63 bytes of tooltip. A longer text is
// cut there, stepping back so that a UTF-8 character is never split.
inline constexpr std::size_t kTrayTipLimit = 63;
std::string FitTrayTip(const std::string& tip);
