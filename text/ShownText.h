// Stored bytes (server and user names, message ids, reasons that quote a
// server or a certificate, header blocks) as a person reads them, in UTF-8:
// valid UTF-8 as it is, anything else read as Latin-1, so that no byte is
// dropped. Subjects and senders are decoded as headers first.
//
// What came from the network must not steer what shows it: a control
// character (C0, DEL, or C1 such as CSI U+009B) could clear a terminal, set its
// title or start a line of its own, so each shows as a blank.
#pragma once

#include <string>
#include <string_view>

std::string ShownText(std::string_view bytes);

// A header block: its line ends stay.
std::string ShownLines(std::string_view bytes);

// For a terminal, which also takes no bidi override or isolate: one would turn
// the rest of the line around, so that a count or a name reads otherwise.
std::string TerminalText(std::string_view bytes);
