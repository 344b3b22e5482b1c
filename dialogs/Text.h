// The one rule for turning kept bytes into shown text and typed text back
// into bytes. Mail headers arrive in any charset, so nothing is guessed:
// valid UTF-8 is shown as UTF-8 and anything else as Latin-1, which maps
// every byte to a character and so never drops one; control characters show
// as blanks (ShownText.h).
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString DisplayText(std::string_view bytes);

enum class HeaderKind;
// A message's subject or sender as the user reads it: decoded, or in the
// user's language where the message had none.
QString ShownHeader(std::string_view raw, HeaderKind kind);

// A certificate's date as the core writes it, "18 Nov 2026", in the order
// the user's language writes dates; anything else as it is.
QString ShownDate(const std::string& date);

// What the user typed, as UTF-8.
std::string TypedText(const QString& text);
// The white space of the C library's isspace in the "C" locale. UTF-8
// continuation bytes are never among them, so a character is never split.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
// Without white space at either end.
std::string Trimmed(std::string_view text);

// An account as the dialogs name it: two accounts on one server are told
// apart by their user names.
QString AccountName(const std::string& server, const std::string& user);
