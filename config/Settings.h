// What the user configures: the accounts and the three options. Held by the
// main window for the program's life; stored by the settings store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Options {
    int32_t Delay = 5;   // check interval in minutes, taken from the store unchanged
    int32_t Sound = 1;   // 0 or 1
    int32_t Message = 1; // 0 or 1: open the headers window on new mail
    int32_t Notify = 1;  // 0 or 1: a desktop notification on new mail
};

// Three parallel lists of equal length; index i of each is account i.
// Passwords are clear text here and scrambled only where stored.
struct AccountList {
    std::vector<std::string> servers;
    std::vector<std::string> users;
    std::vector<std::string> passwords;

    std::size_t size() const { return servers.size(); }
    bool operator==(const AccountList&) const = default;
};
