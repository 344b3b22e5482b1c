// CImapConnection's Connect: the greeting, STARTTLS (RFC 3501, 6.2.1) and the
// sign-in: AUTHENTICATE (6.2.2) through the SASL engine, which owns the choice
// of mechanism and the exchange, here only put into IMAP's lines; or LOGIN
// (6.2.3), never while the server lists LOGINDISABLED.
#include "Format.h"
#include "ImapConnection.h"
#include "SaslEngine.h"
#include "Translate.h"

#include <algorithm>

namespace {

// RFC 7162, 4: a server takes command lines of 8192 bytes at least.
constexpr std::size_t kMaxCommandBytes = 8192;

// What a quoted string carries: 7-bit text without NUL or a line break.
bool Quotable(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c > 0 && c != '\r' && c != '\n' && static_cast<unsigned char>(c) < 0x80;
    });
}

} // namespace

class ImapSaslFraming : public SaslFraming {
public:
    explicit ImapSaslFraming(CImapConnection& conversation) : m_conversation(conversation) {}

    // Without SASL-IR the response waits for the server's empty challenge.
    bool FitsInitialResponse(const std::string& mechanism,
                             const std::string& base64) const override {
        return m_conversation.m_capabilities.saslIr && std::string("a0000 AUTHENTICATE ").size() +
                                                               mechanism.size() + 1 +
                                                               base64.size() + 2 <=
                                                           kMaxCommandBytes;
    }
    bool Begin(const std::string& mechanism,
               const std::optional<std::string>& initialResponse) override {
        m_tag = m_conversation.NextTag();
        m_conversation.m_unanswered.push_back(m_tag);
        std::string command = m_tag + " AUTHENTICATE " + mechanism;
        if (initialResponse) {
            m_conversation.KeepOut(*initialResponse);
            // RFC 4959: "=" is an initial response that is empty.
            command += " " + (initialResponse->empty() ? std::string("=") : *initialResponse);
        }
        return m_conversation.Send({command});
    }
    bool Respond(const std::string& base64) override {
        m_conversation.KeepOut(base64);
        return m_conversation.Send({base64});
    }
    bool Cancel() override { return m_conversation.Send({"*"}); }
    Reply Await() override {
        std::size_t bytes = 0;
        std::optional<ImapResponse> answer =
            m_conversation.Next(m_tag, {}, m_conversation.m_limits.maxScanBytes, bytes);
        if (!answer) {
            return {Reply::Kind::Broken, {}};
        }
        if (answer->kind == ImapResponse::Kind::Continuation) {
            std::string challenge = answer->text;
            challenge.erase(challenge.find_last_not_of(" \t") + 1);
            return {Reply::Kind::Challenge, std::move(challenge)};
        }
        if (answer->status == "OK") {
            return {Reply::Kind::Success, {}};
        }
        return {Reply::Kind::Failure, answer->quote};
    }

private:
    CImapConnection& m_conversation;
    std::string m_tag;
};

std::optional<PeerCertificate> CImapConnection::InspectCertificate(const std::string& host,
                                                                   uint32_t port) {
    bool preauthenticated = false;
    if (BeginInspection(host) && Open(host, port, preauthenticated)) {
        Close();
    }
    return InspectedCertificate();
}

int CImapConnection::Connect(const std::string& host, const std::string& user, const SignIn& signIn,
                             uint32_t port) {
    const DeferredClose deferred{*this};
    bool preauthenticated = false;
    if (!BeginConnect(host) || !CredentialsFit(user, signIn) ||
        !Open(host, port, preauthenticated)) {
        return 0;
    }
    const bool ready = preauthenticated ? m_capabilityLists > 0 || LearnCapabilities()
                                        : Authenticate(user, signIn);
    return ready && m_open ? 1 : 0;
}

// Connected, secured as the account asks, and greeted.
bool CImapConnection::Open(const std::string& host, uint32_t port, bool& preauthenticated) {
    if (!OpenChannel(host, port)) {
        return false;
    }
    ImapResponse greeting;
    std::size_t bytes = 0;
    if (!ReadResponse(greeting, bytes)) {
        return false;
    }
    if (greeting.kind != ImapResponse::Kind::Untagged ||
        (greeting.status != "OK" && greeting.status != "PREAUTH")) {
        Fail(Refusal(translate("ImapConnection", "The server refused the connection"),
                     greeting.quote));
        // After BYE the server hangs up: there is nobody to say LOGOUT to.
        greeting.status == "BYE" ? ReleaseChannel() : static_cast<void>(Close());
        return false;
    }
    preauthenticated = greeting.status == "PREAUTH";
    return m_security != Security::StartTls || UpgradeWithStartTls(preauthenticated);
}

