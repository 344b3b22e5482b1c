#include "Utf8.h"

#include <cstddef>

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        unsigned char lead = byte(i);
        std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) {
                return false;
            }
        }
        unsigned char second = length > 1 ? byte(i + 1) : 0x80;
        bool overlong = (lead == 0xE0 && second < 0xA0) || (lead == 0xF0 && second < 0x90);
        bool surrogateOrTooLarge =
            (lead == 0xED && second > 0x9F) || (lead == 0xF4 && second > 0x8F);
        if (overlong || surrogateOrTooLarge) {
            return false;
        }
        i += length;
    }
    return true;
}
