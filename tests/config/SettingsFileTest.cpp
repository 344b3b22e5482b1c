// The settings store on the real file: what reaches the disk, and when.
#include "FileRegistry.h"
#include "RegFileFormat.h"
#include "SettingsFolder.h"
#include "SettingsStore.h"

#include <iostream>
#include <optional>
#include <random>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace {

struct Settings {
    Options options;
    AccountList accounts;
    bool operator==(const Settings& other) const {
        return options.Delay == other.options.Delay && options.Sound == other.options.Sound &&
               options.Message == other.options.Message && accounts == other.accounts;
    }
};

// Two sets that differ in every value and in the number of accounts, so that
// any mix of them shows.
const Settings kOld{{10, 1, 0},
                    {{"pop.one.example", "ann", "old-secret-1"},
                     {"pop.two.example", "bob", "old-secret-2"},
                     {"pop.three.example", "cy", "old-secret-3"}}};
const Settings kNew{
    {20, 0, 1},
    {{"mail.four.example", "dee", "new-secret-4"}, {"mail.five.example", "eve", "new-secret-5"}}};

// What the program would load from the file, or nothing when it does not parse.
std::optional<Settings> Stored(const std::string& path) {
    MemoryRegistry tree;
    if (!ParseRegFile(ReadFile(path), tree)) {
        return std::nullopt;
    }
    AppProfile profile(tree);
    Settings settings;
    LoadSettings(profile, settings.options, settings.accounts);
    return settings;
}

void Save(const std::string& path, const Settings& settings) {
    FileRegistry registry(path);
    AppProfile profile(registry);
    SaveSettings(profile, settings.options, settings.accounts);
}

// Files created in, and renamed into, a folder since the last look.
class FolderEvents {
public:
    explicit FolderEvents(const std::string& folder)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO);
    }
    ~FolderEvents() { ::close(m_fd); }
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;

    struct Counts {
        int created = 0, renamed = 0;
        bool operator==(const Counts&) const = default;
        friend void PrintTo(const Counts& counts, std::ostream* out) {
            *out << counts.created << " created, " << counts.renamed << " renamed";
        }
    };
    Counts Take() {
        Counts counts;
        alignas(inotify_event) char buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                counts.created += (event->mask & IN_CREATE) != 0;
                counts.renamed += (event->mask & IN_MOVED_TO) != 0;
                p += sizeof(inotify_event) + event->len;
            }
        }
        return counts;
    }

private:
    int m_fd;
};

class SettingsFileTest : public SettingsFolderTest {
protected:
    SettingsFileTest() : SettingsFolderTest("Tarvo.reg") {}
};

TEST_F(SettingsFileTest, ASaveReplacesTheFileOnce) {
    FolderEvents events(dir);
    const struct {
        const char* what;
        const Settings& settings;
        FolderEvents::Counts expected;
    } rows[] = {
        {"first save", kOld, {1, 1}},
        {"fewer accounts, every value new", kNew, {1, 1}},
        {"more accounts", kOld, {1, 1}},
        {"nothing changed", kOld, {0, 0}},
    };
    for (const auto& row : rows) {
        Save(path, row.settings);
        EXPECT_EQ(events.Take(), row.expected) << row.what;
        EXPECT_EQ(Stored(path), row.settings) << row.what;
    }
}

