// One POP3 conversation (RFC 1939, client side) with one server for one
// account during one check: greeting, USER/PASS/NOOP login, STAT, TOP n 0
// for every message, QUIT. Never RETR, never DELE. Commands go out strictly in
// turn, one line then its reply.
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
    // written "name:port" or "[v6]:port" overrides the port passed in.
    int Connect(const std::string& host, const std::string& user, const std::string& password,
                uint32_t port);
    int SendLine(const std::string& line);
    std::string ReadLine();
    int Close();
    void Abort();

    // Header scan.
    int GetMessageCount();
    int RetrieveHeaders();

    const std::vector<std::string>& Froms() const { return m_froms; }
    const std::vector<std::string>& HeaderTexts() const { return m_headerTexts; }
    const std::vector<std::string>& MessageIds() const { return m_messageIds; }
    const std::vector<std::string>& Subjects() const { return m_subjects; }
    const std::string& ServerName() const { return m_serverName; }
    bool IsOpen() const { return m_open; }
    bool IsIdle() const { return m_idle; }

private:
    bool m_closeRequested = false;
    bool m_idle = true;
    std::vector<std::string> m_froms;
    std::vector<std::string> m_headerTexts;
    std::vector<std::string> m_messageIds;
    std::vector<std::string> m_subjects;
    std::string m_serverName = "(none)";
    // ... the rest (channel, open flag, socket) is the implementer's.
    bool m_open = false;
};
