#include "SettingsStore.h"

#include <cstddef>
#include <string_view>

namespace {

constexpr int kScrambleKey = 0x5D;
constexpr std::string_view kSettings = "Settings";
// A stored number as the enum whose numbers run from 0 to last; another
// number is taken as other.
template <typename Enum> Enum Decoded(int32_t stored, Enum last, Enum other) {
    return stored >= 0 && stored <= static_cast<int32_t>(last) ? static_cast<Enum>(stored) : other;
}

int32_t Stored(auto value) {
    return static_cast<int32_t>(value);
}

std::string AccountSection(std::size_t index) {
    return "Mailboxes\\" + std::to_string(index);
}

bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A decimal number as the C library reads one (white space, sign, digits up to
// the first non-digit, 0 without digits), but only its low eight bits: any
// number of digits is read without overflow.
unsigned char LowByteOfNumber(std::string_view token) {
    std::size_t i = 0;
    while (i < token.size() && IsWhiteSpace(token[i])) {
        ++i;
    }
    const bool negative = i < token.size() && token[i] == '-';
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) {
        ++i;
    }
    unsigned int low = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
        low = (low * 10 + static_cast<unsigned int>(token[i] - '0')) & 0xFF;
    }
    return static_cast<unsigned char>(negative ? 0x100 - low : low);
}

} // namespace

int LoadSettings(AppProfile& profile, Options& options, AccountList& accounts) {
    // Reading leaves only empty keys behind, which hold no setting: they wait
    // for the next save, which fills or deletes them, rather than rewrite the
    // file at every start and drop the comments of one edited by hand.
    RegBatch reading(profile.registry());
    options.Delay = profile.GetProfileInt(kSettings, "Delay", 5);
    options.Sound = profile.GetProfileInt(kSettings, "Sound", 1) != 0 ? 1 : 0;
    options.Message = profile.GetProfileInt(kSettings, "Message", 1) != 0 ? 1 : 0;
    options.Notify = profile.GetProfileInt(kSettings, "Notify", 1) != 0 ? 1 : 0;
    options.Push = profile.GetProfileInt(kSettings, "Push", 1) != 0 ? 1 : 0;
    options.MailProgram = profile.GetProfileString(kSettings, "MailProgram", "");
    accounts = AccountList();
    for (std::size_t n = 0;; ++n) {
        const std::string section = AccountSection(n);
        std::string server = profile.GetProfileString(section, "Server", "");
        if (server.empty()) {
            break;
        }
        Account& account = accounts.emplace_back();
        account.server = std::move(server);
        account.user = profile.GetProfileString(section, "User", "");
        account.password = DecodePassword(profile.GetProfileString(section, "Password", ""));
        // Files written before a choice existed hold no value: what the
        // program did then. A number this program did not write is taken for
        // the safe side where there is one, else for what a missing value means.
        account.security =
            Decoded(profile.GetProfileInt(section, "Security", 0), Security::Tls, Security::Tls);
        account.certificate = profile.GetProfileString(section, "Certificate", "");
        account.signIn = Decoded(profile.GetProfileInt(section, "Auth", 0), SignInMethod::OAuth2,
                                 SignInMethod::Automatic);
        account.secretSource = Decoded(profile.GetProfileInt(section, "Secret", 0),
                                       SecretSourceKind::OnlineAccount, SecretSourceKind::File);
        account.secretCommand = profile.GetProfileString(section, "SecretCommand", "");
        account.protocol =
            Decoded(profile.GetProfileInt(section, "Protocol", 0), Protocol::Imap, Protocol::Pop3);
        account.folders = profile.GetProfileStrings(section, "Folders");
    }
    return accounts.size() > 0 ? 1 : 0;
}

