#include "Registry.h"

#include <algorithm>

RegValue RegValue::Dword(uint32_t number) {
    RegValue value{REG_DWORD, std::string(4, '\0')};
    for (int i = 0; i < 4; ++i) {
        value.data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    }
    return value;
}

RegValue RegValue::Sz(std::string_view text) {
    RegValue value{REG_SZ, std::string(text)};
    value.data.push_back('\0');
    return value;
}

RegValue RegValue::MultiSz(const std::vector<std::string>& texts) {
    RegValue value{REG_MULTI_SZ, {}};
    for (const std::string& text : texts) {
        if (!text.empty() && text.find('\0') == std::string::npos) {
            value.data += text;
            value.data.push_back('\0');
        }
    }
    value.data.push_back('\0');
    return value;
}

std::optional<std::vector<std::string>> RegValue::AsMultiSz() const {
    if (type != REG_MULTI_SZ) {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    for (std::size_t at = 0; at < data.size() && data[at] != '\0';) {
        const std::size_t end = std::min(data.find('\0', at), data.size());
        texts.push_back(data.substr(at, end - at));
        at = end + 1;
    }
    return texts;
}

std::optional<uint32_t> RegValue::AsDword() const {
    if (type != REG_DWORD || data.size() != 4) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
        number = (number << 8) | static_cast<unsigned char>(data[i]);
    }
    return number;
}

std::optional<std::string> RegValue::AsSz() const {
    if (type != REG_SZ) {
        return std::nullopt;
    }
    return data.substr(0, data.find('\0'));
}

RegKey RegKey::CurrentUser(Registry& registry) {
    return RegKey(&registry, "");
}

std::string RegKey::SubPath(std::string_view subkey) const {
    if (m_path.empty() || subkey.empty()) {
        return m_path + std::string(subkey);
    }
    return m_path + '\\' + std::string(subkey);
}

RegKey RegKey::CreateSubKey(std::string_view subkey) const {
    std::string path = SubPath(subkey);
    if (!IsOpen() || !m_registry->KeyExists(m_path) || !m_registry->CreateKey(path)) {
        return RegKey();
    }
    return RegKey(m_registry, std::move(path));
}

RegKey RegKey::OpenSubKey(std::string_view subkey) const {
    std::string path = SubPath(subkey);
    if (!IsOpen() || !m_registry->KeyExists(path)) {
        return RegKey();
    }
    return RegKey(m_registry, std::move(path));
}

bool RegKey::DeleteSubKey(std::string_view subkey) const {
    return IsOpen() && !subkey.empty() && m_registry->DeleteKey(SubPath(subkey));
}

std::optional<RegValue> RegKey::QueryValue(std::string_view name) const {
    if (!IsOpen()) {
        return std::nullopt;
    }
    return m_registry->QueryValue(m_path, name);
}

bool RegKey::SetValue(std::string_view name, const RegValue& value) const {
    return IsOpen() && m_registry->SetValue(m_path, name, value);
}

bool RegKey::DeleteValue(std::string_view name) const {
    return IsOpen() && m_registry->DeleteValue(m_path, name);
}

void RegKey::Close() {
    m_registry = nullptr;
    m_path.clear();
}