// A kill at any moment of a save leaves the old settings or the new ones,
// never an account with its new server and its old password.
TEST_F(SettingsFileTest, ProcessKilledWhileSavingLeavesWhollyOldOrWhollyNewSettings) {
    constexpr int kKills = 200;
    Save(path, kOld);
    std::mt19937 random(20261207);
    int olds = 0, news = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        ASSERT_TRUE(KillInMidSave(std::uniform_real_distribution<double>(0, 1)(random),
                                  [&](const std::function<void()>& saved) {
                                      FileRegistry registry(path);
                                      AppProfile profile(registry);
                                      for (;;) {
                                          SaveSettings(profile, kNew.options, kNew.accounts);
                                          saved();
                                          SaveSettings(profile, kOld.options, kOld.accounts);
                                          saved();
                                      }
                                  }));
        const auto stored = Stored(path);
        ASSERT_TRUE(stored == kOld || stored == kNew) << "kill " << kill << " left a mix";
        ++(stored == kOld ? olds : news);
    }
    // Kills that all land in one state would test nothing.
    EXPECT_GT(olds, kKills / 10);
    EXPECT_GT(news, kKills / 10);
    const int left = FileRegistry(path).RemoveLeftovers();
    std::cout << "[          ] " << kKills << " kills: " << olds << " old, " << news << " new, "
              << left << " temporary files left\n";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, OnlyTemporaryFilesOfThisSettingsFileAreRemoved) {
    const std::string outside = dir + "-outside";
    WriteFile(outside, "kept");
    Save(path, kOld);
    const struct {
        std::string name;
        bool removed;
    } rows[] = {
        {".Tarvo.reg.tmp-a1B2c3", true},  {".Tarvo.reg.tmp-ZZ9900", true},
        {".Tarvo.reg.tmp-a1B2c", false},  {".Tarvo.reg.tmp-a1B2c3d", false},
        {".Tarvo.reg.tmp-a1B2c!", false}, {".Tarvo.reg.tmp-a1B2c3.bak", false},
        {"Tarvo.reg.tmp-a1B2c3", false},  {".tarvo.reg.tmp-a1B2c3", false},
        {".Other.reg.tmp-a1B2c3", false}, {".Tarvo.reg.backup", false},
        {"Tarvo.reg.damaged", false},     {".Tarvo.reg.tmp-", false},
    };
    for (const auto& row : rows) {
        WriteFile(dir + "/" + row.name, row.name);
    }
    fs::create_directory(dir + "/.Tarvo.reg.tmp-folder");
    fs::create_symlink(outside, dir + "/.Tarvo.reg.tmp-linked");
    EXPECT_EQ(FileRegistry(path).RemoveLeftovers(), 2);
    for (const auto& row : rows) {
        EXPECT_EQ(fs::exists(dir + "/" + row.name), !row.removed) << row.name;
    }
    EXPECT_TRUE(fs::is_directory(dir + "/.Tarvo.reg.tmp-folder"));
    EXPECT_TRUE(fs::is_symlink(dir + "/.Tarvo.reg.tmp-linked"));
    EXPECT_EQ(ReadFile(outside), "kept");
    EXPECT_EQ(Stored(path), kOld);
    fs::remove(outside);
}

// Reading creates nothing a file needs, so a start leaves the file as it was,
// comments and all, and the next save writes what the load left out.
TEST_F(SettingsFileTest, LoadingNeverWritesTheFile) {
    const std::string app = "[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo";
    const std::string edited = "REGEDIT4\r\n"
                               "; my mail, edited by hand\r\n\r\n" +
                               app + "\\Settings]\r\n\"Delay\"=dword:0000001e\r\n" + app +
                               "\\Mailboxes\\0]\r\n\"Server\"=\"pop.example.org\"\r\n";
    const std::string rows[] = {"written by a save", edited, "no settings but one account",
                                "no file"};
    for (const std::string& row : rows) {
        fs::remove(path);
        if (row == rows[0]) {
            Save(path, kOld);
        } else if (row == rows[2]) {
            WriteFile(path, "REGEDIT4\n" + app + "\\Mailboxes\\0]\n\"Server\"=\"pop\"\n");
        } else if (row != rows[3]) {
            WriteFile(path, row);
        }
        const std::string before = ReadFile(path);
        struct stat old {};
        ::stat(path.c_str(), &old);
        FolderEvents events(dir);
        {
            FileRegistry registry(path);
            AppProfile profile(registry);
            Settings loaded;
            LoadSettings(profile, loaded.options, loaded.accounts);
        }
        struct stat now {};
        ::stat(path.c_str(), &now);
        EXPECT_EQ(events.Take(), FolderEvents::Counts{}) << row;
        EXPECT_EQ(ReadFile(path), before) << row;
        EXPECT_EQ(now.st_ino, old.st_ino) << row;
        EXPECT_EQ(now.st_mtim.tv_sec, old.st_mtim.tv_sec) << row;
        EXPECT_EQ(now.st_mtim.tv_nsec, old.st_mtim.tv_nsec) << row;
    }
    FileRegistry registry(path);
    AppProfile profile(registry);
    Settings loaded;
    EXPECT_EQ(LoadSettings(profile, loaded.options, loaded.accounts), 0);
    SaveSettings(profile, kNew.options, kNew.accounts);
    EXPECT_EQ(Stored(path), kNew);
}

} // namespace
