#include "MailConversation.h"

#include "Format.h"
#include "Quote.h"
#include "SaslEngine.h"
#include "TcpConnect.h"
#include "Translate.h"

#include <algorithm>

namespace {

constexpr const char* kStopped = QT_TRANSLATE_NOOP("MailConversation", "The check was stopped.");

std::string SecondsText(std::chrono::milliseconds limit) {
    return Format(translate("MailConversation", "%1 seconds"),
                  static_cast<double>(limit.count()) / 1000.0);
}

std::string EndpointText(const Endpoint& endpoint) {
    const std::string port = ":" + std::to_string(endpoint.port);
    return endpoint.name.find(':') != std::string::npos ? "[" + endpoint.name + "]" + port
                                                        : endpoint.name + port;
}

// Each secret in the reply as "***", in one pass over the reply, so that what
// was written is never searched again: a password of "*" would be found in its
// own "***" for ever. Only as much as a quote shows is looked at.
std::string Masked(const std::string& reply, const std::vector<std::string>& secrets) {
    std::string masked;
    for (std::size_t at = 0; at < reply.size() && masked.size() <= kMaxQuotedBytes;) {
        const auto secret = std::find_if(secrets.begin(), secrets.end(), [&](const std::string& s) {
            return reply.compare(at, s.size(), s) == 0;
        });
        if (secret != secrets.end()) {
            masked += "***";
            at += secret->size();
        } else {
            masked += reply[at++];
        }
    }
    return masked;
}

// The longest run of bytes that both texts hold.
std::size_t LongestSharedRun(const std::string& a, const std::string& b) {
    std::vector<std::size_t> previous(b.size() + 1, 0);
    std::vector<std::size_t> current(b.size() + 1, 0);
    std::size_t longest = 0;
    for (char c : a) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            current[j + 1] = c == b[j] ? previous[j] + 1 : 0;
            longest = std::max(longest, current[j + 1]);
        }
        std::swap(previous, current);
    }
    return longest;
}

} // namespace

MailConversation::MailConversation(WaitHook waitHook, ChannelLimits limits)
    : m_waitHook(std::move(waitHook)), m_limits(limits) {}

MailConversation::~MailConversation() = default;

void MailConversation::SetSecurity(Security security, std::string trustedFingerprint) {
    m_security = security;
    m_trustedFingerprint = std::move(trustedFingerprint);
}

void MailConversation::KeepOutOfReasons(std::string secret) {
    // A server may quote it back as AUTHENTICATE would have carried it.
    KeepOut(SaslBase64(secret));
    KeepOut(std::move(secret));
}

// The longest first, so that no secret is masked only in part for a shorter
// one that begins it.
void MailConversation::KeepOut(std::string text) {
    if (!text.empty()) {
        m_secrets.insert(
            std::find_if(m_secrets.begin(), m_secrets.end(),
                         [&text](const std::string& kept) { return kept.size() < text.size(); }),
            std::move(text));
    }
}

void MailConversation::Fail(const std::string& reason) {
    if (m_reason.empty() && !m_quitting) {
        m_reason = reason;
    }
}

std::string MailConversation::SecretName() const {
    return translate("MailConversation", m_secretName);
}

std::string MailConversation::Refusal(const std::string& what, const std::string& reply) const {
    // Cut only once the secrets are out, so that no part of one stays behind.
    const std::string quoted = CutQuote(Masked(reply, m_secrets));
    if (quoted.empty()) {
        return Format(translate("MailConversation", "%1 with an empty reply."), what);
    }
    const std::string shown = ": " + quoted + (quoted.back() == '.' ? "" : ".");
    // What the quote adds around a secret's part can make it whole again: the
    // "***" of a password of asterisks, the closing full stop of "hunter2." that
    // the server echoed as "hunter2", a blank for a tab. A quote that holds more
    // than half of a secret in one run is left out, which also catches an echo
    // the server cut short.
    for (const std::string& secret : m_secrets) {
        if (2 * LongestSharedRun(shown, secret) > secret.size()) {
            return Format(
                translate("MailConversation",
                          "%1; its reply is left out, as it would show the %2 or part of it."),
                what, SecretName());
        }
    }
    return what + shown;
}

