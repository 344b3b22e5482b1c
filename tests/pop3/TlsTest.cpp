// Conversations over TLS with scripted servers that hold certificates made by
// a private authority at test time: what is accepted, what is refused and
// why, and that the password never leaves when something is wrong.
#include "Pop3Connection.h"
#include "ScriptedPeer.h"
#include "TestCertificates.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace testpeer;
using namespace testpki;

namespace {

class TlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        authority = new TestAuthority;
        // The system's trust store, as far as these tests are concerned.
        ::setenv("SSL_CERT_FILE", authority->AuthorityFile().c_str(), 1);
        good = authority->Issue({{"127.0.0.1", "localhost"}});
        otherName = authority->Issue({{"other.example.com"}});
        expired = authority->Issue({{"127.0.0.1"}, -30, -1});
        selfSigned = authority->Issue({{"127.0.0.1"}, -1, 30, true});
        replacement = authority->Issue({{"127.0.0.1"}, -1, 30, true});
    }
    static void TearDownTestSuite() {
        delete authority;
        ::unsetenv("SSL_CERT_FILE");
    }

    static Step Tls(const IssuedCertificate& certificate) {
        return AcceptTls(certificate.certificateFile, certificate.keyFile);
    }
    // Greeting, capabilities with STLS, and its +OK.
    static Script UpToStls() {
        return {Send("+OK ready\r\n"), Reply("+OK\r\nSTLS\r\nUSER\r\n.\r\n"), Reply("+OK go\r\n")};
    }
    // A mailbox of three messages after the greeting, the last block larger
    // than one TLS record, so that replies arrive in pieces and together.
    static Script MailboxWithoutGreeting() {
        Script mailbox =
            HealthyMailbox({"Subject: a\r\n", "Subject: b\r\nFrom: c\r\n",
                            "Subject: c\r\nX-Long: " + std::string(40000, 'x') + "\r\n"});
        mailbox.erase(mailbox.begin());
        return mailbox;
    }
    static std::string Fingerprint(const IssuedCertificate& certificate) {
        ScriptedPeer peer(Script{Tls(certificate), Send("+OK\r\n"), Reply("+OK bye\r\n")});
        CPop3Connection conversation;
        conversation.SetSecurity(Security::Tls);
        std::optional<PeerCertificate> shown = conversation.InspectCertificate(peer.Address(), 1);
        return shown ? shown->fingerprint : std::string();
    }

    static inline TestAuthority* authority = nullptr;
    static inline IssuedCertificate good, otherName, expired, selfSigned, replacement;
};

TEST_F(TlsTest, SecuredConversationsSayWhatTheClearOneSays) {
    struct Row {
        const char* name;
        Security security;
        std::string host; // "%" stands for the peer's port
        std::string fingerprint;
        Script script;
        std::string before; // sent before the login
    };
    const Script implicit = Script{Tls(good), Send("+OK ready\r\n")} + MailboxWithoutGreeting();
    const std::vector<Row> rows = {
        {"SSL/TLS to an address", Security::Tls, "127.0.0.1:%", "", implicit, ""},
        {"SSL/TLS to a name", Security::Tls, "localhost:%", "", implicit, ""},
        {"STARTTLS", Security::StartTls, "127.0.0.1:%", "",
         UpToStls() + Script{Tls(good)} + MailboxWithoutGreeting(), "CAPA\r\nSTLS\r\n"},
        {"self-signed, trusted", Security::Tls, "127.0.0.1:%", Fingerprint(selfSigned),
         Script{Tls(selfSigned), Send("+OK ready\r\n")} + MailboxWithoutGreeting(), ""},
        {"None: no STLS", Security::None, "127.0.0.1:%", "",
         Script{Send("+OK ready\r\n")} + MailboxWithoutGreeting(), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        std::string host = row.host;
        host.replace(host.find('%'), 1, std::to_string(peer.Port()));
        {
            CPop3Connection conversation;
            conversation.SetSecurity(row.security, row.fingerprint);
            ASSERT_EQ(conversation.Connect(host, "bob", "pw", 110), 1)
                << conversation.FailureReason();
            EXPECT_EQ(conversation.GetMessageCount(), 3);
            EXPECT_EQ(conversation.RetrieveHeaders(), 1);
            EXPECT_EQ(conversation.Subjects(), (std::vector<std::string>{"a", "b", "c"}));
            EXPECT_EQ(conversation.HeaderTexts()[2].size(), 40020u);
            EXPECT_EQ(conversation.Close(), 1);
            EXPECT_EQ(conversation.FailureReason(), "");
        }
        const std::string end = row.security == Security::None ? "" : kCloseNotify;
        EXPECT_EQ(peer.Received(), row.before + HealthyTranscript("bob", "pw", 3) + end);
    }
}

TEST_F(TlsTest, NothingSecretLeavesWhenTheServerCannotBeTrusted) {
    struct Row {
        const char* name;
        Security security;
        std::string fingerprint;
        Script script;
        std::string reason; // a trailing "..." matches any ending
    };
    const std::string noStls = "The server offers no STARTTLS; the password was not sent.";
    const std::string untrusted =
        "The certificate of 127.0.0.1 is not signed by an authority this computer trusts; if the "
        "server is yours, trust it with Certificate... in Servers... in the menu.";
    const std::vector<Row> rows = {
        {"STLS not offered",
         Security::StartTls,
         "",
         {Send("+OK ready\r\n"), Reply("+OK\r\nUSER\r\nTOP\r\n.\r\n"), Reply("+OK bye\r\n")},
         noStls},
        {"CAPA unknown",
         Security::StartTls,
         "",
         {Send("+OK ready\r\n"), Reply("-ERR what?\r\n"), Reply("+OK bye\r\n")},
         noStls},
        {"STLS refused",
         Security::StartTls,
         "",
         {Send("+OK ready\r\n"), Reply("+OK\r\nSTLS\r\n.\r\n"), Reply("-ERR not now\r\n"),
          Reply("+OK bye\r\n")},
         "The server refused STARTTLS: -ERR not now. The password was not sent."},
        {"plaintext injected after STLS's +OK",
         Security::StartTls,
         "",
         {Send("+OK ready\r\n"), Reply("+OK\r\nSTLS\r\n.\r\n"),
          Reply("+OK go\r\n+OK\r\n+OK\r\n+OK\r\n"), Tls(good)},
         "The server sent more than its answer to STARTTLS, which is how an attacker would slip "
         "in false replies; the password was not sent."},
        {"certificate for another name",
         Security::Tls,
         "",
         {Tls(otherName)},
         "The certificate is issued for other.example.com, not 127.0.0.1."},
        {"another name, after STLS", Security::StartTls, "", UpToStls() + Script{Tls(otherName)},
         "The certificate is issued for other.example.com, not 127.0.0.1."},
        {"expired certificate",
         Security::Tls,
         "",
         {Tls(expired)},
         "The certificate of 127.0.0.1 has expired (..."},
        {"self-signed certificate", Security::Tls, "", {Tls(selfSigned)}, untrusted},
        {"trusted certificate replaced",
         Security::Tls,
         Fingerprint(selfSigned),
         {Tls(replacement)},
         "The certificate of 127.0.0.1 is not the one trusted for this account; it has been "
         "replaced since."},
        {"only TLS 1.1",
         Security::Tls,
         "",
         {AcceptTls(good.certificateFile, good.keyFile, true)},
         "127.0.0.1 offers no TLS version from 1.2 on, the oldest still safe."},
        {"a clear-text server on the TLS port",
         Security::Tls,
         "",
         {Send("+OK ready\r\n")},
         "The TLS handshake with 127.0.0.1 failed: ..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        {
            CPop3Connection conversation;
            conversation.SetSecurity(row.security, row.fingerprint);
            EXPECT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 0);
            EXPECT_FALSE(conversation.IsOpen());
            const std::string& reason = conversation.FailureReason();
            if (row.reason.ends_with("...")) {
                EXPECT_EQ(reason.substr(0, row.reason.size() - 3),
                          row.reason.substr(0, row.reason.size() - 3));
            } else {
                EXPECT_EQ(reason, row.reason);
            }
        }
        const std::string sent = peer.Received();
        EXPECT_EQ(sent.find("USER"), std::string::npos) << sent;
        EXPECT_EQ(sent.find("PASS"), std::string::npos) << sent;
    }
}

