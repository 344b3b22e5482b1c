// The registry tree held in memory: the backend of tests that need no file,
// and the tree the file backend keeps between its writes.
#pragma once

#include "Registry.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>

// ASCII case-insensitive order, as the registry compares key and value names.
struct RegNameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

struct RegNode {
    std::map<std::string, std::unique_ptr<RegNode>, RegNameLess> subkeys;
    std::map<std::string, RegValue, RegNameLess> values;
};

class MemoryRegistry : public Registry {
public:
    // The registry's own limits; they also bound what a damaged file can build.
    static constexpr std::size_t kMaxKeyNameLength = 255;
    static constexpr std::size_t kMaxDepth = 512;
    static constexpr std::size_t kMaxValueNameLength = 16383;

    bool CreateKey(std::string_view path) override;
    bool KeyExists(std::string_view path) const override;
    std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) const override;
    bool SetValue(std::string_view path, std::string_view name, const RegValue& value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;

    const RegNode& Root() const { return m_root; }

private:
    RegNode* Find(std::string_view path);
    const RegNode* Find(std::string_view path) const;

    RegNode m_root;
};
