// CImapConnection's commands and responses: tags, the untagged responses that
// may come at any moment, the reasons for a response that cannot be taken,
// and Close.
#include "ImapConnection.h"

#include "AsciiCase.h"
#include "Format.h"
#include "Translate.h"

#include <algorithm>
#include <charconv>

namespace {

// The number after a response code's name: "UIDVALIDITY 3857529045".
std::optional<uint64_t> CodeNumber(std::string_view code, std::string_view name) {
    if (code.size() <= name.size() + 1 || !EqualsUpper(code.substr(0, name.size()), name) ||
        code[name.size()] != ' ') {
        return std::nullopt;
    }
    std::string_view digits = code.substr(name.size() + 1);
    uint64_t number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc{} && end == digits.data() + digits.size() ? std::optional(number)
                                                                        : std::nullopt;
}

} // namespace

class ImapChannelSource : public ImapSource {
public:
    explicit ImapChannelSource(CImapConnection& conversation) : m_conversation(conversation) {}

    bool ReadLine(std::string& line) override {
        bool read = m_conversation.ReadReply(line) == ReadStatus::Line;
        bytes += line.size() + 2;
        return read;
    }
    bool ReadBytes(std::string& literal, std::size_t count) override {
        bool read = m_conversation.ReadBytes(literal, count) == ReadStatus::Line;
        bytes += count;
        return read;
    }

    std::size_t bytes = 0;

private:
    CImapConnection& m_conversation;
};

void ImapCapabilities::Take(std::string_view names) {
    *this = ImapCapabilities();
    while (!names.empty()) {
        std::size_t end = names.find(' ');
        std::string_view name = names.substr(0, end);
        names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
        for (auto [flag, listed] : {std::pair{&imap4rev2, "IMAP4REV2"},
                                    {&startTls, "STARTTLS"},
                                    {&loginDisabled, "LOGINDISABLED"},
                                    {&saslIr, "SASL-IR"},
                                    {&idle, "IDLE"},
                                    {&notify, "NOTIFY"},
                                    {&condStore, "CONDSTORE"},
                                    {&esearch, "ESEARCH"}}) {
            *flag = *flag || EqualsUpper(name, listed);
        }
        if (name.size() > 5 && EqualsUpper(name.substr(0, 5), "AUTH=")) {
            sasl.push_back(AsciiUpper(name.substr(5)));
        }
    }
    // IMAP4rev2 has these in itself.
    idle = idle || imap4rev2;
    saslIr = saslIr || imap4rev2;
    esearch = esearch || imap4rev2;
}

CImapConnection::CImapConnection(WaitHook waitHook, ChannelLimits limits)
    : MailConversation(std::move(waitHook), limits),
      m_responseLimits{limits.maxHeaderBytes, limits.maxHeaderBytes + limits.maxLineBytes,
                       ImapLimits().maxValues, ImapLimits().maxDepth} {}

CImapConnection::~CImapConnection() = default;

std::string CImapConnection::NextTag() {
    return "a" + std::to_string(++m_lastTag);
}

bool CImapConnection::ReadResponse(ImapResponse& response, std::size_t& bytes) {
    ImapChannelSource source(*this);
    uint64_t announced = 0;
    const ImapRead read = ReadImapResponse(source, m_responseLimits, response, announced);
    bytes += source.bytes;
    const char* server = m_serverName.c_str();
    switch (read) {
    case ImapRead::Response:
        Note(response);
        return true;
    case ImapRead::SourceFailed:
        return false;
    case ImapRead::Malformed:
        Fail(Refusal(
            Format(translate("ImapConnection", "%1 sent a response that cannot be read"), server),
            response.quote));
        break;
    case ImapRead::LiteralTooLarge:
        Fail(Format(
            translate("ImapConnection",
                      "%1 announced %2 bytes in one piece, more than the %3 bytes allowed."),
            server, static_cast<unsigned long long>(announced), m_responseLimits.maxLiteralBytes));
        break;
    case ImapRead::TooLarge:
        Fail(Format(
            translate("ImapConnection", "%1 sent a response of more than %2 bytes or %3 values."),
            server, m_responseLimits.maxResponseBytes, m_responseLimits.maxValues));
        break;
    }
    // What follows cannot be told apart from the rest of this response.
    ReleaseChannel();
    return false;
}

