#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
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

bool WriteAll(int fd, std::string_view text) {
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

std::string XdgBaseFolder(const char* variable, const char* underHome) {
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') {
        return base;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw != nullptr ? pw->pw_dir : "";
    }
    return std::string(home) + "/" + underHome;
}

FileReader::~FileReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

FileRead FileReader::Open(const std::string& path, bool ownPlainFileOnly) {
    // Non-blocking, so that a pipe in the file's place cannot hang the start.
    const int noFollow = ownPlainFileOnly ? O_NOFOLLOW : 0;
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow);
    struct stat st {};
    if (m_fd < 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR || IsFolder(path);
        return missing ? FileRead::Missing : FileRead::Damaged;
    }
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return S_ISDIR(st.st_mode) ? FileRead::Missing : FileRead::Damaged;
    }
    if (ownPlainFileOnly && st.st_uid != ::geteuid()) {
        return FileRead::Damaged;
    }
    m_size = static_cast<std::size_t>(st.st_size);
    return FileRead::Read;
}

std::size_t FileReader::Read(char* into, std::size_t size) {
    while (!m_failed && size > 0) {
        const ssize_t n = ::read(m_fd, into, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        m_failed = errno != EINTR;
    }
    return 0;
}

bool FileReader::Skip(std::size_t bytes) {
    m_failed = m_failed || ::lseek(m_fd, static_cast<off_t>(bytes), SEEK_CUR) < 0;
    return !m_failed;
}

FileRead ReadWholeFile(const std::string& path, const ReadRules& rules, std::string& text) {
    text.clear();
    FileReader file;
    const FileRead opened = file.Open(path, rules.ownPlainFileOnly);
    if (opened != FileRead::Read) {
        return opened;
    }
    text.resize(std::min(file.Size(), rules.maxSize) + 1);
    std::size_t size = 0;
    while (size <= rules.maxSize) {
        if (size == text.size()) {
            // Grown since it was opened: read on, up to one byte past the limit.
            text.resize(std::min(text.size() * 2, rules.maxSize + 1));
        }
        const std::size_t n = file.Read(text.data() + size, text.size() - size);
        if (n == 0) {
            break;
        }
        size += n;
    }
    text.resize(size);
    return file.Failed() || size > rules.maxSize ? FileRead::Damaged : FileRead::Read;
}

bool KeepFileAside(const std::string& path) {
    for (int i = 0; i < kMaxKeptAside; ++i) {
        const std::string name = path + ".damaged" + (i > 0 ? "." + std::to_string(i) : "");
        if (::link(path.c_str(), name.c_str()) == 0 || errno == ENOENT) {
            return true;
        }
        if (errno == EEXIST) {
            continue;
        }
        // No hard links here: move the file instead, to a name still free.
        struct stat st {};
        if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) {
            return ::rename(path.c_str(), name.c_str()) == 0;
        }
    }
    return false;
}

bool ReplaceFile(const std::string& path, std::string_view text) {
    return ReplaceFileWith(path, [text](const ContentSink& sink) { return sink(text); });
}

bool ReplaceFileWith(const std::string& path,
                     const std::function<bool(const ContentSink&)>& write) {
    const std::string folder = Folder(path);
    if (!MakeFolders(folder)) {
        return false;
    }
    std::string temp = folder + "/" + TempPrefix(path) + std::string(kTempUniqueLength, 'X');
    // mkostemp creates the file 0600, so its content is never readable by others.
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    const ContentSink sink = [&fd](std::string_view piece) { return WriteAll(fd.get(), piece); };
    const bool written = ::fchmod(fd.get(), kFileMode) == 0 && write(sink) &&
                         ::fsync(fd.get()) == 0 && fd.Close() &&
                         ::rename(temp.c_str(), path.c_str()) == 0;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    return SyncFolder(folder);
}

int RemoveWriteLeftovers(const std::string& path) {
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(Folder(path).c_str()), ::closedir);
    if (!folder) {
        return 0;
    }
    const std::string prefix = TempPrefix(path);
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

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait,
                   const std::function<void()>& waitHook) {
    const std::string name = path + ".lock";
    if (!MakeFolders(Folder(name))) {
        return;
    }
    m_fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, kFileMode);
    if (m_fd < 0) {
        return;
    }
    constexpr std::chrono::milliseconds kPoll{10};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!(m_held = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0) &&
           (errno == EWOULDBLOCK || errno == EINTR) &&
           std::chrono::steady_clock::now() < deadline) {
        if (waitHook) {
            waitHook();
        }
        std::this_thread::sleep_for(kPoll);
    }
}

FileLock::~FileLock() {
    if (m_fd >= 0) {
        ::close(m_fd); // lets go of the lock
    }
}
