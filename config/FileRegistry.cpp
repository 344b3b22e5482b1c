#include "FileRegistry.h"

#include "RegFileFormat.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr int kMaxKeptAside = 100;

// A descriptor closed on every way out.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// ".Tarvo.reg.tmp-" and mkostemp's six letters or digits: specific enough
// that nothing but our own temporary file is named so.
std::string TempPrefix(const std::string& path) {
    return "." + BaseName(path) + ".tmp-";
}

constexpr std::size_t kTempUniqueLength = 6;

bool IsTempName(std::string_view name, std::string_view prefix) {
    const auto isLetterOrDigit = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    return name.size() == prefix.size() + kTempUniqueLength && name.starts_with(prefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       isLetterOrDigit);
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), kFolderMode) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR) {
            return false;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return true;
}

bool SyncFolder(const std::string& folder) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.get() >= 0 && ::fsync(fd.get()) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

FileRegistry::FileRegistry(std::string path) : m_path(std::move(path)) {
    // Write through a link to its target, so that a linked settings file stays linked.
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(m_path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(m_path.c_str(), resolved) != nullptr) {
        m_path = resolved;
    }
    Load();
}

std::string FileRegistry::DefaultPath() {
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw != nullptr ? pw->pw_dir : "";
        }
        base = std::string(home) + "/.config";
    }
    return base + "/Halvik/Tarvo.reg";
}

RegFileState FileRegistry::ReadFile(const std::string& path, MemoryRegistry& tree) {
    tree = MemoryRegistry();
    // Non-blocking, so that a pipe in the file's place cannot hang the start.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR || IsFolder(path);
        return missing ? RegFileState::Missing : RegFileState::Damaged;
    }
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return S_ISDIR(st.st_mode) ? RegFileState::Missing : RegFileState::Damaged;
    }
    RegFileState state = RegFileState::Read;
    std::string text(kMaxFileSize + 1, '\0');
    std::size_t size = 0;
    while (size < text.size()) {
        const ssize_t n = ::read(fd.get(), text.data() + size, text.size() - size);
        if (n == 0) {
            break;
        }
        if (n < 0 && errno != EINTR) {
            state = RegFileState::Damaged;
            break;
        }
        size += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    text.resize(size);
    if (size > kMaxFileSize) {
        state = RegFileState::Damaged;
        text.resize(text.rfind('\n', kMaxFileSize - 1) + 1);
    }
    if (!ParseRegFile(text, tree)) {
        state = RegFileState::Damaged;
    }
    return state;
}

void FileRegistry::Load() {
    // Parsed aside: our own overrides would write the file back while it is read.
    MemoryRegistry parsed;
    m_keepAside = ReadFile(m_path, parsed) == RegFileState::Damaged;
    MemoryRegistry::operator=(std::move(parsed));
}

bool FileRegistry::CreateKey(std::string_view path) {
    const bool existed = KeyExists(path);
    if (!MemoryRegistry::CreateKey(path)) {
        return false;
    }
    Persist(!existed);
    return true;
}

bool FileRegistry::SetValue(std::string_view path, std::string_view name, const RegValue& value) {
    const bool changed = QueryValue(path, name) != value;
    if (!MemoryRegistry::SetValue(path, name, value)) {
        return false;
    }
    Persist(changed);
    return true;
}

bool FileRegistry::DeleteValue(std::string_view path, std::string_view name) {
    if (!MemoryRegistry::DeleteValue(path, name)) {
        return false;
    }
    Persist(true);
    return true;
}

bool FileRegistry::DeleteKey(std::string_view path) {
    if (!MemoryRegistry::DeleteKey(path)) {
        return false;
    }
    Persist(true);
    return true;
}

void FileRegistry::BeginBatch() {
    ++m_batchDepth;
}

void FileRegistry::EndBatch(bool write) {
    if (--m_batchDepth == 0 && write) {
        Persist(false);
    }
}

void FileRegistry::Persist(bool changed) {
    m_saved = m_saved && !changed;
    if (!m_saved && m_batchDepth == 0) {
        m_saved = Save();
    }
}

bool FileRegistry::KeepAside() {
    for (int i = 0; i < kMaxKeptAside; ++i) {
        const std::string name = m_path + ".damaged" + (i > 0 ? "." + std::to_string(i) : "");
        if (::link(m_path.c_str(), name.c_str()) == 0 || errno == ENOENT) {
            return true;
        }
        if (errno == EEXIST) {
            continue;
        }
        // No hard links here: move the file instead, to a name still free.
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) {
            return ::rename(m_path.c_str(), name.c_str()) == 0;
        }
    }
    return false;
}

bool FileRegistry::Save() {
    const std::string text = FormatRegFile(Root());
    const std::string folder = Folder(m_path);
    if (text.size() > kMaxFileSize || !MakeFolders(folder)) {
        return false;
    }
    if (m_keepAside) {
        if (!KeepAside()) {
            return false;
        }
        m_keepAside = false;
    }
    std::string temp = folder + "/" + TempPrefix(m_path) + std::string(kTempUniqueLength, 'X');
    // mkostemp creates the file 0600, so the passwords are never readable by others.
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    const bool written = ::fchmod(fd.get(), kFileMode) == 0 && WriteAll(fd.get(), text) &&
                         ::fsync(fd.get()) == 0 && fd.Close() &&
                         ::rename(temp.c_str(), m_path.c_str()) == 0;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    return SyncFolder(folder);
}

int FileRegistry::RemoveLeftovers() const {
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(Folder(m_path).c_str()), ::closedir);
    if (!folder) {
        return 0;
    }
    const std::string prefix = TempPrefix(m_path);
    int removed = 0;
    while (const dirent* entry = ::readdir(folder.get())) {
        struct stat st {};
        // Never through a link, never a folder, never another user's file.
        if (IsTempName(entry->d_name, prefix) &&
            ::fstatat(::dirfd(folder.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::unlinkat(::dirfd(folder.get()), entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    return removed;
}
