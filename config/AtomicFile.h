// Files that are only ever replaced whole, by one rename, so that a crash or
// a kill leaves the old or the new content, never a mix; owner-only, in
// folders made owner-only.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

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

// A file opened as ReadWholeFile opens it, read a piece at a time, so that a
// large file is never held whole beside what is made of it.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Read when it is open, whatever its size, which is the caller's to judge.
    FileRead Open(const std::string& path, bool ownPlainFileOnly);
    // Its size when opened.
    std::size_t Size() const { return m_size; }
    // Up to size bytes; 0 at the end of the file, and on an error, which
    // Failed then tells.
    std::size_t Read(char* into, std::size_t size);
    // Past bytes without reading them; false on an error.
    bool Skip(std::size_t bytes);
    bool Failed() const { return m_failed; }

private:
    int m_fd = -1;
    std::size_t m_size = 0;
    bool m_failed = false;
};

// The user's base folder that the XDG variable names when it holds an
// absolute path, else the home folder's subfolder (".config", ".local/state").
std::string XdgBaseFolder(const char* variable, const char* underHome);

// Writes text to a temporary file beside path (0600, the folders made 0700),
// syncs it and renames it over path. False, leaving path as it was, when any
// step fails.
bool ReplaceFile(const std::string& path, std::string_view text);

// Takes a piece of the content; false gives up the writing.
using ContentSink = std::function<bool(std::string_view piece)>;
// As ReplaceFile, with the content handed to the sink by write in pieces, so
// that a large file is never held whole; write returns false to give up.
bool ReplaceFileWith(const std::string& path, const std::function<bool(const ContentSink&)>& write);

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
// when it could not be had within wait, during which waitHook runs between
// tries.
class FileLock {
public:
    FileLock(const std::string& path, std::chrono::milliseconds wait,
             const std::function<void()>& waitHook = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};
