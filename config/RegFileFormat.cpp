#include "RegFileFormat.h"

#include "Utf8.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr uint32_t kRegBinary = 3;
constexpr std::size_t kHexLineWidth = 76;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && !RegNameLess{}(s.substr(0, prefix.size()), prefix) &&
           !RegNameLess{}(prefix, s.substr(0, prefix.size()));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A run of 1 to maxDigits hex digits making up the whole of s.
std::optional<uint32_t> ParseHexNumber(std::string_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (char c : s) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = (number << 4) | static_cast<uint32_t>(digit);
    }
    return number;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

// Reads a quoted text at the start of s and leaves s just past its closing quote.
std::optional<std::string> TakeQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\') {
            if (++i == s.size() || (s[i] != '\\' && s[i] != '"')) {
                return std::nullopt;
            }
            c = s[i];
        }
        if (c == '\0') {
            return std::nullopt;
        }
        text += c;
    }
    return std::nullopt;
}

// Text that reads as text in an editor: valid UTF-8 without control
// characters (C0, DEL, or C1, which UTF-8 writes as C2 80 to C2 9F). Anything
// else is written as hex bytes, which keep every byte as it was.
bool IsQuotable(const RegValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != '\0') {
        return false;
    }
    const std::string_view text(value.data.data(), value.data.size() - 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 =
            c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (c < 0x20 || c == 0x7F || c1) {
            return false;
        }
    }
    return IsValidUtf8(text);
}

void AppendValueLine(std::string& out, std::string_view name, const RegValue& value) {
    const std::size_t lineStart = out.size();
    if (name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, name);
    }
    out += '=';
    char buffer[32];
    if (value.AsDword()) {
        std::snprintf(buffer, sizeof buffer, "dword:%08x", *value.AsDword());
        out += buffer;
    } else if (IsQuotable(value)) {
        AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
    } else {
        if (value.type == kRegBinary) {
            out += "hex:";
        } else {
            std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
            out += buffer;
        }
        std::size_t width = out.size() - lineStart;
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            if (i > 0) {
                out += ',';
                if (width + 3 > kHexLineWidth) {
                    out += "\\\n  ";
                    width = 2;
                }
            }
            std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(value.data[i]));
            out += buffer;
            width += 3;
        }
    }
    out += '\n';
}

// A key's line is written where it says something: the key holds values, or
// nothing below it brings it back. The keys above are implied by their
// subkeys' lines, which keeps the file about as long as the tree however deep
// it goes (a line per level, each with the whole path, grows with its square).
void AppendKey(std::string& out, const std::string& path, const RegNode& node) {
    if (!node.values.empty() || (!path.empty() && node.subkeys.empty())) {
        out += "\n[";
        out += kRoot;
        out += path;
        out += "]\n";
        for (const auto& [name, value] : node.values) {
            AppendValueLine(out, name, value);
        }
    }
    for (const auto& [name, child] : node.subkeys) {
        AppendKey(out, path + '\\' + name, *child);
    }
}

class Parser {
public:
    Parser(std::string_view text, MemoryRegistry& into) : m_text(text), m_into(into) {}

    bool Run() {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
            m_text.remove_prefix(3);
        }
        bool headerSeen = false;
        while (auto line = NextLine()) {
            if (line->empty() || line->front() == ';') {
                continue;
            }
            if (!headerSeen) {
                headerSeen = true;
                if (*line == kHeader) {
                    continue;
                }
                m_clean = false;
            }
            if (line->front() == '[') {
                KeyLine(*line);
            } else {
                ValueLine(*line);
            }
        }
        return m_clean;
    }

