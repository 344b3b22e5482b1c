// The desktop keyring through the Secret Service (libsecret). An entry is
// found by its attributes alone, application "tarvo", server (as written,
// port included) and user, whatever schema stored it, so a password put
// there with secret-tool is found too.
#pragma once

#include "SecretSource.h"

#include <string>

class KeyringSecret : public SecretSource {
public:
    SecretOutcome Fetch(const SecretRequest& request, const SecretWait& wait) const override;
};

// Puts the password in the keyring's default collection, replacing what the
// account had there. Empty on success, else why not.
std::string StoreInKeyring(const std::string& server, const std::string& user,
                           const std::string& password, const SecretWait& wait);
