// What a conversation with a mail server is whatever its protocol: the
// connection (TCP, TLS from the first byte or after the protocol's STARTTLS),
// the line channel with its bounds, the sign-in checks and SASL verdicts, and
// the one-sentence reasons a user reads when it fails. CPop3Connection and
// CImapConnection speak their protocols on top of it, so that both say the
// same thing about the same fault.
#pragma once

#include "LineChannel.h"
#include "Security.h"
#include "SignIn.h"
#include "TlsTransport.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SaslEngine;
class SaslFraming;
enum class SaslPlan;

class MailConversation {
public:
    MailConversation(const MailConversation&) = delete;
    MailConversation& operator=(const MailConversation&) = delete;

    // Before Connect. A trusted fingerprint replaces the usual verification
    // of the server's certificate: exactly that certificate is accepted.
    void SetSecurity(Security security, std::string trustedFingerprint = {});
    // Why the conversation failed, in one sentence; empty while it has not.
    // Never holds the password, nor any text given here (its stored form),
    // nor their base64, nor any SASL message sent.
    void KeepOutOfReasons(std::string secret);
    const std::string& FailureReason() const { return m_reason; }
    // The SASL mechanism the server accepted; empty after a plain login.
    const std::string& SignedInWith() const { return m_signedInWith; }
    const std::string& ServerName() const { return m_serverName; }
    const ChannelLimits& Limits() const { return m_limits; }
    bool IsOpen() const { return m_open; }
    // Ends the conversation without a word to the server; a wait in progress
    // gives up at once. The socket stays until destruction.
    void Abort();
    bool Aborted() const { return m_aborted; }

protected:
    MailConversation(WaitHook waitHook, ChannelLimits limits);
    ~MailConversation();

    // Marks the one Connect (or inspection) of this conversation; false when
    // it had one already or was aborted.
    bool BeginConnect(const std::string& host);
    // Refuses, before anything is sent, credentials that would break the
    // protocol's lines or a bearer token that would cross in clear text.
    bool CredentialsFit(const std::string& user, const SignIn& signIn);
    // Connected, and inside TLS when the account asks for it from the first
    // byte; the server's greeting is next.
    bool OpenChannel(const std::string& host, uint32_t port);
    // The server would not start TLS: it offers none, or refused with reply.
    void FailStartTls(const std::optional<std::string>& reply);
    // After the server's favourable answer to its STARTTLS command: nothing
    // else may have come before the handshake.
    bool StartTlsAfterAnswer();

    // The account's SASL plan, when it is not to sign in through SASL: the
    // reason is set and false returned.
    bool PlanAllowsSignIn(SaslPlan plan, const SignIn& signIn);
    // One exchange through framing, and a fresh token once if the server
    // refused an old one. False with the reason set when not signed in.
    // A mechanism refused to an account that never signed in through SASL
    // goes on with plainLogin over TLS.
    bool RunSasl(const SaslEngine& engine, SaslFraming& framing, const SignIn& signIn,
                 const std::function<bool()>& plainLogin);
    // A SASL message sent, kept out of reasons as a secret is.
    void KeepOut(std::string text);

    bool Send(const std::vector<std::string>& lines);
    ReadStatus ReadReply(std::string& line);
    // Exactly count bytes, as a literal of the protocol.
    ReadStatus ReadBytes(std::string& bytes, std::size_t count);
    // Keeps the first reason only: what failed first is what went wrong.
    void Fail(const std::string& reason);
    std::string ChannelFailure() const;
    // The headers of one scan passed maxScanBytes.
    void FailScanTooLarge();
    // The server's words, quoted: bounded, printable, and without the
    // password should the server echo it back.
    std::string Refusal(const std::string& what, const std::string& reply) const;
    void ReleaseChannel();
    // The transport's goodbye and the socket closed, after the protocol's own.
    void ShutDown();
    // Instead of BeginConnect, for a connection that only shows the server's
    // certificate: any is taken, verified only to be shown.
    bool BeginInspection(const std::string& host);
    const std::optional<PeerCertificate>& InspectedCertificate() const { return m_certificate; }

    WaitHook m_waitHook;
    ChannelLimits m_limits;
    UniqueFd m_socket;
    std::unique_ptr<LineChannel> m_channel; // released before the socket closes
    bool m_open = false;
    bool m_aborted = false;
    bool m_inChannel = false; // a channel operation waits and the hook may re-enter
    Security m_security = Security::None;
    std::string m_serverName = "(none)";
    std::string m_endpointName; // the name a certificate must carry
    uint32_t m_endpointPort = 0;
    std::string m_signedInWith;
    bool m_quitting = false; // what the goodbye meets is no reason for failure
    // What the account signs in with, as reasons name it.
    std::string SecretName() const;
    const char* m_secretName = "password";

private:
    bool StartTls(std::chrono::steady_clock::time_point deadline);
    ReadStatus Read(const std::function<ReadStatus()>& read, std::string& into);

    bool m_connectCalled = false;
    std::string m_trustedFingerprint;
    bool m_inspecting = false;
    std::optional<PeerCertificate> m_certificate;
    std::vector<std::string> m_secrets; // the password and its like, kept out of every reason
    std::string m_reason;
};
