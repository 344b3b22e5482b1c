#include "AccountSecret.h"

#include "CheckCycle.h"
#include "Pop3Connection.h"

SecretOutcome FetchAccountSecret(const AccountList& accounts, std::size_t i,
                                 CheckObserver& observer, const CPop3Connection& conversation) {
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
    return [&accounts, i, &observer, &conversation] {
        return FetchAccountSecret(accounts, i, observer, conversation).secret;
    };
}
