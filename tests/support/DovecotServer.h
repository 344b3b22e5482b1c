// A real Dovecot POP3 and IMAP server, private to one test: its own folder,
// config, sockets, log, users and Maildirs, listening on free loopback ports.
// Touches no system service and no system configuration. IMAP offers what
// Dovecot offers (CONDSTORE, ESEARCH, IDLE, NOTIFY among it); doveadm, on the
// same private configuration, plays the other mail client.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

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
    // IMAP's: STARTTLS is offered on ImapAddress() with tls, and implicit
    // TLS spoken on ImapTlsAddress().
    std::string ImapAddress() const;
    std::string ImapTlsAddress() const;

    // Dovecot reads the users' file at most once a second: a user added just
    // after a sign-in may not be known yet.
    void AddUser(const std::string& user, const std::string& password);
    // One message, CRLF or LF line ends, into the user's Maildir/new.
    void Deliver(const std::string& user, const std::string& message);
    // Deletes the user's message number n (1 = the first delivered of those
    // left), as another mail client would.
    void Remove(const std::string& user, std::size_t n);

    // Through Dovecot itself, as mail arrives while a client waits: a folder
    // made (UTF-8 names), a message saved into one, flags added to a message
    // by UID ("\\Seen"), and "uid=1 flags=\\Seen" lines for every message.
    void CreateFolder(const std::string& user, const std::string& folder);
    void Save(const std::string& user, const std::string& folder, const std::string& message);
    void AddFlags(const std::string& user, const std::string& folder, uint32_t uid,
                  const std::string& flags);
    // The same for every message of a UID set ("1:48000") in one command.
    void AddFlags(const std::string& user, const std::string& folder, const std::string& uids,
                  const std::string& flags);
    std::string Flags(const std::string& user, const std::string& folder);
    // A folder's status field as doveadm gives it ("uidvalidity", "highestmodseq").
    uint64_t Status(const std::string& user, const std::string& folder, const std::string& field);

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
    // doveadm's output; throws when it fails.
    std::string Doveadm(const std::vector<std::string>& arguments, const std::string& input = {});

    MailOwner m_owner;
    std::string m_root;
    std::optional<DovecotTls> m_tls;
    std::string m_authMechanisms;
    uint16_t m_port = 0;
    uint16_t m_tlsPort = 0;
    uint16_t m_imapPort = 0;
    uint16_t m_imapTlsPort = 0;
    pid_t m_pid = -1;
    uint64_t m_lastDeliveryMicros = 0;
};
