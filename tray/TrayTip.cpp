#include "TrayTip.h"

#include "Utf8.h"

#include <algorithm>

namespace {

std::string Cut(const std::string& line, std::size_t cut) {
    if (line.size() <= cut) {
        return line;
    }
    if (IsValidUtf8(line)) {
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return line.substr(0, cut);
}

} // namespace

std::string FitTrayTip(const std::string& tip) {
    const std::size_t lineEnd = tip.find('\n');
    std::string fitted = Cut(tip.substr(0, lineEnd), kTrayTipLimit);
    if (lineEnd == std::string::npos) {
        return fitted;
    }
    std::string second = tip.substr(lineEnd + 1);
    std::replace(second.begin(), second.end(), '\n', ' ');
    constexpr std::string_view kGoesOn = "...";
    if (second.size() > kTrayTipLimit) {
        second = Cut(second, kTrayTipLimit - kGoesOn.size()).append(kGoesOn);
    }
    return fitted + '\n' + second;
}
