// CPop3Connection's connection: the socket, TLS and STLS, lines and replies,
// CAPA, the reasons for failure, Close and Abort.
#include "Pop3Connection.h"

#include "Format.h"
#include "Quote.h"
#include "TcpConnect.h"

#include <algorithm>

namespace {

constexpr const char* kStopped = "The check was stopped.";

std::string SecondsText(std::chrono::milliseconds limit) {
    return Format("%g seconds", static_cast<double>(limit.count()) / 1000.0);
}

std::string EndpointText(const Endpoint& endpoint) {
    const char* format = endpoint.name.find(':') != std::string::npos ? "[%s]:%u" : "%s:%u";
    return Format(format, endpoint.name.c_str(), static_cast<unsigned>(endpoint.port));
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

CPop3Connection::CPop3Connection(WaitHook waitHook, ChannelLimits limits)
    : m_waitHook(std::move(waitHook)), m_limits(limits) {}

CPop3Connection::~CPop3Connection() = default;

bool CPop3Connection::IsFavourable(const std::string& reply) {
    return reply.find("+OK") != std::string::npos;
}

void CPop3Connection::SetSecurity(Security security, std::string trustedFingerprint) {
    m_security = security;
    m_trustedFingerprint = std::move(trustedFingerprint);
}

void CPop3Connection::KeepOutOfReasons(std::string secret) {
    if (!secret.empty()) {
        m_secrets.push_back(std::move(secret));
    }
}

void CPop3Connection::Fail(const std::string& reason) {
    if (m_reason.empty() && !m_quitting) {
        m_reason = reason;
    }
}

// The server's words, quoted: bounded, printable, and without the password
// should the server echo it back.
std::string CPop3Connection::Refusal(const char* what, const std::string& reply) const {
    // Cut only once the secrets are out, so that no part of one stays behind.
    const std::string quoted = CutQuote(Masked(reply, m_secrets));
    if (quoted.empty()) {
        return Format("%s with an empty reply.", what);
    }
    const std::string shown = Format(quoted.back() == '.' ? ": %s" : ": %s.", quoted.c_str());
    // What the quote adds around a secret's part can make it whole again: the
    // "***" of a password of asterisks, the closing full stop of "hunter2." that
    // the server echoed as "hunter2", a blank for a tab. A quote that holds more
    // than half of a secret in one run is left out, which also catches an echo
    // the server cut short.
    for (const std::string& secret : m_secrets) {
        if (2 * LongestSharedRun(shown, secret) > secret.size()) {
            return Format("%s; its reply is left out, as it would show the password or part of it.",
                          what);
        }
    }
    return what + shown;
}

bool CPop3Connection::EndRefused(const char* what, const std::string& reply, const char* after) {
    Fail(Refusal(what, reply) + after);
    Close();
    return false;
}

std::string CPop3Connection::ChannelFailure() const {
    const char* server = m_serverName.c_str();
    switch (m_channel ? m_channel->Fault() : ChannelFault::Abandoned) {
    case ChannelFault::TimedOut:
        return Format("No reply from %s within %s.", server,
                      SecondsText(m_limits.ioTimeout).c_str());
    case ChannelFault::TooSlow:
        return Format("%s sent less than %zu bytes in %s.", server, m_limits.lowSpeedBytes,
                      SecondsText(m_limits.lowSpeedTime).c_str());
    case ChannelFault::TooLong:
        return Format("The conversation with %s took longer than %s.", server,
                      SecondsText(m_limits.conversationTimeout).c_str());
    case ChannelFault::LineTooLong:
        return Format("%s sent a line longer than %zu bytes.", server, m_limits.maxLineBytes);
    case ChannelFault::Abandoned:
        return kStopped;
    default:
        return Format("The connection to %s broke off.", server);
    }
}

int CPop3Connection::Connect(const std::string& host, const std::string& user,
                             const std::string& password, uint32_t port) {
    return Connect(host, user, SignIn{SignInMethod::PasswordOnly, password, {}, {}}, port);
}

std::optional<PeerCertificate> CPop3Connection::InspectCertificate(const std::string& host,
                                                                   uint32_t port) {
    if (m_connectCalled || m_aborted) {
        return std::nullopt;
    }
    m_connectCalled = true;
    m_serverName = host;
    m_inspecting = true;
    if (m_security == Security::None) {
        Fail("This account uses no connection security, so its server shows no certificate.");
        return std::nullopt;
    }
    if (Open(host, port)) {
        Close();
    }
    return m_certificate;
}

// Connected, secured as the account asks, and greeted; the login is next.
bool CPop3Connection::Open(const std::string& host, uint32_t port) {
    SocketWaiter connectWaiter(
        m_waitHook, [this] { return !m_aborted; }, m_limits.pollSlice);
    TcpConnection connection = ConnectTcp(host, port, connectWaiter, m_limits.connectTimeout);
    const std::string endpoint = EndpointText(connection.endpoint);
    switch (m_aborted ? ConnectFailure::Abandoned : connection.failure) {
    case ConnectFailure::None:
        break;
    case ConnectFailure::BadName:
        Fail(Format("The server name %s is not valid.", host.c_str()));
        return false;
    case ConnectFailure::Unresolved:
        Fail(Format("Could not resolve %s.", connection.endpoint.name.c_str()));
        return false;
    case ConnectFailure::Refused:
        Fail(Format("%s refused the connection.", endpoint.c_str()));
        return false;
    case ConnectFailure::NoAnswer:
        Fail(Format("No answer from %s within %s.", endpoint.c_str(),
                    SecondsText(m_limits.connectTimeout).c_str()));
        return false;
    case ConnectFailure::Abandoned:
        Fail(kStopped);
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
    if (m_security == Security::Tls &&
        !StartTls(connection.attemptStarted + m_limits.connectTimeout)) {
        return false;
    }
    std::string greeting = ReadLine();
    if (!IsFavourable(greeting)) {
        return EndRefused("The server refused the connection", greeting);
    }
    return m_security != Security::StartTls || UpgradeWithStls();
}

bool CPop3Connection::StartTls(std::chrono::steady_clock::time_point deadline) {
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
            Fail(Format("The TLS handshake with %s did not end within %s.", m_serverName.c_str(),
                        SecondsText(m_limits.connectTimeout).c_str()));
        } else {
            Fail(ChannelFailure());
        }
        ReleaseChannel();
        return false;
    }
    m_certificate = transport.Certificate();
    return true;
}

// Nothing but the server's STLS answer may have arrived before the handshake:
// whatever else came was written by someone on the way, to be read as if it
// came over TLS. It ends the conversation, like any failure here, before the
// password could leave.
bool CPop3Connection::UpgradeWithStls() {
    if (!RequestCapabilities() || !m_capabilities.stls) {
        Fail("The server offers no STARTTLS; the password was not sent.");
        Close();
        return false;
    }
    SendLine("STLS");
    std::string reply = ReadLine();
    if (!reply.starts_with("+OK")) {
        return EndRefused("The server refused STARTTLS", reply, " The password was not sent.");
    }
    if (m_channel->HasPendingInput()) {
        Fail("The server sent more than its answer to STARTTLS, which is how an attacker would "
             "slip in false replies; the password was not sent.");
        ReleaseChannel();
        return false;
    }
    return StartTls(std::chrono::steady_clock::now() + m_limits.connectTimeout);
}

// Capabilities are asked after the login, where servers list what this
// user may do (RFC 2449). A server that lists none is spoken to as before
// CAPA existed, NOOP included.
bool CPop3Connection::LearnCapabilitiesOrNoop() {
    RequestCapabilities();
    if (SpeaksCapabilities()) {
        // A server offering UTF8 may show a client that does not ask for it
        // a notice in place of each message with 8-bit header bytes; the
        // headers are read as UTF-8 anyway. A refusal changes nothing.
        if (m_capabilities.utf8) {
            SendLine("UTF8");
            ReadLine();
        }
        return m_open;
    }
    m_capabilities = Pop3Capabilities();
    SendLine("NOOP");
    std::string reply = ReadLine();
    if (!IsFavourable(reply)) {
        return EndRefused("The server refused the login", reply);
    }
    return true;
}

int CPop3Connection::SendLine(const std::string& line) {
    return SendLines({line});
}

int CPop3Connection::SendLines(const std::vector<std::string>& lines) {
    if (!m_open || m_inChannel) {
        return 0;
    }
    m_inChannel = true;
    bool sent = m_channel->WriteLines(lines);
    m_inChannel = false;
    if (!sent && m_open) {
        Fail(ChannelFailure());
        ReleaseChannel();
    }
    return sent ? 1 : 0;
}

ReadStatus CPop3Connection::ReadReply(std::string& line) {
    if (!m_open || m_inChannel) {
        line.clear();
        return ReadStatus::Failure;
    }
    m_inChannel = true;
    ReadStatus status = m_channel->ReadLine(line);
    m_inChannel = false;
    if (status == ReadStatus::EndOfStream) {
        Fail(Format("%s closed the connection.", m_serverName.c_str()));
    } else if (status == ReadStatus::Failure && m_open) {
        Fail(ChannelFailure());
        ReleaseChannel();
    }
    return status;
}

bool CPop3Connection::RequestCapabilities() {
    m_capabilities = Pop3Capabilities();
    if (!SendLine("CAPA")) {
        return false;
    }
    std::string line;
    // Only a reply that starts with +OK: the lax test of the older commands is
    // kept for them alone.
    if (ReadReply(line) != ReadStatus::Line || !line.starts_with("+OK")) {
        return false;
    }
    m_capabilities.answered = true;
    while (ReadReply(line) == ReadStatus::Line) {
        if (line == ".") {
            return true;
        }
        if (line.starts_with('.')) {
            line.erase(0, 1);
        }
        if (!m_capabilities.Add(line)) {
            Fail(Format("%s sent a capability list longer than %zu lines or %zu bytes.",
                        m_serverName.c_str(), Pop3Capabilities::kMaxLines,
                        Pop3Capabilities::kMaxBytes));
            ReleaseChannel();
            return false;
        }
    }
    return false;
}

std::string CPop3Connection::ReadLine() {
    std::string line;
    ReadReply(line);
    return line;
}

void CPop3Connection::ReleaseChannel() {
    m_open = false;
    m_channel.reset();
}

int CPop3Connection::Close() {
    if (!m_open) {
        return 0;
    }
    // A Close that comes through the wait hook must not pull the channel from
    // under the wait: it is recorded, and the scan's end or the owner's next
    // Close carries it out.
    if (!m_idle || m_inChannel) {
        m_closeRequested = true;
        return 0;
    }
    m_closeRequested = false;
    m_quitting = true;
    SendLine("QUIT");
    ReadLine();
    m_quitting = false;
    if (m_channel) {
        m_channel->CloseTransport();
    }
    m_open = false;
    m_channel.reset();
    m_socket.Reset();
    return 1;
}

void CPop3Connection::Abort() {
    Fail(kStopped);
    m_aborted = true;
    m_open = false;
    Close();
}
