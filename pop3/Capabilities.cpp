#include "Capabilities.h"

#include "AsciiCase.h"

#include <array>
#include <sstream>
#include <string_view>

bool Pop3Capabilities::Add(const std::string& line) {
    if (lines.size() >= kMaxLines || m_bytes + line.size() > kMaxBytes) {
        return false;
    }
    m_bytes += line.size();
    lines.push_back(line);
    // The keyword is the first word; only SASL's arguments matter here.
    const std::string_view keyword = std::string_view(line).substr(0, line.find_first_of(" \t"));
    if (EqualsUpper(keyword, "SASL")) {
        std::istringstream words(line.substr(keyword.size()));
        for (std::string mechanism; words >> mechanism;) {
            sasl.push_back(AsciiUpper(mechanism));
        }
    }
    const std::array<std::pair<std::string_view, bool*>, 6> known{{{"STLS", &stls},
                                                                   {"PIPELINING", &pipelining},
                                                                   {"UIDL", &uidl},
                                                                   {"TOP", &top},
                                                                   {"USER", &user},
                                                                   {"UTF8", &utf8}}};
    for (const auto& [name, flag] : known) {
        if (EqualsUpper(keyword, name)) {
            *flag = true;
        }
    }
    return true;
}
