#include "ShownText.h"

#include "Utf8.h"

namespace {

enum class Shown { Text, Lines, Terminal };

std::string AsUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
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

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

bool IsBidiOverrideOrIsolate(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Valid UTF-8 in, character by character; what stays is copied in runs.
std::string Cleaned(std::string_view text, Shown shown) {
    std::string cleaned;
    cleaned.reserve(text.size());
    std::size_t kept = 0; // where the run of characters that stay begins
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
        }
        const bool lineEnd = shown == Shown::Lines && (c == '\n' || c == '\r');
        const bool dropped = shown == Shown::Terminal && IsBidiOverrideOrIsolate(c);
        if ((IsControl(c) && !lineEnd) || dropped) {
            cleaned.append(text, kept, at - kept);
            cleaned += dropped ? "" : " ";
            kept = at + length;
        }
        at += length;
    }
    return cleaned.append(text, kept);
}

} // namespace

std::string ShownText(std::string_view bytes) {
    return Cleaned(AsUtf8(bytes), Shown::Text);
}

std::string ShownLines(std::string_view bytes) {
    return Cleaned(AsUtf8(bytes), Shown::Lines);
}

std::string TerminalText(std::string_view bytes) {
    return Cleaned(AsUtf8(bytes), Shown::Terminal);
}
