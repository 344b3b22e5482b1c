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

std::vector<std::string> AppProfile::GetProfileStrings(std::string_view section,
                                                       std::string_view value) {
    const auto stored = SectionKey(section).QueryValue(value);
    auto texts = stored ? stored->AsMultiSz() : std::nullopt;
    return texts ? std::move(*texts) : std::vector<std::string>();
}

bool AppProfile::WriteProfileStrings(std::string_view section, std::string_view value,
                                     const std::vector<std::string>& texts) {
    return SectionKey(section).SetValue(value, RegValue::MultiSz(texts));
}

bool AppProfile::WriteProfileInt(std::string_view section, std::string_view value, int number) {
    return SectionKey(section).SetValue(value, RegValue::Dword(static_cast<uint32_t>(number)));
}

bool AppProfile::WriteProfileString(std::string_view section, std::string_view value,
                                    std::string_view text) {
    return SectionKey(section).SetValue(value, RegValue::Sz(text));
}
