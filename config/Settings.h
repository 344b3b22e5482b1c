// What the user configures: the accounts and the options. Held by the
// main window for the program's life; stored by the settings store.
#pragma once

#include "Account.h"

#include <cstdint>
#include <string>

struct Options {
    int32_t Delay = 5;   // check interval in minutes, taken from the store unchanged
    int32_t Sound = 1;   // 0 or 1
    int32_t Message = 1; // 0 or 1: open the headers window on new mail
    int32_t Notify = 1;  // 0 or 1: a desktop notification on new mail
    int32_t Push = 1;    // 0 or 1: IMAP accounts whose server can tell of new mail are watched
    // Read mail starts this command line; empty for the desktop's default
    // mail client.
    std::string MailProgram{};
};
