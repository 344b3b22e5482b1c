// One response of an IMAP server, read by the small part of the grammar of
// RFC 3501 (IMAP4rev1) and RFC 9051 (IMAP4rev2), section 9, that Tarvo's
// commands draw: a tagged or untagged status with its response code and
// text, untagged data as atoms, numbers, quoted strings, literals, NIL and
// nested lists, and a continuation request. A literal is read as a counted
// run of bytes and the response goes on in the line after it. Everything is
// bounded: a literal's size before a byte of it is read, the whole response,
// the values in it and their nesting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ImapValue {
    enum class Kind : uint8_t { Atom, String, Nil, List };
    Kind kind = Kind::Atom;
    std::string text;            // an atom, or a quoted string or literal's bytes
    std::vector<ImapValue> list; // a parenthesised list's values

    // An atom of this name, in any case.
    bool Is(std::string_view name) const;
    // An atom of digits alone that fits 64 bits.
    std::optional<uint64_t> Number() const;
};

struct ImapResponse {
    enum class Kind { Untagged, Tagged, Continuation };
    Kind kind = Kind::Untagged;
    std::string tag;
    // OK, NO, BAD, PREAUTH or BYE, in upper case; empty for data.
    std::string status;
    std::string code; // of a status, within its brackets: "UIDVALIDITY 3857529045"
    // A status's human text; a continuation's text or base64; SEARCH's
    // numbers, which are kept as text as a large mailbox has many.
    std::string text;
    std::vector<ImapValue> data; // "* 23 EXISTS" is 23 and EXISTS
    std::string quote;           // the start of the first line after its tag, for a reason

    // Untagged data named name ("EXISTS" of "* 23 EXISTS", "LIST" of "* LIST ...").
    bool IsData(std::string_view name) const;
};

// Where a response's lines and literals come from: the channel, or bytes in
// a test.
class ImapSource {
public:
    virtual ~ImapSource() = default;
    // False when none can be had; the source knows why.
    virtual bool ReadLine(std::string& line) = 0;
    virtual bool ReadBytes(std::string& bytes, std::size_t count) = 0;
};

struct ImapLimits {
    std::size_t maxLiteralBytes = 4 * 1024 * 1024;
    std::size_t maxResponseBytes = 5 * 1024 * 1024; // lines and literals together
    std::size_t maxValues = 64 * 1024;
    std::size_t maxDepth = 16;
};

enum class ImapRead {
    Response,
    SourceFailed,
    Malformed,       // not a response of the grammar
    LiteralTooLarge, // announced larger than the bound; none of it was read
    TooLarge,        // more bytes or values than a response may hold
};

// The announced size of the literal that failed, for the reason.
ImapRead ReadImapResponse(ImapSource& source, const ImapLimits& limits, ImapResponse& response,
                          uint64_t& literalAnnounced);

// The other way, into a command: a quoted string, its '"' and '\\' escaped.
std::string ImapQuoted(std::string_view text);
