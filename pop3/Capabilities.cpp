#include "Capabilities.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>

namespace {

bool EqualsIgnoringCase(std::string_view word, std::string_view upperName) {
    return word.size() == upperName.size() &&
           std::equal(word.begin(), word.end(), upperName.begin(), [](char c, char name) {
               return name == ((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
           });
}

} // namespace

bool Pop3Capabilities::Add(const std::string& line) {
    if (lines.size() >= kMaxLines || m_bytes + line.size() > kMaxBytes) {
        return false;
    }
    m_bytes += line.size();
    lines.push_back(line);
    // The keyword is the first word; only SASL's arguments matter here.
    const std::string_view keyword = std::string_view(line).substr(0, line.find_first_of(" \t"));
    if (EqualsIgnoringCase(keyword, "SASL")) {
        std::istringstream words(line.substr(keyword.size()));
        for (std::string mechanism; words >> mechanism;) {
            std::transform(mechanism.begin(), mechanism.end(), mechanism.begin(), [](char c) {
                return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            });
            sasl.push_back(std::move(mechanism));
        }
    }
    const std::array<std::pair<std::string_view, bool*>, 6> known{{{"STLS", &stls},
                                                                   {"PIPELINING", &pipelining},
                                                                   {"UIDL", &uidl},
                                                                   {"TOP", &top},
                                                                   {"USER", &user},
                                                                   {"UTF8", &utf8}}};
    for (const auto& [name, flag] : known) {
        if (EqualsIgnoringCase(keyword, name)) {
            *flag = true;
        }
    }
    return true;
}
