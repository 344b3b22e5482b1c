#include "TlsTransport.h"

#include "AsciiCase.h"
#include "Format.h"
#include "Translate.h"

#include <arpa/inet.h>
#include <array>
#include <ctime>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <vector>

namespace {

// OpenSSL's own socket BIO writes with write(), which raises SIGPIPE when the
// server has gone; the plain transport's send() does not.
BIO_METHOD* SocketMethod() {
    static BIO_METHOD* const method = [] {
        BIO_METHOD* created =
            BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "tarvo socket");
        BIO_meth_set_read_ex(created, [](BIO* bio, char* buffer, size_t size, size_t* count) {
            BIO_clear_retry_flags(bio);
            auto* socket = static_cast<PlainTransport*>(BIO_get_data(bio));
            switch (socket->Read(buffer, size, *count)) {
            case TransportStatus::Done:
                return 1;
            case TransportStatus::WantRead:
                BIO_set_retry_read(bio);
                return 0;
            case TransportStatus::EndOfStream:
                BIO_set_flags(bio, BIO_FLAGS_IN_EOF);
                *count = 0;
                return 0;
            default:
                *count = 0;
                return 0;
            }
        });
        BIO_meth_set_write_ex(created, [](BIO* bio, const char* bytes, size_t size, size_t* count) {
            BIO_clear_retry_flags(bio);
            auto* socket = static_cast<PlainTransport*>(BIO_get_data(bio));
            switch (socket->Write(bytes, size, *count)) {
            case TransportStatus::Done:
                return 1;
            case TransportStatus::WantWrite:
                BIO_set_retry_write(bio);
                return 0;
            default:
                return 0;
            }
        });
        // Told of the end of stream, OpenSSL can tell a server gone without
        // close_notify from a broken socket.
        BIO_meth_set_ctrl(created, [](BIO* bio, int command, long, void*) -> long {
            switch (command) {
            case BIO_CTRL_FLUSH:
                return 1;
            case BIO_CTRL_EOF:
                return BIO_test_flags(bio, BIO_FLAGS_IN_EOF) != 0 ? 1 : 0;
            default:
                return 0;
            }
        });
        return created;
    }();
    return method;
}

// The address's bytes, or empty when the text is no IP address.
std::string AddressBytes(const std::string& text) {
    std::array<unsigned char, 16> address{};
    const std::size_t size = ::inet_pton(AF_INET, text.c_str(), address.data()) == 1    ? 4
                             : ::inet_pton(AF_INET6, text.c_str(), address.data()) == 1 ? 16
                                                                                        : 0;
    return std::string(address.begin(), address.begin() + static_cast<std::ptrdiff_t>(size));
}

bool IsIpAddress(const std::string& name) {
    return !AddressBytes(name).empty();
}

// "18 Nov 2026": the same in every locale the desktop may have set.
std::string DateText(const ASN1_TIME* time) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm parts{};
    if (time == nullptr || ASN1_TIME_to_tm(time, &parts) != 1 || parts.tm_mon < 0 ||
        parts.tm_mon > 11) {
        return translate("TlsTransport", "an unreadable date");
    }
    return std::to_string(parts.tm_mday) + " " + kMonths[static_cast<std::size_t>(parts.tm_mon)] +
           " " + std::to_string(parts.tm_year + 1900);
}

std::string NameText(const X509_NAME* name) {
    BIO* memory = BIO_new(BIO_s_mem());
    // Readable, one line, UTF-8 kept as it is.
    const unsigned long flags =
        ((XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB) & ~XN_FLAG_SEP_MASK) | XN_FLAG_SEP_CPLUS_SPC;
    X509_NAME_print_ex(memory, name, 0, flags);
    char* data = nullptr;
    long length = BIO_get_mem_data(memory, &data);
    std::string text(data, static_cast<std::size_t>(std::max(length, 0L)));
    BIO_free(memory);
    return text;
}

std::string StringOf(const ASN1_STRING* value) {
    return std::string(reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)),
                       static_cast<std::size_t>(std::max(ASN1_STRING_length(value), 0)));
}

struct IssuedName {
    std::string text; // as the certificate holds it, a NUL included
    bool address;     // an IP entry, as text
};

