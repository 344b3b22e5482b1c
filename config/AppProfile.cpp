#include "AppProfile.h"

RegKey AppProfile::SectionKey(std::string_view section) {
    return RegKey::CurrentUser(m_registry).CreateSubKey(kAppKey).CreateSubKey(section);
}

int AppProfile::GetProfileInt(std::string_view section, std::string_view value, int defaultValue) {
    const auto stored = SectionKey(section).QueryValue(value);
    const auto number = stored ? stored->AsDword() : std::nullopt;
    return number ? static_cast<int>(*number) : defaultValue;
}

std::string AppProfile::GetProfileString(std::string_view section, std::string_view value,
                                         std::string_view defaultValue) {
    const auto stored = SectionKey(section).QueryValue(value);
    const auto text = stored ? stored->AsSz() : std::nullopt;
    return text ? *text : std::string(defaultValue);
}

bool AppProfile::WriteProfileInt(std::string_view section, std::string_view value, int number) {
    return SectionKey(section).SetValue(value, RegValue::Dword(static_cast<uint32_t>(number)));
}

bool AppProfile::WriteProfileString(std::string_view section, std::string_view value,
                                    std::string_view text) {
    return SectionKey(section).SetValue(value, RegValue::Sz(text));
}
