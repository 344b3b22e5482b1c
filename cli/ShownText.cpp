#include "ShownText.h"

#include "Utf8.h"

std::string ShownText(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}
