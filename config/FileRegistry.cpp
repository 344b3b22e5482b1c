#include "FileRegistry.h"

#include "AtomicFile.h"
#include "RegFileFormat.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

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
    return XdgBaseFolder("XDG_CONFIG_HOME", ".config") + "/Halvik/Tarvo.reg";
}

RegFileState FileRegistry::ReadFile(const std::string& path, MemoryRegistry& tree) {
    tree = MemoryRegistry();
    std::string text;
    const FileRead read = ReadWholeFile(path, {kMaxFileSize, false}, text);
    if (read == FileRead::Missing) {
        return RegFileState::Missing;
    }
    RegFileState state = read == FileRead::Read ? RegFileState::Read : RegFileState::Damaged;
    if (text.size() > kMaxFileSize) {
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

bool FileRegistry::Save() {
    const std::string text = FormatRegFile(Root());
    if (text.size() > kMaxFileSize) {
        return false;
    }
    if (m_keepAside) {
        if (!KeepFileAside(m_path)) {
            return false;
        }
        m_keepAside = false;
    }
    return ReplaceFile(m_path, text);
}

int FileRegistry::RemoveLeftovers() const {
    return RemoveWriteLeftovers(m_path);
}
