// An account's password or token, from the source the account names, fetched
// within the check's waits: the desktop keeps painting meanwhile and Stop
// (which aborts the account's conversation) ends the fetch.
#pragma once

#include "SecretSource.h"
#include "Settings.h"

#include <functional>
#include <optional>
#include <string>

class CheckObserver;
class MailConversation;

SecretOutcome FetchAccountSecret(const Account& account, CheckObserver& observer,
                                 const MailConversation& conversation);
// The same for a caller that waits in its own way (the account editor).
SecretOutcome FetchAccountSecret(const Account& account, const SecretWait& wait);

// For OAuth 2.0: another token from the same source, for the one retry after
// the server refused one; none when the source has none to give. No function
// at all for a source that would give the same token again (the file, the
// keyring).
std::function<std::optional<std::string>()>
FreshToken(const Account& account, CheckObserver& observer, const MailConversation& conversation);
