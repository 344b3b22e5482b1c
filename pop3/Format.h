// printf-style formatting of the fixed texts the user sees.
#pragma once

#include <cstdio>
#include <string>

template <typename... Args> std::string Format(const char* format, Args... args) {
    int length = std::snprintf(nullptr, 0, format, args...);
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}