std::string MailConversation::ChannelFailure() const {
    const char* server = m_serverName.c_str();
    switch (m_channel ? m_channel->Fault() : ChannelFault::Abandoned) {
    case ChannelFault::TimedOut:
        return Format(translate("MailConversation", "No reply from %1 within %2."), server,
                      SecondsText(m_limits.ioTimeout).c_str());
    case ChannelFault::TooSlow:
        return Format(translate("MailConversation", "%1 sent less than %2 bytes in %3."), server,
                      m_limits.lowSpeedBytes, SecondsText(m_limits.lowSpeedTime).c_str());
    case ChannelFault::TooLong:
        return Format(
            translate("MailConversation", "The conversation with %1 took longer than %2."), server,
            SecondsText(m_limits.conversationTimeout).c_str());
    case ChannelFault::LineTooLong:
        return Format(translate("MailConversation", "%1 sent a line longer than %2 bytes."), server,
                      m_limits.maxLineBytes);
    case ChannelFault::Abandoned:
        return translate("MailConversation", kStopped);
    default:
        return Format(translate("MailConversation", "The connection to %1 broke off."), server);
    }
}

void MailConversation::FailScanTooLarge() {
    Fail(Format(translate("MailConversation", "The headers on %1 add up to more than %2 bytes."),
                m_serverName.c_str(), m_limits.maxScanBytes));
}

bool MailConversation::BeginConnect(const std::string& host) {
    if (m_connectCalled || m_aborted) {
        return false;
    }
    m_connectCalled = true;
    m_serverName = host;
    return true;
}

bool MailConversation::BeginInspection(const std::string& host) {
    if (!BeginConnect(host)) {
        return false;
    }
    m_inspecting = true;
    if (m_security == Security::None) {
        Fail(translate(
            "MailConversation",
            "This account uses no connection security, so its server shows no certificate."));
        return false;
    }
    return true;
}

std::optional<std::string> UnsafeSignIn(SignInMethod method, Security security) {
    // A bearer token is as good as a password to whoever reads it, and
    // unlike SCRAM it crosses the wire as it is.
    if (method == SignInMethod::OAuth2 && security == Security::None) {
        return translate("MailConversation",
                         "An OAuth 2.0 account signs in over a secured connection only: choose "
                         "SSL/TLS or STARTTLS for it. Nothing was sent.");
    }
    return std::nullopt;
}

bool MailConversation::CredentialsFit(const std::string& user, const SignIn& signIn) {
    m_secretName = signIn.method == SignInMethod::OAuth2
                       ? QT_TRANSLATE_NOOP("MailConversation", "access token")
                       : QT_TRANSLATE_NOOP("MailConversation", "password");
    KeepOutOfReasons(signIn.secret);
    // A line break in a user name or password would send the server a
    // command of its own choosing (a DELE, say), and a NUL byte would cut the
    // line short where the server reads it: such an account is refused before
    // anything is sent.
    if ((user + signIn.secret).find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
        Fail(Format(
            translate("MailConversation",
                      "The user name or %1 holds a line break or a NUL byte; nothing was sent."),
            SecretName()));
        return false;
    }
    if (std::optional<std::string> unsafe = UnsafeSignIn(signIn.method, m_security)) {
        Fail(*unsafe);
        return false;
    }
    return true;
}

bool MailConversation::OpenChannel(const std::string& host, uint32_t port) {
    SocketWaiter connectWaiter(
        m_waitHook, [this] { return !m_aborted; }, m_limits.pollSlice);
    TcpConnection connection = ConnectTcp(host, port, connectWaiter, m_limits.connectTimeout);
    const std::string endpoint = EndpointText(connection.endpoint);
    switch (m_aborted ? ConnectFailure::Abandoned : connection.failure) {
    case ConnectFailure::None:
        break;
    case ConnectFailure::BadName:
        Fail(Format(translate("MailConversation", "The server name %1 is not valid."),
                    host.c_str()));
        return false;
    case ConnectFailure::Unresolved:
        Fail(Format(translate("MailConversation", "Could not resolve %1."),
                    connection.endpoint.name.c_str()));
        return false;
    case ConnectFailure::Refused:
        Fail(Format(translate("MailConversation", "%1 refused the connection."), endpoint.c_str()));
        return false;
    case ConnectFailure::NoAnswer:
        Fail(Format(translate("MailConversation", "No answer from %1 within %2."), endpoint.c_str(),
                    SecondsText(m_limits.connectTimeout).c_str()));
        return false;
    case ConnectFailure::Abandoned:
        Fail(translate("MailConversation", kStopped));
        return false;
    }
    m_socket = std::move(connection.socket);
    m_endpointName = connection.endpoint.name;
    m_endpointPort = connection.endpoint.port;
    m_open = true;
    m_channel = std::make_unique<LineChannel>(
        std::make_unique<PlainTransport>(m_socket.Get()),
        SocketWaiter(
            m_waitHook, [this] { return m_open; }, m_limits.pollSlice),
        m_limits);
    // The handshake shares the bound of the attempt that connected.
    return m_security != Security::Tls ||
           StartTls(connection.attemptStarted + m_limits.connectTimeout);
}

