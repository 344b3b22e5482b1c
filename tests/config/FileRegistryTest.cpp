#include "FileRegistry.h"

#include "RegFileFormat.h"
#include "SettingsFolder.h"
#include "SettingsStore.h"

#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const std::string kSettings = "Software\\Halvik\\Tarvo\\Settings";

mode_t Mode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class FileRegistryTest : public SettingsFolderTest {
protected:
    FileRegistryTest() : SettingsFolderTest("Halvik/Tarvo.reg") {}
};

TEST_F(FileRegistryTest, EveryValueRoundTripsByteForByteThroughTheFile) {
    const std::string key = "Software\\Other \"program\"\\[x]";
    std::string everyByte;
    for (int c = 1; c <= 0xFF; ++c) {
        everyByte += static_cast<char>(c);
    }
    const std::pair<std::string, RegValue> values[] = {
        {"Dword", RegValue::Dword(0xDEADBEEF)},
        {"Name with \\ and \"", RegValue::Sz("C:\\dir \"quoted\"")},
        {"Every byte", RegValue::Sz(everyByte)},
        {"", RegValue::Sz("")},
        {"Long line", RegValue::Sz(std::string(300, '\n'))},
        {"Binary", {3, std::string("\0\x01\xFF", 3)}},
        {"Empty binary", {3, ""}},
        {"Multi", {7, std::string("a\0b\0\0", 5)}},
        {"Short dword", {REG_DWORD, "\x01\x02"}},
        {"Unterminated", {REG_SZ, "abc"}},
    };
    {
        FileRegistry registry(path);
        ASSERT_TRUE(registry.CreateKey(key));
        ASSERT_TRUE(registry.CreateKey("Software\\Empty"));
        for (const auto& [name, value] : values) {
            ASSERT_TRUE(registry.SetValue(key, name, value));
        }
        EXPECT_TRUE(registry.IsSaved());
    }
    FileRegistry reread(path);
    for (const auto& [name, value] : values) {
        EXPECT_EQ(reread.QueryValue(key, name), value) << name;
    }
    EXPECT_TRUE(reread.KeyExists("SOFTWARE\\empty"));
    ASSERT_TRUE(reread.DeleteKey("Software\\Empty"));
    EXPECT_FALSE(fs::exists(path + ".damaged"));
}

// Writing every level's whole path once per level would grow with the square
// of the depth: a small hand-made file could then never be saved again.
TEST_F(FileRegistryTest, ADeepTreeIsWrittenAboutAsLongAsItWasRead) {
    std::string deep = "Software";
    for (int level = 0; level < 100; ++level) {
        deep += "\\" + std::string(250, static_cast<char>('a' + level % 26));
    }
    const std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + deep + "]\n";
    WriteFile(path, text);
    {
        FileRegistry registry(path);
        ASSERT_TRUE(registry.KeyExists(deep));
        ASSERT_TRUE(registry.CreateKey(kSettings));
        ASSERT_TRUE(registry.SetValue(kSettings, "Delay", RegValue::Dword(7)));
        EXPECT_TRUE(registry.IsSaved());
    }
    EXPECT_LT(ReadFile(path).size(), 2 * text.size());
    FileRegistry reread(path);
    EXPECT_TRUE(reread.KeyExists(deep));
    EXPECT_EQ(reread.QueryValue(kSettings, "Delay"), RegValue::Dword(7));
}

TEST_F(FileRegistryTest, SettingsAreWrittenInTheExportFormat) {
    MemoryRegistry tree;
    AppProfile profile(tree);
    SaveSettings(profile, {42, 1, 0}, {{"pop.example.org", "jo \"x\"", "ab"}});
    EXPECT_EQ(FormatRegFile(tree.Root()),
              "REGEDIT4\n"
              "\n[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\Mailboxes\\0]\n"
              "\"Auth\"=dword:00000000\n"
              "\"Password\"=\"60 63 \"\n"
              "\"Secret\"=dword:00000000\n"
              "\"Security\"=dword:00000000\n"
              "\"Server\"=\"pop.example.org\"\n"
              "\"User\"=\"jo \\\"x\\\"\"\n"
              "\n[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\Settings]\n"
              "\"Delay\"=dword:0000002a\n"
              "\"Message\"=dword:00000000\n"
              "\"Notify\"=dword:00000001\n"
              "\"Push\"=dword:00000001\n"
              "\"Sound\"=dword:00000001\n");
}

