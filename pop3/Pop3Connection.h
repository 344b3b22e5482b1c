// One POP3 conversation (RFC 1939, client side) with one server for one
// account during one check: greeting, CAPA (RFC 2449), the login (USER/PASS,
// or AUTH of RFC 5034 through the SASL engine), STAT, UIDL, TOP n 0 for the
// messages wanted, QUIT. Never RETR, never DELE, no APOP. CAPA is asked again
// after the login only where it brought no list before it. A server that
// does not answer CAPA with a list gets the conversation of RFC 1939 alone:
// NOOP after the login, STAT twice, every TOP strictly in turn. One that
// lists PIPELINING before the login gets USER, PASS, STAT and UIDL in one
// write, and its TOP commands in a window ahead of the replies. A reply is
// judged favourable when "+OK" appears anywhere in it, not only at its
// start: a stricter test would turn away servers that have always been
// accepted. A TOP reply that is neither +OK nor -ERR ends the scan, and in a
// pipeline only a reply that starts with +OK counts. With TLS chosen the
// same conversation runs inside TLS from the first byte (RFC 8314), or after
// CAPA and STLS (RFC 2595), never falling back to clear text.
// One class in four files on MailConversation (the connection, TLS and the
// reasons): Pop3Connection.cpp (STLS, lines, CAPA, Close), Pop3SignIn.cpp
// (Connect and the login), HeaderScan.cpp (STAT and the TOP scan),
// UniqueIds.cpp (UIDL).
#pragma once

#include "Capabilities.h"
#include "HeaderBlock.h"
#include "MailConversation.h"
#include "UniqueIdList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// BrokenOff: the conversation ended inside UIDL (the server closed, fell
// silent, or passed the bounds); a stop by Disconnect is not.
enum class UniqueIdListing { Refused, Broken, BrokenOff, Listed };

class CPop3Connection : public MailConversation {
public:
    explicit CPop3Connection(WaitHook waitHook = {}, ChannelLimits limits = {});
    virtual ~CPop3Connection();

    // Instead of Connect: goes as far as the secured greeting, takes whatever
    // certificate the server shows, says QUIT. Empty, with a reason, on
    // failure or without TLS.
    std::optional<PeerCertificate> InspectCertificate(const std::string& host, uint32_t port);

    // 1 when the server accepted USER and PASS, and a CAPA or else NOOP; 0
    // otherwise. A host written "name:port" or "[v6]:port" overrides the
    // port passed in. A conversation connects at most once.
    int Connect(const std::string& host, const std::string& user, const std::string& password,
                uint32_t port);
    // The same, signing in as signIn asks: the CAPA before the login gives
    // the server's SASL mechanisms.
    int Connect(const std::string& host, const std::string& user, const SignIn& signIn,
                uint32_t port);
    // Before Connect: where USER and PASS go out together, STAT goes with
    // them, and UIDL when uniqueIds, for GetMessageCount and ListUniqueIds.
    void CountWithLogin(bool uniqueIds);
    int SendLine(const std::string& line);
    // The lines leave together, in one flush.
    int SendLines(const std::vector<std::string>& lines);
    std::string ReadLine();
    // 1 when it sent QUIT and shut the connection down now, without waiting
    // for the reply; 0 when not open or deferred to the end of a running scan.
    int Close();

    // Sends CAPA and keeps the list the server sends back. False when not
    // open, refused, or the list is broken off or passes its bounds (the
    // channel is then released, as the rest of the reply cannot be told apart
    // from what follows).
    bool RequestCapabilities();
    const Pop3Capabilities& Capabilities() const { return m_capabilities; }

    // -1 when not open, or the STAT reply is unfavourable or holds no count
    // that a mailbox can have (none at all, or a negative one). With
    // uniqueIdsNext a server that lists PIPELINING gets UIDL in the same
    // write, for ListUniqueIds to read. A STAT sent with the login is only
    // read.
    int GetMessageCount(bool uniqueIdsNext = false);
    // 1 when every message was scanned; 0 when the conversation was not open,
    // STAT failed, or the channel failed or ended mid-scan (the headers then
    // hold what was read so far).
    int RetrieveHeaders();
    // The same for the given message numbers only (each from 1 to the count
    // of the last STAT), in the order given; no STAT of its own. Each header
    // carries the unique-id at its index in uniqueIds, when given.
    int RetrieveHeaders(const std::vector<int>& numbers, const UniqueIdList* uniqueIds = nullptr);
    // The next scan is the conversation's last: where the server pipelines,
    // QUIT leaves with its last TOP, and the conversation ends with the scan.
    void QuitWithNextScan() { m_quitWithScan = true; }
    // Moves the headers out of the conversation, which keeps none.
    ScannedHeaders TakeHeaders();

    // Sends UIDL and fills ids with the unique-id of each message number n at
    // index n - 1. Broken when the listing breaks RFC 1939 (a duplicate id,
    // bad characters, an id over 70 bytes, a number out of range or twice, a
    // count other than the last STAT's); the listing is read to its end
    // either way, or the channel released when it passes its bounds.
    // BrokenOff when the answer or the listing never reached its end.
    UniqueIdListing ListUniqueIds(UniqueIdList& ids);
    // The server answered CAPA with a list: the conversation may leave out
    // what RFC 1939 alone would need.
    bool SpeaksCapabilities() const {
        return m_capabilities.answered && !m_capabilities.lines.empty();
    }

    const ScannedHeaders& Headers() const { return m_headers; }
    bool IsIdle() const { return m_idle; }

private:
    friend class Pop3SaslFraming;

    static bool IsFavourable(const std::string& reply);
    bool IsTopHeaderFollowing(const std::string& status) const;
    bool Open(const std::string& host, uint32_t port);
    bool UpgradeWithStls();
    int ReadCount();
    void ReadUnreadReplies();
    bool ScanHeaderBlock(std::size_t index);
    bool LearnCapabilitiesOrNoop(bool listedBefore);
    bool SignInWithPassword(const std::string& user, const std::string& password);
    bool SignInWithSasl(const std::string& user, const SignIn& signIn);
    int Scan(int count, const std::vector<int>* numbers, const UniqueIdList* uniqueIds = nullptr);
    void QueueTopCommands(std::size_t& next, std::size_t due, std::size_t total,
                          const std::vector<int>* numbers, std::size_t& unanswered);
    // The server said no to a step the conversation cannot go on without:
    // its words are the reason, then QUIT. Always false.
    bool EndRefused(const std::string& what, const std::string& reply);

    bool m_closeRequested = false;
    bool m_idle = true;
    ScannedHeaders m_headers;
    HeaderBlock m_scanning; // reused from one message to the next
    int m_lastCount = -1;   // of the last STAT
    bool m_countWithLogin = false;
    bool m_listWithLogin = false;
    bool m_countUnread = false;   // STAT went out with the login
    bool m_listingUnread = false; // UIDL went out with STAT
    bool m_utf8Asked = false;
    bool m_quitWithScan = false;
    bool m_quitSent = false;
    Pop3Capabilities m_capabilities;
};
