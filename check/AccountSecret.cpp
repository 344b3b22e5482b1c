#include "AccountSecret.h"

#include "CheckCycle.h"
#include "MailConversation.h"

SecretOutcome FetchAccountSecret(const Account& account, const SecretWait& wait) {
    // A source may ask the user (the keyring's prompt) or reach the network:
    // not for a secret that would not be sent anyway.
    if (std::optional<std::string> unsafe = UnsafeSignIn(account.signIn, account.security)) {
        return {std::nullopt, *unsafe};
    }
    const SecretRequest request{account.server, account.user, account.password,
                                account.secretCommand};
    return MakeSecretSource(account.secretSource)->Fetch(request, wait);
}

SecretOutcome FetchAccountSecret(const Account& account, CheckObserver& observer,
                                 const MailConversation& conversation) {
    SecretWait wait;
    wait.hook = [&observer] { observer.WaitHook(); };
    wait.stopped = [&conversation] { return conversation.Aborted(); };
    wait.mayPrompt = [&observer] { return observer.TakeUnlockPrompt(); };
    return FetchAccountSecret(account, wait);
}

std::function<std::optional<std::string>()>
FreshToken(const Account& account, CheckObserver& observer, const MailConversation& conversation) {
    // The file and the keyring give what they gave a moment ago.
    if (account.secretSource == SecretSourceKind::File ||
        account.secretSource == SecretSourceKind::Keyring) {
        return nullptr;
    }
    return [&account, &observer, &conversation] {
        return FetchAccountSecret(account, observer, conversation).secret;
    };
}
