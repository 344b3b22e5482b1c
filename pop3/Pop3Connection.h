// One POP3 conversation (RFC 1939, client side) with one server for one
// account during one check: greeting, USER/PASS/NOOP login, STAT, TOP n 0
// for every message, QUIT. Never RETR, never DELE, no APOP, no pipelining:
// commands go out strictly in turn, one line then its reply. A reply is
// judged favourable when "+OK" appears anywhere in it, not only at its start:
// a stricter test would turn away servers that have always been accepted.
#pragma once

#include "LineChannel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CPop3Connection {
public:
    explicit CPop3Connection(WaitHook waitHook = {}, ChannelLimits limits = {});
    virtual ~CPop3Connection();

    CPop3Connection(const CPop3Connection&) = delete;
    CPop3Connection& operator=(const CPop3Connection&) = delete;

    // 1 when the server accepted USER, PASS and NOOP; 0 otherwise. A host
    // written "name:port" or "[v6]:port" overrides the port passed in. A
    // conversation connects at most once.
    int Connect(const std::string& host, const std::string& user, const std::string& password,
                uint32_t port);
    int SendLine(const std::string& line);
    std::string ReadLine();
    // 1 when it sent QUIT and shut the connection down now; 0 when not open
    // or deferred to the end of a running scan.
    int Close();
    // Ends the conversation without a word to the server; a wait in progress
    // gives up at once. The socket stays until destruction.
    void Abort();

    // -1 when not open, or the STAT reply is unfavourable or holds no count
    // that a mailbox can have (none at all, or a negative one).
    int GetMessageCount();
    // 1 when every message was scanned; 0 when the conversation was not open,
    // STAT failed, or the channel failed or ended mid-scan (the lists then
    // hold what was read so far, all of one length).
    int RetrieveHeaders();

    const std::vector<std::string>& Froms() const { return m_froms; }
    const std::vector<std::string>& HeaderTexts() const { return m_headerTexts; }
    const std::vector<std::string>& MessageIds() const { return m_messageIds; }
    const std::vector<std::string>& Subjects() const { return m_subjects; }
    const std::string& ServerName() const { return m_serverName; }
    bool IsOpen() const { return m_open; }
    bool IsIdle() const { return m_idle; }

private:
    static bool IsFavourable(const std::string& reply);
    ReadStatus ReadReply(std::string& line);
    void ReleaseChannel();
    bool ScanHeaderBlock(std::size_t index);

    bool m_closeRequested = false;
    bool m_idle = true;
    std::vector<std::string> m_froms;
    std::vector<std::string> m_headerTexts;
    std::vector<std::string> m_messageIds;
    std::vector<std::string> m_subjects;
    std::string m_serverName = "(none)";
    WaitHook m_waitHook;
    ChannelLimits m_limits;
    UniqueFd m_socket;
    std::unique_ptr<LineChannel> m_channel; // released before the socket closes
    bool m_open = false;
    bool m_aborted = false;
    bool m_connectCalled = false;
    bool m_inChannel = false; // a channel operation waits and the hook may re-enter
};