bool MailConversation::StartTls(std::chrono::steady_clock::time_point deadline) {
    std::string reason;
    std::unique_ptr<TlsTransport> created = TlsTransport::Create(
        m_socket.Get(), TlsPeer{m_endpointName, m_trustedFingerprint, m_inspecting}, reason);
    if (!created) {
        Fail(reason);
        ReleaseChannel();
        return false;
    }
    TlsTransport& transport = *created;
    m_channel->ReplaceTransport(std::move(created));
    const auto limit =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    m_inChannel = true;
    TransportStatus status = m_channel->Complete([&transport] { return transport.Handshake(); },
                                                 std::max(limit, std::chrono::milliseconds{0}));
    m_inChannel = false;
    if (status != TransportStatus::Done) {
        if (!transport.Reason().empty()) {
            Fail(transport.Reason());
        } else if (m_channel->Fault() == ChannelFault::TimedOut) {
            Fail(Format(
                translate("MailConversation", "The TLS handshake with %1 did not end within %2."),
                m_serverName.c_str(), SecondsText(m_limits.connectTimeout).c_str()));
        } else {
            Fail(ChannelFailure());
        }
        ReleaseChannel();
        return false;
    }
    m_certificate = transport.Certificate();
    return true;
}

void MailConversation::FailStartTls(const std::optional<std::string>& reply) {
    Fail(reply ? Refusal(translate("MailConversation", "The server refused STARTTLS"), *reply) +
                     Format(translate("MailConversation", " The %1 was not sent."), SecretName())
               : Format(translate("MailConversation",
                                  "The server offers no STARTTLS; the %1 was not sent."),
                        SecretName()));
}

// Nothing but the server's answer may have arrived before the handshake:
// whatever else came was written by someone on the way, to be read as if it
// came over TLS. It ends the conversation, like any failure here, before the
// password could leave.
bool MailConversation::StartTlsAfterAnswer() {
    if (m_channel->HasPendingInput()) {
        Fail(Format(translate("MailConversation",
                              "The server sent more than its answer to STARTTLS, which is how an "
                              "attacker would slip in false replies; the %1 was not sent."),
                    SecretName()));
        ReleaseChannel();
        return false;
    }
    return StartTls(std::chrono::steady_clock::now() + m_limits.connectTimeout);
}

bool MailConversation::PlanAllowsSignIn(SaslPlan plan, const SignIn& signIn) {
    const char* server = m_serverName.c_str();
    switch (plan) {
    case SaslPlan::Downgrade:
        Fail(Format(
            translate(
                "MailConversation",
                "%1 no longer offers %2, with which this account signed in before, so the password "
                "was not sent another way: someone may be tampering with the connection. If the "
                "server's sign-in really changed, change the account's sign-in method."),
            server, signIn.mechanismBefore.c_str()));
        return false;
    case SaslPlan::NoMechanism:
        Fail(Format(translate("MailConversation",
                              "%1 offers neither OAUTHBEARER nor XOAUTH2, so an OAuth "
                              "2.0 account cannot sign in there; no token was sent."),
                    server));
        return false;
    case SaslPlan::Sasl:
    case SaslPlan::UserPass:
        break;
    }
    return true;
}

