#include "SaslEngine.h"

#include <algorithm>
#include <array>
#include <gsasl.h>
#include <memory>
#include <string_view>

namespace {

// A server that keeps challenging past any mechanism's length is not signing
// anyone in.
constexpr int kMaxRounds = 8;

struct Ranked {
    std::string_view name;
    int strength;
};

// Each method's mechanisms, the preferred first. The strengths rank what an
// account signed in with before against what is offered now: USER/PASS is 0.
constexpr std::array<Ranked, 3> kPasswordMechanisms{
    {{"SCRAM-SHA-256", 3}, {"SCRAM-SHA-1", 2}, {"CRAM-MD5", 1}}};
constexpr std::array<Ranked, 2> kBearerMechanisms{{{"OAUTHBEARER", 1}, {"XOAUTH2", 1}}};

int Strength(std::string_view mechanism) {
    for (const Ranked& ranked : kPasswordMechanisms) {
        if (ranked.name == mechanism) {
            return ranked.strength;
        }
    }
    for (const Ranked& ranked : kBearerMechanisms) {
        if (ranked.name == mechanism) {
            return ranked.strength;
        }
    }
    return 0;
}

// RFC 6750's b64token: what a bearer token is made of. Anything else could
// break the message it travels in.
bool IsBearerToken(const std::string& token) {
    std::size_t end = token.find_last_not_of('=') + 1;
    return end > 0 &&
           std::all_of(token.begin(), token.begin() + static_cast<std::ptrdiff_t>(end), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      std::string_view("-._~+/").find(c) != std::string_view::npos;
           });
}

enum class StepResult { Respond, NotProven, Malformed, Refused, TooCostly };

// The iteration count of a SCRAM server-first message (RFC 5802, 5.1) as the
// server wrote it, digits only, as GNU SASL reads it; empty when there is none.
std::string_view IterationCount(std::string_view message) {
    for (std::size_t at = 0; at < message.size();) {
        std::size_t end = std::min(message.find(',', at), message.size());
        std::string_view attribute = message.substr(at, end - at);
        if (attribute.starts_with("i=")) {
            std::string_view digits = attribute.substr(2);
            return !digits.empty() && digits.find_first_not_of("0123456789") == digits.npos
                       ? digits
                       : std::string_view();
        }
        at = end + 1;
    }
    return {};
}

bool Exceeds(std::string_view digits, uint32_t bound) {
    std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    std::string_view significant = digits.substr(first);
    const std::string limit = std::to_string(bound);
    return significant.size() != limit.size() ? significant.size() > limit.size()
                                              : significant > limit;
}

// One mechanism's side of an exchange.
class Exchange {
public:
    virtual ~Exchange() = default;
    // False when the mechanism cannot start; initial stays empty for a
    // mechanism whose server speaks first.
    virtual bool Start(std::optional<std::string>& initial) = 0;
    // response: what to send back; for Refused the server's verdict, for
    // TooCostly the cost it asked.
    virtual StepResult Take(const std::string& challenge, std::string& response) = 0;
    // The server may say it is done: it has shown all the mechanism asks of it.
    virtual bool Complete() const = 0;
};

class GsaslExchange : public Exchange {
public:
    GsaslExchange(const std::string& mechanism, const std::string& user,
                  const std::string& password)
        : m_scram(mechanism.starts_with("SCRAM-")) {
        Gsasl* context = nullptr;
        if (gsasl_init(&context) != GSASL_OK) {
            return;
        }
        m_context.reset(context);
        Gsasl_session* session = nullptr;
        if (gsasl_client_start(context, mechanism.c_str(), &session) != GSASL_OK) {
            return;
        }
        m_session.reset(session);
        gsasl_property_set(session, GSASL_AUTHID, user.c_str());
        gsasl_property_set(session, GSASL_PASSWORD, password.c_str());
        // The mechanisms prepare the password (RFC 4013) only once the server
        // has spoken; one that is no UTF-8 text is found out before anything
        // is sent.
        char* prepared = nullptr;
        m_usable = gsasl_saslprep(password.c_str(), GSASL_ALLOW_UNASSIGNED, &prepared, nullptr) ==
                   GSASL_OK;
        gsasl_free(prepared);
    }

    bool Start(std::optional<std::string>& initial) override {
        std::string output;
        if (!m_session || !m_usable || Step("", output) != GSASL_NEEDS_MORE) {
            return false;
        }
        if (!output.empty()) {
            initial = std::move(output);
        }
        return true;
    }

