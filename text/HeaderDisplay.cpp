#include "HeaderDisplay.h"

#include "ShownText.h"

#include <algorithm>
#include <array>
#include <functional>
#include <gmime/gmime.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// GMime decodes the encoded words: every charset iconv knows under its
// customary names, a character split over two words, the blanks between words
// dropped, and it parses the addresses of a From. What it would get wrong never
// reaches it: a word it cannot decode as written (it would drop it, cut it
// short or read it in another charset) is shown as it stands, B words go to it
// as Q (it loses the second of two padded B words in a row), and raw bytes are
// made UTF-8 first (it turns the bytes Windows-1252 leaves undefined into "?").

namespace {

using GlibText = std::unique_ptr<char, decltype(&g_free)>;

GMimeParserOptions* ParserOptions() {
    static GMimeParserOptions* const options = [] {
        g_mime_init();
        GMimeParserOptions* made = g_mime_parser_options_new();
        // For a word whose bytes are not in the charset it names.
        static const char* fallback[] = {"utf-8", "windows-1252", nullptr};
        g_mime_parser_options_set_fallback_charsets(made, fallback);
        // Words that touch other text ("Re:=?UTF-8?Q?...?=") are common, and
        // mail clients decode them.
        g_mime_parser_options_set_rfc2047_compliance_mode(made, GMIME_RFC_COMPLIANCE_LOOSE);
        return made;
    }();
    return options;
}

// The tab or line break of a fold is a blank between words, so control bytes
// are blanks before the words are found.
std::string Blanked(std::string_view text) {
    std::string blanked(text);
    for (char& c : blanked) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return blanked;
}

// Windows-1252 from 0x80 to 0x9F. The five bytes it leaves undefined keep
// their own code point, as browsers read them, so no byte is lost.
constexpr std::array<gunichar, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendWindows1252(std::string_view bytes, std::string& out) {
    for (unsigned char byte : bytes) {
        const gunichar c = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
        std::array<char, 6> utf8{};
        out.append(utf8.data(), static_cast<std::size_t>(g_unichar_to_utf8(c, utf8.data())));
    }
}

// Bytes that no charset labels, one word (between blanks) at a time, as mail
// clients read them: valid UTF-8 as it is, anything else as Windows-1252.
std::string ShownBytes(std::string_view bytes) {
    std::string shown;
    shown.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = std::min(bytes.find(' ', at), bytes.size());
        const std::string_view word = bytes.substr(at, end - at);
        if (g_utf8_validate(word.data(), static_cast<gssize>(word.size()), nullptr)) {
            shown += word;
        } else {
            AppendWindows1252(word, shown);
        }
        if (end < bytes.size()) {
            shown.push_back(' ');
        }
        at = end + 1;
    }
    return shown;
}

bool KnownCharset(std::string_view charset) {
    ParserOptions(); // GMime's converters come with its initialisation
    static std::mutex mutex;
    static std::map<std::string, bool, std::less<>> known;
    std::lock_guard lock(mutex);
    if (auto found = known.find(charset); found != known.end()) {
        return found->second;
    }
    const std::string name(charset);
    iconv_t converter = g_mime_iconv_open("UTF-8", name.c_str());
    const bool opened = converter != reinterpret_cast<iconv_t>(-1);
    if (opened) {
        g_mime_iconv_close(converter);
    }
    // Bounded: a hostile subject may name thousands of charsets.
    if (known.size() < 256) {
        known.emplace(name, opened);
    }
    return opened;
}

// The bytes of a B word's text, or nothing when it is not base64. Missing
// padding is common and is put right.
std::optional<std::string> Base64Bytes(std::string_view text) {
    const std::size_t digits = std::min(text.find('='), text.size());
    const bool digitsValid =
        std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(digits),
                    [](char c) { return g_ascii_isalnum(c) || c == '+' || c == '/'; });
    if (!digitsValid || text.find_first_not_of('=', digits) != std::string_view::npos ||
        digits % 4 == 1) {
        return std::nullopt;
    }
    const std::string padded =
        std::string(text.substr(0, digits)) + std::string((4 - digits % 4) % 4, '=');
    gsize length = 0;
    const std::unique_ptr<guchar, decltype(&g_free)> bytes(g_base64_decode(padded.c_str(), &length),
                                                           &g_free);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.get()), length) : std::string();
}

bool IsWordChar(char c) {
    return c > ' ' && c < 0x7F && c != '?';
}

// Where the encoded word that starts at "begin" with "=?" ends, by its shape
// "=?" charset "?" B or Q "?" text "?=" (RFC 2047); npos when it has not that
// shape.
std::size_t EncodedWordEnd(std::string_view text, std::size_t begin) {
    std::size_t at = begin + 2;
    auto skipWordChars = [&] {
        while (at < text.size() && IsWordChar(text[at])) {
            ++at;
        }
    };
    skipWordChars();
    if (at == begin + 2 || at + 2 >= text.size() || text[at] != '?' ||
        std::string_view("BbQq").find(text[at + 1]) == std::string_view::npos ||
        text[at + 2] != '?') {
        return std::string_view::npos;
    }
    at += 3;
    skipWordChars();
    if (at + 1 >= text.size() || text[at] != '?' || text[at + 1] != '=') {
        return std::string_view::npos;
    }
    return at + 2;
}