TEST_F(FileRegistryTest, HandWrittenFileIsReadAndOtherProgramsKeysSurviveOurWrites) {
    WriteFile(path, "\xEF\xBB\xBFREGEDIT4\r\n"
                    "; edited by hand\r\n"
                    "[hkey_current_user\\SOFTWARE\\halvik\\tarvo\\Settings]\r\n"
                    "\"Delay\" = dword:1e\r\n"
                    "  \"SOUND\"=dword:00000000\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\Mailboxes\\0]\r\n"
                    "\"Server\"=\"pop.example.org\"\r\n"
                    "\"User\"=hex(1):6a,6f,\\\r\n"
                    "  65,00\r\n"
                    "\"Password\"=\"60 63 \"\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                    "@=hex(7):61,00,00\r\n");
    FileRegistry registry(path);
    AppProfile profile(registry);
    Options options;
    AccountList accounts;
    EXPECT_EQ(LoadSettings(profile, options, accounts), 1);
    EXPECT_EQ(options.Delay, 30);
    EXPECT_EQ(options.Sound, 0);
    EXPECT_EQ(options.Message, 1);
    EXPECT_EQ(accounts, (AccountList{{"pop.example.org", "joe", "ab"}}));
    SaveSettings(profile, options, accounts);
    EXPECT_NE(ReadFile(path).find("[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n@=hex(7):61,00,00\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(path + ".damaged"));
}

TEST_F(FileRegistryTest, DamagedFileKeepsWhatParsesAndIsKeptAsideBeforeTheFirstWrite) {
    const std::string good = "[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\Settings]\n"
                             "\"Delay\"=dword:0000000a\n";
    const std::string rows[] = {
        "REGEDIT4\n\"Orphan\"=dword:1\n" + good +
            "\"Sound\"=dword:123456789\n\"Message\"=\"open\n\"Bad\"=\"\\q\"\n"
            "[HKEY_LOCAL_MACHINE\\Software]\n[HKEY_CURRENT_USER\\a\\\\b]\n\"Lost\"=dword:1\n"
            "[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\Settings]\n\"Cut\"=hex:01,\\\n"
            "[HKEY_CURRENT_USER\\Software\\Halvik\\Tarvo\\Mailboxes\\0]\n\"Message\"=dword:0\n",
        std::string("\0\x01\xFE\n", 4) + good,
        "REGEDIT4\n" + good + std::string(3 * FileRegistry::kMaxFileSize, '\xFF'),
    };
    for (const std::string& text : rows) {
        fs::remove_all(dir + "/Halvik");
        WriteFile(path, text);
        FileRegistry registry(path);
        EXPECT_EQ(registry.QueryValue(kSettings, "Delay"), RegValue::Dword(10));
        EXPECT_FALSE(registry.QueryValue(kSettings, "Sound") ||
                     registry.QueryValue(kSettings, "Message") || registry.KeyExists("a"));
        ASSERT_EQ(ReadFile(path), text) << "changed before any write";
        ASSERT_TRUE(registry.SetValue(kSettings, "Sound", RegValue::Dword(0)));
        EXPECT_EQ(ReadFile(path + ".damaged"), text);
        MemoryRegistry written;
        EXPECT_TRUE(ParseRegFile(ReadFile(path), written));
        EXPECT_EQ(written.QueryValue(kSettings, "Delay"), RegValue::Dword(10));
        ASSERT_TRUE(registry.SetValue(kSettings, "Sound", RegValue::Dword(1)));
        EXPECT_FALSE(fs::exists(path + ".damaged.1"));
    }
}

TEST_F(FileRegistryTest, FolderIs0700AndFileIs0600WhateverTheUmask) {
    const mode_t oldMask = ::umask(0);
    const std::string deep = dir + "/config/Halvik/Tarvo.reg";
    FileRegistry registry(deep);
    ASSERT_TRUE(registry.CreateKey("Software"));
    WriteFile(path, "REGEDIT4\n");
    ::chmod(path.c_str(), 0644);
    FileRegistry existing(path);
    ASSERT_TRUE(existing.CreateKey("Software"));
    ::umask(oldMask);
    EXPECT_EQ(Mode(dir + "/config"), 0700u);
    EXPECT_EQ(Mode(dir + "/config/Halvik"), 0700u);
    EXPECT_EQ(Mode(deep), 0600u);
    EXPECT_EQ(Mode(path), 0600u);
}

TEST_F(FileRegistryTest, WritesGoThroughALinkToItsTarget) {
    const std::string target = dir + "/dotfiles/Tarvo.reg";
    WriteFile(target, "REGEDIT4\n");
    fs::create_directories(dir + "/Halvik");
    fs::create_symlink(target, path);
    FileRegistry registry(path);
    ASSERT_TRUE(registry.CreateKey("Software"));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadFile(target), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n");
}

TEST_F(FileRegistryTest, UnwritableLocationLeavesTheProgramOnItsValuesInMemory) {
    const AccountList accounts{{"pop", "u", "\x80pw"}};
    const std::string rows[] = {"file in the folder's place", "folder in the file's place"};
    for (const std::string& row : rows) {
        fs::remove_all(dir + "/Halvik");
        if (row == rows[0]) {
            WriteFile(dir + "/Halvik", "x");
        } else {
            fs::create_directories(path);
        }
        FileRegistry registry(path);
        AppProfile profile(registry);
        SaveSettings(profile, {7, 0, 1}, accounts);
        EXPECT_FALSE(registry.IsSaved()) << row;
        Options options;
        AccountList loaded;
        EXPECT_EQ(LoadSettings(profile, options, loaded), 1) << row;
        EXPECT_EQ(loaded, accounts) << row;
        EXPECT_EQ(options.Delay, 7) << row;
    }
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_TRUE(fs::is_empty(path));
}

TEST_F(FileRegistryTest, FullDiskLeavesTheOldFileWhole) {
    {
        FileRegistry registry(path);
        ASSERT_TRUE(registry.CreateKey(kSettings));
    }
    const std::string before = ReadFile(path);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The file size limit makes every write past 4 KiB fail, as a full disk does.
        const rlimit limit{4096, 4096};
        ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FileRegistry registry(path);
        const RegValue big = RegValue::Sz(std::string(65536, 'x'));
        const bool kept = registry.SetValue(kSettings, "Big", big) && !registry.IsSaved() &&
                          registry.QueryValue(kSettings, "Big") == big;
        ::_exit(kept ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/Halvik"), fs::directory_iterator()), 1);
}

TEST_F(FileRegistryTest, ProcessKilledWhileSavingLeavesTheOldOrTheNewFile) {
    const RegValue values[] = {RegValue::Sz(std::string(20000, 'a')),
                               RegValue::Sz(std::string(10000, 'b'))};
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        MemoryRegistry tree;
        tree.CreateKey(kSettings);
        tree.SetValue(kSettings, "V", values[i]);
        texts[i] = FormatRegFile(tree.Root());
    }
    {
        FileRegistry registry(path);
        ASSERT_TRUE(registry.CreateKey(kSettings));
        ASSERT_TRUE(registry.SetValue(kSettings, "V", values[0]));
    }
    std::mt19937 random(20240601);
    for (int kill = 0; kill < 60; ++kill) {
        // The kill lands at a random moment of the save loop.
        ASSERT_TRUE(KillInMidSave(std::uniform_real_distribution<double>(0, 1)(random),
                                  [&](const std::function<void()>& saved) {
                                      FileRegistry registry(path);
                                      for (int i = 1;; i ^= 1) {
                                          registry.SetValue(kSettings, "V", values[i]);
                                          saved();
                                      }
                                  }));
        const std::string text = ReadFile(path);
        ASSERT_TRUE(text == texts[0] || text == texts[1])
            << "kill " << kill << " left " << text.size() << " bytes";
    }
    EXPECT_FALSE(fs::exists(path + ".damaged"));
}

TEST(FileRegistryDefaultPath, FollowsXdgConfigHomeElseHome) {
    const char* rows[][2] = {{"/xdg", "/xdg/Halvik/Tarvo.reg"},
                             {"", "/home/jo/.config/Halvik/Tarvo.reg"},
                             {"relative", "/home/jo/.config/Halvik/Tarvo.reg"}};
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/jo", 1);
    for (const auto& [config, expected] : rows) {
        ::setenv("XDG_CONFIG_HOME", config, 1);
        EXPECT_EQ(FileRegistry::DefaultPath(), expected) << config;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileRegistry::DefaultPath(), rows[1][1]);
    ::setenv("HOME", home.c_str(), 1);
}

} // namespace
