// CPop3Connection's Connect and its login.
// Signing in: USER/PASS (RFC 1939), or AUTH (RFC 5034) with the SASL engine,
// which owns the choice of mechanism and the exchange; here the exchange is
// only put into POP3's lines.
#include "Pop3Connection.h"
#include "SaslEngine.h"
#include "Translate.h"

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
            m_conversation.KeepOut(*initialResponse);
            command += " " + (initialResponse->empty() ? std::string("=") : *initialResponse);
        }
        return m_conversation.SendLine(command) == 1;
    }
    bool Respond(const std::string& base64) override {
        m_conversation.KeepOut(base64);
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
    if (!BeginConnect(host) || !CredentialsFit(user, signIn) || !Open(host, port)) {
        return 0;
    }
    // Asked over the connection the login goes over: a list from before STLS
    // is not believed after it.
    RequestCapabilities();
    if (!m_open) {
        return 0;
    }
    const bool listed = SpeaksCapabilities();
    bool signedIn = signIn.method == SignInMethod::PasswordOnly
                        ? SignInWithPassword(user, signIn.secret)
                        : SignInWithSasl(user, signIn);
    return signedIn && LearnCapabilitiesOrNoop(listed) ? 1 : 0;
}

void CPop3Connection::CountWithLogin(bool uniqueIds) {
    m_countWithLogin = true;
    m_listWithLogin = uniqueIds;
}

// A server that listed PIPELINING gets PASS, and what follows a sound login,
// without waiting on USER's reply; the replies are still read in order, and
// a refusal ends the conversation before any later one is looked at.
bool CPop3Connection::SignInWithPassword(const std::string& user, const std::string& password) {
    const std::vector<std::string> login{"USER " + user, "PASS " + password};
    const bool together = m_capabilities.pipelining;
    if (together) {
        std::vector<std::string> commands = login;
        m_utf8Asked = m_capabilities.utf8;
        if (m_utf8Asked) {
            commands.emplace_back("UTF8");
        }
        m_countUnread = m_countWithLogin;
        m_listingUnread = m_countWithLogin && m_listWithLogin;
        if (m_countUnread) {
            commands.emplace_back("STAT");
        }
        if (m_listingUnread) {
            commands.emplace_back("UIDL");
        }
        SendLines(commands);
    }
    for (const std::string& command : login) {
        // A failed send shows as the unfavourable empty reply that follows.
        if (!together) {
            SendLine(command);
        }
        std::string reply = ReadLine();
        if (!IsFavourable(reply)) {
            return EndRefused(translate("Pop3Connection", "The server refused the login"), reply);
        }
    }
    if (m_utf8Asked) {
        ReadLine();
    }
    return true;
}

// The mechanisms are those listed before the login (after STLS, over TLS,
// where a server may offer more).
bool CPop3Connection::SignInWithSasl(const std::string& user, const SignIn& signIn) {
    SaslEngine engine(signIn.method, user, m_endpointName, m_endpointPort);
    SaslPlan plan = engine.Choose(m_capabilities.sasl, signIn.mechanismBefore);
    if (plan == SaslPlan::UserPass) {
        return SignInWithPassword(user, signIn.secret);
    }
    Pop3SaslFraming framing(*this);
    if (PlanAllowsSignIn(plan, signIn) &&
        RunSasl(engine, framing, signIn, [&] { return SignInWithPassword(user, signIn.secret); })) {
        return true;
    }
    Close();
    return false;
}