TEST_F(TlsTest, AStalledHandshakeEndsWithinItsBoundOrAtDisconnect) {
    for (Security security : {Security::Tls, Security::StartTls}) {
        SCOPED_TRACE(static_cast<int>(security));
        const Script stall =
            security == Security::Tls ? Script{Stall()} : UpToStls() + Script{Stall()};
        ScriptedPeer peer(std::vector<Script>{stall, stall});
        ChannelLimits limits;
        limits.connectTimeout = std::chrono::milliseconds(300);
        {
            CPop3Connection conversation({}, limits);
            conversation.SetSecurity(security);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 0);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
            EXPECT_EQ(conversation.FailureReason(), "The TLS handshake with " + peer.Address() +
                                                        " did not end within 0.3 seconds.");
        }
        // Disconnect reaches a wait in the handshake at once.
        limits.connectTimeout = std::chrono::seconds(20);
        CPop3Connection* self = nullptr;
        int hookCalls = 0;
        {
            CPop3Connection conversation(
                [&] {
                    ++hookCalls;
                    self->Abort();
                },
                limits);
            self = &conversation;
            conversation.SetSecurity(security);
            EXPECT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 0);
            EXPECT_EQ(conversation.FailureReason(), "The check was stopped.");
        }
        EXPECT_EQ(hookCalls, 1);
        EXPECT_EQ(peer.Received(1).find("USER"), std::string::npos);
    }
}

TEST_F(TlsTest, InspectionShowsTheCertificateWhateverItsTrust) {
    ScriptedPeer peer(Script{Tls(selfSigned), Send("+OK ready\r\n"), Reply("+OK bye\r\n")});
    {
        CPop3Connection conversation;
        conversation.SetSecurity(Security::Tls);
        std::optional<PeerCertificate> shown = conversation.InspectCertificate(peer.Address(), 1);
        ASSERT_TRUE(shown.has_value()) << conversation.FailureReason();
        EXPECT_EQ(shown->subject, "CN=127.0.0.1, O=Tarvo tests");
        EXPECT_EQ(shown->issuer, shown->subject);
        EXPECT_EQ(shown->fingerprint.size(), 32u * 3 - 1);
        EXPECT_FALSE(shown->validFrom.empty());
        EXPECT_NE(shown->validFrom, shown->validUntil);
        // Verified all the same, so that the user is told it is not trusted.
        EXPECT_EQ(shown->untrusted, "The certificate of 127.0.0.1 is not signed by an authority "
                                    "this computer trusts.");
        EXPECT_FALSE(conversation.IsOpen());
    }
    EXPECT_EQ(peer.Received(), "QUIT\r\n" + std::string(kCloseNotify));

    CPop3Connection clear;
    EXPECT_FALSE(clear.InspectCertificate(peer.Address(), 1).has_value());
    EXPECT_EQ(clear.FailureReason(),
              "This account uses no connection security, so its server shows no certificate.");
}

} // namespace
