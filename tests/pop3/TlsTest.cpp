// Conversations over TLS with scripted servers that hold certificates made by
// a private authority at test time: what is accepted, what is refused and
// why, and that the password never leaves when something is wrong.
#include "Pop3Connection.h"
#include "SaslEngine.h"
#include "SaslPeer.h"
#include "ScanColumns.h"
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
        addressAsName = authority->Issue({.names = {"127.0.0.1"}, .commonNameOnly = true});
        const std::string withNul("localhost\0.evil.example", 23);
        nulInName = authority->Issue({.names = {withNul}, .commonNameOnly = true});
        nulInAltName = authority->Issue({.names = {withNul}});
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
    // The same for a server that listed its capabilities before the login:
    // no CAPA and NOOP after it, one STAT.
    static Script ListedMailboxAfterLogin() {
        Script mailbox = MailboxWithoutGreeting();
        mailbox.erase(mailbox.begin() + 6);
        mailbox.erase(mailbox.begin() + 3, mailbox.begin() + 5);
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
    static inline IssuedCertificate good, otherName, expired, selfSigned, replacement,
        addressAsName, nulInName, nulInAltName;
};

TEST_F(TlsTest, SecuredConversationsSayWhatTheClearOneSays) {
    struct Row {
        const char* name;
        Security security;
        std::string host; // "%" stands for the peer's port
        std::string fingerprint;
        Script script;
        std::string before; // sent before the login; a trailing "..." stands for a SCRAM exchange
        SignInMethod method = SignInMethod::PasswordOnly;
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
        // A server that lists a mechanism it cannot complete for this account,
        // which never signed in through SASL.
        {"SSL/TLS, AUTH refused", Security::Tls, "127.0.0.1:%", "",
         Script{Tls(good), Send("+OK ready\r\n"), Reply("+OK\r\nSASL CRAM-MD5\r\n.\r\n"),
                Reply("-ERR [AUTH] PAM account\r\n")} +
             ListedMailboxAfterLogin(),
         "CAPA\r\nAUTH CRAM-MD5\r\n", SignInMethod::Automatic},
        {"STARTTLS, SCRAM's verdict", Security::StartTls, "127.0.0.1:%", "",
         UpToStls() +
             Script{Tls(good), Reply("+OK\r\nSASL SCRAM-SHA-256\r\n.\r\n"),
                    ScramServerFirst("4096"), Reply("+ " + Base64("e=invalid-proof") + "\r\n"),
                    Reply("-ERR [AUTH] Authentication failed.\r\n")} +
             ListedMailboxAfterLogin(),
         "CAPA\r\nSTLS\r\nCAPA\r\nAUTH SCRAM-SHA-256 ...", SignInMethod::Automatic},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        std::string host = row.host;
        host.replace(host.find('%'), 1, std::to_string(peer.Port()));
        {
            CPop3Connection conversation;
            conversation.SetSecurity(row.security, row.fingerprint);
            ASSERT_EQ(conversation.Connect(host, "bob", SignIn{row.method, "pw", {}, {}}, 110), 1)
                << conversation.FailureReason();
            EXPECT_EQ(conversation.SignedInWith(), "");
            EXPECT_EQ(conversation.GetMessageCount(), 3);
            EXPECT_EQ(conversation.RetrieveHeaders(), 1);
            EXPECT_EQ(Subjects(conversation.Headers()), (std::vector<std::string>{"a", "b", "c"}));
            EXPECT_EQ(HeaderTexts(conversation.Headers())[2].size(), 40020u);
            EXPECT_EQ(conversation.Close(), 1);
            EXPECT_EQ(conversation.FailureReason(), "");
        }
        const std::string after =
            (row.method == SignInMethod::PasswordOnly
                 ? HealthyTranscript("bob", "pw", 3)
                 : "USER bob\r\nPASS pw\r\nSTAT\r\nTOP 1 0\r\nTOP 2 0\r\nTOP 3 0\r\nQUIT\r\n") +
            (row.security == Security::None ? "" : kCloseNotify);
        const std::string sent = peer.Received();
        if (row.before.ends_with("...")) {
            EXPECT_TRUE(sent.starts_with(row.before.substr(0, row.before.size() - 3))) << sent;
            EXPECT_TRUE(sent.ends_with("\r\n" + after)) << sent;
        } else {
            EXPECT_EQ(sent, row.before + after);
        }
    }
}

