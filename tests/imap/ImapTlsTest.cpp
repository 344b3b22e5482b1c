// IMAP over TLS with scripted servers holding certificates of a private
// authority: TLS from the first byte, STARTTLS and what an attacker on the
// way would try against it (the plaintext-injection and PREAUTH cases of
// STARTTLS studies), and a bearer token that crosses only inside TLS.
#include "ImapConnection.h"
#include "ImapPeer.h"
#include "SaslEngine.h"
#include "TestCertificates.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>

using namespace testpeer;
using namespace testpki;

namespace {

class ImapTlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        authority = new TestAuthority;
        ::setenv("SSL_CERT_FILE", authority->AuthorityFile().c_str(), 1);
        good = authority->Issue({{"127.0.0.1", "localhost"}});
        otherName = authority->Issue({{"other.example.com"}});
    }
    static void TearDownTestSuite() {
        delete authority;
        ::unsetenv("SSL_CERT_FILE");
    }
    static Step Tls(const IssuedCertificate& certificate) {
        return AcceptTls(certificate.certificateFile, certificate.keyFile);
    }

    static inline TestAuthority* authority = nullptr;
    static inline IssuedCertificate good, otherName;
};

TEST_F(ImapTlsTest, NothingSecretLeavesBeforeTlsAndNothingFromBeforeItCounts) {
    const Step bye = Tagged("OK LOGOUT completed", "* BYE\r\n");
    struct Row {
        const char* name;
        Security security;
        Script script;
        SignInMethod method;
        std::string reason; // "@" stands for the peer's address
        std::string sent;   // "%" stands for the OAUTHBEARER message
    };
    const std::vector<Row> rows = {
        {"SSL/TLS", Security::Tls, Script{Tls(good)} + ImapLogin() + Script{bye},
         SignInMethod::PasswordOnly, "", kImapLogin + "a2 LOGOUT\r\n" + kCloseNotify},
        // What the greeting said in clear text (LOGINDISABLED here) is forgotten.
        {"STARTTLS",
         Security::StartTls,
         {Send("* OK [CAPABILITY IMAP4rev1 STARTTLS LOGINDISABLED] hi\r\n"),
          Tagged("OK Begin TLS", "* CAPABILITY IMAP4rev1 STARTTLS LOGINDISABLED\r\n"), Tls(good),
          Tagged("OK", "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\n"),
          Tagged("OK [CAPABILITY IMAP4rev1] in"), bye},
         SignInMethod::PasswordOnly,
         "",
         "a1 STARTTLS\r\na2 CAPABILITY\r\na3 LOGIN \"bob\" \"pw\"\r\na4 LOGOUT\r\n" +
             std::string(kCloseNotify)},
        {"lines injected after the answer to STARTTLS",
         Security::StartTls,
         {Send("* OK ready\r\n"),
          Reply("a1 OK Begin TLS\r\n* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\na2 OK\r\n"), Tls(good)},
         SignInMethod::PasswordOnly,
         "The server sent more than its answer to STARTTLS, which is how an attacker would slip "
         "in false replies; the password was not sent.",
         "a1 STARTTLS\r\n"},
        {"PREAUTH where STARTTLS is due",
         Security::StartTls,
         {Send("* PREAUTH [CAPABILITY IMAP4rev1 STARTTLS] hi\r\n"), bye},
         SignInMethod::PasswordOnly,
         "@ greeted the connection as signed in already, where STARTTLS can no longer be asked: "
         "someone may be keeping it in clear text. Nothing was sent.",
         "a1 LOGOUT\r\n"},
        {"STARTTLS not listed",
         Security::StartTls,
         {Send("* OK [CAPABILITY IMAP4rev1] hi\r\n"), bye},
         SignInMethod::PasswordOnly,
         "The server offers no STARTTLS; the password was not sent.",
         "a1 LOGOUT\r\n"},
        {"STARTTLS refused",
         Security::StartTls,
         {Send("* OK hi\r\n"), Tagged("BAD unknown command"), bye},
         SignInMethod::PasswordOnly,
         "The server refused STARTTLS: BAD unknown command. The password was not sent.",
         "a1 STARTTLS\r\na2 LOGOUT\r\n"},
        {"a certificate for another name",
         Security::Tls,
         {Tls(otherName)},
         SignInMethod::PasswordOnly,
         "The certificate is issued for other.example.com, not 127.0.0.1.",
         ""},
        {"OAUTHBEARER with SASL-IR",
         Security::Tls,
         {Tls(good), Send("* OK [CAPABILITY IMAP4rev1 SASL-IR AUTH=OAUTHBEARER] hi\r\n"),
          Tagged("OK [CAPABILITY IMAP4rev1] in"), bye},
         SignInMethod::OAuth2,
         "",
         "a1 AUTHENTICATE OAUTHBEARER %\r\na2 LOGOUT\r\n" + std::string(kCloseNotify)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        {
            CImapConnection conversation;
            conversation.SetSecurity(row.security);
            const SignIn signIn{
                row.method, row.method == SignInMethod::OAuth2 ? "token" : "pw", {}, {}};
            const int result = conversation.Connect(peer.Address(), "bob", signIn, 143);
            EXPECT_EQ(result, row.reason.empty() ? 1 : 0);
            conversation.Close();
            std::string reason = row.reason;
            if (std::size_t at = reason.find('@'); at != std::string::npos) {
                reason.replace(at, 1, peer.Address());
            }
            EXPECT_EQ(conversation.FailureReason(), reason);
        }
        std::string sent = row.sent;
        if (std::size_t at = sent.find('%'); at != std::string::npos) {
            sent.replace(at, 1,
                         SaslBase64(OAuthBearerMessage("bob", "127.0.0.1", peer.Port(), "token")));
        }
        EXPECT_EQ(peer.Received(), sent);
    }
}

// A report that TLS has already decrypted is taken although the socket
// shows nothing more, and the certificate is shown for the Certificate... button.
TEST_F(ImapTlsTest, TakesReportsTlsHoldsAndShowsTheCertificate) {
    ScriptedPeer peer(
        std::vector<Script>{Script{Tls(good)} + ImapLogin() +
                                Script{Tagged("OK"), Reply("+ idling\r\n"),
                                       Send("* OK Still here\r\n* 3 EXISTS\r\n* 4 EXISTS\r\n"),
                                       Reply("a3 OK\r\n"), Tagged("OK bye")},
                            {Tls(good), Send("* OK hi\r\n"), Tagged("OK bye")}});
    {
        CImapConnection conversation;
        conversation.SetSecurity(Security::Tls);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob",
                                       {SignInMethod::PasswordOnly, "pw", {}, {}}, 143),
                  1);
        ASSERT_TRUE(conversation.StartIdle("INBOX"));
        pollfd entry{conversation.SocketFd(), POLLIN, 0};
        ImapPush report = ImapPush::Quiet;
        for (int waits = 0; report == ImapPush::Quiet && waits < 10 && ::poll(&entry, 1, 5000) > 0;
             ++waits) {
            report = conversation.TakeEvents();
        }
        EXPECT_EQ(report, ImapPush::Changed);
        EXPECT_TRUE(conversation.EndIdle());
    }
    CImapConnection inspecting;
    inspecting.SetSecurity(Security::Tls);
    std::optional<PeerCertificate> shown = inspecting.InspectCertificate(peer.Address(), 993);
    ASSERT_TRUE(shown.has_value()) << inspecting.FailureReason();
    EXPECT_EQ(shown->untrusted, "");
    EXPECT_EQ(peer.Received(1), "a1 LOGOUT\r\n" + std::string(kCloseNotify));
}

} // namespace
