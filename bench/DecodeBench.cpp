// How long the largest subjects and senders a server can send take to become
// readable: 2 MB of encoded words, 10,000 words, and the shapes that make a
// decoder look far ahead or fail over and over.
#include "HeaderDisplay.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kTwoMegabytes = 2 * 1024 * 1024;

std::string Repeated(const std::string& piece, std::size_t bytes) {
    std::string text;
    while (text.size() + piece.size() <= bytes) {
        text += piece;
    }
    return text;
}

void Measure(const char* what, const std::string& raw, HeaderKind kind) {
    const auto start = std::chrono::steady_clock::now();
    const std::string shown = DecodeHeaderForDisplay(raw, kind);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%-42s %8zu bytes -> %8zu bytes %8.1f ms\n", what, raw.size(), shown.size(),
                took.count());
}

} // namespace

int main() {
    DecodeHeaderForDisplay("=?UTF-8?Q?warm_up?=", HeaderKind::Subject);
    std::string tenThousand;
    std::string unknownCharsets;
    for (int i = 0; i < 10000; ++i) {
        tenThousand += "=?UTF-8?B?R3LDvMOfZQ==?= ";
        unknownCharsets += "=?x-made-up-" + std::to_string(i) + "?Q?a?= ";
    }
    Measure("10,000 B words", tenThousand, HeaderKind::Subject);
    Measure("10,000 words in unknown charsets", unknownCharsets, HeaderKind::Subject);
    Measure("2 MB of UTF-8 B words",
            Repeated("=?UTF-8?B?R3LDvMOfZSBhdXMgS8O2bG4=?= ", kTwoMegabytes), HeaderKind::Subject);
    Measure("2 MB of ISO-8859-1 Q words",
            Repeated("=?ISO-8859-1?Q?Sch=F6ne_Gr=FC=DFe?= ", kTwoMegabytes), HeaderKind::Subject);
    Measure("2 MB of ISO-2022-JP B words",
            Repeated("=?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?= ", kTwoMegabytes),
            HeaderKind::Subject);
    Measure("2 MB of malformed words", Repeated("=?UTF-8?B?!!!!?= ", kTwoMegabytes),
            HeaderKind::Subject);
    Measure("2 MB of words that never end", Repeated("=?UTF-8?Q?a", kTwoMegabytes),
            HeaderKind::Subject);
    Measure("2 MB of raw Latin-1", Repeated("K\xf6ln ", kTwoMegabytes), HeaderKind::Subject);
    Measure("one word of 2 MB",
            "=?UTF-8?Q?" + std::string(kTwoMegabytes, 'a') + "?=", HeaderKind::Subject);
    Measure("From: a name of 2 MB of words",
            Repeated("=?UTF-8?Q?J=C3=B6rg?= ", kTwoMegabytes) + "<j@example.org>",
            HeaderKind::From);
    Measure("From: 20,000 senders", Repeated("=?UTF-8?Q?J=C3=B6rg?= <j@example.org>, ", 20000 * 36),
            HeaderKind::From);
    return 0;
}
