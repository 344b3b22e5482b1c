// TLS over the conversation's socket (OpenSSL 3), for a server spoken to with
// implicit TLS or after STLS. The server's certificate is verified against the
// system's trust store (SSL_CERT_FILE and SSL_CERT_DIR apply), its name or
// IP address checked, TLS 1.2 at least; or, for an account whose user has
// trusted one certificate by hand, exactly that certificate is accepted.
// The sentences a user reads about a failed handshake are written here.
#pragma once

#include "Transport.h"

#include <memory>
#include <optional>
#include <string>

struct PeerCertificate {
    std::string subject;
    std::string issuer;
    std::string validFrom; // "18 Nov 2026"
    std::string validUntil;
    std::string fingerprint; // SHA-256, "AB:CD:..."
    // Empty when the usual verification (authorities, dates, name) passed;
    // otherwise why it did not, in one sentence.
    std::string untrusted;
};

struct TlsPeer {
    std::string name;               // host name or IP address, as configured
    std::string trustedFingerprint; // when set, the one certificate accepted
    bool inspectOnly = false;       // any certificate, verified only to be shown
};

class TlsTransport final : public Transport {
public:
    // Null, with the reason, when the TLS library cannot be set up.
    static std::unique_ptr<TlsTransport> Create(int fd, TlsPeer peer, std::string& reason);
    ~TlsTransport() override;

    TlsTransport(const TlsTransport&) = delete;
    TlsTransport& operator=(const TlsTransport&) = delete;

    // One step of the handshake; after Failure or EndOfStream, Reason() says
    // why in one sentence.
    TransportStatus Handshake();
    const std::string& Reason() const { return m_reason; }
    // The server's certificate, once the handshake is done.
    std::optional<PeerCertificate> Certificate() const;

    TransportStatus Read(char* buffer, std::size_t size, std::size_t& count) override;
    TransportStatus Write(const char* bytes, std::size_t size, std::size_t& count) override;
    bool HasBufferedData() const override;
    // Sends close_notify once; the peer's is not waited for.
    void Close() override;

private:
    struct Library;
    TlsTransport(int fd, TlsPeer peer);
    TransportStatus Status(int result);
    void ExplainHandshakeFailure(int error);
    static int OnVerify(int preverified, struct x509_store_ctx_st* context);

    TlsPeer m_peer;
    std::unique_ptr<Library> m_library;
    bool m_established = false;
    bool m_closed = false;
    std::string m_reason;
};
