// One IMAP conversation (RFC 3501, IMAP4rev1, and RFC 9051, IMAP4rev2; client
// side) with one server for one account: the greeting, CAPABILITY, TLS from
// the first byte (RFC 8314) or after STARTTLS, the sign-in by AUTHENTICATE
// through the SASL engine (with an initial response where SASL-IR, RFC 4959,
// is listed) or LOGIN, then the mailbox read and never changed: EXAMINE (with
// CONDSTORE, RFC 7162, where listed), UID SEARCH (ESEARCH, RFC 4731), UID
// FETCH of BODY.PEEK[HEADER], LIST; and waiting for changes with IDLE
// (RFC 2177) or NOTIFY (RFC 5465). No STORE, EXPUNGE, COPY, MOVE, APPEND,
// CREATE or SUBSCRIBE is ever sent, and no body is fetched but by PEEK, so
// nothing Tarvo does marks a message read.
// One class in four files on MailConversation (the connection, TLS and the
// reasons): ImapConnection.cpp (commands, responses, Close), ImapSignIn.cpp
// (Connect, STARTTLS and the login), ImapMailbox.cpp (EXAMINE, SEARCH, FETCH,
// LIST), ImapPush.cpp (IDLE and NOTIFY).
#pragma once

#include "HeaderBlock.h"
#include "ImapResponse.h"
#include "MailConversation.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline uint32_t ImapDefaultPort(Security security) {
    return security == Security::Tls ? 993 : 143;
}

// What the server lists in CAPABILITY, as far as Tarvo uses it.
struct ImapCapabilities {
    bool imap4rev2 = false;
    bool startTls = false;
    bool loginDisabled = false;
    bool saslIr = false;
    bool idle = false;
    bool notify = false;
    bool condStore = false;
    bool esearch = false;
    std::vector<std::string> sasl; // the AUTH= mechanisms, upper case

    // Replaces what was known with a list of blank-separated names.
    void Take(std::string_view names);
};

// A folder as EXAMINE opened it.
struct ImapFolderState {
    uint32_t uidValidity = 0; // 0: none given, UIDs are not kept across sessions
    uint32_t exists = 0;
    std::optional<uint64_t> highestModSeq; // with CONDSTORE, unless the folder keeps none
};

// What a wait for changes found: Changed when the server reported new,
// vanished or changed messages; Failed when the connection ended (the
// reason says why).
enum class ImapPush { Quiet, Changed, Failed };

class CImapConnection : public MailConversation {
public:
    explicit CImapConnection(WaitHook waitHook = {}, ChannelLimits limits = {});
    ~CImapConnection();

    // Instead of Connect: goes as far as the secured greeting, takes whatever
    // certificate the server shows, says LOGOUT. Empty, with a reason, on
    // failure or without TLS.
    std::optional<PeerCertificate> InspectCertificate(const std::string& host, uint32_t port);
    // 1 once signed in (or greeted as signed in already, PREAUTH), 0 with a
    // reason otherwise. A host written "name:port" or "[v6]:port" overrides
    // the port passed in (ImapDefaultPort for none). Connects at most once.
    int Connect(const std::string& host, const std::string& user, const SignIn& signIn,
                uint32_t port);
    const ImapCapabilities& Capabilities() const { return m_capabilities; }

    // Opens the folder (UTF-8, as the user reads it) read-only.
    std::optional<ImapFolderState> Examine(const std::string& folder);
    // The UIDs of the open folder's messages neither \Seen nor \Deleted, in
    // ascending order.
    std::optional<std::vector<uint32_t>> SearchUnseen();
    // The header of each of these messages of the open folder, in one
    // command; a message gone meanwhile has none. Each header's unique-id is
    // its UID in decimal. False when the answer was not read to its end (the
    // headers then hold what was).
    bool FetchHeaders(const std::vector<uint32_t>& uids);
    // Moves the headers out of the conversation, which keeps none.
    ScannedHeaders TakeHeaders();
    // The names of the folders that can be opened, in UTF-8.
    std::optional<std::vector<std::string>> ListFolders();

    // Waiting for changes between checks, driven by the owner's event loop:
    // once after starting, and whenever SocketFd() turns readable,
    // TakeEvents() reads what has come and never waits for more (what came
    // with the answer to IDLE is already read from the socket). EndIdle()
    // before the next command.
    // IDLE on the folder, opened first unless it is open; false where IDLE
    // is not listed.
    bool StartIdle(const std::string& folder);
    // NOTIFY for all these folders at once, then IDLE where listed; false
    // where NOTIFY is not listed.
    bool StartNotify(const std::vector<std::string>& folders);
    int SocketFd() const { return m_open ? m_socket.Get() : -1; }
    ImapPush TakeEvents();
    // Ends the IDLE (DONE and its tagged answer, bounded): commands may follow.
    bool EndIdle();

    // 1 when it said LOGOUT and shut the connection down now; 0 when not
    // open, or deferred to the end of the operation running under the wait.
    int Close();

private:
    friend class ImapChannelSource;
    friend class ImapSaslFraming;
    using Untagged = std::function<bool(const ImapResponse&)>;

    bool Open(const std::string& host, uint32_t port, bool& preauthenticated);
    bool UpgradeWithStartTls(bool preauthenticated);
    bool Authenticate(const std::string& user, const SignIn& signIn);
    bool Login(const std::string& user, const std::string& password);
    bool LearnCapabilities();
    bool Idle();
    void KeepAliveWhileIdle();

    // Ready for a command: open, signed in, not idling, not inside a wait.
    bool Ready() const { return m_open && !m_inChannel && !m_idling; }
    std::string NextTag();
    // Sends the command and reads up to its tagged answer; untagged
    // responses go to handler. Empty, with the reason set, when none came.
    std::optional<ImapResponse> Command(const std::string& command, const Untagged& handler = {});
    // The next response that is the tagged answer to tag or a continuation
    // request, within budget bytes for all read.
    std::optional<ImapResponse> Next(const std::string& tag, const Untagged& handler,
                                     std::size_t budget, std::size_t& bytes);
    bool ReadResponse(ImapResponse& response, std::size_t& bytes);
    // False, with the reason, for a response that ends the conversation: an
    // answer to a tag never sent, or BYE but after LOGOUT.
    bool Accept(const ImapResponse& response);
    // What every response may tell whatever was asked: capabilities, a
    // folder's state, a change.
    void Note(const ImapResponse& response);
    bool EndRefused(const std::string& what, const ImapResponse& answer);
    // A Close that came through the wait hook, carried out once the public
    // operation under it is over.
    struct DeferredClose {
        CImapConnection& conversation;
        ~DeferredClose() {
            if (conversation.m_closeRequested && !conversation.m_inChannel) {
                conversation.Close();
            }
        }
    };

    ImapCapabilities m_capabilities;
    int m_capabilityLists = 0; // lists taken so far
    ImapLimits m_responseLimits;
    unsigned m_lastTag = 0;
    std::vector<std::string> m_unanswered; // tags sent, their answer yet to come
    std::string m_commandTag;              // of the command whose answer is read
    std::string m_examined;                // the open folder, as the user reads it
    ImapFolderState m_folder;
    HeaderBlock m_scanning;
    ScannedHeaders m_headers;
    bool m_idling = false;
    std::string m_idleTag;
    std::size_t m_pushBytes = 0; // since the wait began
    bool m_changed = false;
    bool m_closeRequested = false;
};