    StepResult Take(const std::string& challenge, std::string& response) override {
        ++m_challenges;
        // GNU SASL hashes the password as many times as the server asks, in
        // one call that no wait hook interrupts.
        if (m_scram && m_challenges == 1) {
            std::string_view count = IterationCount(challenge);
            if (Exceeds(count, kMaxScramIterations)) {
                response = count;
                return StepResult::TooCostly;
            }
        }
        int status = Step(challenge, response);
        if (status == GSASL_OK || status == GSASL_NEEDS_MORE) {
            m_complete = status == GSASL_OK;
            return StepResult::Respond;
        }
        if (!m_scram) {
            return StepResult::Malformed;
        }
        // The server's last SCRAM message carries either its proof or its
        // verdict on ours (RFC 5802, "e=").
        if (challenge.starts_with("e=")) {
            response = challenge;
            return StepResult::Refused;
        }
        return m_challenges >= 2 ? StepResult::NotProven : StepResult::Malformed;
    }

    bool Complete() const override { return m_complete || !m_scram; }

private:
    int Step(const std::string& input, std::string& output) {
        char* bytes = nullptr;
        std::size_t length = 0;
        int status = gsasl_step(m_session.get(), input.data(), input.size(), &bytes, &length);
        output.assign(bytes != nullptr ? bytes : "", bytes != nullptr ? length : 0);
        gsasl_free(bytes);
        return status;
    }

    struct ContextDone {
        void operator()(Gsasl* context) const { gsasl_done(context); }
    };
    struct SessionFinish {
        void operator()(Gsasl_session* session) const { gsasl_finish(session); }
    };
    // The session goes before its context.
    std::unique_ptr<Gsasl, ContextDone> m_context;
    std::unique_ptr<Gsasl_session, SessionFinish> m_session;
    bool m_scram;
    bool m_usable = false;
    bool m_complete = false;
    int m_challenges = 0;
};

// A bearer token in one message. What the server sends back is its reason
// for refusing the token (RFC 7628, 3.2.2); the client answers it as the
// mechanism says, and the server then fails the exchange.
class BearerExchange : public Exchange {
public:
    BearerExchange(std::string message, std::string answerToError)
        : m_message(std::move(message)), m_answerToError(std::move(answerToError)) {}

    bool Start(std::optional<std::string>& initial) override {
        initial = m_message;
        return true;
    }
    StepResult Take(const std::string&, std::string& response) override {
        response = m_answerToError;
        return StepResult::Respond;
    }
    bool Complete() const override { return true; }

private:
    std::string m_message;
    std::string m_answerToError;
};

std::optional<std::string> FromBase64(const std::string& text) {
    if (text.empty()) {
        return std::string();
    }
    char* bytes = nullptr;
    std::size_t length = 0;
    if (gsasl_base64_from(text.data(), text.size(), &bytes, &length) != GSASL_OK) {
        return std::nullopt;
    }
    std::string decoded(bytes, length);
    gsasl_free(bytes);
    return decoded;
}

} // namespace

std::string SaslBase64(const std::string& bytes) {
    char* text = nullptr;
    std::size_t length = 0;
    if (bytes.empty() || gsasl_base64_to(bytes.data(), bytes.size(), &text, &length) != GSASL_OK) {
        return std::string();
    }
    std::string encoded(text, length);
    gsasl_free(text);
    return encoded;
}

// RFC 7628, 3.1: a GS2 header naming the user (',' and '=' escaped as in
// RFC 5801), then key=value pairs each ended by 0x01, and 0x01 to close.
std::string OAuthBearerMessage(const std::string& user, const std::string& host, uint32_t port,
                               const std::string& token) {
    std::string name;
    for (char c : user) {
        name += c == ',' ? "=2C" : c == '=' ? "=3D" : std::string(1, c);
    }
    return "n,a=" + name + ",\x01host=" + host + "\x01port=" + std::to_string(port) +
           "\x01"
           "auth=Bearer " +
           token + "\x01\x01";
}

std::string XOAuth2Message(const std::string& user, const std::string& token) {
    return "user=" + user +
           "\x01"
           "auth=Bearer " +
           token + "\x01\x01";
}

SaslEngine::SaslEngine(SignInMethod method, std::string user, std::string host, uint32_t port)
    : m_method(method), m_user(std::move(user)), m_host(std::move(host)), m_port(port) {}

