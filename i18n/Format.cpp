#include "Format.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace {

// Null when it cannot be had, which leaves the thread's locale as it is.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

} // namespace

namespace format_detail {

std::string Text(double number) {
    // On this thread only, for the length of one formatting.
    const locale_t before = uselocale(CLocale());
    char text[32];
    std::snprintf(text, sizeof text, "%g", number);
    uselocale(before);
    return text;
}

std::string Substitute(std::string_view pattern, const std::string* args, std::size_t count) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char c = pattern[at];
        const std::size_t index =
            c == '%' && at + 1 < pattern.size() && pattern[at + 1] >= '1' && pattern[at + 1] <= '9'
                ? static_cast<std::size_t>(pattern[at + 1] - '1')
                : count;
        if (index < count) {
            text += args[index];
            ++at;
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace format_detail
