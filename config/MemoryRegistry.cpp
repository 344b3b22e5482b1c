#include "MemoryRegistry.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Zero bytes and line breaks cannot be written to the file, so no name holds them.
bool IsValidName(std::string_view name, std::size_t maxLength) {
    return name.size() <= maxLength &&
           name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

std::optional<std::vector<std::string_view>> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    if (path.empty()) {
        return parts;
    }
    while (true) {
        const std::size_t end = path.find('\\');
        const std::string_view part = path.substr(0, end);
        if (part.empty() || !IsValidName(part, MemoryRegistry::kMaxKeyNameLength) ||
            parts.size() == MemoryRegistry::kMaxDepth) {
            return std::nullopt;
        }
        parts.push_back(part);
        if (end == std::string_view::npos) {
            return parts;
        }
        path.remove_prefix(end + 1);
    }
}

} // namespace

bool RegNameLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

const RegNode* MemoryRegistry::Find(std::string_view path) const {
    const auto parts = SplitPath(path);
    if (!parts) {
        return nullptr;
    }
    const RegNode* node = &m_root;
    for (std::string_view part : *parts) {
        const auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) {
            return nullptr;
        }
        node = it->second.get();
    }
    return node;
}

RegNode* MemoryRegistry::Find(std::string_view path) {
    return const_cast<RegNode*>(std::as_const(*this).Find(path));
}

bool MemoryRegistry::CreateKey(std::string_view path) {
    const auto parts = SplitPath(path);
    if (!parts) {
        return false;
    }
    RegNode* node = &m_root;
    for (std::string_view part : *parts) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) {
            it = node->subkeys.emplace(std::string(part), std::make_unique<RegNode>()).first;
        }
        node = it->second.get();
    }
    return true;
}

bool MemoryRegistry::KeyExists(std::string_view path) const {
    return Find(path) != nullptr;
}

std::optional<RegValue> MemoryRegistry::QueryValue(std::string_view path,
                                                   std::string_view name) const {
    const RegNode* node = Find(path);
    if (node == nullptr) {
        return std::nullopt;
    }
    const auto it = node->values.find(name);
    if (it == node->values.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool MemoryRegistry::SetValue(std::string_view path, std::string_view name, const RegValue& value) {
    RegNode* node = Find(path);
    if (node == nullptr || !IsValidName(name, kMaxValueNameLength)) {
        return false;
    }
    const auto it = node->values.find(name);
    if (it == node->values.end()) {
        node->values.emplace(std::string(name), value);
    } else {
        it->second = value;
    }
    return true;
}

bool MemoryRegistry::DeleteValue(std::string_view path, std::string_view name) {
    RegNode* node = Find(path);
    if (node == nullptr) {
        return false;
    }
    const auto it = node->values.find(name);
    if (it == node->values.end()) {
        return false;
    }
    node->values.erase(it);
    return true;
}

bool MemoryRegistry::DeleteKey(std::string_view path) {
    const std::size_t split = path.rfind('\\');
    RegNode* parent = Find(split == std::string_view::npos ? "" : path.substr(0, split));
    if (path.empty() || parent == nullptr) {
        return false;
    }
    const auto it = parent->subkeys.find(path.substr(split + 1));
    if (it == parent->subkeys.end() || !it->second->subkeys.empty()) {
        return false;
    }
    parent->subkeys.erase(it);
    return true;
}