// The names a certificate is issued for: its DNS and IP entries, or else its
// common name.
std::vector<IssuedName> IssuedNames(X509* certificate) {
    std::vector<IssuedName> names;
    auto* entries = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; i < sk_GENERAL_NAME_num(entries); ++i) {
        const GENERAL_NAME* entry = sk_GENERAL_NAME_value(entries, i);
        IssuedName name{{}, entry->type == GEN_IPADD};
        if (entry->type == GEN_DNS) {
            name.text = StringOf(entry->d.dNSName);
        } else if (entry->type == GEN_IPADD) {
            std::array<char, INET6_ADDRSTRLEN> text{};
            int length = ASN1_STRING_length(entry->d.iPAddress);
            if ((length == 4 || length == 16) &&
                ::inet_ntop(length == 4 ? AF_INET : AF_INET6,
                            ASN1_STRING_get0_data(entry->d.iPAddress), text.data(),
                            text.size()) != nullptr) {
                name.text = text.data();
            }
        }
        if (!name.text.empty()) {
            names.push_back(std::move(name));
        }
    }
    GENERAL_NAMES_free(entries);
    const X509_NAME* subject = X509_get_subject_name(certificate);
    const int common = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (names.empty() && common >= 0) {
        names.push_back(
            {StringOf(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, common))), false});
    }
    return names;
}

// Where the names alone would not tell why none fits: a name with a NUL in it
// reads, up to the NUL, as the one asked for, and an address written as a
// host name never counts for the address.
std::string MismatchSentence(X509* certificate, const std::string& server) {
    const std::string address = AddressBytes(server);
    std::string shown;
    std::size_t count = 0;
    for (const IssuedName& name : IssuedNames(certificate)) {
        if (name.text.find('\0') != std::string::npos) {
            return Format(translate("TlsTransport",
                                    "The certificate of %1 is refused: a name in it holds a NUL "
                                    "character, which could pass it off as another name."),
                          server.c_str());
        }
        if (!name.address && !address.empty() && AddressBytes(name.text) == address) {
            return Format(translate("TlsTransport", "The certificate names %1 only as a host name; "
                                                    "an IP address must be in its subjectAltName."),
                          server.c_str());
        }
        if (count++ < 4) {
            shown += (shown.empty() ? "" : ", ") + name.text;
        }
    }
    return Format(translate("TlsTransport", "The certificate is issued for %1, not %2."),
                  shown.empty() ? translate("TlsTransport", "no name") : shown, server.c_str());
}

std::string Fingerprint(const X509* certificate) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest.data(), &length) != 1) {
        return {};
    }
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        static constexpr std::string_view kHex = "0123456789ABCDEF";
        text += i == 0 ? "" : ":";
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0xF];
    }
    return text;
}

// Colons and letter case do not matter in a fingerprint typed or stored.
std::string Canonical(const std::string& fingerprint) {
    std::string hex;
    for (char c : fingerprint) {
        if (c != ':') {
            hex += AsciiUpper(c);
        }
    }
    return hex;
}

// The advice fits a failed check, not the Certificate... button itself.
std::string CertificateSentence(int error, X509* certificate, const std::string& name,
                                bool advise) {
    const char* server = name.c_str();
    switch (error) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return Format(translate("TlsTransport", "The certificate of %1 has expired (%2)."), server,
                      DateText(X509_get0_notAfter(certificate)).c_str());
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return Format(translate("TlsTransport", "The certificate of %1 is not valid before %2."),
                      server, DateText(X509_get0_notBefore(certificate)).c_str());
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return MismatchSentence(certificate, name);
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        return Format(
            advise
                ? translate("TlsTransport", "The certificate of %1 is not signed by an authority "
                                            "this computer trusts; if the server is yours, trust "
                                            "it with Certificate... in Servers... in the menu.")
                : translate(
                      "TlsTransport",
                      "The certificate of %1 is not signed by an authority this computer trusts."),
            server);
    default:
        return Format(translate("TlsTransport", "The certificate of %1 could not be verified: %2."),
                      server, X509_verify_cert_error_string(error));
    }
}

} // namespace

