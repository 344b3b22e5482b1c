#include "HeaderBlock.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

bool StartsWithLowered(const std::string& line, std::string_view lowerName) {
    return line.size() >= lowerName.size() &&
           std::equal(lowerName.begin(), lowerName.end(), line.begin(), [](char name, char c) {
               return name == ((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
           });
}

} // namespace

void HeaderBlock::Reset() {
    m_subject = kNoSubject;
    m_from = kNoSender;
    m_messageId = kNoMessageId;
    m_text.clear();
    m_unfolding = nullptr;
}

void HeaderBlock::Add(std::string line) {
    line.erase(line.find_last_not_of(kWhiteSpace) + 1);
    m_text.append(line).push_back('\n');
    if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        if (m_unfolding != nullptr) {
            m_unfolding->append(line);
        }
        return;
    }
    // The character after the name, a colon when well formed, is dropped unseen.
    const std::array<std::pair<std::string_view, std::string*>, 3> fields{
        {{"subject", &m_subject}, {"from", &m_from}, {"message-id", &m_messageId}}};
    m_unfolding = nullptr;
    for (const auto& [lowerName, value] : fields) {
        if (StartsWithLowered(line, lowerName)) {
            *value =
                line.size() > lowerName.size() ? line.substr(lowerName.size() + 1) : std::string();
            m_unfolding = value;
        }
    }
}

void HeaderBlock::AddLines(std::string_view block) {
    while (!block.empty()) {
        std::size_t end = block.find('\n');
        Add(std::string(block.substr(0, end)));
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
    }
}

ScannedHeader HeaderBlock::Make(std::string_view uniqueId) {
    for (std::string* value : {&m_subject, &m_from, &m_messageId}) {
        value->erase(0, value->find_first_not_of(kWhiteSpace));
    }
    return ScannedHeader(m_subject, m_from, m_messageId, m_text, m_text.size(), uniqueId);
}

void HeaderTextBudget::Added(ScannedHeaders& headers) {
    m_kept += headers.back().Text().size();
    while (m_kept > m_budget && m_oldestKept < headers.size()) {
        m_kept -= headers[m_oldestKept].Text().size();
        headers[m_oldestKept].DropText();
        ++m_oldestKept;
    }
}