// STARTTLS is the first command: nothing is learnt, let alone sent, in clear
// text but what the greeting says.
bool CImapConnection::UpgradeWithStartTls(bool preauthenticated) {
    if (preauthenticated) {
        Fail(Format(
            translate(
                "ImapConnection",
                "%1 greeted the connection as signed in already, where STARTTLS can no longer be "
                "asked: someone may be keeping it in clear text. Nothing was sent."),
            m_serverName.c_str()));
        Close();
        return false;
    }
    if (m_capabilityLists > 0 && !m_capabilities.startTls) {
        FailStartTls(std::nullopt);
        Close();
        return false;
    }
    std::optional<ImapResponse> answer = Command("STARTTLS");
    if (!answer) {
        return false;
    }
    if (answer->status != "OK") {
        FailStartTls(answer->quote);
        Close();
        return false;
    }
    // Whatever the server said in clear text may have been written on the way.
    m_capabilities = ImapCapabilities();
    m_capabilityLists = 0;
    return StartTlsAfterAnswer();
}

bool CImapConnection::LearnCapabilities() {
    std::optional<ImapResponse> answer = Command("CAPABILITY");
    return answer &&
           (answer->status == "OK" ||
            EndRefused(translate("ImapConnection", "The server refused to list its capabilities"),
                       *answer));
}

bool CImapConnection::Authenticate(const std::string& user, const SignIn& signIn) {
    if (m_capabilityLists == 0 && !LearnCapabilities()) {
        return false;
    }
    const int listsBefore = m_capabilityLists;
    bool signedIn = false;
    SaslEngine engine(signIn.method, user, m_endpointName, m_endpointPort);
    const SaslPlan plan = signIn.method == SignInMethod::PasswordOnly
                              ? SaslPlan::UserPass
                              : engine.Choose(m_capabilities.sasl, signIn.mechanismBefore);
    if (plan == SaslPlan::UserPass) {
        signedIn = Login(user, signIn.secret);
    } else {
        ImapSaslFraming framing(*this);
        signedIn = PlanAllowsSignIn(plan, signIn) &&
                   RunSasl(engine, framing, signIn, [&] { return Login(user, signIn.secret); });
        if (!signedIn) {
            Close();
        }
    }
    // A server lists more once it knows the user (RFC 3501, 7.2.1); most say
    // so in the login's answer.
    return signedIn && (m_capabilityLists != listsBefore || LearnCapabilities());
}

bool CImapConnection::Login(const std::string& user, const std::string& password) {
    if (m_capabilities.loginDisabled) {
        Fail(Format(
            translate("ImapConnection",
                      "%1 takes no password over this connection (it lists LOGINDISABLED); the "
                      "password was not sent. Choose SSL/TLS or STARTTLS for the account."),
            m_serverName.c_str()));
        Close();
        return false;
    }
    const std::string tag = NextTag();
    m_unanswered.push_back(tag);
    std::string line = tag + " LOGIN";
    std::size_t bytes = 0;
    for (const std::string* argument : {&user, &password}) {
        if (Quotable(*argument)) {
            line += " " + ImapQuoted(*argument);
            continue;
        }
        // A literal's bytes leave once the server asks for them.
        line += " {" + std::to_string(argument->size()) + "}";
        if (!Send({line})) {
            return false;
        }
        std::optional<ImapResponse> go = Next(tag, {}, m_limits.maxScanBytes, bytes);
        if (!go) {
            return false;
        }
        if (go->kind != ImapResponse::Kind::Continuation) {
            return EndRefused(translate("ImapConnection", "The server refused the login"), *go);
        }
        line = *argument;
    }
    if (!Send({line})) {
        return false;
    }
    std::optional<ImapResponse> answer = Next(tag, {}, m_limits.maxScanBytes, bytes);
    return answer &&
           (answer->status == "OK" ||
            EndRefused(translate("ImapConnection", "The server refused the login"), *answer));
}
