// The fixed texts the user sees, with Qt-style numbered arguments (%1, %2 ...),
// so that a translation may put them in another order.
#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace format_detail {

inline std::string Text(std::string_view text) {
    return std::string(text);
}
inline std::string Text(const char* text) {
    return text;
}
template <std::integral T>
requires(!std::same_as<T, bool> && !std::same_as<T, char>) std::string Text(T number) {
    return std::to_string(number);
}
// As printf's %g in the C locale, whatever locale the process runs in: Qt
// sets the user's, which would make "0.3 seconds" read "0,3 seconds".
std::string Text(double number);

std::string Substitute(std::string_view pattern, const std::string* args, std::size_t count);

} // namespace format_detail

// %1 to %9 stand for the arguments in turn; an argument's own text is never
// read for them again, so a server that calls itself "%2" is shown as such.
template <typename... Args> std::string Format(std::string_view pattern, const Args&... args) {
    const std::string texts[] = {format_detail::Text(args)..., std::string()};
    return format_detail::Substitute(pattern, texts, sizeof...(Args));
}
