// Files that are only ever replaced whole, by one rename, so that a crash or
// a kill leaves the old or the new content, never a mix; owner-only, in
// folders made owner-only.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// What reading a file found. Damaged: it exists but could not be read whole
// (unreadable, too large, not a plain file, or refused by the caller's rules).
enum class FileRead { Read, Missing, Damaged };

struct ReadRules {
    std::size_t maxSize = 0;
    // A file that is a link, or not the user's own, is damaged rather than read.
    bool ownPlainFileOnly = false;
};

// text holds what was read: at most maxSize + 1 bytes, more than maxSize
// meaning the file was larger. A folder in the file's place counts as missing.
FileRead ReadWholeFile(const std::string& path, const ReadRules& rules, std::string& text);

// The user's base folder that the XDG variable names when it holds an
// absolute path, else the home folder's subfolder (".config", ".local/state").
std::string XdgBaseFolder(const char* variable, const char* underHome);

// Writes text to a temporary file beside path (0600, the folders made 0700),
// syncs it and renames it over path. False, leaving path as it was, when any
// step fails.
bool ReplaceFile(const std::string& path, const std::string& text);

// Keeps the file at path, whatever it is, as path.damaged (or .damaged.1, ...)
// so that the next write does not destroy what a person may want back. True
// when nothing is left at path to overwrite, or it was kept.
bool KeepFileAside(const std::string& path);

// Removes the temporary files that a writer of path, killed while writing,
// left beside it and nothing else; returns how many. Only while no other
// writer of path can be at work: its temporary file would go from under its
// rename.
int RemoveWriteLeftovers(const std::string& path);

// A lock beside path (path.lock, made 0600) that the processes sharing a file
// hold for a moment around a read or a write of it, never longer. Not held
// when it could not be had within wait.
class FileLock {
public:
    FileLock(const std::string& path, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};