SaslPlan SaslEngine::Choose(const std::vector<std::string>& offered,
                            const std::string& mechanismBefore) {
    m_mechanism.clear();
    auto pick = [&](const auto& ranked) {
        for (const Ranked& candidate : ranked) {
            if (std::find(offered.begin(), offered.end(), candidate.name) != offered.end()) {
                m_mechanism = candidate.name;
                return;
            }
        }
    };
    if (m_method == SignInMethod::OAuth2) {
        pick(kBearerMechanisms);
    } else if (m_method == SignInMethod::Automatic) {
        pick(kPasswordMechanisms);
    }
    if (m_mechanism.empty() && m_method == SignInMethod::OAuth2) {
        return SaslPlan::NoMechanism;
    }
    if (Strength(m_mechanism) < Strength(mechanismBefore)) {
        return SaslPlan::Downgrade;
    }
    return m_mechanism.empty() ? SaslPlan::UserPass : SaslPlan::Sasl;
}

SaslOutcome SaslEngine::Run(SaslFraming& framing, const std::string& secret) const {
    std::unique_ptr<Exchange> exchange;
    if (m_mechanism == "OAUTHBEARER" || m_mechanism == "XOAUTH2") {
        bool userFits = std::none_of(m_user.begin(), m_user.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        });
        if (!userFits || !IsBearerToken(secret)) {
            return {SaslResult::Unusable, {}};
        }
        exchange = m_mechanism == "OAUTHBEARER"
                       ? std::make_unique<BearerExchange>(
                             OAuthBearerMessage(m_user, m_host, m_port, secret), "\x01")
                       : std::make_unique<BearerExchange>(XOAuth2Message(m_user, secret), "");
    } else {
        exchange = std::make_unique<GsaslExchange>(m_mechanism, m_user, secret);
    }
    std::optional<std::string> initial;
    if (!exchange->Start(initial)) {
        return {SaslResult::Unusable, {}};
    }
    std::optional<std::string> begun = initial ? std::optional(SaslBase64(*initial)) : std::nullopt;
    // An initial response too long for the command waits for an empty
    // challenge (a bearer token often is).
    bool held = begun && !framing.FitsInitialResponse(m_mechanism, *begun);
    if (held) {
        begun.reset();
    }
    if (!framing.Begin(m_mechanism, begun)) {
        return {SaslResult::Broken, {}};
    }
    for (int round = 0; round < kMaxRounds; ++round) {
        SaslFraming::Reply reply = framing.Await();
        switch (reply.kind) {
        case SaslFraming::Reply::Kind::Broken:
            return {SaslResult::Broken, {}};
        case SaslFraming::Reply::Kind::Failure:
            return {SaslResult::Refused, std::move(reply.text)};
        case SaslFraming::Reply::Kind::Success:
            return {exchange->Complete() ? SaslResult::SignedIn : SaslResult::ServerNotProven, {}};
        case SaslFraming::Reply::Kind::Challenge:
            break;
        }
        std::string response;
        StepResult step = StepResult::Malformed;
        if (held) {
            step = reply.text.empty() ? StepResult::Respond : StepResult::Malformed;
            response = *initial;
            held = false;
        } else if (std::optional<std::string> challenge = FromBase64(reply.text)) {
            step = exchange->Take(*challenge, response);
        }
        if (step != StepResult::Respond) {
            // But for a refusal the conversation ends here, and what the
            // server says to the cancel is of no more use.
            framing.Cancel();
            switch (step) {
            case StepResult::NotProven:
                return {SaslResult::ServerNotProven, {}};
            case StepResult::Refused:
                // Its -ERR to the cancel ends the exchange (RFC 5034, 4) and
                // leaves the session for another way in.
                switch (framing.Await().kind) {
                case SaslFraming::Reply::Kind::Failure:
                    return {SaslResult::Refused, std::move(response)};
                case SaslFraming::Reply::Kind::Broken:
                    return {SaslResult::Broken, {}};
                default:
                    return {SaslResult::Malformed, {}};
                }
            case StepResult::TooCostly:
                return {SaslResult::TooCostly, std::move(response)};
            default:
                return {SaslResult::Malformed, {}};
            }
        }
        if (!framing.Respond(SaslBase64(response))) {
            return {SaslResult::Broken, {}};
        }
    }
    framing.Cancel();
    return {SaslResult::Malformed, {}};
}
