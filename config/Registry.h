// The current user's tree of registry keys: keys named by backslash-separated
// paths below HKEY_CURRENT_USER, each holding named, typed values. Names
// compare case-insensitively (ASCII) and keep the case they were created with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum : uint32_t {
    REG_SZ = 1,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

// A value as the registry holds it: a type and raw bytes. A REG_SZ carries its
// terminating zero, a REG_DWORD four little-endian bytes, a REG_MULTI_SZ each
// text with its zero and one more zero at the end. Other types are kept as
// they come so that what other programs stored survives our writes.
struct RegValue {
    uint32_t type = REG_SZ;
    std::string data;

    static RegValue Dword(uint32_t number);
    static RegValue Sz(std::string_view text);
    // Texts holding a zero byte or empty cannot be told apart in the list,
    // so they are left out.
    static RegValue MultiSz(const std::vector<std::string>& texts);
    std::optional<uint32_t> AsDword() const;
    // The text up to the first zero byte.
    std::optional<std::string> AsSz() const;
    // The texts up to the first empty one (the list's end, or where a value
    // cut short stops making sense).
    std::optional<std::vector<std::string>> AsMultiSz() const;

    bool operator==(const RegValue&) const = default;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Creates the key and every missing key above it; true when it exists afterwards.
    virtual bool CreateKey(std::string_view path) = 0;
    virtual bool KeyExists(std::string_view path) const = 0;
    virtual std::optional<RegValue> QueryValue(std::string_view path,
                                               std::string_view name) const = 0;
    // Fails when the key does not exist.
    virtual bool SetValue(std::string_view path, std::string_view name, const RegValue& value) = 0;
    // Fails when the key or the value does not exist.
    virtual bool DeleteValue(std::string_view path, std::string_view name) = 0;
    // Fails when the key does not exist, is the root, or has subkeys.
    virtual bool DeleteKey(std::string_view path) = 0;

    // While a batch is open, changes stay in memory. Ending the outermost batch
    // with write stores them all in one step; ending it without leaves them for
    // the next write. A tree kept only in memory ignores batches.
    virtual void BeginBatch() {}
    virtual void EndBatch(bool /*write*/) {}

protected:
    Registry() = default;
    Registry(const Registry&) = default;
    Registry& operator=(const Registry&) = default;
};

// A batch for the life of a scope: the settings written in it reach the
// storage together on Commit, so that a crash leaves all of them or none.
class RegBatch {
public:
    explicit RegBatch(Registry& registry) : m_registry(&registry) { registry.BeginBatch(); }
    ~RegBatch() {
        if (m_registry != nullptr) {
            m_registry->EndBatch(false);
        }
    }
    RegBatch(const RegBatch&) = delete;
    RegBatch& operator=(const RegBatch&) = delete;

    void Commit() { std::exchange(m_registry, nullptr)->EndBatch(true); }

private:
    Registry* m_registry;
};

// An open key, as a registry handle is: every operation on a closed key, or on
// one deleted since it was opened, fails.
class RegKey {
public:
    RegKey() = default;
    static RegKey CurrentUser(Registry& registry);

    bool IsOpen() const { return m_registry != nullptr; }
    const std::string& Path() const { return m_path; }

    // An empty subkey names this key itself.
    RegKey CreateSubKey(std::string_view subkey) const;
    RegKey OpenSubKey(std::string_view subkey) const;
    bool DeleteSubKey(std::string_view subkey) const;
    std::optional<RegValue> QueryValue(std::string_view name) const;
    bool SetValue(std::string_view name, const RegValue& value) const;
    bool DeleteValue(std::string_view name) const;
    void Close();

private:
    RegKey(Registry* registry, std::string path) : m_registry(registry), m_path(std::move(path)) {}
    std::string SubPath(std::string_view subkey) const;

    Registry* m_registry = nullptr;
    std::string m_path;
};
