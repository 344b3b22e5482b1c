// GNOME Online Accounts (org.gnome.OnlineAccounts on the session bus): the
// mail account whose identity, or mail address, is the account's user name
// gives an OAuth 2.0 access token, or for a password account its password.
#pragma once

#include "SecretSource.h"

class OnlineAccountSecret : public SecretSource {
public:
    SecretOutcome Fetch(const SecretRequest& request, const SecretWait& wait) const override;
};
