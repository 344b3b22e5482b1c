// A command of the user's (SecretCommand), run with /bin/sh -c: the first
// line it prints is the password or token. A non-zero exit fails the account
// with the first line it wrote to standard error, quoted; no output, or a
// first line over 64 KiB, fails it with none. What it printed to standard
// output is never quoted.
#pragma once

#include "SecretSource.h"

class CommandSecret : public SecretSource {
public:
    SecretOutcome Fetch(const SecretRequest& request, const SecretWait& wait) const override;
};
