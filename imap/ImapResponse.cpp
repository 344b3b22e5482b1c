#include "ImapResponse.h"

#include "AsciiCase.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::size_t kQuotedBytes = 256;

class Parser {
public:
    Parser(ImapSource& source, const ImapLimits& limits) : m_source(source), m_limits(limits) {}

    ImapRead Read(ImapResponse& response, uint64_t& announced);

private:
    bool NextLine();
    bool StatusOrData(ImapResponse& response);
    bool Values(std::vector<ImapValue>& into, std::size_t depth);
    bool Value(ImapValue& value, std::size_t depth);
    bool Quoted(std::string& text);
    bool Literal(std::string& bytes);
    void Atom(std::string& text);
    bool Fail(ImapRead why) {
        m_why = why;
        return false;
    }
    bool AtEnd() const { return m_at >= m_line.size(); }
    char Peek() const { return m_line[m_at]; }

    ImapSource& m_source;
    const ImapLimits& m_limits;
    std::string m_line;
    std::size_t m_at = 0;
    std::size_t m_bytes = 0;
    std::size_t m_values = 0;
    uint64_t m_announced = 0;
    ImapRead m_why = ImapRead::Malformed;
};

ImapRead Parser::Read(ImapResponse& response, uint64_t& announced) {
    response = ImapResponse();
    const bool lineRead = NextLine();
    std::size_t space = m_line.find(' ');
    std::string_view first = std::string_view(m_line).substr(0, space);
    m_at = space == std::string::npos ? m_line.size() : space + 1;
    response.quote = m_line.substr(m_at, kQuotedBytes);
    if (!lineRead) {
        return m_why;
    }
    bool read = true;
    if (first == "+") {
        response.kind = ImapResponse::Kind::Continuation;
        response.text = m_line.substr(m_at);
    } else if (first.empty() || space == std::string::npos) {
        read = Fail(ImapRead::Malformed);
    } else {
        response.kind = first == "*" ? ImapResponse::Kind::Untagged : ImapResponse::Kind::Tagged;
        response.tag = response.kind == ImapResponse::Kind::Tagged ? std::string(first) : "";
        read = StatusOrData(response);
    }
    announced = m_announced;
    return read ? ImapRead::Response : m_why;
}

// Every line of a response counts towards its bound; a NUL has no place in one.
bool Parser::NextLine() {
    if (!m_source.ReadLine(m_line)) {
        return Fail(ImapRead::SourceFailed);
    }
    m_at = 0;
    m_bytes += m_line.size() + 2;
    if (m_bytes > m_limits.maxResponseBytes) {
        return Fail(ImapRead::TooLarge);
    }
    return m_line.find('\0') == std::string::npos || Fail(ImapRead::Malformed);
}

bool Parser::StatusOrData(ImapResponse& response) {
    std::size_t space = m_line.find(' ', m_at);
    std::string word = AsciiUpper(std::string_view(m_line).substr(m_at, space - m_at));
    const bool tagged = response.kind == ImapResponse::Kind::Tagged;
    if (word == "OK" || word == "NO" || word == "BAD" || word == "BYE" || word == "PREAUTH") {
        response.status = word;
        m_at = space == std::string::npos ? m_line.size() : space + 1;
        if (!AtEnd() && Peek() == '[') {
            std::size_t close = m_line.find(']', m_at);
            if (close == std::string::npos) {
                return Fail(ImapRead::Malformed);
            }
            response.code = m_line.substr(m_at + 1, close - m_at - 1);
            m_at = std::min(close + 2, m_line.size());
        }
        response.text = m_line.substr(m_at);
        return true;
    }
    if (tagged) {
        return Fail(ImapRead::Malformed);
    }
    // "* SEARCH 2 3 5" or "* 5 SEARCH" never; the numbers stay text.
    if (word == "SEARCH") {
        response.data.push_back({ImapValue::Kind::Atom, word, {}});
        response.text = space == std::string::npos ? "" : m_line.substr(space + 1);
        return true;
    }
    return Values(response.data, 0) && (AtEnd() || Fail(ImapRead::Malformed));
}