// The word as GMime is to read it, or nothing when it cannot be decoded as
// written: its charset is unknown or its B text is not base64. A B word goes
// to GMime as the same bytes in Q: GMime drops or garbles the second of two
// B words in a row when the first ends in padding.
std::optional<std::string> Decodable(std::string_view word) {
    const std::size_t charsetEnd = word.find('?', 2);
    const std::string_view charset = word.substr(2, charsetEnd - 2);
    // RFC 2231 lets a language follow the charset after a "*".
    if (!KnownCharset(charset.substr(0, charset.find('*')))) {
        return std::nullopt;
    }
    const char encoding = word[charsetEnd + 1];
    if (encoding == 'Q' || encoding == 'q') {
        return std::string(word);
    }
    const std::size_t textStart = charsetEnd + 3;
    const std::optional<std::string> bytes =
        Base64Bytes(word.substr(textStart, word.size() - textStart - 2));
    if (!bytes) {
        return std::nullopt;
    }
    std::string q = "=?" + std::string(charset) + "?Q?";
    for (unsigned char byte : *bytes) {
        constexpr std::string_view kHex = "0123456789ABCDEF";
        q += {'=', kHex[byte >> 4], kHex[byte & 0xF]};
    }
    return q + "?=";
}

struct Piece {
    enum class Kind { Text, Word, Malformed };
    Kind kind;
    std::string_view raw;
    std::string word; // a Word as GMime is to read it
};

std::vector<Piece> SplitEncodedWords(std::string_view text) {
    std::vector<Piece> pieces;
    std::size_t textStart = 0;
    for (std::size_t at = text.find("=?"); at != std::string_view::npos;) {
        const std::size_t end = EncodedWordEnd(text, at);
        if (end == std::string_view::npos) {
            at = text.find("=?", at + 1);
            continue;
        }
        if (at > textStart) {
            pieces.push_back({Piece::Kind::Text, text.substr(textStart, at - textStart), {}});
        }
        const std::string_view raw = text.substr(at, end - at);
        if (std::optional<std::string> word = Decodable(raw)) {
            pieces.push_back({Piece::Kind::Word, raw, std::move(*word)});
        } else {
            pieces.push_back({Piece::Kind::Malformed, raw, {}});
        }
        textStart = end;
        at = text.find("=?", end);
    }
    if (textStart < text.size()) {
        pieces.push_back({Piece::Kind::Text, text.substr(textStart), {}});
    }
    return pieces;
}

std::string GmimeDecoded(const std::string& words) {
    if (words.empty()) {
        return {};
    }
    const GlibText decoded(g_mime_utils_header_decode_text(ParserOptions(), words.c_str()),
                           &g_free);
    return decoded ? std::string(decoded.get()) : std::string();
}

std::string DecodedText(const std::vector<Piece>& pieces) {
    std::string shown;
    std::string words; // adjacent words and the blanks between them, for GMime
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        // Blanks between two words separate nothing (RFC 2047, 6.2).
        const bool betweenWords = piece.kind == Piece::Kind::Text && !words.empty() &&
                                  i + 1 < pieces.size() &&
                                  pieces[i + 1].kind == Piece::Kind::Word &&
                                  piece.raw.find_first_not_of(' ') == std::string_view::npos;
        if (piece.kind == Piece::Kind::Word) {
            words += piece.word;
        } else if (betweenWords) {
            words += piece.raw;
        } else {
            shown += GmimeDecoded(words);
            words.clear();
            shown += ShownBytes(piece.raw);
        }
    }
    return shown + GmimeDecoded(words);
}

std::string Sender(InternetAddress* address) {
    const char* addr = internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address));
    const std::string mailbox = addr != nullptr ? addr : "";
    const char* name = internet_address_get_name(address);
    return name == nullptr || *name == '\0' ? mailbox : std::string(name) + " <" + mailbox + ">";
}

std::string DecodedFrom(const std::vector<Piece>& pieces) {
    std::string prepared;
    for (const Piece& piece : pieces) {
        // Inside a name GMime would drop or garble it; the value is shown as
        // text, address and all, instead.
        if (piece.kind == Piece::Kind::Malformed) {
            return DecodedText(pieces);
        }
        // Only bytes above 0x7F change, so the address's structure stays.
        prepared += piece.kind == Piece::Kind::Word ? piece.word : ShownBytes(piece.raw);
    }
    std::unique_ptr<InternetAddressList, decltype(&g_object_unref)> list(
        internet_address_list_parse(ParserOptions(), prepared.c_str()), &g_object_unref);
    const int count = list ? internet_address_list_length(list.get()) : 0;
    if (count == 0) {
        return DecodedText(pieces);
    }
    std::string senders;
    for (int i = 0; i < count; ++i) {
        InternetAddress* address = internet_address_list_get_address(list.get(), i);
        // A group is what the parser makes of text with a colon in it (a
        // header line run into the From, say); written back it would gain a
        // ";" that is not there. Such text is shown as it stands.
        if (!INTERNET_ADDRESS_IS_MAILBOX(address)) {
            return DecodedText(pieces);
        }
        senders += (i == 0 ? "" : ", ") + Sender(address);
    }
    return senders;
}

} // namespace

std::string DecodeHeaderForDisplay(std::string_view raw, HeaderKind kind) {
    const std::string text = Blanked(raw);
    const std::vector<Piece> pieces = SplitEncodedWords(text);
    // Decoding may make controls of its own: an encoded word or an undefined
    // Windows-1252 byte can stand for a C1 control.
    return ShownText(kind == HeaderKind::From ? DecodedFrom(pieces) : DecodedText(pieces));
}
