#include "Quote.h"

#include <algorithm>

std::string CutQuote(std::string text) {
    // Not inside a UTF-8 character, which would make the whole reason read as
    // Latin-1 (text in another charset may lose up to three bytes more).
    std::size_t cut = std::min(text.size(), kMaxQuotedBytes);
    for (int back = 0;
         back < 3 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80;
         ++back) {
        --cut;
    }
    text.resize(cut);
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
