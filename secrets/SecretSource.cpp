#include "SecretSource.h"

#include "CommandSecret.h"
#include "FileSecret.h"
#include "KeyringSecret.h"
#include "OnlineAccountSecret.h"

std::unique_ptr<SecretSource> MakeSecretSource(SecretSourceKind kind) {
    switch (kind) {
    case SecretSourceKind::Keyring:
        return std::make_unique<KeyringSecret>();
    case SecretSourceKind::Command:
        return std::make_unique<CommandSecret>();
    case SecretSourceKind::OnlineAccount:
        return std::make_unique<OnlineAccountSecret>();
    case SecretSourceKind::File:
        break;
    }
    return std::make_unique<FileSecret>();
}

std::string OutOfTime(const std::string& who, std::chrono::milliseconds bound) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(bound).count();
    if (seconds >= 1) {
        return who + " did not answer within " + std::to_string(seconds) + " second(s).";
    }
    return who + " did not answer within " + std::to_string(bound.count()) + " ms.";
}
