#include "FileSecret.h"

SecretOutcome FileSecret::Fetch(const SecretRequest& request, const SecretWait&) const {
    return {request.filePassword, {}, false};
}
