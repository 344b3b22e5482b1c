#include "Pop3Connection.h"

CPop3Connection::CPop3Connection(WaitHook waitHook, ChannelLimits limits)
    : m_waitHook(std::move(waitHook)), m_limits(limits) {}

CPop3Connection::~CPop3Connection() = default;

bool CPop3Connection::IsFavourable(const std::string& reply) {
    return reply.find("+OK") != std::string::npos;
}

int CPop3Connection::Connect(const std::string& host, const std::string& user,
                             const std::string& password, uint32_t port) {
    if (m_connectCalled || m_aborted) {
        return 0;
    }
    m_connectCalled = true;
    m_serverName = host;
    // A line break in a user name or password would send the server a
    // command of its own choosing (a DELE, say): such an account is refused
    // before anything is sent.
    if ((user + password).find_first_of("\r\n") != std::string::npos) {
        return 0;
    }
    SocketWaiter connectWaiter(
        m_waitHook, [this] { return !m_aborted; }, m_limits.pollSlice);
    m_socket = ConnectTcp(host, port, connectWaiter, m_limits.connectTimeout);
    if (!m_socket.Valid() || m_aborted) {
        m_socket.Reset();
        return 0;
    }
    m_open = true;
    m_channel = std::make_unique<LineChannel>(
        m_socket.Get(),
        SocketWaiter(
            m_waitHook, [this] { return m_open; }, m_limits.pollSlice),
        m_limits);

    bool favourable = IsFavourable(ReadLine());
    for (const std::string& command : {"USER " + user, "PASS " + password}) {
        if (!favourable) {
            break;
        }
        // A failed send shows as the unfavourable empty reply that follows.
        SendLine(command);
        favourable = IsFavourable(ReadLine());
    }
    if (!favourable || !LearnCapabilitiesOrNoop()) {
        Close();
        return 0;
    }
    return 1;
}

// Capabilities are asked after the login, where servers list what this
// user may do (RFC 2449). A server that lists none is spoken to as before
// CAPA existed, NOOP included.
bool CPop3Connection::LearnCapabilitiesOrNoop() {
    RequestCapabilities();
    if (SpeaksCapabilities()) {
        return true;
    }
    m_capabilities = Pop3Capabilities();
    SendLine("NOOP");
    return IsFavourable(ReadLine());
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
    if (status == ReadStatus::Failure && m_open) {
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
    SendLine("QUIT");
    ReadLine();
    m_open = false;
    m_socket.Reset();
    m_channel.reset();
    return 1;
}

void CPop3Connection::Abort() {
    m_aborted = true;
    m_open = false;
    Close();
}
