// CPop3Connection's Connect and its login.
// Signing in: USER/PASS (RFC 1939), or AUTH (RFC 5034) with the SASL engine,
// which owns the choice of mechanism and the exchange; here the exchange is
// only put into POP3's lines.
#include "Format.h"
#include "Pop3Connection.h"
#include "SaslEngine.h"

#include <string_view>

namespace {

// RFC 5034, 4: an AUTH command with its initial response, CR LF included.
constexpr std::size_t kMaxAuthCommandBytes = 255;

} // namespace

class Pop3SaslFraming : public SaslFraming {
public:
    explicit Pop3SaslFraming(CPop3Connection& conversation) : m_conversation(conversation) {}

    bool FitsInitialResponse(const std::string& mechanism,
                             const std::string& base64) const override {
        return std::string("AUTH ").size() + mechanism.size() + 1 + base64.size() + 2 <=
               kMaxAuthCommandBytes;
    }
    bool Begin(const std::string& mechanism,
               const std::optional<std::string>& initialResponse) override {
        std::string command = "AUTH " + mechanism;
        if (initialResponse) {
            command += " " + (initialResponse->empty() ? std::string("=") : *initialResponse);
        }
        return m_conversation.SendLine(command) == 1;
    }
    bool Respond(const std::string& base64) override {
        return m_conversation.SendLine(base64) == 1;
    }
    bool Cancel() override { return m_conversation.SendLine("*") == 1; }
    Reply Await() override {
        std::string line;
        if (m_conversation.ReadReply(line) != ReadStatus::Line) {
            return {Reply::Kind::Broken, {}};
        }
        if (line.starts_with("+OK")) {
            return {Reply::Kind::Success, {}};
        }
        if (line == "+" || line.starts_with("+ ")) {
            std::string challenge = line.substr(std::min<std::size_t>(line.size(), 2));
            challenge.erase(challenge.find_last_not_of(" \t") + 1);
            return {Reply::Kind::Challenge, std::move(challenge)};
        }
        return {Reply::Kind::Failure, std::move(line)};
    }

private:
    CPop3Connection& m_conversation;
};

int CPop3Connection::Connect(const std::string& host, const std::string& user, const SignIn& signIn,
                             uint32_t port) {
    if (m_connectCalled || m_aborted) {
        return 0;
    }
    m_connectCalled = true;
    m_serverName = host;
    KeepOutOfReasons(signIn.secret);
    // A line break in a user name or password would send the server a
    // command of its own choosing (a DELE, say), and a NUL byte would cut the
    // line short where the server reads it: such an account is refused before
    // anything is sent.
    if ((user + signIn.secret).find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
        Fail("The user name or password holds a line break or a NUL byte; nothing was sent.");
        return 0;
    }
    // A bearer token is as good as a password to whoever reads it, and
    // unlike SCRAM it crosses the wire as it is.
    if (signIn.method == SignInMethod::OAuth2 && m_security == Security::None) {
        Fail("An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or "
             "STARTTLS for it. Nothing was sent.");
        return 0;
    }
    if (!Open(host, port)) {
        return 0;
    }
    bool signedIn = signIn.method == SignInMethod::PasswordOnly
                        ? SignInWithPassword(user, signIn.secret)
                        : SignInWithSasl(user, signIn);
    return signedIn && LearnCapabilitiesOrNoop() ? 1 : 0;
}

bool CPop3Connection::SignInWithPassword(const std::string& user, const std::string& password) {
    for (const std::string& command : {"USER " + user, "PASS " + password}) {
        // A failed send shows as the unfavourable empty reply that follows.
        SendLine(command);
        std::string reply = ReadLine();
        if (!IsFavourable(reply)) {
            return EndRefused("The server refused the login", reply);
        }
    }
    return true;
}

// The mechanisms are learnt before the login (after STLS, over TLS, where a
// server may offer more).
bool CPop3Connection::SignInWithSasl(const std::string& user, const SignIn& signIn) {
    RequestCapabilities();
    if (!m_open) {
        return false;
    }
    SaslEngine engine(signIn.method, user, m_endpointName, m_endpointPort);
    const char* server = m_serverName.c_str();
    switch (engine.Choose(m_capabilities.sasl, signIn.mechanismBefore)) {
    case SaslPlan::UserPass:
        return SignInWithPassword(user, signIn.secret);
    case SaslPlan::Downgrade:
        Fail(Format("%s no longer offers %s, with which this account signed in before, so the "
                    "password was not sent another way: someone may be tampering with the "
                    "connection. If the server's sign-in really changed, change the account's "
                    "sign-in method.",
                    server, signIn.mechanismBefore.c_str()));
        Close();
        return false;
    case SaslPlan::NoMechanism:
        Fail(Format("%s offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot "
                    "sign in there; no token was sent.",
                    server));
        Close();
        return false;
    case SaslPlan::Sasl:
        break;
    }
    return RunSasl(engine, signIn);
}

bool CPop3Connection::RunSasl(const SaslEngine& engine, const SignIn& signIn) {
    Pop3SaslFraming framing(*this);
    SaslOutcome outcome = engine.Run(framing, signIn.secret);
    const bool bearer = signIn.method == SignInMethod::OAuth2;
    bool fresh = false;
    if (bearer && outcome.result == SaslResult::Refused && signIn.freshToken) {
        // Access tokens expire within the hour: one refused may only be old.
        if (std::optional<std::string> token = signIn.freshToken()) {
            KeepOutOfReasons(*token);
            outcome = engine.Run(framing, *token);
            fresh = true;
        }
    }
    const std::string& mechanism = engine.Mechanism();
    switch (outcome.result) {
    case SaslResult::SignedIn:
        m_signedInWith = mechanism;
        return true;
    case SaslResult::Refused: {
        const char* what = !bearer ? "The server refused the login"
                           : fresh ? "The server refused the access token, and a fresh one too"
                                   : "The server refused the access token";
        Fail(outcome.reply.empty() ? Format("%s.", what) : Refusal(what, outcome.reply));
        break;
    }
    case SaslResult::ServerNotProven:
        Fail(Format("%s could not prove that it knows the password, so someone may be "
                    "impersonating it; the conversation was ended.",
                    m_serverName.c_str()));
        break;
    case SaslResult::Malformed:
        Fail(Format("%s sent a %s challenge that cannot be read; the conversation was ended.",
                    m_serverName.c_str(), mechanism.c_str()));
        break;
    case SaslResult::Unusable:
        Fail(bearer ? std::string("The access token holds characters no bearer token has, or "
                                  "the user name holds control characters; it was not sent.")
                    : Format("The password is no valid UTF-8 text, which %s needs; it was not "
                             "sent. Password only signs in with it as it is.",
                             mechanism.c_str()));
        break;
    case SaslResult::Broken:
        break;
    }
    Close();
    return false;
}
