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
    int32_t Push = 1;    // 0 or 1: IMAP accounts whose server can tell of new mail are watched
};

// Parallel lists of equal length; index i of each is account i.
// Passwords are clear text here and scrambled only where stored.
struct AccountList {
    std::vector<std::string> servers;
    std::vector<std::string> users;
    std::vector<std::string> passwords;
    // Braced so that a list written out with only the first three compiles.
    std::vector<int32_t> securities{};       // Security: 0 None, 1 STARTTLS, 2 SSL/TLS
    std::vector<std::string> certificates{}; // a trusted fingerprint, or empty
    std::vector<int32_t> auths{};            // Auth: 0 Automatic, 1 Password only, 2 OAuth 2.0
    std::vector<int32_t> secretSources{}; // Secret: 0 file, 1 keyring, 2 command, 3 online account
    std::vector<std::string> secretCommands{}; // SecretCommand

    std::size_t size() const { return servers.size(); }
    // A list made before the later ones existed (by hand, say) may be short:
    // what it lacks reads as None, no trusted certificate, Automatic sign-in
    // and the password kept in this file.
    int32_t SecurityAt(std::size_t i) const { return i < securities.size() ? securities[i] : 0; }
    std::string CertificateAt(std::size_t i) const {
        return i < certificates.size() ? certificates[i] : std::string();
    }
    int32_t AuthAt(std::size_t i) const { return i < auths.size() ? auths[i] : 0; }
    int32_t SecretSourceAt(std::size_t i) const {
        return i < secretSources.size() ? secretSources[i] : 0;
    }
    std::string SecretCommandAt(std::size_t i) const {
        return i < secretCommands.size() ? secretCommands[i] : std::string();
    }
    bool operator==(const AccountList& other) const {
        if (servers != other.servers || users != other.users || passwords != other.passwords) {
            return false;
        }
        for (std::size_t i = 0; i < size(); ++i) {
            if (SecurityAt(i) != other.SecurityAt(i) ||
                CertificateAt(i) != other.CertificateAt(i) || AuthAt(i) != other.AuthAt(i) ||
                SecretSourceAt(i) != other.SecretSourceAt(i) ||
                SecretCommandAt(i) != other.SecretCommandAt(i)) {
                return false;
            }
        }
        return true;
    }
};
