// The folders an IMAP account watches, as the account editor shows them: one
// line the user can type, and Folders..., which signs in as a check would,
// asks the server for its folders and lets the user tick the ones to watch.
#pragma once

#include "MessageBoxes.h"
#include "Settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

// The folders separated by commas; a name that holds a comma or a double
// quote, or begins or ends with white space, in double quotes, a quote in it
// doubled. No folder at all is an empty line (INBOX).
std::string FolderListText(const std::vector<std::string>& folders);
// The line read back: each name once, none empty.
std::vector<std::string> FolderList(std::string_view text);

// The account as its fields stand, with the password to use (a password
// typed for the keyring as the file's) and the folders it watches now. The
// fetch can be cancelled from a window of its own; a failure is said in a
// box. The folders ticked, or none when the user cancelled, the fetch failed
// or the choice is what it was.
std::optional<std::vector<std::string>> ChooseFolders(QWidget* owner, MessageBoxes& boxes,
                                                      const Account& account);
