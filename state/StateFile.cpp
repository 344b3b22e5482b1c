#include "StateFile.h"

#include "AtomicFile.h"
#include "Format.h"
#include "StateFormat.h"
#include "Translate.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder, a pipe or a link where the file or its lock belongs fails every
// save: the sentence that says which, or none.
std::string InTheWay(const std::string& path) {
    for (const std::string& name : {path, path + ".lock"}) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            return Format(
                translate("StateFile", "Tarvo cannot save its state: %1 is not a regular file."),
                name);
        }
    }
    return {};
}

} // namespace

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
                          KnownMessageIds& knownIds, SignInMemory& signIns) {
    const FileLock lock(m_path, kLockWait, m_waitHook);
    if (!Saved(lock.Held())) {
        return StateLoad::Busy;
    }
    // The only writers hold the lock: a temporary file is a killed one's.
    RemoveWriteLeftovers(m_path);
    signIns = SignInMemory();
    return Read(accounts, &cache, knownIds, signIns);
}

StateLoad StateFile::Read(const AccountList& accounts, HeaderCache* cache,
                          KnownMessageIds& knownIds, SignInMemory& signIns) {
    FileReader file;
    const FileRead read = file.Open(m_path, true);
    m_knownIdsAt = 0;
    if (read == FileRead::Missing) {
        m_digest = 0;
        return StateLoad::Missing;
    }
    std::optional<RestoredState> restored;
    if (read == FileRead::Read && file.Size() <= kMaxSize) {
        restored = ReadState(file, accounts, m_limits, cache != nullptr);
    }
    if (!restored) {
        // Kept for whoever wants to see what went wrong, or for the Tarvo
        // that wrote it, and out of the way.
        if (KeepFileAside(m_path)) {
            ::unlink(m_path.c_str());
        }
        m_digest = 0;
        return StateLoad::SetAside;
    }
    if (cache != nullptr) {
        *cache = std::move(restored->cache);
    }
    knownIds = std::move(restored->knownIds);
    signIns.TakeUp(restored->signIns);
    m_digest = restored->digest;
    m_knownIdsAt = restored->knownIdsAt;
    return StateLoad::Read;
}

bool StateFile::Save(const AccountList& accounts, const HeaderCache& cache,
                     const MessageTable& table, const KnownMessageIds& knownIds,
                     SignInMemory& signIns) {
    const FileLock lock(m_path, kLockWait, m_waitHook);
    if (!lock.Held()) {
        return Saved(false);
    }
    if (!Unchanged()) {
        KnownMessageIds theirs;
        Read(accounts, nullptr, theirs, signIns);
    }
    return Saved(Write({cache, table, knownIds, signIns}));
}

bool StateFile::SaveHeaders(const AccountList& accounts, const HeaderCache& cache,
                            const MessageTable& table, SignInMemory& signIns) {
    const FileLock lock(m_path, kLockWait, m_waitHook);
    if (!lock.Held()) {
        return Saved(false);
    }
    // The file this program read holds the ids still: they go into the new
    // one as they are, the rest of the file was read and checked at the load.
    if (m_knownIdsAt != 0 && Unchanged()) {
        const KnownIdsInFile inFile{m_path, m_knownIdsAt, accounts};
        if (Write({cache, table, KnownMessageIds(), signIns, &inFile})) {
            return Saved(true);
        }
    }
    KnownMessageIds knownIds;
    Read(accounts, nullptr, knownIds, signIns);
    return Saved(Write({cache, table, knownIds, signIns}));
}

bool StateFile::Unchanged() const {
    return ClosingDigest(m_path).value_or(0) == m_digest;
}

// The content is serialised once: to a temporary file that replaces the
// state file only where its digest differs from what the file holds.
bool StateFile::Write(const StateContent& state) {
    std::optional<uint64_t> digest;
    const bool written = ReplaceFileWith(m_path, [&](const ContentSink& sink) {
        digest = WriteState(state, sink, kMaxSize);
        return digest.has_value() && *digest != m_digest;
    });
    if (!digest) {
        return false;
    }
    if (*digest == m_digest) {
        return true;
    }
    if (!written) {
        return false;
    }
    m_digest = *digest;
    m_knownIdsAt = 0;
    return true;
}

bool StateFile::Saved(bool saved) {
    m_problem = saved ? std::string() : InTheWay(m_path);
    return saved;
}
