#include "TrayTip.h"

std::string FitTrayTip(const std::string& tip) {
    if (tip.size() <= kTrayTipLimit) {
        return tip;
    }
    std::size_t cut = kTrayTipLimit;
    // Bytes that are not valid UTF-8 are shown as Latin-1, where any cut is a
    // character boundary; stepping back over 10xxxxxx bytes is harmless there.
    while (cut > 0 && (static_cast<unsigned char>(tip[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return tip.substr(0, cut);
}
