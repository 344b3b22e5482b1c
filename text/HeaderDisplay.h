// What a person reads of a stored Subject or From. The core keeps header
// values byte for byte as the server sent them; every place that shows one
// (the headers window, a notification, command-line output) turns it into
// text here, so all of them show the same.
#pragma once

#include <string>
#include <string_view>

enum class HeaderKind { Subject, From };

// UTF-8 text: RFC 2047 encoded words decoded (adjacent ones joined), a
// malformed word shown as it stands, raw bytes outside words read as UTF-8
// when valid and as Windows-1252 otherwise, control characters (C1 too) as
// blanks.
// A From shows each sender as "Name <address>", or the address alone.
std::string DecodeHeaderForDisplay(std::string_view raw, HeaderKind kind);
