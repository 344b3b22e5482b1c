// A real Dovecot POP3 server, private to one test: its own folder, config,
// sockets, log, users and Maildirs, listening on a free loopback port. Touches
// no system service and no system configuration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

// PEM files of the server's certificate and key.
struct DovecotTls {
    std::string certificateFile;
    std::string keyFile;
};

class DovecotServer {
public:
    // Returns once the server greets; throws std::runtime_error (with the log)
    // when it does not. With tls, STLS is offered on Port() and implicit TLS
    // is spoken on TlsPort(). authMechanisms is Dovecot's list, as in its
    // configuration ("plain" lets USER/PASS in; "scram-sha-256 cram-md5"
    // keeps the passwords off the wire).
    explicit DovecotServer(std::optional<DovecotTls> tls = std::nullopt,
                           std::string authMechanisms = "plain");
    ~DovecotServer();

    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    uint16_t Port() const { return m_port; }
    // "127.0.0.1:<port>", usable as a server name.
    std::string Address() const;
    // "127.0.0.1:<pop3s port>"; only with tls.
    std::string TlsAddress() const;

    void AddUser(const std::string& user, const std::string& password);
    // One message, CRLF or LF line ends, into the user's Maildir/new.
    void Deliver(const std::string& user, const std::string& message);
    // Deletes the user's message number n (1 = the first delivered of those
    // left), as another mail client would.
    void Remove(const std::string& user, std::size_t n);

    // Dovecot's own log and whatever it wrote to stderr, for failure messages.
    std::string Log() const;

private:
    struct MailOwner {
        uid_t uid;
        gid_t gid;
        std::string loginUser;
        std::string internalUser;
        std::string internalGroup;
    };

    static MailOwner FindMailOwner();
    std::string MaildirOf(const std::string& user) const;
    void WriteConfig() const;
    bool Launch();
    bool AwaitGreeting();
    void Stop();

    MailOwner m_owner;
    std::string m_root;
    std::optional<DovecotTls> m_tls;
    std::string m_authMechanisms;
    uint16_t m_port = 0;
    uint16_t m_tlsPort = 0;
    pid_t m_pid = -1;
    uint64_t m_lastDeliveryMicros = 0;
};