bool MailConversation::RunSasl(const SaslEngine& engine, SaslFraming& framing, const SignIn& signIn,
                               const std::function<bool()>& plainLogin) {
    SaslOutcome outcome = engine.Run(framing, signIn.secret);
    const bool bearer = signIn.method == SignInMethod::OAuth2;
    bool fresh = false;
    if (bearer && outcome.result == SaslResult::Refused && signIn.freshToken) {
        // Access tokens expire within the hour: one refused may only be old.
        // The same one again would only be refused again.
        std::optional<std::string> token = signIn.freshToken();
        if (token && *token != signIn.secret) {
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
    case SaslResult::Refused:
        if (bearer) {
            Fail(Refusal(fresh
                             ? translate("MailConversation",
                                         "The server refused the access token, and a fresh one too")
                             : translate("MailConversation", "The server refused the access token"),
                         outcome.reply));
            break;
        }
        if (!signIn.mechanismBefore.empty()) {
            Fail(Refusal(translate("MailConversation", "The server refused the login"),
                         outcome.reply));
            break;
        }
        // Some servers list a mechanism they cannot complete for some
        // accounts (PAM ones, say), and some do not prepare passwords as
        // SASLprep does. Until this account has signed in through SASL, the
        // plain login gives nothing away that it gave before, as long as TLS
        // hides it; a failed exchange leaves the session open for it (RFC 5034,
        // 4; RFC 3501, 6.2.2).
        if (m_security != Security::None) {
            return plainLogin();
        }
        Fail(Refusal(Format(translate("MailConversation", "The server refused the login with %1"),
                            mechanism),
                     outcome.reply) +
             Format(translate("MailConversation",
                              " If the password is right, Password only signs in without %1."),
                    mechanism.c_str()));
        break;
    case SaslResult::ServerNotProven:
        Fail(Format(translate("MailConversation",
                              "%1 could not prove that it knows the password, so someone may be "
                              "impersonating it; the conversation was ended."),
                    m_serverName.c_str()));
        break;
    case SaslResult::Malformed:
        Fail(Format(
            translate("MailConversation",
                      "%1 sent a %2 challenge that cannot be read; the conversation was ended."),
            m_serverName.c_str(), mechanism.c_str()));
        break;
    case SaslResult::TooCostly: {
        // The server's digits are cut as any quote is: there may be a megabyte of them.
        const std::string count = outcome.reply.substr(0, 20);
        Fail(Format(translate("MailConversation",
                              "%1 asks %2 to hash the password %3%4 times, more than the %5 "
                              "allowed; the sign-in was ended before any was computed."),
                    m_serverName.c_str(), mechanism.c_str(), count.c_str(),
                    outcome.reply.size() > count.size() ? "..." : "", kMaxScramIterations));
        break;
    }
    case SaslResult::Unusable:
        Fail(bearer ? translate("MailConversation",
                                "The access token holds characters no bearer token has, or the "
                                "user name holds control characters; it was not sent.")
                    : Format(translate("MailConversation",
                                       "The password is no valid UTF-8 text, which %1 needs; it "
                                       "was not sent. Password only signs in with it as it is."),
                             mechanism.c_str()));
        break;
    case SaslResult::Broken:
        break;
    }
    return false;
}

bool MailConversation::Send(const std::vector<std::string>& lines) {
    if (!m_open || m_inChannel) {
        return false;
    }
    m_inChannel = true;
    bool sent = m_channel->WriteLines(lines);
    m_inChannel = false;
    if (!sent && m_open) {
        Fail(ChannelFailure());
        ReleaseChannel();
    }
    return sent;
}

ReadStatus MailConversation::ReadReply(std::string& line) {
    return Read([&] { return m_channel->ReadLine(line); }, line);
}

ReadStatus MailConversation::ReadBytes(std::string& bytes, std::size_t count) {
    return Read([&] { return m_channel->ReadBytes(bytes, count); }, bytes);
}

ReadStatus MailConversation::Read(const std::function<ReadStatus()>& read, std::string& into) {
    if (!m_open || m_inChannel) {
        into.clear();
        return ReadStatus::Failure;
    }
    m_inChannel = true;
    ReadStatus status = read();
    m_inChannel = false;
    if (status == ReadStatus::EndOfStream) {
        Fail(Format(translate("MailConversation", "%1 closed the connection."),
                    m_serverName.c_str()));
    } else if (status == ReadStatus::Failure && m_open) {
        Fail(ChannelFailure());
        ReleaseChannel();
    }
    return status;
}

void MailConversation::ReleaseChannel() {
    m_open = false;
    m_channel.reset();
}

void MailConversation::ShutDown() {
    if (m_channel) {
        m_channel->CloseTransport();
    }
    m_open = false;
    m_channel.reset();
    m_socket.Reset();
}

void MailConversation::Abort() {
    Fail(translate("MailConversation", kStopped));
    m_aborted = true;
    m_open = false;
}