// Values separated by blanks, up to the line's end or a closing parenthesis.
bool Parser::Values(std::vector<ImapValue>& into, std::size_t depth) {
    while (!AtEnd() && Peek() != ')') {
        if (Peek() == ' ') {
            ++m_at;
            continue;
        }
        if (++m_values > m_limits.maxValues) {
            return Fail(ImapRead::TooLarge);
        }
        into.emplace_back();
        if (!Value(into.back(), depth)) {
            return false;
        }
    }
    return true;
}

bool Parser::Value(ImapValue& value, std::size_t depth) {
    switch (Peek()) {
    case '(':
        if (depth + 1 > m_limits.maxDepth) {
            return Fail(ImapRead::Malformed);
        }
        ++m_at;
        value.kind = ImapValue::Kind::List;
        if (!Values(value.list, depth + 1)) {
            return false;
        }
        if (AtEnd()) {
            return Fail(ImapRead::Malformed);
        }
        ++m_at;
        return true;
    case '"':
        value.kind = ImapValue::Kind::String;
        return Quoted(value.text);
    case '{':
        value.kind = ImapValue::Kind::String;
        return Literal(value.text);
    default:
        Atom(value.text);
        if (EqualsUpper(value.text, "NIL")) {
            value.kind = ImapValue::Kind::Nil;
        }
        return true;
    }
}

bool Parser::Quoted(std::string& text) {
    for (++m_at; !AtEnd(); ++m_at) {
        char c = Peek();
        if (c == '"') {
            ++m_at;
            return true;
        }
        if (c == '\\' && ++m_at == m_line.size()) {
            break;
        }
        text.push_back(m_line[m_at]);
    }
    return Fail(ImapRead::Malformed);
}

// "{n}" ends its line; n bytes follow, then the rest of the response.
bool Parser::Literal(std::string& bytes) {
    const char* digits = m_line.data() + m_at + 1;
    const char* end = m_line.data() + m_line.size();
    uint64_t size = 0;
    auto [after, error] = std::from_chars(digits, end, size);
    if (error == std::errc::result_out_of_range) {
        size = UINT64_MAX;
    } else if (error != std::errc{} || after == end || *after != '}' || after + 1 != end) {
        return Fail(ImapRead::Malformed);
    }
    if (size > m_limits.maxLiteralBytes) {
        m_announced = size;
        return Fail(ImapRead::LiteralTooLarge);
    }
    m_bytes += size;
    if (m_bytes > m_limits.maxResponseBytes) {
        return Fail(ImapRead::TooLarge);
    }
    if (!m_source.ReadBytes(bytes, size)) {
        return Fail(ImapRead::SourceFailed);
    }
    return NextLine();
}

// An atom takes a bracketed section whole, blanks and all: BODY[HEADER].
void Parser::Atom(std::string& text) {
    std::size_t start = m_at;
    bool bracketed = false;
    for (; !AtEnd(); ++m_at) {
        char c = Peek();
        if (c == '[' || c == ']') {
            bracketed = c == '[';
        } else if (!bracketed && (c == ' ' || c == '(' || c == ')' || c == '"' || c == '{')) {
            break;
        }
    }
    text.assign(m_line, start, m_at - start);
}

} // namespace

bool ImapValue::Is(std::string_view name) const {
    return kind == Kind::Atom && EqualsUpper(text, name);
}

std::optional<uint64_t> ImapValue::Number() const {
    uint64_t number = 0;
    const char* end = text.data() + text.size();
    auto [after, error] = std::from_chars(text.data(), end, number);
    if (kind != Kind::Atom || text.empty() || error != std::errc{} || after != end) {
        return std::nullopt;
    }
    return number;
}

bool ImapResponse::IsData(std::string_view name) const {
    if (kind != Kind::Untagged || !status.empty() || data.empty()) {
        return false;
    }
    // A message number comes first in "* 23 EXISTS" and "* 5 FETCH (...)".
    const ImapValue& named = data[0].Number() && data.size() > 1 ? data[1] : data[0];
    return named.Is(name);
}

ImapRead ReadImapResponse(ImapSource& source, const ImapLimits& limits, ImapResponse& response,
                          uint64_t& literalAnnounced) {
    return Parser(source, limits).Read(response, literalAnnounced);
}

std::string ImapQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}
