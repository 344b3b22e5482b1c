// Text is bytes here; where it must be told apart, valid UTF-8 is taken as
// UTF-8 and anything else as single bytes.
#pragma once

#include <string_view>

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
