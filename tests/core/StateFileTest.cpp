// The state file: whatever lies at its path, Tarvo starts from nothing or from
// a whole file, never from part of one, and what could not be read is set aside.
#include "StateFile.h"

#include "AppProfile.h"
#include "CheckCycle.h"
#include "KillInMidSave.h"
#include "MemoryRegistry.h"
#include "RecordingWindowServices.h"
#include "StateFormat.h"
#include "TableColumns.h"
#include "TarvoWnd.h"
#include "resource.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The file's own encodings, for files made by hand.
std::string Number(uint64_t value) {
    std::string bytes;
    do {
        bytes += static_cast<char>((value & 0x7f) | (value > 0x7f ? 0x80 : 0));
        value >>= 7;
    } while (value != 0);
    return bytes;
}
std::string Text(const std::string& text) {
    return Number(text.size()) + text;
}
// Closed as this version closes a file, or as the versions before 3 did.
std::string Closed(std::string body, uint64_t (*digestOf)(std::string_view) = StateDigest) {
    const uint64_t digest = digestOf(body);
    for (int i = 0; i < 8; ++i) {
        body += static_cast<char>(digest >> (8 * i));
    }
    return body;
}

class StateFileTest : public ::testing::Test {
protected:
    std::string folder;
    std::string path;
    const AccountList accounts{{"pop.example.org", "ann", "pw"}};
    ChannelLimits loadLimits; // of the program that loads

    void SetUp() override {
        char name[] = "/tmp/tarvo-state-XXXXXX";
        folder = ::mkdtemp(name);
        path = folder + "/Tarvo.state";
    }
    void TearDown() override { fs::remove_all(folder); }

    // A state that knows id and keeps one header whose text is textBytes long.
    bool Save(StateFile& file, const std::string& id, std::size_t textBytes = 10) {
        KnownMessageIds knownIds;
        knownIds.Append(id, KnownIdsMailbox(accounts[0]));
        ScannedHeaders rows;
        rows.emplace_back("subject", "from", id, std::string(textBytes, 'x'), textBytes, "u1");
        HeaderCache cache;
        cache.KeepWithRows(0, AccountCacheKey(accounts[0]), {0}, rows);
        SignInMemory signIns;
        return file.Save(accounts, cache, MessageTable(), knownIds, signIns);
    }
    // Which of the ids the file knows.
    std::vector<std::string> Known(StateLoad expected, const std::vector<std::string>& ids) {
        HeaderCache cache;
        KnownMessageIds knownIds;
        SignInMemory signIns;
        EXPECT_EQ(StateFile(path, loadLimits).Load(accounts, cache, knownIds, signIns), expected);
        std::vector<std::string> known;
        for (const std::string& id : ids) {
            if (knownIds.Contains(id)) {
                known.push_back(id);
            }
        }
        return known;
    }
};

