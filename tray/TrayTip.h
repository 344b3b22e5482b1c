#pragma once

#include "CheckCycle.h"
#include "MessageTable.h"

#include <string>

// The notification area holds at most 63 bytes of tooltip a line. A longer
// first line is cut there; a second line (why a check failed) is cut shorter
// and ends in "..." so that it is seen to go on; a third never shows. A cut
// steps back so that a UTF-8 character is never split.
inline constexpr std::size_t kTrayTipLimit = 63;
std::string FitTrayTip(const std::string& tip);

// The icon and tooltip that tell the user how a check ended; where accounts
// failed, a second line names them and gives the first one's reason.
struct TrayState {
    int iconId;
    std::string tip;
};
TrayState FinalTrayState(const CheckOutcome& outcome, const MessageTable& table);
