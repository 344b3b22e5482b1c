// Letter case in protocol words (capabilities, mechanism names, response
// codes, fingerprints) is ASCII's alone: no locale's rules apply to it.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return AsciiUpper(c); });
    return upper;
}

// Whether text is upper, a word in capitals, written in any case.
constexpr bool EqualsUpper(std::string_view text, std::string_view upper) {
    return text.size() == upper.size() &&
           std::equal(text.begin(), text.end(), upper.begin(),
                      [](char c, char u) { return AsciiUpper(c) == u; });
}