TEST_F(StateFileTest, WhatCannotBeReadWholeIsSetAsideAndNothingIsRestored) {
    StateFile good(folder + "/good.state", {});
    // Larger than the pieces the file is written and read in.
    ASSERT_TRUE(Save(good, "<a@x>", 200'000));
    const std::string whole = ReadBytes(good.Path());
    {
        HeaderCache cache;
        KnownMessageIds knownIds;
        SignInMemory signIns;
        ASSERT_EQ(StateFile(good.Path(), {}).Load(accounts, cache, knownIds, signIns),
                  StateLoad::Read);
        ASSERT_EQ(cache.AccountCount(), 1u);
        const ScannedHeader& kept = cache.RowsOf(0, MessageTable())[cache.HeadersOf(0).front()];
        EXPECT_EQ(kept.Text(), std::string(200'000, 'x'));
        EXPECT_EQ(kept.UniqueId(), "u1");
    }
    // The version is the first byte after the opening; the digest closes the file.
    std::string newer = whole.substr(0, whole.size() - 8);
    newer[12] = static_cast<char>(kStateVersion + 1);
    newer = Closed(newer);
    // The version again, in more bytes than a 64-bit number takes.
    const std::string overlong = Closed(whole.substr(0, 12) + '\x82' + std::string(9, '\x80') +
                                        '\0' + whole.substr(13, whole.size() - 21));
    const std::string header =
        Text("u1") + Text("<a@x>") + Number(1) + Text("a") + Text("ann") + Text("");
    const std::string oneIdTwice = Closed("Tarvo state\n" + Number(kStateVersion) + Number(1) +
                                          Text(AccountCacheKey(accounts[0])) + Number(0) +
                                          Number(2) + header + header + Number(0) + Number(0));
    std::mt19937 random(20261208);
    std::string noise(4096, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    struct Row {
        const char* what;
        std::function<void()> make;
    };
    std::vector<Row> rows = {
        {"cut at the end", [&] { WriteBytes(path, whole.substr(0, whole.size() - 1)); }},
        {"cut in half", [&] { WriteBytes(path, whole.substr(0, whole.size() / 2)); }},
        {"empty", [&] { WriteBytes(path, ""); }},
        {"random bytes", [&] { WriteBytes(path, noise); }},
        {"a byte changed", [&] { WriteBytes(path, whole.substr(0, 20) + '!' + whole.substr(21)); }},
        {"a byte changed past the first piece",
         [&] { WriteBytes(path, whole.substr(0, 150'000) + '!' + whole.substr(150'001)); }},
        {"a newer version", [&] { WriteBytes(path, newer); }},
        {"two headers under one unique-id", [&] { WriteBytes(path, oneIdTwice); }},
        {"a number that runs on past 64 bits", [&] { WriteBytes(path, overlong); }},
        {"another program's file", [&] { WriteBytes(path, "REGEDIT4\n\n[HKEY_CURRENT_USER]\n"); }},
        {"a link to a whole file", [&] { fs::create_symlink(good.Path(), path); }},
        {"headers beyond the loading program's budget",
         [&] {
             WriteBytes(path, whole);
             loadLimits.headerTextBudget = 100'000;
         }},
    };
    if (::geteuid() == 0) {
        rows.push_back({"another user's whole file", [&] {
                            WriteBytes(path, whole);
                            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
                        }});
    }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.make();
        const std::string before = ReadBytes(path);
        EXPECT_EQ(Known(StateLoad::SetAside, {"<a@x>"}), std::vector<std::string>{});
        EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
        EXPECT_EQ(ReadBytes(path + ".damaged"), before);
        EXPECT_EQ(Known(StateLoad::Missing, {"<a@x>"}), std::vector<std::string>{});
        fs::remove(path + ".damaged");
        loadLimits = {};
    }
    EXPECT_EQ(ReadBytes(good.Path()), whole);
    fs::copy_file(good.Path(), path);
    EXPECT_EQ(Known(StateLoad::Read, {"<a@x>"}), std::vector<std::string>{"<a@x>"});
}

// A kill at any moment of a save leaves the old state or the new one, and
// the next start removes what the killed writer left.
TEST_F(StateFileTest, ProcessKilledWhileSavingLeavesTheOldOrTheNewState) {
    constexpr int kKills = 100;
    StateFile file(path, {});
    ASSERT_TRUE(Save(file, "<old@x>"));
    const std::string header =
        Text("u1") + Text("<a@x>") + Number(1) + Text("a") + Text("ann") + Text("");
    const std::string oneIdTwice = Closed("Tarvo state\n" + Number(kStateVersion) + Number(1) +
                                          Text(AccountCacheKey(accounts[0])) + Number(0) +
                                          Number(2) + header + header + Number(0) + Number(0));
    std::mt19937 random(20261208);
    int olds = 0, news = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        ASSERT_TRUE(KillInMidSave(std::uniform_real_distribution<double>(0, 1)(random),
                                  [&](const std::function<void()>& saved) {
                                      StateFile writer(path, {});
                                      for (;;) {
                                          Save(writer, "<new@x>", 256 << 10);
                                          saved();
                                          Save(writer, "<old@x>", 256 << 10);
                                          saved();
                                      }
                                  }));
        const auto known = Known(StateLoad::Read, {"<old@x>", "<new@x>"});
        ASSERT_EQ(known.size(), 1u) << "kill " << kill;
        ++(known[0] == "<old@x>" ? olds : news);
    }
    // Kills that all land in one state would test nothing.
    EXPECT_GT(olds, kKills / 10);
    EXPECT_GT(news, kKills / 10);
    // The state and its lock.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

// Files of the versions before 3, closed with a digest taken a byte at a
// time, are read whole: an update announces nothing again. The first knew
// neither the sign-ins nor the marks.
TEST_F(StateFileTest, FilesOfEarlierVersionsAreRead) {
    const std::string text = "Subject: a\n\n";
    const std::string key = Text(AccountCacheKey(accounts[0]));
    const std::string headers = Number(1) + Text("u1") + Text("<a@x>") + Number(text.size()) +
                                Text("a") + Text("ann") + Text(text);
    const std::string ids =
        Number(1) + Text(KnownIdsMailbox(accounts[0])) + Number(1) + Text("<a@x>") + Number(0);
    const auto fnv = [](std::string_view bytes) { return KnownMessageIds::Digest(bytes); };
    for (const std::string& body :
         {"Tarvo state\n" + Number(1) + Number(1) + key + headers + ids,
          "Tarvo state\n" + Number(2) + Number(1) + key + Number(0) + headers + ids + Number(0)}) {
        SCOPED_TRACE(int{body[12]});
        WriteBytes(path, Closed(body, fnv));
        HeaderCache cache;
        KnownMessageIds knownIds;
        SignInMemory signIns;
        signIns.Remember(SignInKey(accounts[0]), "SCRAM-SHA-256");
        ASSERT_EQ(StateFile(path, {}).Load(accounts, cache, knownIds, signIns), StateLoad::Read);
        EXPECT_TRUE(knownIds.Contains("<a@x>"));
        ASSERT_EQ(cache.HeadersOf(0).size(), 1u);
        EXPECT_EQ(cache.RowsOf(0, MessageTable())[0].Text(), text);
        EXPECT_TRUE(signIns.All().empty());
    }
}

// The command line's save writes the ids the file holds, not its check's, and
// of them only the accounts' it was given, byte for byte as a save of them
// from memory would.
TEST_F(StateFileTest, TheCommandLineSavesTheFilesIdsOfItsAccounts) {
    const AccountList both{accounts[0], {"pop.example.org", "bob", "pw"}};
    const auto save = [](const std::string& to, const AccountList& of,
                         const std::vector<std::pair<std::string, std::size_t>>& ids) {
        KnownMessageIds knownIds;
        for (const auto& [id, account] : ids) {
            knownIds.Append(id, KnownIdsMailbox(of[account]));
        }
        HeaderCache cache;
        SignInMemory signIns;
        return StateFile(to, {}).Save(of, cache, MessageTable(), knownIds, signIns);
    };
    ASSERT_TRUE(save(path, both, {{"<a2@x>", 0}, {"<b@x>", 1}, {"<a1@x>", 0}}));
    StateFile file(path, {});
    HeaderCache cache;
    KnownMessageIds knownIds;
    SignInMemory signIns;
    ASSERT_EQ(file.Load(accounts, cache, knownIds, signIns), StateLoad::Read);
    knownIds.Append("<checked@x>", KnownIdsMailbox(accounts[0]));
    ASSERT_TRUE(file.SaveHeaders(accounts, cache, MessageTable(), signIns));
    const std::string expected = folder + "/expected.state";
    ASSERT_TRUE(save(expected, accounts, {{"<a1@x>", 0}, {"<a2@x>", 0}}));
    EXPECT_EQ(ReadBytes(path), ReadBytes(expected));
}

// A file that claims more headers than it could hold reserves no room for
// them: what a load holds follows what it read.
TEST_F(StateFileTest, ACountTheFileClaimsReservesNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer keeps an address space of its own";
#endif
    constexpr std::size_t kSize = std::size_t{64} << 20;
    WriteBytes(path, "Tarvo state\n" + Number(kStateVersion) + Number(1) +
                         Text(AccountCacheKey(accounts[0])) + Number(0) + Number(kSize - 100));
    fs::resize_file(path, kSize);
    const auto loadWithLittleRoom = [&] {
        std::ifstream statm("/proc/self/statm");
        std::size_t pages = 0;
        statm >> pages;
        // Far less than room for a header per byte of the file.
        const rlim_t room = pages * ::sysconf(_SC_PAGESIZE) + kSize * 2;
        const rlimit limit{room, room};
        ::setrlimit(RLIMIT_AS, &limit);
        HeaderCache cache;
        KnownMessageIds knownIds;
        SignInMemory signIns;
        const StateLoad load = StateFile(path, {}).Load(accounts, cache, knownIds, signIns);
        std::_Exit(load == StateLoad::SetAside ? 0 : 1);
    };
    EXPECT_EXIT(loadWithLittleRoom(), ::testing::ExitedWithCode(0), "");
}

// The tray waits for the lock as it waits for a server, through its wait
// hook; a Quit meanwhile ends the program once the state is saved.
TEST_F(StateFileTest, TheTrayWaitsForTheLockThroughItsWaitHook) {
    MemoryRegistry registry;
    AppProfile profile{registry};
    RecordingWindowServices services;
    CTarvoWnd window(services, profile);
    window.UseStateFile(path);
    window.OnCreate();
    int holder = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    services.onWait = [&] {
        if (holder >= 0) {
            window.OnCommand(ID_APP_EXIT);
            ::close(std::exchange(holder, -1));
        }
    };
    services.Take();
    window.OnCheckNow();
    EXPECT_EQ(holder, -1);
    EXPECT_TRUE(fs::is_regular_file(path));
    const std::vector<std::string> calls = services.Take();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "EndProgram");
}

} // namespace
