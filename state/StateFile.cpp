#include "StateFile.h"

#include "AtomicFile.h"
#include "StateFormat.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

std::string StateFile::PathFor(const std::string& settingsPath) {
    const std::string base = XdgBaseFolder("XDG_STATE_HOME", ".local/state");
    char resolved[PATH_MAX];
    const std::string settings =
        ::realpath(settingsPath.c_str(), resolved) != nullptr ? resolved : settingsPath;
    char name[32];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(KnownMessageIds::Digest(settings)));
    return base + "/Tarvo/Tarvo-" + name + ".state";
}

StateLoad StateFile::Load(const AccountList& accounts, HeaderCache& cache,
                          KnownMessageIds& knownIds) {
    const FileLock lock(m_path, kLockWait);
    if (!lock.Held()) {
        return StateLoad::Busy;
    }
    // The only writers hold the lock: a temporary file is a killed one's.
    RemoveWriteLeftovers(m_path);
    return Read(accounts, &cache, knownIds);
}

StateLoad StateFile::Read(const AccountList& accounts, HeaderCache* cache,
                          KnownMessageIds& knownIds) {
    FileReader file;
    const FileRead read = file.Open(m_path, true);
    if (read == FileRead::Missing) {
        m_digest = 0;
        return StateLoad::Missing;
    }
    uint64_t digest = 0;
    if (read == FileRead::Damaged || file.Size() > kMaxSize ||
        !ReadState(file, accounts, cache, knownIds, digest)) {
        // Kept for whoever wants to see what went wrong, and out of the way.
        if (KeepFileAside(m_path)) {
            ::unlink(m_path.c_str());
        }
        m_digest = 0;
        return StateLoad::SetAside;
    }
    m_digest = digest;
    return StateLoad::Read;
}

bool StateFile::Save(const HeaderCache& cache, const MessageTable& table,
                     const KnownMessageIds& knownIds) {
    if (StateDigest(cache, table, knownIds) == m_digest) {
        return true;
    }
    const FileLock lock(m_path, kLockWait);
    return lock.Held() && Write(cache, table, knownIds);
}

bool StateFile::SaveHeaders(const AccountList& accounts, const HeaderCache& cache,
                            const MessageTable& table) {
    const FileLock lock(m_path, kLockWait);
    if (!lock.Held()) {
        return false;
    }
    KnownMessageIds knownIds;
    Read(accounts, nullptr, knownIds);
    return StateDigest(cache, table, knownIds) == m_digest || Write(cache, table, knownIds);
}

bool StateFile::Write(const HeaderCache& cache, const MessageTable& table,
                      const KnownMessageIds& knownIds) {
    std::optional<uint64_t> digest;
    const bool written = ReplaceFileWith(m_path, [&](const ContentSink& sink) {
        digest = WriteState(cache, table, knownIds, sink, kMaxSize);
        return digest.has_value();
    });
    if (!written) {
        return false;
    }
    m_digest = *digest;
    return true;
}
