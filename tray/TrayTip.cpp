#include "TrayTip.h"

#include "Utf8.h"

std::string FitTrayTip(const std::string& tip) {
    if (tip.size() <= kTrayTipLimit) {
        return tip;
    }
    std::size_t cut = kTrayTipLimit;
    if (IsValidUtf8(tip)) {
        while (cut > 0 && (static_cast<unsigned char>(tip[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return tip.substr(0, cut);
}
