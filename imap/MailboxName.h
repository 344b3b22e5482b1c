// Folder names on the wire: IMAP4rev1 writes a name outside printable ASCII
// in modified UTF-7 (RFC 3501, 5.1.3), "Entw&APw-rfe" for "Entwürfe"; the
// user reads and types UTF-8.
#pragma once

#include <string>
#include <string_view>

// A name that is no valid modified UTF-7 is shown as it came.
std::string DecodeMailboxName(std::string_view wire);
// Bytes that are no UTF-8 stand for U+FFFD.
std::string EncodeMailboxName(std::string_view utf8);