TEST_F(TlsTest, NothingSecretLeavesWhenTheServerCannotBeTrusted) {
    struct Row {
        const char* name;
        Security security;
        std::string fingerprint;
        Script script;
        std::string reason;  // a trailing "..." matches any ending
        bool byName = false; // localhost, not 127.0.0.1
        SignIn signIn{SignInMethod::PasswordOnly, "pw", {}, {}};
    };
    const std::string nulRefused = "The certificate of localhost is refused: a name in it holds a "
                                   "NUL character, which could pass it off as another name.";
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
        {"STLS refused, a token",
         Security::StartTls,
         "",
         {Send("+OK ready\r\n"), Reply("+OK\r\nSTLS\r\n.\r\n"), Reply("-ERR not now\r\n"),
          Reply("+OK bye\r\n")},
         "The server refused STARTTLS: -ERR not now. The access token was not sent.",
         false,
         SignIn{SignInMethod::OAuth2, "pw", {}, {}}},
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
        {"an address as the common name only",
         Security::Tls,
         "",
         {Tls(addressAsName)},
         "The certificate names 127.0.0.1 only as a host name; an IP address must be in its "
         "subjectAltName."},
        {"a NUL in the common name", Security::Tls, "", {Tls(nulInName)}, nulRefused, true},
        {"a NUL in an alternative name", Security::Tls, "", {Tls(nulInAltName)}, nulRefused, true},
        {"AUTH refused after a SASL sign-in",
         Security::Tls,
         "",
         {Tls(good), Send("+OK ready\r\n"), Reply("+OK\r\nSASL CRAM-MD5\r\n.\r\n"),
          Reply("-ERR [AUTH] PAM account\r\n"), Reply("+OK bye\r\n")},
         "The server refused the login: -ERR [AUTH] PAM account.",
         false,
         SignIn{SignInMethod::Automatic, "pw", {}, "CRAM-MD5"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        {
            CPop3Connection conversation;
            conversation.SetSecurity(row.security, row.fingerprint);
            const std::string host =
                row.byName ? "localhost:" + std::to_string(peer.Port()) : peer.Address();
            EXPECT_EQ(conversation.Connect(host, "bob", row.signIn, 110), 0);
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

// A server gone mid-line, with close_notify or without (a crash, or someone
// on the way cutting the connection short), leaves no complete reply.
TEST_F(TlsTest, AReplyCutOffIsNeverComplete) {
    for (const Step& end : {Hangup(), Cut()}) {
        SCOPED_TRACE(end.kind == Step::Kind::Cut ? "without close_notify" : "with close_notify");
        ScriptedPeer peer(Script{Tls(good)} + Login() +
                          Script{Reply("+OK 1 9\r\n"), Reply("+OK 1 9\r\n"),
                                 Reply("+OK\r\nSubject: b\r\n."), end});
        CPop3Connection conversation;
        conversation.SetSecurity(Security::Tls);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1)
            << conversation.FailureReason();
        ASSERT_EQ(conversation.GetMessageCount(), 1);
        EXPECT_EQ(conversation.RetrieveHeaders(), 0);
        EXPECT_EQ(conversation.FailureReason(), peer.Address() + " closed the connection.");
    }
}

// A refused token draws RFC 7628's error challenge (its own example), which
// the client answers as the mechanism says before the server's -ERR.
TEST_F(TlsTest, OAuthSendsTheTokenOverTlsAndTriesOneFreshTokenWhenRefused) {
    const Step bye = Reply("+OK bye\r\n");
    const Script refused{
        Reply("+ eyJzdGF0dXMiOiJpbnZhbGlkX3Rva2VuIiwic2NvcGUiOiJleGFtcGxlX3Njb3BlIiwib3BlbmlkLWNvbm"
              "ZpZ3VyYXRpb24iOiJodHRwczovL2V4YW1wbGUuY29tLy53ZWxsLWtub3duL29wZW5pZC1jb25maWd1cmF0aW"
              "9uIn0=\r\n"),
        Reply("-ERR [AUTH] Invalid token.\r\n")};
    auto offering = [](const std::string& mechanisms) {
        return Script{Tls(good), Send("+OK ready\r\n"),
                      Reply("+OK\r\nSASL " + mechanisms + "\r\n.\r\n")};
    };
    struct Row {
        const char* name;
        Script script;
        std::optional<std::string> fresh;
        int asked; // for a fresh token
        int result;
        // "@token" stands for an OAUTHBEARER command with that token, "^token"
        // for one whose token waits for an empty challenge, "#token" for an
        // XOAUTH2 command.
        std::vector<std::string> sent;
        std::string reason;
        std::string token = "old";
    };
    const std::string longToken(300, 'a');
    const std::vector<Row> rows = {
        {"good token",
         offering("PLAIN OAUTHBEARER XOAUTH2") + Script{Reply("+OK\r\n"), bye},
         "new",
         0,
         1,
         {"CAPA\r\n", "@old", "QUIT\r\n"},
         ""},
        {"a token too long for the command",
         offering("OAUTHBEARER") + Script{Reply("+ \r\n"), Reply("+OK\r\n"), bye},
         "new",
         0,
         1,
         {"CAPA\r\n", "^" + longToken, "QUIT\r\n"},
         "",
         longToken},
        {"XOAUTH2 alone",
         offering("XOAUTH2") + Script{Reply("+OK\r\n"), bye},
         "new",
         0,
         1,
         {"CAPA\r\n", "#old", "QUIT\r\n"},
         ""},
        {"refused, then a fresh token",
         offering("OAUTHBEARER") + refused + Script{Reply("+OK\r\n"), bye},
         "new",
         1,
         1,
         {"CAPA\r\n", "@old", "AQ==\r\n", "@new", "QUIT\r\n"},
         ""},
        {"refused twice",
         offering("OAUTHBEARER") + refused + refused + Script{bye},
         "new",
         1,
         0,
         {"CAPA\r\n", "@old", "AQ==\r\n", "@new", "AQ==\r\nQUIT\r\n"},
         "The server refused the access token, and a fresh one too: -ERR [AUTH] Invalid token."},
        {"refused, the same token again",
         offering("OAUTHBEARER") + refused + Script{bye},
         "old",
         1,
         0,
         {"CAPA\r\n", "@old", "AQ==\r\nQUIT\r\n"},
         "The server refused the access token: -ERR [AUTH] Invalid token."},
        {"refused, no fresh token",
         offering("XOAUTH2") + refused + Script{bye},
         std::nullopt,
         1,
         0,
         {"CAPA\r\n", "#old", "\r\nQUIT\r\n"},
         "The server refused the access token: -ERR [AUTH] Invalid token."},
        {"neither mechanism",
         offering("PLAIN SCRAM-SHA-256") + Script{bye},
         "new",
         0,
         0,
         {"CAPA\r\nQUIT\r\n"},
         "@ offers neither OAUTHBEARER nor XOAUTH2, so an OAuth 2.0 account cannot sign in there; "
         "no token was sent."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        int asked = 0;
        SignIn signIn{SignInMethod::OAuth2,
                      row.token,
                      [&] {
                          ++asked;
                          return row.fresh;
                      },
                      {}};
        {
            CPop3Connection conversation;
            conversation.SetSecurity(Security::Tls);
            EXPECT_EQ(conversation.Connect(peer.Address(), "bob", signIn, 110), row.result);
            conversation.Close();
            std::string reason = row.reason;
            if (std::size_t at = reason.find('@'); at != std::string::npos) {
                reason.replace(at, 1, peer.Address());
            }
            EXPECT_EQ(conversation.FailureReason(), reason);
        }
        std::string sent;
        for (const std::string& piece : row.sent) {
            const std::string token = piece.substr(1);
            const std::string bearer =
                SaslBase64(OAuthBearerMessage("bob", "127.0.0.1", peer.Port(), token));
            sent += piece[0] == '@'   ? "AUTH OAUTHBEARER " + bearer + "\r\n"
                    : piece[0] == '^' ? "AUTH OAUTHBEARER\r\n" + bearer + "\r\n"
                    : piece[0] == '#'
                        ? "AUTH XOAUTH2 " + SaslBase64(XOAuth2Message("bob", token)) + "\r\n"
                        : piece;
        }
        EXPECT_EQ(peer.Received(), sent + kCloseNotify);
        EXPECT_EQ(asked, row.asked);
    }
}

TEST(SaslMessages, AreTheExamplesOfTheirDefinitions) {
    // RFC 7628, 4.1.
    EXPECT_EQ(
        SaslBase64(OAuthBearerMessage("user@example.com", "server.example.com", 143,
                                      "vF9dft4qmTc2Nvb3RlckBhbHRhdmlzdGEuY29tCg==")),
        "bixhPXVzZXJAZXhhbXBsZS5jb20sAWhvc3Q9c2VydmVyLmV4YW1wbGUuY29tAXBvcnQ9MTQzAWF1dGg9QmVhcm"
        "VyIHZGOWRmdDRxbVRjMk52YjNSbGNrQmhiSFJoZG1semRHRXVZMjl0Q2c9PQEB");
    // RFC 5801's escapes in the user name.
    EXPECT_EQ(OAuthBearerMessage("a,b=c", "h", 995, "t"), "n,a=a=2Cb=3Dc,\x01host=h\x01port=995\x01"
                                                          "auth=Bearer t\x01\x01");
    EXPECT_EQ(XOAuth2Message("bob", "t"), "user=bob\x01"
                                          "auth=Bearer t\x01\x01");
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
