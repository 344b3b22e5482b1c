// The response reader on bytes alone: what it makes of the grammar, where it
// stops a hostile server, and that no bytes at all can crash it or make it
// read past its bounds. Folder names both ways.
#include "ImapResponse.h"

#include "MailboxName.h"

#include <gtest/gtest.h>
#include <random>

namespace {

class BytesSource : public ImapSource {
public:
    explicit BytesSource(std::string bytes) : m_bytes(std::move(bytes)) {}

    bool ReadLine(std::string& line) override {
        std::size_t end = m_bytes.find('\n', m_at);
        if (end == std::string::npos) {
            return false;
        }
        line = m_bytes.substr(m_at, end - m_at);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        m_at = end + 1;
        return true;
    }
    bool ReadBytes(std::string& bytes, std::size_t count) override {
        if (m_bytes.size() - m_at < count) {
            return false;
        }
        bytes = m_bytes.substr(m_at, count);
        m_at += count;
        return true;
    }

private:
    std::string m_bytes;
    std::size_t m_at = 0;
};

// The response written back in one line: lists in (), strings in "", NIL.
std::string Shown(const std::vector<ImapValue>& values) {
    std::string shown;
    for (const ImapValue& value : values) {
        shown += shown.empty() ? "" : " ";
        switch (value.kind) {
        case ImapValue::Kind::List:
            shown += "(" + Shown(value.list) + ")";
            break;
        case ImapValue::Kind::String:
            shown += "\"" + value.text + "\"";
            break;
        case ImapValue::Kind::Nil:
            shown += "NIL";
            break;
        case ImapValue::Kind::Atom:
            shown += value.text;
            break;
        }
    }
    return shown;
}

ImapRead Read(const std::string& bytes, ImapResponse& response, const ImapLimits& limits = {}) {
    BytesSource source(bytes);
    uint64_t announced = 0;
    return ReadImapResponse(source, limits, response, announced);
}

TEST(ImapResponse, ReadsTheGrammarTarvoUses) {
    struct Row {
        std::string bytes;
        std::string tag, status, code, text, data;
    };
    const std::vector<Row> rows = {
        {"* OK [CAPABILITY IMAP4rev1 IDLE] ready\r\n", "", "OK", "CAPABILITY IMAP4rev1 IDLE",
         "ready", ""},
        {"a1 no [AUTHENTICATIONFAILED] bad\r\n", "a1", "NO", "AUTHENTICATIONFAILED", "bad", ""},
        {"* BYE\r\n", "", "BYE", "", "", ""},
        {"+ \r\n", "", "", "", "", ""},
        {"+ dGVzdA==\r\n", "", "", "", "dGVzdA==", ""},
        {"* 23 EXISTS\r\n", "", "", "", "", "23 EXISTS"},
        {"* SEARCH 2 84 882\r\n", "", "", "", "2 84 882", "SEARCH"},
        {"* ESEARCH (TAG \"a3\") UID ALL 1:3,5\r\n", "", "", "", "",
         "ESEARCH (TAG \"a3\") UID ALL 1:3,5"},
        {"* 12 FETCH (UID 5 FLAGS (\\Seen) BODY[HEADER] {11}\r\nSubject: a\n)\r\n", "", "", "", "",
         "12 FETCH (UID 5 FLAGS (\\Seen) BODY[HEADER] \"Subject: a\n\")"},
        {"* 1 FETCH (BODY[HEADER.FIELDS (FROM TO)] NIL UID 9)\r\n", "", "", "", "",
         "1 FETCH (BODY[HEADER.FIELDS (FROM TO)] NIL UID 9)"},
        {"* LIST (\\HasNoChildren) \"/\" {5}\r\nA \"b\"\r\n", "", "", "", "",
         "LIST (\\HasNoChildren) \"/\" \"A \"b\"\""},
        {"* LIST () NIL \"q\\\"\\\\\"\r\n", "", "", "", "", "LIST () NIL \"q\"\\\""},
        {"* STATUS x ( MESSAGES 2  UNSEEN 1 )\r\n", "", "", "", "",
         "STATUS x (MESSAGES 2 UNSEEN 1)"},
        {"* 1 FETCH (BODY[HEADER] {0}\r\n)\r\n", "", "", "", "", "1 FETCH (BODY[HEADER] \"\")"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        ImapResponse response;
        ASSERT_EQ(Read(row.bytes, response), ImapRead::Response);
        EXPECT_EQ(response.tag, row.tag);
        EXPECT_EQ(response.status, row.status);
        EXPECT_EQ(response.code, row.code);
        EXPECT_EQ(response.text, row.text);
        EXPECT_EQ(Shown(response.data), row.data);
    }
}

TEST(ImapResponse, StopsAtWhatIsNoResponseOrPassesABound) {
    ImapLimits limits;
    limits.maxLiteralBytes = 100;
    limits.maxResponseBytes = 200;
    limits.maxValues = 50;
    limits.maxDepth = 4;
    const std::vector<std::pair<std::string, ImapRead>> rows = {
        {"* 1 FETCH (BODY[HEADER] {4294967295}\r\n", ImapRead::LiteralTooLarge},
        {"* 1 FETCH (BODY[HEADER] {99999999999999999999999}\r\n", ImapRead::LiteralTooLarge},
        {"* 1 FETCH (BODY[HEADER] {101}\r\n" + std::string(101, 'x') + ")\r\n",
         ImapRead::LiteralTooLarge},
        {"* 1 FETCH (BODY[HEADER] {10}\r\nshort", ImapRead::SourceFailed},
        {"* 1 FETCH (UID 1\r\n", ImapRead::Malformed},
        {"* 1 FETCH (UID 1))\r\n", ImapRead::Malformed},
        {"* 1 FETCH (UID 1\r\n* 2 EXPUNGE\r\n", ImapRead::Malformed},
        {"* 1 FETCH (X \"unterminated)\r\n", ImapRead::Malformed},
        {"* 1 FETCH (X {5} more)\r\n", ImapRead::Malformed},
        {"* 1 FETCH (X {x})\r\n", ImapRead::Malformed},
        {std::string("* OK a\0b\r\n", 10), ImapRead::Malformed},
        {"* ((((((x))))))\r\n", ImapRead::Malformed},
        {"a1 23 EXISTS\r\n", ImapRead::Malformed},
        {"a1\r\n", ImapRead::Malformed},
        {"\r\n", ImapRead::Malformed},
        {"* OK [CAPABILITY IMAP4rev1 ready\r\n", ImapRead::Malformed},
        {"* LIST " + std::string(130, 'x') + " {90}\r\n" + std::string(90, 'y') + " z\r\n",
         ImapRead::TooLarge},
        {"*" + std::string(60, ' ') +
             "a a a a a a a a a a a a a a a a a a a a a a a a a a a a"
             " a a a a a a a a a a a a a a a a a a a a a a a a\r\n",
         ImapRead::TooLarge},
        {"", ImapRead::SourceFailed},
    };
    for (const auto& [bytes, expected] : rows) {
        SCOPED_TRACE(bytes);
        ImapResponse response;
        EXPECT_EQ(Read(bytes, response, limits), expected);
    }
}

// Responses cut, spliced and sprinkled with the bytes the grammar turns on:
// whatever the result, the reader ends, within its bounds, and ASan and UBSan
// find nothing.
TEST(ImapResponse, NoBytesCrashTheReader) {
    const std::vector<std::string> seeds = {
        "* 12 FETCH (UID 5 FLAGS (\\Seen) BODY[HEADER] {11}\r\nSubject: a\n)\r\n",
        "* ESEARCH (TAG \"a3\") UID ALL 1:3,5\r\n",
        "* LIST (\\HasNoChildren) \"/\" {5}\r\nA \"b\"\r\n",
        "a1 OK [CAPABILITY IMAP4rev1] done\r\n",
        "* SEARCH 1 2 (MODSEQ 3)\r\n",
    };
    const std::string special = "(){}\"\\[] \r\n\0*+0123456789";
    ImapLimits limits;
    limits.maxLiteralBytes = 64;
    limits.maxResponseBytes = 256;
    limits.maxValues = 40;
    limits.maxDepth = 5;
    std::mt19937 random(20261209);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = seeds[random() % seeds.size()];
        for (int change = 1 + random() % 6; change > 0; --change) {
            std::size_t at = random() % (bytes.size() + 1);
            char c =
                random() % 2 ? special[random() % special.size()] : static_cast<char>(random());
            switch (random() % 4) {
            case 0:
                bytes.insert(at, 1, c);
                break;
            case 1:
                if (at < bytes.size()) {
                    bytes[at] = c;
                }
                break;
            case 2:
                bytes.resize(at);
                break;
            default:
                bytes.insert(at, bytes.substr(bytes.empty() ? 0 : random() % bytes.size()));
                break;
            }
        }
        ImapResponse response;
        if (Read(bytes, response, limits) == ImapRead::Response) {
            EXPECT_LE(response.quote.size(), 256u);
            EXPECT_LE(response.data.size(), limits.maxValues);
        }
    }
}

TEST(MailboxName, IsModifiedUtf7OnTheWireAndUtf8ForTheUser) {
    const std::vector<std::pair<std::string, std::string>> both = {
        {"INBOX", "INBOX"},
        {"Entw\xC3\xBCrfe", "Entw&APw-rfe"},
        {"~peter/mail/\xE5\x8F\xB0\xE5\x8C\x97/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
         "~peter/mail/&U,BTFw-/&ZeVnLIqe-"},
        {"A&B", "A&-B"},
        {"\xF0\x9F\x98\x80", "&2D3eAA-"},
        {"tab\there", "tab&AAk-here"},
    };
    for (const auto& [utf8, wire] : both) {
        SCOPED_TRACE(wire);
        EXPECT_EQ(EncodeMailboxName(utf8), wire);
        EXPECT_EQ(DecodeMailboxName(wire), utf8);
    }
    // Not modified UTF-7: shown as it came.
    for (const char* wire : {"&Jjo", "&AGE-", "&A-", "&2D0-", "a&*-b", "&AP-"}) {
        EXPECT_EQ(DecodeMailboxName(wire), wire);
    }
    EXPECT_EQ(EncodeMailboxName("bad\xFF"), "bad&,,0-");
}

} // namespace
