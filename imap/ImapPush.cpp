// CImapConnection's waiting for changes between checks: IDLE (RFC 2177) on
// one folder, or NOTIFY (RFC 5465) over several, then IDLE where listed. No
// thread and no timer: the owner's event loop watches SocketFd() and calls
// TakeEvents(), which reads only the responses that have begun to arrive.
#include "Format.h"
#include "ImapConnection.h"
#include "MailboxName.h"
#include "Translate.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <utility>

bool CImapConnection::StartIdle(const std::string& folder) {
    const DeferredClose deferred{*this};
    if (!Ready() || !m_capabilities.idle) {
        return false;
    }
    if (m_examined != folder && !Examine(folder)) {
        return false;
    }
    return Idle();
}

bool CImapConnection::StartNotify(const std::vector<std::string>& folders) {
    const DeferredClose deferred{*this};
    if (!Ready() || !m_capabilities.notify || folders.empty()) {
        return false;
    }
    std::string names;
    for (const std::string& folder : folders) {
        names += (names.empty() ? "" : " ") + ImapQuoted(EncodeMailboxName(folder));
    }
    const std::string events = "(MessageNew MessageExpunge FlagChange)";
    m_changed = false;
    m_pushBytes = 0;
    std::optional<ImapResponse> answer =
        Command("NOTIFY SET (SELECTED " + events + ") (MAILBOXES (" + names + ") " + events + ")");
    if (!answer) {
        return false;
    }
    if (answer->status != "OK") {
        Fail(Refusal(
            translate("ImapConnection", "The server would not report changes to the folders"),
            answer->quote));
        return false;
    }
    // Servers that report at any time report during IDLE too, and IDLE
    // keeps a connection that would otherwise look idle alive.
    return !m_capabilities.idle || Idle();
}

// Whatever comes from the moment IDLE is sent counts as a change: a message
// that arrived since the folder was opened is announced there.
bool CImapConnection::Idle() {
    const std::string tag = NextTag();
    m_unanswered.push_back(tag);
    m_changed = false;
    if (!Send({tag + " IDLE"})) {
        return false;
    }
    std::size_t bytes = 0;
    std::optional<ImapResponse> answer = Next(tag, {}, m_limits.maxPushBytes, bytes);
    if (!answer) {
        return false;
    }
    if (answer->kind != ImapResponse::Kind::Continuation) {
        Fail(Refusal(translate("ImapConnection", "The server would not wait for new mail"),
                     answer->quote));
        return false;
    }
    m_idling = true;
    m_idleTag = tag;
    m_pushBytes = bytes;
    KeepAliveWhileIdle();
    return true;
}

// A connection a NAT dropped stays silent for ever; the kernel's probes find
// it within two minutes (60 s quiet, then 4 probes 15 s apart), and the
// socket then reads as failed, with no wake-up of Tarvo's own meanwhile.
void CImapConnection::KeepAliveWhileIdle() {
    const int fd = m_socket.Get();
    const int on = 1, idle = 60, interval = 15, probes = 4;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
}

ImapPush CImapConnection::TakeEvents() {
    if (m_inChannel) {
        return ImapPush::Quiet; // the operation under the wait reads them
    }
    // Hours may pass between two reports; each is read within the bounds.
    if (m_open) {
        m_channel->RestartConversationClock();
    }
    while (m_open && m_channel->LineArrived()) {
        ImapResponse response;
        std::size_t bytes = 0;
        if (!ReadResponse(response, bytes) || !Accept(response)) {
            return ImapPush::Failed;
        }
        m_pushBytes += bytes;
        if (m_pushBytes > m_limits.maxPushBytes) {
            Fail(Format(translate("ImapConnection",
                                  "%1 sent more than %2 bytes while Tarvo waited for new mail."),
                        m_serverName.c_str(), m_limits.maxPushBytes));
            ReleaseChannel();
            return ImapPush::Failed;
        }
        if (m_idling && response.tag == m_idleTag) {
            m_idling = false;
            EndRefused(translate("ImapConnection", "The server stopped waiting for new mail"),
                       response);
        }
    }
    if (!m_open) {
        return ImapPush::Failed;
    }
    return std::exchange(m_changed, false) ? ImapPush::Changed : ImapPush::Quiet;
}

bool CImapConnection::EndIdle() {
    const DeferredClose deferred{*this};
    if (!m_open || m_inChannel) {
        return false;
    }
    m_channel->RestartConversationClock();
    if (!m_idling) {
        return true;
    }
    m_idling = false;
    if (!Send({"DONE"})) {
        return false;
    }
    // Reports may still come before the answer; the wait's bound holds.
    std::size_t bytes = m_pushBytes;
    std::optional<ImapResponse> answer;
    do {
        answer = Next(m_idleTag, {}, m_limits.maxPushBytes, bytes);
    } while (answer && answer->kind == ImapResponse::Kind::Continuation);
    return answer.has_value();
}