private:
    std::optional<std::string_view> NextLine() {
        if (m_text.empty()) {
            return std::nullopt;
        }
        const std::size_t end = m_text.find('\n');
        const std::string_view line = m_text.substr(0, end);
        m_text.remove_prefix(end == std::string_view::npos ? m_text.size() : end + 1);
        return TrimRight(TrimLeft(line));
    }

    void KeyLine(std::string_view line) {
        m_key.reset();
        if (line.back() != ']') {
            m_clean = false;
            return;
        }
        std::string_view path = line.substr(1, line.size() - 2);
        if (!StartsWithNoCase(path, kRoot)) {
            m_clean = false;
            return;
        }
        path.remove_prefix(kRoot.size());
        if (!path.empty() && path.front() != '\\') {
            m_clean = false;
            return;
        }
        path = path.substr(path.empty() ? 0 : 1);
        if (path.empty() && line.size() - 2 > kRoot.size()) {
            m_clean = false; // "[HKEY_CURRENT_USER\]"
            return;
        }
        if (!m_into.CreateKey(path)) {
            m_clean = false;
            return;
        }
        m_key = std::string(path);
    }

    void ValueLine(std::string_view line) {
        std::optional<std::string> name;
        if (line.front() == '@') {
            name = std::string();
            line.remove_prefix(1);
        } else {
            name = TakeQuoted(line);
        }
        line = TrimLeft(line);
        if (!name || line.empty() || line.front() != '=') {
            m_clean = false;
            return;
        }
        line = TrimLeft(line.substr(1));
        const std::optional<RegValue> value = ParseData(line);
        if (!m_key || !value || !m_into.SetValue(*m_key, *name, *value)) {
            m_clean = false;
        }
    }

    std::optional<RegValue> ParseData(std::string_view data) {
        if (!data.empty() && data.front() == '"') {
            auto text = TakeQuoted(data);
            if (!text || !data.empty()) {
                return std::nullopt;
            }
            return RegValue::Sz(*text);
        }
        if (StartsWithNoCase(data, "dword:")) {
            const auto number = ParseHexNumber(data.substr(6), 8);
            return number ? std::optional(RegValue::Dword(*number)) : std::nullopt;
        }
        if (!StartsWithNoCase(data, "hex")) {
            return std::nullopt;
        }
        data.remove_prefix(3);
        RegValue value{kRegBinary, {}};
        if (!data.empty() && data.front() == '(') {
            const std::size_t close = data.find(')');
            const auto type = ParseHexNumber(data.substr(1, close - 1), 8);
            if (close == std::string_view::npos || !type) {
                return std::nullopt;
            }
            value.type = *type;
            data.remove_prefix(close + 1);
        }
        if (data.empty() || data.front() != ':') {
            return std::nullopt;
        }
        data.remove_prefix(1);
        return ParseHexBytes(data, value);
    }

    // Byte lists may go on over lines that end in a backslash.
    std::optional<RegValue> ParseHexBytes(std::string_view data, RegValue value) {
        while (true) {
            const bool continued = !data.empty() && data.back() == '\\';
            if (continued) {
                data.remove_suffix(1);
            }
            while (!(data = TrimLeft(data)).empty()) {
                const std::size_t comma = data.find(',');
                const auto byte = ParseHexNumber(TrimRight(data.substr(0, comma)), 2);
                if (!byte) {
                    return std::nullopt;
                }
                value.data += static_cast<char>(*byte);
                data.remove_prefix(comma == std::string_view::npos ? data.size() : comma + 1);
            }
            if (!continued) {
                return value;
            }
            // A cut-off list must not swallow the key line after it.
            const std::string_view unread = m_text;
            const auto next = NextLine();
            if (!next || next->empty() || HexDigit(next->front()) < 0) {
                m_text = unread;
                return std::nullopt;
            }
            data = *next;
        }
    }

    std::string_view m_text;
    MemoryRegistry& m_into;
    std::optional<std::string> m_key;
    bool m_clean = true;
};

} // namespace

std::string FormatRegFile(const RegNode& root) {
    std::string out(kHeader);
    out += '\n';
    AppendKey(out, "", root);
    return out;
}

bool ParseRegFile(std::string_view text, MemoryRegistry& into) {
    return Parser(text, into).Run();
}
