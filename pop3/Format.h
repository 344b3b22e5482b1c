// printf-style formatting of the fixed texts the user sees.
#pragma once

#include <clocale>
#include <cstdio>
#include <locale.h>
#include <string>

namespace format_detail {

// The numbers are written as the C locale has them, whatever locale the
// process runs in: Qt sets the user's, which would make "0.3 seconds" read
// "0,3 seconds". On this thread only, for the length of one formatting.
class CNumbers {
public:
    CNumbers() : m_before(uselocale(Locale())) {}
    ~CNumbers() { uselocale(m_before); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    // Null when it cannot be had, which leaves the thread's locale as it is.
    static locale_t Locale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t m_before;
};

} // namespace format_detail

template <typename... Args> std::string Format(const char* format, Args... args) {
    const format_detail::CNumbers numbers;
    int length = std::snprintf(nullptr, 0, format, args...);
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}