struct TlsTransport::Library {
    explicit Library(int fd) : socket(fd) {}
    ~Library() {
        SSL_free(ssl);
        SSL_CTX_free(context);
        X509_free(failedCertificate);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    PlainTransport socket;
    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;
    int verifyError = X509_V_OK;
    X509* failedCertificate = nullptr; // the one the first verify error is about
};

TlsTransport::TlsTransport(int fd, TlsPeer peer)
    : Transport(fd), m_peer(std::move(peer)), m_library(std::make_unique<Library>(fd)) {}

TlsTransport::~TlsTransport() = default;

std::unique_ptr<TlsTransport> TlsTransport::Create(int fd, TlsPeer peer, std::string& reason) {
    std::unique_ptr<TlsTransport> transport(new TlsTransport(fd, std::move(peer)));
    Library& library = *transport->m_library;
    const TlsPeer& expected = transport->m_peer;
    // A certificate only to be shown is verified all the same, so that the
    // user is told whether this computer trusts it; it is not refused.
    const bool verify = expected.trustedFingerprint.empty();
    library.context = SSL_CTX_new(TLS_client_method());
    bool ready = library.context != nullptr &&
                 SSL_CTX_set_min_proto_version(library.context, TLS1_2_VERSION) == 1 &&
                 (!verify || SSL_CTX_set_default_verify_paths(library.context) == 1);
    if (ready) {
        SSL_CTX_set_verify(library.context, verify ? SSL_VERIFY_PEER : SSL_VERIFY_NONE,
                           verify ? &TlsTransport::OnVerify : nullptr);
        SSL_CTX_set_mode(library.context,
                         SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
        library.ssl = SSL_new(library.context);
    }
    BIO* bio = ready && library.ssl != nullptr ? BIO_new(SocketMethod()) : nullptr;
    if (bio != nullptr) {
        BIO_set_data(bio, &library.socket);
        BIO_set_init(bio, 1);
        SSL_set_bio(library.ssl, bio, bio);
        SSL_set_app_data(library.ssl, transport.get());
        const char* name = expected.name.c_str();
        X509_VERIFY_PARAM* param = SSL_get0_param(library.ssl);
        X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        // An address is checked against the certificate's IP entries; a name
        // against its DNS entries, and sent as SNI so that a server with many
        // names picks the right certificate.
        ready = IsIpAddress(expected.name) ? X509_VERIFY_PARAM_set1_ip_asc(param, name) == 1
                                           : SSL_set1_host(library.ssl, name) == 1 &&
                                                 SSL_set_tlsext_host_name(library.ssl, name) == 1;
        SSL_set_connect_state(library.ssl);
    }
    ERR_clear_error();
    if (bio == nullptr || !ready) {
        reason = translate("TlsTransport",
                           "The secure connection could not be prepared on this computer.");
        return nullptr;
    }
    return transport;
}

int TlsTransport::OnVerify(int preverified, X509_STORE_CTX* context) {
    auto* ssl = static_cast<SSL*>(
        X509_STORE_CTX_get_ex_data(context, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* self = static_cast<TlsTransport*>(SSL_get_app_data(ssl));
    Library& library = *self->m_library;
    if (preverified == 0 && library.verifyError == X509_V_OK) {
        library.verifyError = X509_STORE_CTX_get_error(context);
        library.failedCertificate = X509_STORE_CTX_get_current_cert(context);
        if (library.failedCertificate != nullptr) {
            X509_up_ref(library.failedCertificate);
        }
    }
    return self->m_peer.inspectOnly ? 1 : preverified;
}

TransportStatus TlsTransport::Handshake() {
    ERR_clear_error();
    int result = SSL_do_handshake(m_library->ssl);
    if (result != 1) {
        TransportStatus status = Status(result);
        if (status != TransportStatus::WantRead && status != TransportStatus::WantWrite) {
            ExplainHandshakeFailure(SSL_get_error(m_library->ssl, result));
            ERR_clear_error();
            return TransportStatus::Failure;
        }
        return status;
    }
    if (!m_peer.trustedFingerprint.empty()) {
        std::optional<PeerCertificate> certificate = Certificate();
        if (!certificate ||
            Canonical(certificate->fingerprint) != Canonical(m_peer.trustedFingerprint)) {
            m_reason =
                Format(translate("TlsTransport", "The certificate of %1 is not the one trusted for "
                                                 "this account; it has been replaced since."),
                       m_peer.name.c_str());
            return TransportStatus::Failure;
        }
    }
    m_established = true;
    return TransportStatus::Done;
}

void TlsTransport::ExplainHandshakeFailure(int error) {
    const char* server = m_peer.name.c_str();
    const unsigned long code = ERR_peek_last_error();
    if (m_library->verifyError != X509_V_OK) {
        m_reason = CertificateSentence(m_library->verifyError, m_library->failedCertificate,
                                       m_peer.name, true);
    } else if (error == SSL_ERROR_SYSCALL || error == SSL_ERROR_ZERO_RETURN ||
               ERR_GET_REASON(code) == SSL_R_UNEXPECTED_EOF_WHILE_READING) {
        m_reason =
            Format(translate("TlsTransport", "%1 closed the connection during the TLS handshake."),
                   server);
    } else if (ERR_GET_REASON(code) == SSL_R_UNSUPPORTED_PROTOCOL ||
               ERR_GET_REASON(code) == SSL_R_TLSV1_ALERT_PROTOCOL_VERSION) {
        m_reason = Format(translate("TlsTransport",
                                    "%1 offers no TLS version from 1.2 on, the oldest still safe."),
                          server);
    } else {
        const char* detail = ERR_reason_error_string(code);
        m_reason = Format(
            translate("TlsTransport", "The TLS handshake with %1 failed: %2."), server,
            detail != nullptr ? std::string(detail) : translate("TlsTransport", "no reason given"));
    }
}

std::optional<PeerCertificate> TlsTransport::Certificate() const {
    X509* certificate = SSL_get0_peer_certificate(m_library->ssl);
    if (certificate == nullptr) {
        return std::nullopt;
    }
    const int error = m_library->verifyError;
    const bool verified = error == X509_V_OK && m_peer.trustedFingerprint.empty();
    return PeerCertificate{
        NameText(X509_get_subject_name(certificate)),
        NameText(X509_get_issuer_name(certificate)),
        DateText(X509_get0_notBefore(certificate)),
        DateText(X509_get0_notAfter(certificate)),
        Fingerprint(certificate),
        verified ? std::string()
        : error != X509_V_OK
            ? CertificateSentence(error, m_library->failedCertificate, m_peer.name, false)
            : translate("TlsTransport",
                        "It was not verified: this account trusts one certificate by hand.")};
}

TransportStatus TlsTransport::Status(int result) {
    switch (SSL_get_error(m_library->ssl, result)) {
    case SSL_ERROR_WANT_READ:
        return TransportStatus::WantRead;
    case SSL_ERROR_WANT_WRITE:
        return TransportStatus::WantWrite;
    case SSL_ERROR_ZERO_RETURN:
        return TransportStatus::EndOfStream;
    case SSL_ERROR_SSL:
        // A server gone without close_notify ends the stream like a plain
        // close; what was cut off is never a complete reply.
        return ERR_GET_REASON(ERR_peek_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING
                   ? TransportStatus::EndOfStream
                   : TransportStatus::Failure;
    default:
        return TransportStatus::Failure;
    }
}

TransportStatus TlsTransport::Read(char* buffer, std::size_t size, std::size_t& count) {
    ERR_clear_error();
    int result = SSL_read_ex(m_library->ssl, buffer, size, &count);
    return result == 1 ? TransportStatus::Done : Status(result);
}

TransportStatus TlsTransport::Write(const char* bytes, std::size_t size, std::size_t& count) {
    ERR_clear_error();
    int result = SSL_write_ex(m_library->ssl, bytes, size, &count);
    return result == 1 ? TransportStatus::Done : Status(result);
}

bool TlsTransport::HasBufferedData() const {
    return SSL_has_pending(m_library->ssl) == 1;
}

void TlsTransport::Close() {
    if (m_established && !m_closed) {
        m_closed = true;
        ERR_clear_error();
        SSL_shutdown(m_library->ssl);
        ERR_clear_error();
    }
}
