#include "AccountSecret.h"

#include "CheckCycle.h"
#include "Pop3Connection.h"

SecretOutcome FetchAccountSecret(const AccountList& accounts, std::size_t i,
                                 CheckObserver& observer, const CPop3Connection& conversation) {
    // A source may ask the user (the keyring's prompt) or reach the network:
    // not for a secret that would not be sent anyway.
    if (std::optional<std::string> unsafe =
            UnsafeSignIn(SignInMethodFromStored(accounts.AuthAt(i)),
                         SecurityFromStored(accounts.SecurityAt(i)))) {
        return {std::nullopt, *unsafe};
    }
    const SecretRequest request{accounts.servers[i], accounts.users[i], accounts.passwords[i],
                                accounts.SecretCommandAt(i)};
    SecretWait wait;
    wait.hook = [&observer] { observer.WaitHook(); };
    wait.stopped = [&conversation] { return conversation.Aborted(); };
    wait.mayPrompt = [&observer] { return observer.TakeUnlockPrompt(); };
    return MakeSecretSource(SecretSourceFromStored(accounts.SecretSourceAt(i)))
        ->Fetch(request, wait);
}

std::function<std::optional<std::string>()> FreshToken(const AccountList& accounts, std::size_t i,
                                                       CheckObserver& observer,
                                                       const CPop3Connection& conversation) {
    // The file and the keyring give what they gave a moment ago.
    const SecretSourceKind kind = SecretSourceFromStored(accounts.SecretSourceAt(i));
    if (kind == SecretSourceKind::File || kind == SecretSourceKind::Keyring) {
        return nullptr;
    }
    return [&accounts, i, &observer, &conversation] {
        return FetchAccountSecret(accounts, i, observer, conversation).secret;
    };
}
