// A scripted POP3 server for tests. It listens on 127.0.0.1 at an ephemeral
// port, serves one connection per script in turn on a thread of its own, and
// records every byte each client sent, so a case is written as the server's
// replies plus the exact bytes the client must have sent:
//
//   ScriptedPeer peer(Login() + Script{Reply("+OK 2 320\r\n"), Reply("+OK bye\r\n")});
//   CPop3Connection conversation;
//   conversation.Connect(peer.Address(), "bob", "pw", 110);
//   ...
//   EXPECT_EQ(peer.Received(), "USER bob\r\nPASS pw\r\nCAPA\r\nNOOP\r\nSTAT\r\nQUIT\r\n");
//
// When its script runs out the peer keeps reading until the client closes.
// After an AcceptTls step the peer speaks TLS, and records what the client
// sent inside it, and kCloseNotify when the client ended TLS properly.
#pragma once

#include "LoopbackListener.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testpeer {

class Step {
public:
    enum class Kind {
        Send,
        AwaitLine,
        AwaitIf,
        Answer,
        Pause,
        Hold,
        Stall,
        Hangup,
        Cut,
        Flood,
        Nagle,
        AcceptTls
    };
    // The reply to a client line (without its line end).
    using Answerer = std::function<std::string(const std::string& line)>;

    Step(Kind kind, std::vector<std::string> segments = {}, std::chrono::milliseconds pause = {},
         std::size_t floodBytes = 0, Answerer answer = {})
        : kind(kind), segments(std::move(segments)), pause(pause), floodBytes(floodBytes),
          answer(std::move(answer)) {}

    Kind kind;
    std::vector<std::string> segments; // Send: each leaves in a send of its own
    std::chrono::milliseconds pause;   // Pause; Send and AwaitLine: between segments
    std::size_t floodBytes;
    Answerer answer;
};

using Script = std::vector<Step>;

inline constexpr const char* kCloseNotify = "[close_notify]";

Script operator+(Script first, const Script& second);

// Sends at once, without waiting for a client line.
Step Send(std::string bytes);
// Waits for one client line, then sends the bytes (bare LF, no line end, any
// bytes at all).
Step Reply(std::string bytes);
// Waits for one client line, then sends the pieces with a short pause between
// them, so that each arrives on its own.
Step ReplySegmented(std::vector<std::string> pieces);
// Waits for one client line, then sends the pieces in sends of their own,
// back to back: with Nagle on, each later piece waits for the client's ACK.
Step ReplyInWrites(std::vector<std::string> pieces);
// Turns Nagle's algorithm on for the rest of the connection (the peer
// starts with it off), as most servers leave it.
Step NagleOn();
// Waits for one client line: when it is `line`, sends the bytes; any other
// line is left for the next step. Lets one script serve clients that ask
// CAPA before the login and clients that do not.
Step ReplyIf(std::string line, std::string bytes);
// Waits for one client line and sends what answer makes of it.
Step ReplyWith(Step::Answerer answer);
// Waits for one client line and sends nothing.
Step Await();
Step Pause(std::chrono::milliseconds delay);
// Waits until the test calls Release(): the client is certainly waiting then.
Step Hold();
// Never answers again; keeps recording until the client closes.
Step Stall();
// Closes the connection at once; the steps after it are not run.
Step Hangup();
// The same without TLS's close_notify, as a server that crashed.
Step Cut();
// Sends bytes without any line end, then closes.
Step Flood(std::size_t bytes);

// Takes the TLS handshake with this certificate and key (PEM files); the
// steps after it speak TLS. A failed handshake ends the session. With
// upToTls11 the peer offers nothing newer than TLS 1.1.
Step AcceptTls(std::string certificateFile, std::string keyFile, bool upToTls11 = false);

// A greeting, "-ERR" to a CAPA before the login and to CAPA after it (a
// server of RFC 1939 alone), "+OK" to USER and PASS, "+OK" to NOOP.
Script Login();
// Login, STAT twice (the count before the scan, the scan's own), "TOP n 0"
// for each block, QUIT. A block is the header bytes as sent, each line ended
// by CR LF; the terminating ".\r\n" is added. No STAT is scripted a second
// time for an empty mailbox.
Script HealthyMailbox(const std::vector<std::string>& headerBlocks);
// What a client sends to HealthyMailbox when it counts, scans and closes.
std::string HealthyTranscript(const std::string& user, const std::string& password,
                              std::size_t messages);

class ScriptedPeer {
public:
    explicit ScriptedPeer(Script script);
    // One script per connection, served in order.
    explicit ScriptedPeer(std::vector<Script> sessions);
    ~ScriptedPeer();

    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    uint16_t Port() const { return m_listener.Port(); }
    // "127.0.0.1:<port>", as a server name for Connect.
    std::string Address() const;
    // Lets one Hold() step go on.
    void Release();
    // True once connection `session` has been accepted, within limit: the
    // client is then certainly past its start-up, whatever the machine's load.
    bool AwaitSession(std::size_t session, std::chrono::milliseconds limit) const;
    // The bytes the client sent on connection `session`. Waits (bounded) for
    // that connection to end, so close the client first.
    std::string Received(std::size_t session = 0) const;

private:
    struct Session;
    void Serve();
    bool RunStep(Session& session, const Step& step);
    bool WaitReady(int fd, short events) const;
    bool ReadSome(Session& session);
    bool AwaitLine(Session& session);
    bool PeekLine(Session& session, std::string& line);
    bool SendAll(Session& session, const std::string& bytes);
    bool Sleep(std::chrono::milliseconds delay) const;
    bool AcceptTls(Session& session, const Step& step);
    void Flood(Session& session, std::size_t bytes);

    std::vector<Script> m_scripts;
    LoopbackListener m_listener;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_received;
    std::size_t m_accepted = 0;
    std::vector<bool> m_ended;
    int m_releases = 0;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace testpeer
