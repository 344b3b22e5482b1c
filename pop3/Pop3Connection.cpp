// CPop3Connection's connection: the greeting, STLS, lines and replies, CAPA,
// Close.
#include "Pop3Connection.h"

#include "Format.h"
#include "Translate.h"

CPop3Connection::CPop3Connection(WaitHook waitHook, ChannelLimits limits)
    : MailConversation(std::move(waitHook), limits) {}

CPop3Connection::~CPop3Connection() = default;

bool CPop3Connection::IsFavourable(const std::string& reply) {
    return reply.find("+OK") != std::string::npos;
}

bool CPop3Connection::EndRefused(const std::string& what, const std::string& reply) {
    Fail(Refusal(what, reply));
    Close();
    return false;
}

int CPop3Connection::Connect(const std::string& host, const std::string& user,
                             const std::string& password, uint32_t port) {
    return Connect(host, user, SignIn{SignInMethod::PasswordOnly, password, {}, {}}, port);
}

std::optional<PeerCertificate> CPop3Connection::InspectCertificate(const std::string& host,
                                                                   uint32_t port) {
    if (!BeginInspection(host)) {
        return std::nullopt;
    }
    if (Open(host, port)) {
        Close();
    }
    return InspectedCertificate();
}

// Connected, secured as the account asks, and greeted; the login is next.
bool CPop3Connection::Open(const std::string& host, uint32_t port) {
    if (!OpenChannel(host, port)) {
        return false;
    }
    std::string greeting = ReadLine();
    if (!IsFavourable(greeting)) {
        return EndRefused(translate("Pop3Connection", "The server refused the connection"),
                          greeting);
    }
    return m_security != Security::StartTls || UpgradeWithStls();
}

bool CPop3Connection::UpgradeWithStls() {
    if (!RequestCapabilities() || !m_capabilities.stls) {
        FailStartTls(std::nullopt);
        Close();
        return false;
    }
    SendLine("STLS");
    std::string reply = ReadLine();
    if (!reply.starts_with("+OK")) {
        FailStartTls(reply);
        Close();
        return false;
    }
    return StartTlsAfterAnswer();
}

// A server that listed no capabilities before the login is asked again
// after it, where servers list what this user may do (RFC 2449). One that
// lists none then either is spoken to as before CAPA existed, NOOP included.
bool CPop3Connection::LearnCapabilitiesOrNoop(bool listedBefore) {
    if (!listedBefore) {
        RequestCapabilities();
    }
    if (SpeaksCapabilities()) {
        // A server offering UTF8 may show a client that does not ask for it
        // a notice in place of each message with 8-bit header bytes; the
        // headers are read as UTF-8 anyway. A refusal changes nothing.
        if (m_capabilities.utf8 && !m_utf8Asked) {
            SendLine("UTF8");
            ReadLine();
        }
        return m_open;
    }
    m_capabilities = Pop3Capabilities();
    SendLine("NOOP");
    std::string reply = ReadLine();
    if (!IsFavourable(reply)) {
        return EndRefused(translate("Pop3Connection", "The server refused the login"), reply);
    }
    return true;
}

int CPop3Connection::SendLine(const std::string& line) {
    return SendLines({line});
}

int CPop3Connection::SendLines(const std::vector<std::string>& lines) {
    return Send(lines) ? 1 : 0;
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
            Fail(Format(translate("Pop3Connection",
                                  "%1 sent a capability list longer than %2 lines or %3 bytes."),
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
    // Nothing is left to learn from QUIT's reply, so it is not waited for.
    if (!m_quitSent) {
        m_quitting = true;
        SendLine("QUIT");
        m_quitting = false;
    }
    ShutDown();
    return 1;
}
