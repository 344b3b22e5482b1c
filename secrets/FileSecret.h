// The password kept scrambled in the settings file, as it always was.
#pragma once

#include "SecretSource.h"

class FileSecret : public SecretSource {
public:
    SecretOutcome Fetch(const SecretRequest& request, const SecretWait& wait) const override;
};
