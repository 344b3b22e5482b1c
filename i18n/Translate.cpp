#include "Translate.h"

#include <string_view>

namespace {

TranslateHook g_hook = nullptr;

} // namespace

void SetTranslateHook(TranslateHook hook) {
    g_hook = hook;
}

std::string translate(const char* context, const char* source, const char* disambiguation, int n) {
    std::string text = g_hook != nullptr ? g_hook(context, source, disambiguation, n) : "";
    if (text.empty()) {
        text = source;
    }
    if (n >= 0) {
        // %Ln is Qt's %n in the user's digits; without Qt, as %n.
        const std::string number = std::to_string(n);
        for (const std::string_view mark : {"%Ln", "%n"}) {
            for (std::size_t at = text.find(mark); at != std::string::npos;
                 at = text.find(mark, at + number.size())) {
                text.replace(at, mark.size(), number);
            }
        }
    }
    return text;
}
