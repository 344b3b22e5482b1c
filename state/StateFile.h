// What Tarvo keeps between runs for one settings file: a file under
// $XDG_STATE_HOME/Tarvo (~/.local/state/Tarvo), owner-only, replaced whole by
// one rename. It is a cache and a record only: a file that cannot be read
// whole is set aside as .damaged and Tarvo starts from nothing. The tray
// program and `tarvo --check` may use it at once: each read and write holds a
// lock beside it for a moment, never during a conversation.
#pragma once

#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "LineChannel.h"
#include "MessageTable.h"
#include "Settings.h"
#include "SignInMemory.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

enum class StateLoad { Read, Missing, SetAside, Busy };

struct StateContent;

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

    // limits are those of the program's checks: a file holding headers that
    // they would not have kept is set aside. waitHook runs while the lock is
    // waited for.
    StateFile(std::string path, const ChannelLimits& limits, WaitHook waitHook = {})
        : m_path(std::move(path)), m_limits(limits), m_waitHook(std::move(waitHook)) {}

    // Replaces cache, knownIds and signIns with what the file holds for accounts.
    StateLoad Load(const AccountList& accounts, HeaderCache& cache, KnownMessageIds& knownIds,
                   SignInMemory& signIns);
    // Writes the state unless the file already holds it; false when it could
    // not be written now. What another program remembered of a sign-in since
    // is taken up into signIns first, so that neither forgets it.
    bool Save(const AccountList& accounts, const HeaderCache& cache, const MessageTable& table,
              const KnownMessageIds& knownIds, SignInMemory& signIns);
    // Writes cache's headers and signIns beside the known ids the file holds
    // now, which stay as they are.
    bool SaveHeaders(const AccountList& accounts, const HeaderCache& cache,
                     const MessageTable& table, SignInMemory& signIns);

    const std::string& Path() const { return m_path; }
    // The sentence that says why the state cannot be saved, where something
    // other than a file is in its way; empty otherwise.
    const std::string& Problem() const { return m_problem; }

private:
    // With the lock held; the headers are read past when cache is null. The
    // sign-ins read are taken up into signIns.
    StateLoad Read(const AccountList& accounts, HeaderCache* cache, KnownMessageIds& knownIds,
                   SignInMemory& signIns);
    bool Write(const StateContent& state);
    // Whether the file closes with the digest this program last read or wrote.
    bool Unchanged() const;
    // Notes whether the state could be saved, and why not.
    bool Saved(bool saved);

    std::string m_path;
    ChannelLimits m_limits;
    WaitHook m_waitHook;
    uint64_t m_digest = 0;        // of what the file holds, as far as this program knows
    std::size_t m_knownIdsAt = 0; // where its known ids begin, when this program read it
    std::string m_problem;
};
