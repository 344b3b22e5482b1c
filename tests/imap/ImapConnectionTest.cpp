// IMAP conversations with scripted servers: the sign-in, the read-only
// mailbox commands, a hostile server at every turn, and waiting for changes.
#include "ImapConnection.h"

#include "ImapPeer.h"
#include "SaslEngine.h"
#include "SaslPeer.h"

#include <gtest/gtest.h>
#include <poll.h>

using namespace testpeer;

namespace {

const SignIn kPassword{SignInMethod::PasswordOnly, "pw", {}, {}};
const Step kBye = Tagged("OK LOGOUT completed", "* BYE logging out\r\n");

std::string WithAddress(std::string text, const ScriptedPeer& peer) {
    for (std::size_t at; (at = text.find('@')) != std::string::npos;) {
        text.replace(at, 1, peer.Address());
    }
    return text;
}

Step Greeting(const std::string& capabilities) {
    return Send("* OK [CAPABILITY " + capabilities + "] ready\r\n");
}

// RFC 2195's example exchange, and passwords that must never cross.
TEST(ImapSignIn, TakesTheStrongestWayOfferedAndNeverLogsInWhereDisabled) {
    const std::string password = "tanstaaftanstaaf";
    const SaslEnd end{"a1 OK [CAPABILITY IMAP4rev1] in\r\n",
                      "a1 NO [AUTHENTICATIONFAILED] Authentication failed.\r\n",
                      "a1 BAD cancelled\r\n"};
    const Step signedIn = Tagged("OK [CAPABILITY IMAP4rev1] in");
    struct Row {
        const char* name;
        Script script;
        SignIn signIn;
        int result;
        std::string mechanism;
        std::string sentStart, sentEnd;
        std::string reason; // "@" stands for the peer's address
    };
    const SignIn automatic{SignInMethod::Automatic, password, {}, {}};
    const std::vector<Row> rows = {
        {"LOGIN, quoted",
         {Greeting("IMAP4rev1"), signedIn, kBye},
         {SignInMethod::PasswordOnly, "a\"b\\c", {}, {}},
         1,
         "",
         "a1 LOGIN \"tim\" \"a\\\"b\\\\c\"\r\na2 LOGOUT\r\n",
         "",
         ""},
        {"LOGIN, a literal for 8-bit text",
         {Greeting("IMAP4rev1"), Reply("+ go\r\n"), Reply("a1 OK in\r\n"),
          Tagged("OK", "* CAPABILITY IMAP4rev1 IDLE\r\n"), kBye},
         {SignInMethod::PasswordOnly, "p\xC3\xA4ss", {}, {}},
         1,
         "",
         "a1 LOGIN \"tim\" {5}\r\np\xC3\xA4ss\r\na2 CAPABILITY\r\na3 LOGOUT\r\n",
         "",
         ""},
        {"no list in the greeting, no mechanism worth it",
         {Send("* OK ready\r\n"), Tagged("OK", "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\n"), signedIn,
          kBye},
         automatic,
         1,
         "",
         "a1 CAPABILITY\r\na2 LOGIN \"tim\" \"" + password + "\"\r\na3 LOGOUT\r\n",
         "",
         ""},
        {"SCRAM-SHA-256 with SASL-IR",
         Script{Greeting("IMAP4rev1 SASL-IR AUTH=PLAIN AUTH=CRAM-MD5 AUTH=SCRAM-SHA-256")} +
             ScramExchange("SCRAM-SHA-256", password, ScramServer::Honest, end) + Script{kBye},
         automatic, 1, "SCRAM-SHA-256", "a1 AUTHENTICATE SCRAM-SHA-256 biws",
         "\r\n\r\na2 LOGOUT\r\n", ""},
        {"SCRAM-SHA-1 without SASL-IR",
         Script{Greeting("IMAP4rev1 AUTH=SCRAM-SHA-1"), Reply("+ \r\n")} +
             ScramExchange("SCRAM-SHA-1", password, ScramServer::Honest, end) + Script{kBye},
         automatic, 1, "SCRAM-SHA-1", "a1 AUTHENTICATE SCRAM-SHA-1\r\nbiws",
         "\r\n\r\na2 LOGOUT\r\n", ""},
        {"CRAM-MD5",
         {Greeting("IMAP4rev1 AUTH=CRAM-MD5"),
          Reply("+ PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n"),
          Reply(end.success), kBye},
         automatic,
         1,
         "CRAM-MD5",
         "a1 AUTHENTICATE CRAM-MD5\r\ndGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw\r\na2 "
         "LOGOUT\r\n",
         "",
         ""},
        {"forged server signature",
         Script{Greeting("IMAP4rev1 SASL-IR AUTH=SCRAM-SHA-256")} +
             ScramExchange("SCRAM-SHA-256", password, ScramServer::ForgedSignature, end) +
             Script{kBye},
         automatic, 0, "", "a1 AUTHENTICATE SCRAM-SHA-256 ", "\r\n*\r\na2 LOGOUT\r\n",
         "@ could not prove that it knows the password, so someone may be impersonating it; the "
         "conversation was ended."},
        {"AUTHENTICATE refused in clear text",
         {Greeting("IMAP4rev1 SASL-IR AUTH=SCRAM-SHA-256"), Reply(end.refused), kBye},
         automatic,
         0,
         "",
         "a1 AUTHENTICATE SCRAM-SHA-256 ",
         "\r\na2 LOGOUT\r\n",
         "The server refused the login with SCRAM-SHA-256: NO [AUTHENTICATIONFAILED] "
         "Authentication failed. If the password is right, Password only signs in without "
         "SCRAM-SHA-256."},
        {"LOGIN refused, the password echoed",
         {Greeting("IMAP4rev1"), Tagged("NO hunter2 is wrong for tim"), kBye},
         {SignInMethod::PasswordOnly, "hunter2", {}, {}},
         0,
         "",
         "a1 LOGIN \"tim\" \"hunter2\"\r\na2 LOGOUT\r\n",
         "",
         "The server refused the login: NO *** is wrong for tim."},
        {"LOGINDISABLED",
         {Greeting("IMAP4rev1 LOGINDISABLED"), kBye},
         automatic,
         0,
         "",
         "a1 LOGOUT\r\n",
         "",
         "@ takes no password over this connection (it lists LOGINDISABLED); the password was "
         "not sent. Choose SSL/TLS or STARTTLS for the account."},
        {"downgrade",
         {Greeting("IMAP4rev1 AUTH=PLAIN AUTH=CRAM-MD5"), kBye},
         {SignInMethod::Automatic, password, {}, "SCRAM-SHA-1"},
         0,
         "",
         "a1 LOGOUT\r\n",
         "",
         "@ no longer offers SCRAM-SHA-1, with which this account signed in before, so the "
         "password was not sent another way: someone may be tampering with the connection. If "
         "the server's sign-in really changed, change the account's sign-in method."},
        {"PREAUTH",
         {Send("* PREAUTH [CAPABILITY IMAP4rev1] hi\r\n"), kBye},
         automatic,
         1,
         "",
         "a1 LOGOUT\r\n",
         "",
         ""},
        {"BYE for a greeting",
         {Send("* BYE too busy\r\n")},
         automatic,
         0,
         "",
         "",
         "",
         "The server refused the connection: BYE too busy."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(row.script);
        {
            CImapConnection conversation;
            EXPECT_EQ(conversation.Connect(peer.Address(), "tim", row.signIn, 143), row.result);
            EXPECT_EQ(conversation.SignedInWith(), row.mechanism);
            conversation.Close();
            EXPECT_EQ(conversation.FailureReason(), WithAddress(row.reason, peer));
        }
        const std::string sent = peer.Received();
        EXPECT_TRUE(sent.starts_with(row.sentStart)) << sent;
        EXPECT_TRUE(sent.ends_with(row.sentEnd)) << sent;
        // Only LOGIN sends the password itself.
        if (sent.find(" LOGIN ") == std::string::npos) {
            EXPECT_EQ(sent.find(row.signIn.secret), std::string::npos);
        }
    }
}

TEST(ImapMailbox, AsksAsTheServerListsAndReadsEitherAnswer) {
    struct Row {
        const char* name;
        std::string capabilities, folder, examined, searched;
        std::string sent; // the two commands
        std::vector<uint32_t> unseen;
        std::optional<uint64_t> highestModSeq;
    };
    const std::vector<Row> rows = {
        {"IMAP4rev1 alone",
         "IMAP4rev1",
         "INBOX",
         "* 5 EXISTS\r\n",
         "* SEARCH 5 3 4\r\n",
         "EXAMINE \"INBOX\"|UID SEARCH UNSEEN UNDELETED",
         {3, 4, 5},
         std::nullopt},
        {"CONDSTORE and ESEARCH",
         "IMAP4rev1 CONDSTORE ESEARCH",
         "Entw\xC3\xBCrfe",
         "* 9 EXISTS\r\n* OK [HIGHESTMODSEQ 715194045007] x\r\n",
         "* ESEARCH (TAG \"a3\") UID ALL 3:5,9\r\n",
         "EXAMINE \"Entw&APw-rfe\" (CONDSTORE)|UID SEARCH RETURN (ALL) UNSEEN UNDELETED",
         {3, 4, 5, 9},
         715194045007},
        {"a folder without mod-sequences",
         "IMAP4rev1 CONDSTORE",
         "INBOX",
         "* 2 EXISTS\r\n* OK [NOMODSEQ] x\r\n",
         "* SEARCH\r\n",
         "EXAMINE \"INBOX\" (CONDSTORE)|UID SEARCH UNSEEN UNDELETED",
         {},
         std::nullopt},
        {"IMAP4rev2, nothing unseen",
         "IMAP4rev2",
         "INBOX",
         "* 2 EXISTS\r\n",
         "* ESEARCH (TAG \"a3\") UID\r\n",
         "EXAMINE \"INBOX\"|UID SEARCH RETURN (ALL) UNSEEN UNDELETED",
         {},
         std::nullopt},
        {"another command's ESEARCH, a range backwards",
         "IMAP4rev1 ESEARCH",
         "INBOX",
         "* 9 EXISTS\r\n",
         "* ESEARCH (TAG \"zz\") UID ALL 1\r\n* ESEARCH (TAG \"a3\") UID ALL 7:6\r\n",
         "EXAMINE \"INBOX\"|UID SEARCH RETURN (ALL) UNSEEN UNDELETED",
         {6, 7},
         std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(ImapLogin(row.capabilities) +
                          Script{Tagged("OK [READ-ONLY] done", row.examined),
                                 Tagged("OK done", row.searched), kBye});
        {
            CImapConnection conversation;
            ASSERT_EQ(conversation.Connect(peer.Address(), "bob", kPassword, 143), 1);
            std::optional<ImapFolderState> state = conversation.Examine(row.folder);
            ASSERT_TRUE(state.has_value()) << conversation.FailureReason();
            EXPECT_EQ(state->highestModSeq, row.highestModSeq);
            EXPECT_EQ(conversation.SearchUnseen(), row.unseen);
            EXPECT_EQ(conversation.Close(), 1);
            EXPECT_EQ(conversation.FailureReason(), "");
        }
        std::string sent = row.sent;
        sent.replace(sent.find('|'), 1, "\r\na3 ");
        EXPECT_EQ(peer.Received(), kImapLogin + "a2 " + sent + "\r\na4 LOGOUT\r\n");
    }
}

// UIDs name the messages, so whatever comes between and within the answers
// changes no header's message.
TEST(ImapMailbox, UntaggedResponsesAnywhereAndAnExpungeAmongTheFetchesChangeNothing) {
    ScriptedPeer peer(
        ImapLogin() +
        Script{
            Tagged("OK [READ-ONLY] done",
                   "* FLAGS (\\Seen)\r\n* 3 EXISTS\r\n* OK [UIDVALIDITY 77] x\r\n* 1 RECENT\r\n"),
            Tagged("OK", "* 4 EXISTS\r\n* SEARCH 3 9 4\r\n* OK still here\r\n"),
            Reply("* 1 FETCH (UID 3 BODY[HEADER] {23}\r\nSubject: a\r\nFrom: b\r\n\r\n)\r\n"
                  "* 1 EXPUNGE\r\n* 3 FETCH (FLAGS (\\Seen))\r\n"
                  "* 2 FETCH (BODY[HEADER] \"Subject: c\" UID 9)\r\n"
                  "* 1 FETCH (UID 4 BODY[HEADER] NIL)\r\n* 7 FETCH (UID 8 BODY[HEADER] NIL)\r\n"
                  "a4 OK done\r\n"),
            Tagged("OK", "* LIST (\\HasNoChildren) \"/\" INBOX\r\n"
                         "* LIST (\\Noselect) \"/\" Archive\r\n"
                         "* LIST () \"/\" \"Entw&APw-rfe\"\r\n* LIST () \"/\" {5}\r\nA \"b\"\r\n"),
            kBye});
    {
        CImapConnection conversation;
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", kPassword, 143), 1);
        std::optional<ImapFolderState> state = conversation.Examine("INBOX");
        ASSERT_TRUE(state.has_value());
        EXPECT_EQ(state->uidValidity, 77u);
        EXPECT_EQ(state->exists, 3u);
        std::optional<std::vector<uint32_t>> unseen = conversation.SearchUnseen();
        ASSERT_EQ(unseen, (std::vector<uint32_t>{3, 4, 9}));
        EXPECT_TRUE(conversation.FetchHeaders(*unseen));
        ScannedHeaders headers = conversation.TakeHeaders();
        ASSERT_EQ(headers.size(), 3u);
        const std::vector<ScannedHeader> expected = {
            {"a", "b", "(none)", "Subject: a\nFrom: b\n\n", 20, "3"},
            {"(untitled)", "(unknown)", "(none)", "", 0, "4"},
            {"c", "(unknown)", "(none)", "Subject: c\n", 11, "9"}};
        EXPECT_EQ(headers, expected);
        EXPECT_EQ(conversation.ListFolders(),
                  (std::vector<std::string>{"INBOX", "Entw\xC3\xBCrfe", "A \"b\""}));
        EXPECT_EQ(conversation.Close(), 1);
    }
    EXPECT_EQ(peer.Received(), kImapLogin +
                                   "a2 EXAMINE \"INBOX\"\r\na3 UID SEARCH UNSEEN UNDELETED\r\n"
                                   "a4 UID FETCH 3:4,9 (UID BODY.PEEK[HEADER])\r\n"
                                   "a5 LIST \"\" \"*\"\r\na6 LOGOUT\r\n");
}

TEST(ImapHostile, EveryBadResponseEndsAsAFailureWithAReason) {
    ChannelLimits limits;
    limits.maxLineBytes = 1000;
    limits.maxScanBytes = 64 * 1024;
    const Step examined = Tagged("OK", "* 2 EXISTS\r\n");
    const Step searched = Tagged("OK", "* SEARCH 1 2\r\n");
    std::string flood;
    for (int i = 0; i < 5000; ++i) {
        flood += "* OK still here\r\n";
    }
    struct Row {
        const char* name;
        Script script; // after the login
        std::string reason;
    };
    const std::vector<Row> rows = {
        {"a literal announced as 4 GiB",
         {examined, searched, Reply("* 1 FETCH (UID 1 BODY[HEADER] {4294967295}\r\n")},
         "@ announced 4294967295 bytes in one piece, more than the 4194304 bytes allowed."},
        {"a literal cut short",
         {examined, searched, Reply("* 1 FETCH (UID 1 BODY[HEADER] {50}\r\nSubject: a\r\n"),
          Hangup()},
         "@ closed the connection."},
        {"unbalanced parentheses",
         {examined, searched, Reply("* 1 FETCH (UID 1 BODY[HEADER] NIL\r\na4 OK\r\n")},
         "@ sent a response that cannot be read: 1 FETCH (UID 1 BODY[HEADER] NIL."},
        {"an EXPUNGE inside a FETCH",
         {examined, searched, Reply("* 1 FETCH (UID 1\r\n* 1 EXPUNGE\r\n)\r\na4 OK\r\n")},
         "@ sent a response that cannot be read: 1 FETCH (UID 1."},
        {"a NUL byte",
         {Reply(std::string("* OK a\0b\r\n", 10))},
         "@ sent a response that cannot be read: OK a b."},
        {"an answer to a tag never sent",
         {Reply("a9 OK done\r\n")},
         "@ answered a command that was never sent: a9 OK done."},
        {"BYE in the middle",
         {examined, Reply("* 1 EXISTS\r\n* BYE shutting down\r\n")},
         "@ ended the conversation: BYE shutting down."},
        {"more unseen than messages",
         {examined, Tagged("OK", "* SEARCH 1 2 3\r\n")},
         "@ listed more unseen messages than the folder INBOX holds."},
        {"a search result of other words",
         {examined, Tagged("OK", "* SEARCH 1 x\r\n")},
         "@ sent a search result that cannot be read: SEARCH 1 x."},
        {"a continuation for a complete command",
         {Reply("+ more?\r\n")},
         "@ asked for more of a command that was complete: + more?."},
        {"a flood in answer to one command",
         {Reply(flood)},
         "@ sent more than 65536 bytes in answer to one command."},
        {"an over-long line",
         {Reply("* OK " + std::string(2000, 'x') + "\r\n")},
         "@ sent a line longer than 1000 bytes."},
        {"EXAMINE refused",
         {Tagged("NO [NONEXISTENT] Unknown folder")},
         "The server would not open the folder INBOX: NO [NONEXISTENT] Unknown folder."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPeer peer(ImapLogin() + row.script + Script{kBye});
        CImapConnection conversation({}, limits);
        ASSERT_EQ(conversation.Connect(peer.Address(), "bob", kPassword, 143), 1);
        if (conversation.Examine("INBOX")) {
            if (std::optional<std::vector<uint32_t>> unseen = conversation.SearchUnseen()) {
                EXPECT_FALSE(conversation.FetchHeaders(*unseen));
            }
        }
        conversation.Close();
        EXPECT_EQ(conversation.FailureReason(), WithAddress(row.reason, peer));
    }
}

} // namespace
