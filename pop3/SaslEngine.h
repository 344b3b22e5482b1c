// Signing in through SASL (RFC 4422), apart from the protocol that carries
// it: the protocol frames the lines (SaslFraming), the engine picks the
// mechanism, runs the exchange and keeps to the rule that an account never
// signs in more weakly than it did before. GNU SASL does SCRAM-SHA-256
// (RFC 7677), SCRAM-SHA-1 (RFC 5802) and CRAM-MD5 (RFC 2195); OAUTHBEARER
// (RFC 7628) and XOAUTH2 are one message each and written here.
#pragma once

#include "SignIn.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the protocol puts an exchange on its wire. Challenges and responses
// cross it in base64, as every SASL profile of the mail protocols has them.
class SaslFraming {
public:
    struct Reply {
        enum class Kind { Challenge, Success, Failure, Broken };
        Kind kind = Kind::Broken;
        std::string text; // Challenge: its base64; Failure: the server's line
    };

    virtual ~SaslFraming() = default;
    // Whether the command that begins the exchange may carry this initial
    // response; when not, the engine waits for an empty challenge to send it.
    virtual bool FitsInitialResponse(const std::string& mechanism,
                                     const std::string& base64) const = 0;
    virtual bool Begin(const std::string& mechanism,
                       const std::optional<std::string>& initialResponse) = 0;
    virtual bool Respond(const std::string& base64) = 0;
    // Ends the exchange from the client's side.
    virtual bool Cancel() = 0;
    virtual Reply Await() = 0;
};

// What a SCRAM server may ask the client to hash the password: the count
// given for PBKDF2-SHA256 today, well under a second here. A server asking
// for 2147483647 would hold the check for half an hour.
inline constexpr uint32_t kMaxScramIterations = 600000;

enum class SaslResult {
    SignedIn,
    Refused,         // the server said no; reply holds its line
    ServerNotProven, // a SCRAM server that could not show it knows the password
    Malformed,       // a challenge that cannot be taken
    TooCostly,       // a SCRAM server asking more than kMaxScramIterations; reply holds its count
    Unusable,        // this side could not run the mechanism with this secret
    Broken,          // the connection failed; the protocol knows why
};

struct SaslOutcome {
    SaslResult result = SaslResult::Broken;
    std::string reply;
};

// What the account does given the mechanisms the server lists.
enum class SaslPlan {
    Sasl,        // AUTH with Mechanism()
    UserPass,    // nothing to gain from SASL here: USER/PASS
    Downgrade,   // the server now offers less than the account used before
    NoMechanism, // an OAuth 2.0 account at a server without a bearer mechanism
};

class SaslEngine {
public:
    SaslEngine(SignInMethod method, std::string user, std::string host, uint32_t port);

    SaslPlan Choose(const std::vector<std::string>& offered, const std::string& mechanismBefore);
    const std::string& Mechanism() const { return m_mechanism; }
    // One exchange of the chosen mechanism with this secret.
    SaslOutcome Run(SaslFraming& framing, const std::string& secret) const;

private:
    SignInMethod m_method;
    std::string m_user;
    std::string m_host;
    uint32_t m_port;
    std::string m_mechanism;
};

// The first client message of each bearer mechanism, before base64.
std::string OAuthBearerMessage(const std::string& user, const std::string& host, uint32_t port,
                               const std::string& token);
std::string XOAuth2Message(const std::string& user, const std::string& token);
std::string SaslBase64(const std::string& bytes);
