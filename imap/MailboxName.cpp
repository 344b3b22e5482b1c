#include "MailboxName.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One shifted run, between "&" and "-": base64 of UTF-16BE without padding.
std::optional<std::string> DecodeRun(std::string_view run) {
    std::vector<char16_t> units;
    uint32_t bits = 0;
    int count = 0;
    for (char c : run) {
        std::size_t value = kAlphabet.find(c);
        if (value == std::string_view::npos) {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<uint32_t>(value);
        count += 6;
        if (count >= 16) {
            count -= 16;
            units.push_back(static_cast<char16_t>(bits >> count));
            bits &= (1u << count) - 1;
        }
    }
    // What is left must be the zero bits that pad the last unit.
    if (units.empty() || count >= 6 || bits != 0) {
        return std::nullopt;
    }
    std::string utf8;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            return std::nullopt;
        }
        // Printable ASCII is never shifted: a name that shifts it has two spellings.
        if (c >= 0x20 && c < 0x7F) {
            return std::nullopt;
        }
        AppendUtf8(utf8, c);
    }
    return utf8;
}

// The next code point of text, or U+FFFD for a byte that starts none.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const int follow = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (follow == 0 || lead > 0xF4 || at + static_cast<std::size_t>(follow) > text.size()) {
        return kReplacement;
    }
    char32_t c = lead & (0x3F >> follow);
    for (int i = 0; i < follow; ++i) {
        const auto next = static_cast<unsigned char>(text[at]);
        if ((next & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
        ++at;
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    return c < least[follow] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000) ? kReplacement : c;
}

void AppendRun(std::string& out, const std::u16string& units) {
    out += '&';
    uint32_t bits = 0;
    int count = 0;
    for (char16_t unit : units) {
        bits = (bits << 16) | unit;
        count += 16;
        while (count >= 6) {
            count -= 6;
            out += kAlphabet[(bits >> count) & 0x3F];
        }
        bits &= (1u << count) - 1;
    }
    if (count > 0) {
        out += kAlphabet[(bits << (6 - count)) & 0x3F];
    }
    out += '-';
}

} // namespace

std::string DecodeMailboxName(std::string_view wire) {
    std::string utf8;
    for (std::size_t at = 0; at < wire.size();) {
        if (wire[at] != '&') {
            utf8 += wire[at++];
            continue;
        }
        std::size_t end = wire.find('-', at);
        if (end == std::string_view::npos) {
            return std::string(wire);
        }
        if (end == at + 1) {
            utf8 += '&';
        } else if (std::optional<std::string> run = DecodeRun(wire.substr(at + 1, end - at - 1))) {
            utf8 += *run;
        } else {
            return std::string(wire);
        }
        at = end + 1;
    }
    return utf8;
}

std::string EncodeMailboxName(std::string_view utf8) {
    std::string wire;
    std::u16string shifted;
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = NextCodePoint(utf8, at);
        if (c >= 0x20 && c < 0x7F) {
            if (!shifted.empty()) {
                AppendRun(wire, shifted);
                shifted.clear();
            }
            wire += c == '&' ? "&-" : std::string(1, static_cast<char>(c));
        } else if (c >= 0x10000) {
            shifted += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            shifted += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            shifted += static_cast<char16_t>(c);
        }
    }
    if (!shifted.empty()) {
        AppendRun(wire, shifted);
    }
    return wire;
}
