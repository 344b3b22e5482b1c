#include "Pop3Connection.h"
#include "SaslEngine.h"
#include "SaslPeer.h"
#include "ScanColumns.h"
#include "ScriptedPeer.h"
#include "TcpConnect.h"

#include <arpa/inet.h>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace testpeer;

namespace {

const std::string kLogin = "CAPA\r\nUSER bob\r\nPASS pw\r\nCAPA\r\nNOOP\r\n";

// A loopback port that is bound but not listening: connecting is refused.
class RefusingPort {
public:
    RefusingPort() : m_fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~RefusingPort() { ::close(m_fd); }
    uint16_t Port() const { return m_port; }

private:
    int m_fd;
    uint16_t m_port = 0;
};

TEST(Pop3Login, JudgesEachReplyByPlusOkAnywhereAndQuitsAtTheFirstRefusal) {
    struct Row {
        const char* name;
        Script script;
        int result;
        std::string sent;
    };
    const Step ok = Reply("+OK\r\n");
    const Step bye = Reply("+OK bye\r\n");
    const Step noCapa = Reply("-ERR\r\n");
    const std::string user = "CAPA\r\nUSER bob smith\r\n";
    const std::vector<Row> rows = {
        {"all favourable",
         {Send("+OK ready\r\n"), noCapa, ok, ok, noCapa, ok, bye},
         1,
         user + "PASS pw\r\nCAPA\r\nNOOP\r\nQUIT\r\n"},
        {"+OK after other text",
         {Send("* hello +OK\r\n"), noCapa, ok, Reply("x +OK\r\n"), noCapa, ok, bye},
         1,
         user + "PASS pw\r\nCAPA\r\nNOOP\r\nQUIT\r\n"},
        {"lower-case ok", {Send("+ok ready\r\n"), bye}, 0, "QUIT\r\n"},
        {"-ERR greeting", {Send("-ERR busy\r\n"), bye}, 0, "QUIT\r\n"},
        {"USER refused",
         {Send("+OK\r\n"), noCapa, Reply("-ERR who?\r\n"), bye},
         0,
         user + "QUIT\r\n"},
        {"PASS refused",
         {Send("+OK\r\n"), noCapa, ok, Reply("-ERR bad password\r\n"), bye},
         0,
         user + "PASS pw\r\nQUIT\r\n"},
        {"NOOP refused",
         {Send("+OK\r\n"), noCapa, ok, ok, noCapa, Reply("-ERR\r\n"), bye},
         0,
         user + "PASS pw\r\nCAPA\r\nNOOP\r\nQUIT\r\n"},
        {"empty reply", {Send("+OK\r\n"), noCapa, Reply("\r\n"), bye}, 0, user + "QUIT\r\n"},
        {"closed after greeting", {Send("+OK\r\n"), Hangup()}, 0, user + "QUIT\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        {
            CPop3Connection conversation;
            EXPECT_EQ(conversation.Connect(peer.Address(), "bob smith", "pw", 110), row.result);
            EXPECT_EQ(conversation.IsOpen(), row.result == 1);
            conversation.Close();
            EXPECT_EQ(conversation.ServerName(), peer.Address());
        }
        EXPECT_EQ(peer.Received(), row.sent);
    }
}

TEST(Pop3Connect, FailsWithoutTrafficWhenNothingConnects) {
    RefusingPort refusing;
    const std::string refused = "127.0.0.1:" + std::to_string(refusing.Port());
    // A name the resolver refuses itself (a label over 63 bytes), so that no
    // query leaves the machine.
    const std::string unresolvable = std::string(64, 'x') + ".invalid";
    const std::vector<std::pair<std::string, std::string>> rows = {
        {unresolvable, "Could not resolve " + unresolvable + "."},
        {refused, refused + " refused the connection."},
        {"127.0.0.1:0", "The server name 127.0.0.1:0 is not valid."},
        {"127.0.0.1:x", "The server name 127.0.0.1:x is not valid."},
    };
    for (const auto& [host, reason] : rows) {
        SCOPED_TRACE(host);
        CPop3Connection conversation;
        EXPECT_EQ(conversation.Connect(host, "bob", "pw", 110), 0);
        EXPECT_FALSE(conversation.IsOpen());
        EXPECT_EQ(conversation.Close(), 0);
        EXPECT_EQ(conversation.ServerName(), host);
        EXPECT_EQ(conversation.FailureReason(), reason);
    }
    // A bearer token never crosses in clear text: no connection is even tried.
    CPop3Connection oauth;
    EXPECT_EQ(oauth.Connect(refused, "bob", SignIn{SignInMethod::OAuth2, "token", {}, {}}, 110), 0);
    EXPECT_EQ(oauth.FailureReason(),
              "An OAuth 2.0 account signs in over a secured connection only: choose SSL/TLS or "
              "STARTTLS for it. Nothing was sent.");
}

// RFC 2195's example exchange, and a password that must never cross.
TEST(Pop3SignIn, AutomaticTakesTheStrongestMechanismAndTrustsNoUnprovenServer) {
    const std::string password = "tanstaaftanstaaf";
    const Step bye = Reply("+OK bye\r\n");
    const Step capaAfter = Reply("+OK\r\nUIDL\r\n.\r\n");
    auto offering = [](const std::string& mechanisms) {
        return Script{Send("+OK ready\r\n"),
                      Reply("+OK\r\nUSER\r\nSASL " + mechanisms + "\r\n.\r\n")};
    };
    struct Row {
        const char* name;
        Script script;
        int result;
        std::string mechanism; // signed in with
        std::string sentStart, sentEnd;
        std::string reason; // "@" stands for the peer's address
        std::string secret = "tanstaaftanstaaf";
    };
    const std::vector<Row> rows = {
        {"SCRAM-SHA-256 first",
         offering("PLAIN CRAM-MD5 SCRAM-SHA-1 SCRAM-SHA-256") +
             ScramExchange("SCRAM-SHA-256", password) + Script{bye},
         1, "SCRAM-SHA-256", "CAPA\r\nAUTH SCRAM-SHA-256 biws", "\r\n\r\nQUIT\r\n", ""},
        {"SCRAM-SHA-1 next",
         offering("cram-md5 scram-sha-1") + ScramExchange("SCRAM-SHA-1", password) + Script{bye}, 1,
         "SCRAM-SHA-1", "CAPA\r\nAUTH SCRAM-SHA-1 biws", "\r\n\r\nQUIT\r\n", ""},
        {"CRAM-MD5 last",
         offering("PLAIN CRAM-MD5") +
             Script{Reply("+ PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n"),
                    Reply("+OK\r\n"), capaAfter, bye},
         1, "CRAM-MD5",
         "CAPA\r\nAUTH CRAM-MD5\r\ndGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw\r\nQUIT\r\n",
         "", ""},
        {"PLAIN alone: USER/PASS",
         offering("PLAIN") + Script{Reply("+OK\r\n"), Reply("+OK\r\n"), bye}, 1, "",
         "CAPA\r\nUSER tim\r\nPASS " + password + "\r\nQUIT\r\n", "", ""},
        {"forged server signature",
         offering("SCRAM-SHA-256") +
             ScramExchange("SCRAM-SHA-256", password, ScramServer::ForgedSignature) + Script{bye},
         0, "", "CAPA\r\nAUTH SCRAM-SHA-256 ", "\r\n*\r\nQUIT\r\n",
         "@ could not prove that it knows the password, so someone may be impersonating it; the "
         "conversation was ended."},
        {"success before the server's proof",
         offering("SCRAM-SHA-256") +
             Script{ScramExchange("SCRAM-SHA-256", password)[0], Reply("+OK\r\n"), bye},
         0, "", "CAPA\r\nAUTH SCRAM-SHA-256 ", "\r\nQUIT\r\n",
         "@ could not prove that it knows the password, so someone may be impersonating it; the "
         "conversation was ended."},
        {"AUTH refused",
         offering("SCRAM-SHA-256") + Script{Reply("-ERR [AUTH] Authentication failed.\r\n"), bye},
         0, "", "CAPA\r\nAUTH SCRAM-SHA-256 ", "\r\nQUIT\r\n",
         "The server refused the login with SCRAM-SHA-256: -ERR [AUTH] Authentication failed. If "
         "the password is right, Password only signs in without SCRAM-SHA-256."},
        {"password SCRAM cannot prepare", offering("SCRAM-SHA-256") + Script{bye}, 0, "",
         "CAPA\r\nQUIT\r\n", "",
         "The password is no valid UTF-8 text, which SCRAM-SHA-256 needs; it was not sent. "
         "Password only signs in with it as it is.",
         "p\xe4ss"},
        {"garbled challenge", offering("CRAM-MD5") + Script{Reply("+ ***\r\n"), bye}, 0, "",
         "CAPA\r\nAUTH CRAM-MD5\r\n*\r\nQUIT\r\n", "",
         "@ sent a CRAM-MD5 challenge that cannot be read; the conversation was ended."},
        {"AUTH refused, quoting the response",
         offering("CRAM-MD5") +
             Script{Reply("+ PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n"),
                    Reply("-ERR dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw refused\r\n"),
                    bye},
         0, "", "CAPA\r\nAUTH CRAM-MD5\r\n", "\r\nQUIT\r\n",
         "The server refused the login with CRAM-MD5: -ERR *** refused. If the password is right, "
         "Password only signs in without CRAM-MD5."},
        // At about a million a second, half an hour of hashing.
        {"iteration count past the bound",
         offering("SCRAM-SHA-256") +
             Script{ScramServerFirst("2147483647"), Reply("-ERR cancelled\r\n"), bye},
         0, "", "CAPA\r\nAUTH SCRAM-SHA-256 ", "\r\n*\r\nQUIT\r\n",
         "@ asks SCRAM-SHA-256 to hash the password 2147483647 times, more than the 600000 "
         "allowed; the sign-in was ended before any was computed."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        CPop3Connection conversation;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(conversation.Connect(peer.Address(), "tim",
                                       SignIn{SignInMethod::Automatic, row.secret, {}, {}}, 110),
                  row.result);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(conversation.SignedInWith(), row.mechanism);
        conversation.Close();
        std::string reason = row.reason;
        if (std::size_t at = reason.find('@'); at != std::string::npos) {
            reason.replace(at, 1, peer.Address());
        }
        EXPECT_EQ(conversation.FailureReason(), reason);
        const std::string sent = peer.Received();
        EXPECT_TRUE(sent.starts_with(row.sentStart)) << sent;
        EXPECT_TRUE(sent.ends_with(row.sentEnd)) << sent;
        // Only USER/PASS sends the password itself.
        EXPECT_EQ(sent.find(row.secret) != std::string::npos,
                  sent.find("PASS ") != std::string::npos);
    }
}

// The first failure is the one told; a conversation that went well has none,
// whatever its QUIT met.
TEST(Pop3Connect, TheFirstFailureIsTheReason) {
    ChannelLimits limits;
    // Long enough for every scripted reply on a loaded machine.
    limits.ioTimeout = std::chrono::seconds(2);
    limits.maxLineBytes = 100;
    struct Row {
        const char* name;
        Script script;
        std::string reason; // "@" stands for the peer's address
    };
    const std::vector<Row> rows = {
        {"greeting refused",
         {Send("-ERR busy\r\n"), Reply("+OK\r\n")},
         "The server refused the connection: -ERR busy."},
        {"silent after login", Login() + Script{Stall()}, "No reply from @ within 2 seconds."},
        {"closed after login", Login() + Script{Hangup()}, "@ closed the connection."},
        {"over-long reply", Login() + Script{Reply(std::string(200, 'x') + "\r\n")},
         "@ sent a line longer than 100 bytes."},
        {"STAT refused", Login() + Script{Reply("-ERR locked\r\n"), Reply("+OK\r\n")},
         "The server did not give the number of messages: -ERR locked."},
        {"QUIT unanswered", Login() + Script{Reply("+OK 0 0\r\n"), Hangup()}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        CPop3Connection conversation({}, limits);
        if (conversation.Connect(peer.Address(), "bob", "pw", 110) == 1) {
            conversation.GetMessageCount();
        }
        conversation.Close();
        std::string reason = row.reason;
        if (std::size_t at = reason.find('@'); at != std::string::npos) {
            reason.replace(at, 1, peer.Address());
        }
        EXPECT_EQ(conversation.FailureReason(), reason);
    }
}

// The numbers of a locale with a decimal comma, set for the whole program as
// Qt sets the user's: de_DE where it is installed, else one made here by
// localedef from a definition of its numbers alone. Nothing else may run
// meanwhile.
class CommaLocale {
public:
    CommaLocale() : m_before(std::setlocale(LC_NUMERIC, nullptr)) {
        m_set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr || SetMade();
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, m_before.c_str()); }
    bool Set() const { return m_set; }

private:
    static bool SetMade() {
        namespace fs = std::filesystem;
        const fs::path folder =
            fs::temp_directory_path() / ("tarvo-locale-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "comma.def") << "LC_NUMERIC\ndecimal_point \",\"\n"
                                               "thousands_sep \".\"\ngrouping 3;3\n"
                                               "END LC_NUMERIC\n";
        const std::string command = "localedef -c -i '" + (folder / "comma.def").string() +
                                    "' -f ANSI_X3.4-1968 '" + (folder / "comma").string() +
                                    "' >/dev/null 2>&1";
        std::system(command.c_str());
        ::setenv("LOCPATH", folder.c_str(), 1);
        const bool set = std::setlocale(LC_NUMERIC, "comma") != nullptr;
        ::unsetenv("LOCPATH");
        fs::remove_all(folder);
        return set;
    }

    std::string m_before;
    bool m_set = false;
};

TEST(Pop3Connect, WritesTheSecondsOfAReasonWithAPointInAnyLocale) {
    CommaLocale comma;
    if (!comma.Set()) {
        GTEST_SKIP() << "no locale with a decimal comma can be had here";
    }
    char shown[8];
    std::snprintf(shown, sizeof shown, "%g", 0.5);
    ASSERT_STREQ(shown, "0,5");
    ChannelLimits limits;
    limits.ioTimeout = std::chrono::milliseconds(300);
    ScriptedPeer peer(Login() + Script{Stall()});
    CPop3Connection conversation({}, limits);
    ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
    EXPECT_EQ(conversation.GetMessageCount(), -1);
    EXPECT_EQ(conversation.FailureReason(),
              "No reply from " + peer.Address() + " within 0.3 seconds.");
}

// A refusal is quoted, within its bounds, but never so that the quote shows the
// password.
TEST(Pop3Connect, AQuotedRefusalIsCutOnACharacterAndNeverShowsThePassword) {
    const std::string leftOut =
        "The server refused the login; its reply is left out, as it would show the password or "
        "part of it.";
    const std::vector<std::tuple<std::string, std::string, std::string>> rows = {
        {"*", "-ERR [AUTH] *** login failed", leftOut},
        {"hunter2.", "-ERR [AUTH] hunter2", leftOut},
        {"hunter2", "-ERR [AUTH] hunter2. hunter2",
         "The server refused the login: -ERR [AUTH] ***. ***."},
        {"hunter2", "-ERR [AUTH] aHVudGVyMg== is wrong",
         "The server refused the login: -ERR [AUTH] *** is wrong."},
        // Cut at 200 bytes, which would split the "é" at bytes 199 and 200.
        {"pw", "-ERR " + std::string(194, 'x') + "\xC3\xA9 more",
         "The server refused the login: -ERR " + std::string(194, 'x') + "."},
    };
    for (const auto& [password, reply, reason] : rows) {
        SCOPED_TRACE(reason);
        ScriptedPeer peer(Script{Send("+OK\r\n"), Reply("-ERR\r\n"), Reply("+OK\r\n"),
                                 Reply(reply + "\r\n"), Reply("+OK\r\n")});
        CPop3Connection conversation;
        EXPECT_EQ(conversation.Connect(peer.Address(), "bob", password, 110), 0);
        EXPECT_EQ(conversation.FailureReason(), reason);
    }
}

TEST(Pop3Connect, ALineBreakInTheCredentialsSendsNothing) {
    ScriptedPeer peer(Login() + Script{Reply("+OK bye\r\n")});
    for (const auto& [user, password] :
         {std::pair<std::string, std::string>{"bob\r\nDELE 1", "pw"}, {"bob", "pw\nDELE 1"}}) {
        CPop3Connection conversation;
        EXPECT_EQ(conversation.Connect(peer.Address(), user, password, 110), 0);
        EXPECT_EQ(conversation.Close(), 0);
    }
    // Had either connected, it would have taken the peer's one session.
    CPop3Connection conversation;
    EXPECT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
    EXPECT_EQ(conversation.Close(), 1);
    EXPECT_EQ(peer.Received(), kLogin + "QUIT\r\n");
}

TEST(Pop3Connect, ReachesTheServerByEveryFormOfItsName) {
    const Script session = Login() + Script{Reply("+OK bye\r\n")};
    ScriptedPeer peer(std::vector<Script>(3, session));
    const std::string port = std::to_string(peer.Port());
    // The port passed in counts only when the name carries none.
    const std::vector<std::pair<std::string, uint32_t>> rows = {
        {"127.0.0.1", peer.Port()}, {"127.0.0.1:" + port, 1}, {"localhost:" + port, 1}};
    for (const auto& [host, passedPort] : rows) {
        SCOPED_TRACE(host);
        CPop3Connection conversation;
        EXPECT_EQ(conversation.Connect(host, "bob", "pw", passedPort), 1);
        EXPECT_EQ(conversation.Close(), 1);
    }
}

TEST(Endpoint, SplitsAnOptionalPortFromTheName) {
    struct Row {
        std::string host;
        std::optional<std::pair<std::string, uint16_t>> expected;
    };
    using E = std::pair<std::string, uint16_t>;
    const std::vector<Row> rows = {
        {"pop.example.org", E{"pop.example.org", 110}},
        {"pop.example.org:995", E{"pop.example.org", 995}},
        {"[::1]:2110", E{"::1", 2110}},
        {"[::1]", E{"::1", 110}},
        {"fe80::1", E{"fe80::1", 110}},
        {"pop:", std::nullopt},
        {"pop:65536", std::nullopt},
        {"pop:12ab", std::nullopt},
        {"[::1]2110", std::nullopt},
        {"[::1", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.host);
        std::optional<Endpoint> endpoint = ParseEndpoint(row.host, 110);
        ASSERT_EQ(endpoint.has_value(), row.expected.has_value());
        if (endpoint) {
            EXPECT_EQ(endpoint->name, row.expected->first);
            EXPECT_EQ(endpoint->port, row.expected->second);
        }
    }
}

TEST(Pop3Close, QuitsOnceAndOnlyWhenOpen) {
    CPop3Connection unconnected;
    EXPECT_EQ(unconnected.Close(), 0);
    EXPECT_EQ(unconnected.SendLine("NOOP"), 0);
    EXPECT_EQ(unconnected.ReadLine(), "");
    EXPECT_EQ(unconnected.ServerName(), "(none)");

    ScriptedPeer peer(Login() + Script{Reply("+OK bye\r\n")});
    {
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        EXPECT_EQ(conversation.Close(), 1);
        EXPECT_EQ(conversation.Close(), 0);
        EXPECT_EQ(conversation.SendLine("NOOP"), 0);
    }
    EXPECT_EQ(peer.Received(), kLogin + "QUIT\r\n");
}

TEST(Pop3Close, ShutsDownEvenWhenTheQuitExchangeFails) {
    ChannelLimits limits;
    limits.ioTimeout = std::chrono::milliseconds(300);
    ScriptedPeer peer(Login() + Script{Stall()});
    {
        CPop3Connection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        EXPECT_EQ(conversation.Close(), 1);
        EXPECT_FALSE(conversation.IsOpen());
    }
    EXPECT_EQ(peer.Received(), kLogin + "QUIT\r\n");
}

TEST(Pop3Abort, FailsEveryLaterOperationWithoutAWordToTheServer) {
    ScriptedPeer peer(Login() + Script{Reply("+OK 1 10\r\n")});
    {
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        conversation.Abort();
        EXPECT_FALSE(conversation.IsOpen());
        EXPECT_EQ(conversation.GetMessageCount(), -1);
        EXPECT_EQ(conversation.RetrieveHeaders(), 0);
        EXPECT_EQ(conversation.SendLine("NOOP"), 0);
        EXPECT_EQ(conversation.ReadLine(), "");
        EXPECT_EQ(conversation.Close(), 0);
        EXPECT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 0);
        EXPECT_TRUE(Subjects(conversation.Headers()).empty());
    }
    EXPECT_EQ(peer.Received(), kLogin);
}

TEST(Pop3Abort, FromTheWaitHookEndsAStalledWaitAtOnce) {
    ScriptedPeer peer(Login() + Script{Await(), Stall()});
    {
        CPop3Connection* self = nullptr;
        int hookCalls = 0;
        ChannelLimits limits;
        // A wait that outlived the abort would call the hook again and again.
        limits.ioTimeout = std::chrono::seconds(5);
        CPop3Connection conversation(
            [&] {
                if (self != nullptr) {
                    ++hookCalls;
                    self->Abort();
                }
            },
            limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        self = &conversation;
        EXPECT_EQ(conversation.GetMessageCount(), -1);
        EXPECT_EQ(hookCalls, 1);
        EXPECT_FALSE(conversation.IsOpen());
        EXPECT_EQ(conversation.Close(), 0);
    }
    EXPECT_EQ(peer.Received(), kLogin + "STAT\r\n");
}

// Replies that each come within a slice must not keep the hook from running,
// or a long scan of a distant server would freeze the desktop and shut out
// Disconnect.
TEST(Pop3Abort, ReachesAScanWhoseServerAnswersBrisklyButSlowly) {
    Script replies = Login() + Script{Reply("+OK 20 2000\r\n")};
    for (int i = 0; i < 20; ++i) {
        replies.push_back(Await());
        replies.push_back(Pause(std::chrono::milliseconds(20)));
        replies.push_back(Send("+OK\r\nSubject: s\r\n.\r\n"));
    }
    ScriptedPeer peer(replies);
    {
        CPop3Connection* self = nullptr;
        CPop3Connection conversation(
            [&] {
                if (self != nullptr) {
                    self->Abort();
                }
            },
            {});
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        self = &conversation;
        EXPECT_EQ(conversation.RetrieveHeaders(), 0);
        EXPECT_LT(Subjects(conversation.Headers()).size(), 20u);
    }
    EXPECT_EQ(peer.Received().find("TOP 20 0"), std::string::npos);
}

TEST(Pop3Capabilities, ReadsTheListUnstuffedAndWithinItsBounds) {
    struct Row {
        const char* name;
        Script reply;
        bool result;
        bool answered;
        std::vector<std::string> lines;
        std::string known; // the flags set, in declaration order
    };
    std::string endless;
    for (std::size_t i = 0; i <= Pop3Capabilities::kMaxLines; ++i) {
        endless += "X\r\n";
    }
    const std::vector<Row> rows = {
        {"full list",
         {Reply("+OK\r\nTOP\r\nuser\r\nSASL PLAIN\r\nStls\r\nPIPELINING\r\nUIDL\r\nUTF8 "
                "USER\r\n.\r\n")},
         true,
         true,
         {"TOP", "user", "SASL PLAIN", "Stls", "PIPELINING", "UIDL", "UTF8 USER"},
         "stls pipelining uidl top user utf8"},
        {"stuffed line, keyword as an argument only",
         {Reply("+OK list\r\n..DOT\r\nIMPLEMENTATION STLS\r\n.\r\n")},
         true,
         true,
         {".DOT", "IMPLEMENTATION STLS"},
         ""},
        {"refused", {Reply("-ERR unknown command\r\n")}, false, false, {}, ""},
        {"+OK not at the start", {Reply("-ERR no +OK\r\n")}, false, false, {}, ""},
        {"cut off", {Reply("+OK\r\nSTLS\r\n"), Hangup()}, false, true, {"STLS"}, "stls"},
        {"endless",
         {Reply("+OK\r\n" + endless)},
         false,
         true,
         std::vector<std::string>(Pop3Capabilities::kMaxLines, "X"),
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(Login() + row.reply);
        CPop3Connection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", "pw", 110), 1);
        EXPECT_EQ(conversation.RequestCapabilities(), row.result);
        const Pop3Capabilities& found = conversation.Capabilities();
        EXPECT_EQ(found.answered, row.answered);
        EXPECT_EQ(found.lines, row.lines);
        std::string known;
        for (const auto& [flag, name] : {std::pair{found.stls, "stls"},
                                         {found.pipelining, "pipelining"},
                                         {found.uidl, "uidl"},
                                         {found.top, "top"},
                                         {found.user, "user"},
                                         {found.utf8, "utf8"}}) {
            known += flag ? (known.empty() ? "" : " ") + std::string(name) : "";
        }
        EXPECT_EQ(known, row.known);
    }
}

} // namespace