void CImapConnection::Note(const ImapResponse& response) {
    if (response.IsData("CAPABILITY")) {
        std::string names;
        for (std::size_t i = 1; i < response.data.size(); ++i) {
            names += response.data[i].text + " ";
        }
        m_capabilities.Take(names);
        ++m_capabilityLists;
    } else if (std::string_view(response.code).substr(0, 11) == "CAPABILITY ") {
        m_capabilities.Take(std::string_view(response.code).substr(11));
        ++m_capabilityLists;
    }
    if (response.kind == ImapResponse::Kind::Untagged && response.status == "OK") {
        if (std::optional<uint64_t> validity = CodeNumber(response.code, "UIDVALIDITY")) {
            m_folder.uidValidity = *validity <= UINT32_MAX ? static_cast<uint32_t>(*validity) : 0;
        } else if (std::optional<uint64_t> modSeq = CodeNumber(response.code, "HIGHESTMODSEQ")) {
            m_folder.highestModSeq = *modSeq;
        } else if (EqualsUpper(response.code, "NOMODSEQ")) {
            m_folder.highestModSeq.reset();
        }
    }
    if (response.IsData("EXISTS")) {
        std::optional<uint64_t> exists = response.data[0].Number();
        m_folder.exists = static_cast<uint32_t>(std::min<uint64_t>(exists.value_or(0), UINT32_MAX));
    }
    for (const char* change : {"EXISTS", "EXPUNGE", "VANISHED", "FETCH", "STATUS"}) {
        m_changed = m_changed || response.IsData(change);
    }
}

bool CImapConnection::Accept(const ImapResponse& response) {
    const char* server = m_serverName.c_str();
    if (response.kind == ImapResponse::Kind::Tagged) {
        auto sent = std::find(m_unanswered.begin(), m_unanswered.end(), response.tag);
        if (sent == m_unanswered.end()) {
            Fail(Refusal(
                Format(translate("ImapConnection", "%1 answered a command that was never sent"),
                       server),
                response.tag + " " + response.quote));
            ReleaseChannel();
            return false;
        }
        m_unanswered.erase(sent);
    } else if (response.status == "BYE" && !m_quitting) {
        Fail(Refusal(Format(translate("ImapConnection", "%1 ended the conversation"), server),
                     response.quote));
        ReleaseChannel();
        return false;
    }
    return true;
}

std::optional<ImapResponse> CImapConnection::Next(const std::string& tag, const Untagged& handler,
                                                  std::size_t budget, std::size_t& bytes) {
    ImapResponse response;
    while (ReadResponse(response, bytes)) {
        if (bytes > budget) {
            Fail(Format(
                translate("ImapConnection", "%1 sent more than %2 bytes in answer to one command."),
                m_serverName.c_str(), budget));
            ReleaseChannel();
            return std::nullopt;
        }
        if (!Accept(response)) {
            return std::nullopt;
        }
        // A tagged answer to an earlier command, such as a cancelled
        // exchange's, is passed over.
        if (response.kind == ImapResponse::Kind::Continuation || response.tag == tag) {
            return response;
        }
        if (response.kind == ImapResponse::Kind::Untagged && handler && !handler(response)) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<ImapResponse> CImapConnection::Command(const std::string& command,
                                                     const Untagged& handler) {
    const std::string tag = m_commandTag = NextTag();
    m_unanswered.push_back(tag);
    if (!Send({tag + " " + command})) {
        return std::nullopt;
    }
    std::size_t bytes = 0;
    std::optional<ImapResponse> answer = Next(tag, handler, m_limits.maxScanBytes, bytes);
    if (answer && answer->kind == ImapResponse::Kind::Continuation) {
        Fail(Refusal(
            Format(translate("ImapConnection", "%1 asked for more of a command that was complete"),
                   m_serverName.c_str())
                .c_str(),
            "+ " + answer->text));
        ReleaseChannel();
        return std::nullopt;
    }
    return answer;
}

bool CImapConnection::EndRefused(const std::string& what, const ImapResponse& answer) {
    Fail(Refusal(what.c_str(), answer.quote));
    Close();
    return false;
}

// LOGOUT's answers (BYE, then its tagged OK) are read so that the server
// ends the session before the connection closes; what they meet is no
// reason for failure.
int CImapConnection::Close() {
    if (!m_open) {
        return 0;
    }
    if (m_inChannel) {
        m_closeRequested = true;
        return 0;
    }
    m_closeRequested = false;
    m_quitting = true;
    const std::string tag = NextTag();
    m_unanswered.push_back(tag);
    std::vector<std::string> lines{tag + " LOGOUT"};
    if (m_idling) {
        lines.insert(lines.begin(), "DONE");
        m_idling = false;
    }
    if (Send(lines)) {
        std::size_t bytes = 0;
        while (m_open) {
            std::optional<ImapResponse> answer = Next(tag, {}, m_limits.maxPushBytes, bytes);
            if (!answer || answer->kind == ImapResponse::Kind::Tagged) {
                break;
            }
        }
    }
    m_quitting = false;
    ShutDown();
    return 1;
}
