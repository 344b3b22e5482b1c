// One account as the user set it up. What the settings file stores as numbers
// is decoded once, when the settings are read, and written back as the same
// numbers when they are saved; everything else works with the enums.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The numbers of each enum are the ones stored in the settings file.
enum class Protocol : int32_t {
    Pop3 = 0,
    Imap = 1,
};

// How the conversation is protected on the wire.
enum class Security : int32_t {
    None = 0,     // clear text, the conversation as it always was
    StartTls = 1, // clear text until the protocol's STARTTLS, then TLS; never without it
    Tls = 2,      // TLS from the first byte
};

enum class SignInMethod : int32_t {
    Automatic = 0,    // SCRAM or CRAM-MD5 when the server lists them, else the plain login
    PasswordOnly = 1, // the plain login, the conversation as it always was
    OAuth2 = 2,       // a bearer token through OAUTHBEARER or XOAUTH2, over TLS only
};

// Where the password or token comes from.
enum class SecretSourceKind : int32_t { File = 0, Keyring = 1, Command = 2, OnlineAccount = 3 };

// Braced members, so that an account written out with designated
// initializers names only what it sets.
struct Account {
    std::string server{}; // a host name, or host:port
    std::string user{};
    std::string password{}; // clear text here, scrambled only where stored
    Security security = Security::None;
    std::string certificate{}; // a fingerprint trusted by hand, or empty
    SignInMethod signIn = SignInMethod::Automatic;
    SecretSourceKind secretSource = SecretSourceKind::File;
    std::string secretCommand{};
    Protocol protocol = Protocol::Pop3;
    std::vector<std::string> folders{}; // IMAP: the folders watched; none means INBOX

    bool operator==(const Account&) const = default;
};

using AccountList = std::vector<Account>;
