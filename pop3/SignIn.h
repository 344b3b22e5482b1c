// How an account signs in to its server, as the check hands it to the
// conversation.
#pragma once

#include "Security.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct SignIn {
    SignInMethod method = SignInMethod::PasswordOnly;
    std::string secret; // the password, or the OAuth 2.0 access token
    // OAuth 2.0: called at most once, after the server refused a token; an
    // empty optional, or the same token, means no fresh token could be had
    // (the reason is the refusal).
    std::function<std::optional<std::string>()> freshToken;
    // The SASL mechanism this account signed in with before ("" none): while
    // the server no longer lists it (or one as strong), USER/PASS is refused.
    std::string mechanismBefore;
};

// Why signing in by this method over this security would give the secret
// away: the reason an account so set up fails with before its secret is even
// fetched. None when it would not.
std::optional<std::string> UnsafeSignIn(SignInMethod method, Security security);
