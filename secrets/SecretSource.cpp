#include "SecretSource.h"

#include "CommandSecret.h"
#include "FileSecret.h"
#include "Format.h"
#include "KeyringSecret.h"
#include "OnlineAccountSecret.h"
#include "Translate.h"

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
    const auto seconds =
        static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(bound).count());
    if (seconds >= 1) {
        return Format(
            translate("Secrets", "%1 did not answer within %n second(s).", nullptr, seconds),
            translate("Secrets", who.c_str()));
    }
    return Format(translate("Secrets", "%1 did not answer within %2 ms."),
                  translate("Secrets", who.c_str()), bound.count());
}