void SaveSettings(AppProfile& profile, const Options& options, const AccountList& accounts) {
    // One replacement of the stored tree: a crash half-way through must not
    // pair an account's new server with its old password.
    RegBatch batch(profile.registry());
    const std::size_t count = accounts.size();
    // Must name the same key as the profile sections "Mailboxes\<n>".
    RegKey mailboxes = RegKey::CurrentUser(profile.registry())
                           .CreateSubKey(std::string(AppProfile::kAppKey) + "\\Mailboxes");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string section = AccountSection(i);
        const Account& stored = accounts[i];
        profile.WriteProfileString(section, "Server", stored.server);
        profile.WriteProfileString(section, "User", stored.user);
        RegKey account = mailboxes.OpenSubKey(std::to_string(i));
        // A password kept elsewhere leaves the file in this same save; one
        // still held for such an account (not yet moved) stays.
        if (stored.secretSource == SecretSourceKind::File || !stored.password.empty()) {
            profile.WriteProfileString(section, "Password", EncodePassword(stored.password));
        } else {
            account.DeleteValue("Password");
        }
        profile.WriteProfileInt(section, "Security", Stored(stored.security));
        if (stored.certificate.empty()) {
            account.DeleteValue("Certificate");
        } else {
            profile.WriteProfileString(section, "Certificate", stored.certificate);
        }
        profile.WriteProfileInt(section, "Auth", Stored(stored.signIn));
        profile.WriteProfileInt(section, "Secret", Stored(stored.secretSource));
        if (stored.secretCommand.empty()) {
            account.DeleteValue("SecretCommand");
        } else {
            profile.WriteProfileString(section, "SecretCommand", stored.secretCommand);
        }
        // An account of the kind every file held before IMAP is written as
        // such a file has it, byte for byte.
        if (stored.protocol == Protocol::Pop3) {
            account.DeleteValue("Protocol");
        } else {
            profile.WriteProfileInt(section, "Protocol", Stored(stored.protocol));
        }
        if (stored.folders.empty()) {
            account.DeleteValue("Folders");
        } else {
            profile.WriteProfileStrings(section, "Folders", stored.folders);
        }
    }

    // Stops at the first index without a key: keys beyond a gap stay.
    for (std::size_t n = count;; ++n) {
        const std::string name = std::to_string(n);
        RegKey account = mailboxes.OpenSubKey(name);
        if (!account.IsOpen()) {
            break;
        }
        account.DeleteValue("Server");
        account.DeleteValue("User");
        account.DeleteValue("Password");
        account.DeleteValue("Security");
        account.DeleteValue("Certificate");
        account.DeleteValue("Auth");
        account.DeleteValue("Secret");
        account.DeleteValue("SecretCommand");
        account.DeleteValue("Protocol");
        account.DeleteValue("Folders");
        account.Close();
        mailboxes.DeleteSubKey(name);
    }
    mailboxes.Close();

    profile.WriteProfileInt(kSettings, "Sound", options.Sound != 0 ? 1 : 0);
    profile.WriteProfileInt(kSettings, "Message", options.Message != 0 ? 1 : 0);
    profile.WriteProfileInt(kSettings, "Delay", options.Delay);
    profile.WriteProfileInt(kSettings, "Notify", options.Notify != 0 ? 1 : 0);
    profile.WriteProfileInt(kSettings, "Push", options.Push != 0 ? 1 : 0);
    // The desktop's default is no value, as in every file from before the choice.
    if (options.MailProgram.empty()) {
        RegKey::CurrentUser(profile.registry())
            .CreateSubKey(std::string(AppProfile::kAppKey) + "\\" + std::string(kSettings))
            .DeleteValue("MailProgram");
    } else {
        profile.WriteProfileString(kSettings, "MailProgram", options.MailProgram);
    }
    batch.Commit();
}

bool LoadHeadersSize(AppProfile& profile, int& width, int& height) {
    width = profile.GetProfileInt(kSettings, "HeadersWidth", 0);
    height = profile.GetProfileInt(kSettings, "HeadersHeight", 0);
    return width > 0 && height > 0;
}

void SaveHeadersSize(AppProfile& profile, int width, int height) {
    RegBatch batch(profile.registry());
    profile.WriteProfileInt(kSettings, "HeadersWidth", width);
    profile.WriteProfileInt(kSettings, "HeadersHeight", height);
    batch.Commit();
}

std::string EncodePassword(const std::string& password) {
    std::string stored;
    for (char c : password) {
        const int scrambled = static_cast<signed char>(c) ^ kScrambleKey;
        stored += std::to_string(scrambled);
        stored += ' ';
    }
    return stored;
}

std::string DecodePassword(const std::string& stored) {
    std::string password;
    std::string_view rest = stored;
    for (std::size_t space = rest.find(' '); space != std::string_view::npos;
         space = rest.find(' ')) {
        std::string_view token = rest.substr(0, space);
        while (!token.empty() && IsWhiteSpace(token.back())) {
            token.remove_suffix(1);
        }
        rest.remove_prefix(space);
        while (!rest.empty() && IsWhiteSpace(rest.front())) {
            rest.remove_prefix(1);
        }
        password += static_cast<char>(LowByteOfNumber(token) ^ kScrambleKey);
    }
    return password;
}
