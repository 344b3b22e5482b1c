// The current user's tree kept in one REGEDIT4 text file, which a person can
// read and edit. Every change outside a batch is on disk when the call returns,
// a batch's changes when it is committed (or the tree goes on in memory when
// the file cannot be written); the file is only ever replaced whole, so a
// crash leaves the old or the new content, never a mix.
#pragma once

#include "MemoryRegistry.h"

#include <cstddef>
#include <string>

// What reading a settings file found. Damaged: it exists but could not be
// read whole (unreadable, too large, not a plain file, or not parsable).
enum class RegFileState { Read, Missing, Damaged };

class FileRegistry : public MemoryRegistry {
public:
    // More than this is not read, and a tree that would need more is not written.
    static constexpr std::size_t kMaxFileSize = 1 << 20;

    // Reads what it can of the file; a missing file is an empty tree.
    explicit FileRegistry(std::string path);

    // $XDG_CONFIG_HOME/Halvik/Tarvo.reg, with ~/.config when that is unset.
    static std::string DefaultPath();

    // The file's tree, or what could be read of it, into tree; the file is
    // never written, renamed or created.
    static RegFileState ReadFile(const std::string& path, MemoryRegistry& tree);

    bool CreateKey(std::string_view path) override;
    bool SetValue(std::string_view path, std::string_view name, const RegValue& value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;
    void BeginBatch() override;
    void EndBatch(bool write) override;

    // Removes the temporary files that a writer of this file, killed while
    // saving, left beside it (each a whole copy of the tree) and nothing else;
    // returns how many. Only the file's one writer may call it: another
    // writer's temporary file would go from under its rename.
    int RemoveLeftovers() const;

    const std::string& FilePath() const { return m_path; }
    // False while the file lags behind the tree in memory.
    bool IsSaved() const { return m_saved; }

private:
    void Load();
    void Persist(bool changed);
    bool Save();

    std::string m_path;
    // The file on disk holds something we could not read whole: it is renamed
    // away, not overwritten, before our first write.
    bool m_keepAside = false;
    bool m_saved = true;
    int m_batchDepth = 0;
};
