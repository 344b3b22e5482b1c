// Where an account's password or OAuth 2.0 token comes from: this settings
// file, the desktop keyring, a command of the user's, or GNOME Online
// Accounts. One interface, so the check and the command line fetch a secret
// the same way whatever its source. Every fetch is bounded and lets the
// caller's wait hook run between short slices; a failure is a sentence for
// the account's error row and never holds the secret.
#pragma once

#include "Account.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct SecretWait {
    std::function<void()> hook;    // run between slices: the desktop repaints meanwhile
    std::function<bool()> stopped; // true gives the fetch up at once
    // Asked when the keyring is locked: true lets the fetch have the desktop
    // prompt the user to unlock it. Unset, a fetch never prompts.
    std::function<bool()> mayPrompt;
    std::chrono::milliseconds bound{30000};
    std::chrono::milliseconds slice{50};
};

// What a source needs of the account.
struct SecretRequest {
    std::string server; // as written, port included: the keyring entry's attribute
    std::string user;
    std::string filePassword; // the password kept in the settings file
    std::string command;      // SecretCommand
};

struct SecretOutcome {
    std::optional<std::string> secret;
    std::string reason;   // why there is none
    bool stopped = false; // given up at the caller's request
};

class SecretSource {
public:
    virtual ~SecretSource() = default;
    virtual SecretOutcome Fetch(const SecretRequest& request, const SecretWait& wait) const = 0;
};

std::unique_ptr<SecretSource> MakeSecretSource(SecretSourceKind kind);

// The reason of a wait that ran out, worded for the one that waited.
std::string OutOfTime(const std::string& who, std::chrono::milliseconds bound);
