// What Tarvo keeps between runs for one settings file: a file under
// $XDG_STATE_HOME/Tarvo (~/.local/state/Tarvo), owner-only, replaced whole by
// one rename. It is a cache and a record only: a file that cannot be read
// whole is set aside as .damaged and Tarvo starts from nothing. The tray
// program and `tarvo --check` may use it at once: each read and write holds a
// lock beside it for a moment, never during a conversation.
#pragma once

#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "MessageTable.h"
#include "Settings.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

enum class StateLoad { Read, Missing, SetAside, Busy };

class StateFile {
public:
    // A program that cannot have the lock in this long goes on without the state.
    static constexpr std::chrono::milliseconds kLockWait{2000};
    // Far above what the budgets of a few accounts fill; a larger file is
    // not read.
    static constexpr std::size_t kMaxSize = std::size_t{256} << 20;

    // The file kept for the settings file at settingsPath, however that path
    // is spelled.
    static std::string PathFor(const std::string& settingsPath);

    explicit StateFile(std::string path) : m_path(std::move(path)) {}

    // Replaces cache and knownIds with what the file holds for accounts.
    StateLoad Load(const AccountList& accounts, HeaderCache& cache, KnownMessageIds& knownIds);
    // Writes the state unless the file already holds it; false when it could
    // not be written now.
    bool Save(const HeaderCache& cache, const MessageTable& table, const KnownMessageIds& knownIds);
    // Writes cache's headers beside the known ids the file holds now, which
    // stay as they are.
    bool SaveHeaders(const AccountList& accounts, const HeaderCache& cache,
                     const MessageTable& table);

    const std::string& Path() const { return m_path; }

private:
    // With the lock held; the headers are read past when cache is null.
    StateLoad Read(const AccountList& accounts, HeaderCache* cache, KnownMessageIds& knownIds);
    bool Write(const HeaderCache& cache, const MessageTable& table,
               const KnownMessageIds& knownIds);

    std::string m_path;
    uint64_t m_digest = 0; // of what the file holds, as far as this program knows
};
