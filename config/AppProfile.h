// The application's profile functions: values under a section (a path of
// keys) below HKEY_CURRENT_USER\Software\Halvik\Tarvo. They open the section
// with create semantics even to read, so reading a missing section leaves an
// empty key of that name behind, which the next save fills or deletes. Nothing here reports a
// failure: a missing value reads as the default.
#pragma once

#include "Registry.h"

#include <string>
#include <string_view>
#include <vector>

class AppProfile {
public:
    static constexpr std::string_view kAppKey = "Software\\Halvik\\Tarvo";

    explicit AppProfile(Registry& registry) : m_registry(registry) {}

    // A stored REG_DWORD read as signed 32 bits; a value of another type reads as missing.
    int GetProfileInt(std::string_view section, std::string_view value, int defaultValue);
    std::string GetProfileString(std::string_view section, std::string_view value,
                                 std::string_view defaultValue);
    bool WriteProfileInt(std::string_view section, std::string_view value, int number);
    bool WriteProfileString(std::string_view section, std::string_view value,
                            std::string_view text);
    // A REG_MULTI_SZ; a value of another type, or none, reads as no texts.
    std::vector<std::string> GetProfileStrings(std::string_view section, std::string_view value);
    bool WriteProfileStrings(std::string_view section, std::string_view value,
                             const std::vector<std::string>& texts);

    Registry& registry() { return m_registry; }

private:
    RegKey SectionKey(std::string_view section);

    Registry& m_registry;
};
