#include "SettingsStore.h"

#include "AccountColumns.h"
#include "MemoryRegistry.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kApp = "Software\\Halvik\\Tarvo\\";

struct StoredAccount {
    int index;
    std::optional<std::string> server, user, password;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    void Put(const std::string& section, const std::string& name, const RegValue& value) {
        ASSERT_TRUE(registry.CreateKey(kApp + section));
        ASSERT_TRUE(registry.SetValue(kApp + section, name, value));
    }
    void PutAccounts(const std::vector<StoredAccount>& accounts) {
        for (const auto& a : accounts) {
            const std::string section = "Mailboxes\\" + std::to_string(a.index);
            ASSERT_TRUE(registry.CreateKey(kApp + section));
            for (const auto& [name, text] :
                 {std::pair{"Server", a.server}, std::pair{"User", a.user},
                  std::pair{"Password", a.password}}) {
                if (text) {
                    Put(section, name, RegValue::Sz(*text));
                }
            }
        }
    }
    std::vector<int> AccountKeys(int below) const {
        std::vector<int> keys;
        for (int n = 0; n < below; ++n) {
            if (registry.KeyExists(kApp + "Mailboxes\\" + std::to_string(n))) {
                keys.push_back(n);
            }
        }
        return keys;
    }
    std::optional<RegValue> Stored(const std::string& section, const std::string& name) const {
        return registry.QueryValue(kApp + section, name);
    }

    MemoryRegistry registry;
    AppProfile profile{registry};
    Options options{99, 0, 0};
    AccountList accounts{{"old", "old", "old"}};
};

TEST_F(SettingsStoreTest, FirstRunGivesDefaultsAndNoAccountAndLeavesEmptyKeysBehind) {
    EXPECT_EQ(LoadSettings(profile, options, accounts), 0);
    EXPECT_EQ(options.Delay, 5);
    EXPECT_EQ(options.Sound, 1);
    EXPECT_EQ(options.Message, 1);
    EXPECT_EQ(options.Notify, 1);
    EXPECT_EQ(options.Push, 1);
    EXPECT_EQ(options.MailProgram, "");
    EXPECT_EQ(accounts, AccountList());
    EXPECT_TRUE(registry.KeyExists(kApp + "Settings"));
    EXPECT_EQ(AccountKeys(5), std::vector<int>{0});
}

TEST_F(SettingsStoreTest, AccountListEndsAtTheFirstMissingOrEmptyServer) {
    const std::string s = "s", u = "u", p = EncodePassword("p");
    const struct {
        std::vector<StoredAccount> stored;
        AccountList expected;
    } rows[] = {
        {{{0, "a", u, p}, {1, "b", u, p}, {3, "d", u, p}}, {{"a", u, "p"}, {"b", u, "p"}}},
        {{{0, "a", u, p}, {1, "", u, p}, {2, "c", u, p}}, {{"a", u, "p"}}},
        {{{0, "a", u, p}, {1, {}, u, p}, {2, "c", u, p}}, {{"a", u, "p"}}},
        {{{0, "a", {}, {}}, {1, " ", "", ""}}, {{"a", "", ""}, {" ", "", ""}}},
        {{{1, s, u, p}}, {}},
    };
    for (const auto& row : rows) {
        MemoryRegistry fresh;
        registry = std::move(fresh);
        PutAccounts(row.stored);
        EXPECT_EQ(LoadSettings(profile, options, accounts), row.expected.size() > 0 ? 1 : 0);
        EXPECT_EQ(accounts, row.expected);
    }
}

TEST_F(SettingsStoreTest, SaveDeletesStaleAccountKeysUpToTheFirstGap) {
    const struct {
        std::vector<int> stored;
        std::size_t saved;
        std::vector<int> left;
    } rows[] = {
        {{0, 1, 2, 3}, 2, {0, 1}},
        {{0, 1, 2, 3, 5}, 2, {0, 1, 5}},
        {{0, 1, 2}, 0, {}},
        {{}, 2, {0, 1}},
    };
    for (const auto& row : rows) {
        MemoryRegistry fresh;
        registry = std::move(fresh);
        for (int n : row.stored) {
            PutAccounts({{n, "old" + std::to_string(n), "u", "1 "}});
        }
        SaveSettings(profile, options, AccountList(row.saved, {"new", "new", "new"}));
        EXPECT_EQ(AccountKeys(10), row.left);
        for (std::size_t i = 0; i < row.saved; ++i) {
            EXPECT_EQ(Stored("Mailboxes\\" + std::to_string(i), "Server"), RegValue::Sz("new"));
        }
    }
}

TEST_F(SettingsStoreTest, EmptyKeyLeftByTheLoadIsFilledOrDeletedByTheNextSave) {
    PutAccounts({{0, "a", "u", ""}});
    ASSERT_EQ(LoadSettings(profile, options, accounts), 1);
    EXPECT_EQ(AccountKeys(5), (std::vector<int>{0, 1}));
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(AccountKeys(5), std::vector<int>{0});
    accounts = {{"a", "u", ""}, {"b", "v", "pw"}};
    SaveSettings(profile, options, accounts);
    AccountList loaded;
    EXPECT_EQ(LoadSettings(profile, options, loaded), 1);
    EXPECT_EQ(loaded, accounts);
}

// Files from before the choice existed check in clear text as they always
// did; a number this program never wrote is taken for the safe side.
TEST_F(SettingsStoreTest, SecurityAndTrustedCertificateLoadAndSaveWithTheAccount) {
    const struct {
        std::optional<RegValue> stored;
        Security loaded;
    } rows[] = {
        {std::nullopt, Security::None},           {RegValue::Dword(0), Security::None},
        {RegValue::Dword(1), Security::StartTls}, {RegValue::Dword(2), Security::Tls},
        {RegValue::Dword(3), Security::Tls},      {RegValue::Dword(0xFFFFFFFF), Security::Tls},
        {RegValue::Sz("0"), Security::None},
    };
    for (const auto& row : rows) {
        MemoryRegistry fresh;
        registry = std::move(fresh);
        PutAccounts({{0, "a", "u", ""}});
        if (row.stored) {
            Put("Mailboxes\\0", "Security", *row.stored);
        }
        ASSERT_EQ(LoadSettings(profile, options, accounts), 1);
        EXPECT_EQ(accounts.at(0).security, row.loaded);
        EXPECT_EQ(accounts.at(0).certificate, "");
        SaveSettings(profile, options, accounts);
        EXPECT_EQ(Stored("Mailboxes\\0", "Security"),
                  RegValue::Dword(static_cast<uint32_t>(row.loaded)));
        EXPECT_EQ(Stored("Mailboxes\\0", "Certificate"), std::nullopt);
    }

    accounts.at(0).certificate = "AB:CD";
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Mailboxes\\0", "Certificate"), RegValue::Sz("AB:CD"));
    AccountList loaded;
    LoadSettings(profile, options, loaded);
    EXPECT_EQ(loaded, accounts);
    // Clearing the trust removes the value.
    accounts.at(0).certificate = "";
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Mailboxes\\0", "Certificate"), std::nullopt);
    // An account that goes takes its values along.
    SaveSettings(profile, options, {});
    EXPECT_EQ(AccountKeys(3), std::vector<int>{});
}

// A file from before IMAP holds POP3 accounts and is saved as it was; an
// IMAP account keeps its protocol and folders.
TEST_F(SettingsStoreTest, ProtocolAndFoldersLoadAndSaveWithTheAccount) {
    PutAccounts({{0, "a", "u", ""}, {1, "b", "v", ""}});
    Put("Mailboxes\\1", "Protocol", RegValue::Dword(7));
    ASSERT_EQ(LoadSettings(profile, options, accounts), 1);
    EXPECT_EQ(Column(accounts, &Account::protocol), (std::vector{Protocol::Pop3, Protocol::Pop3}));
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Mailboxes\\0", "Protocol"), std::nullopt);
    EXPECT_EQ(Stored("Mailboxes\\0", "Folders"), std::nullopt);

    accounts[1].protocol = Protocol::Imap;
    accounts[1].folders = {"INBOX", "Entw\xC3\xBCrfe"};
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Mailboxes\\1", "Protocol"), RegValue::Dword(1));
    EXPECT_EQ(Stored("Mailboxes\\1", "Folders"),
              (RegValue{REG_MULTI_SZ, std::string("INBOX\0Entw\xC3\xBCrfe\0\0", 17)}));
    AccountList loaded;
    LoadSettings(profile, options, loaded);
    EXPECT_EQ(loaded, accounts);
}

// A file from before sign-in could be chosen signs in as it did; a password
// kept elsewhere leaves the file, and one not yet moved stays.
TEST_F(SettingsStoreTest, SignInAndSecretSourceLoadAndSaveWithTheAccount) {
    PutAccounts({{0, "a", "u", "3 "}, {1, "b", "v", "3 "}, {2, "c", "w", "3 "}});
    Put("Mailboxes\\1", "Auth", RegValue::Dword(2));
    Put("Mailboxes\\1", "Secret", RegValue::Dword(2));
    Put("Mailboxes\\1", "SecretCommand", RegValue::Sz("pass show mail"));
    Put("Mailboxes\\2", "Auth", RegValue::Dword(7));
    Put("Mailboxes\\2", "Secret", RegValue::Dword(9));
    ASSERT_EQ(LoadSettings(profile, options, accounts), 1);
    EXPECT_EQ(
        Column(accounts, &Account::signIn),
        (std::vector{SignInMethod::Automatic, SignInMethod::OAuth2, SignInMethod::Automatic}));
    EXPECT_EQ(
        Column(accounts, &Account::secretSource),
        (std::vector{SecretSourceKind::File, SecretSourceKind::Command, SecretSourceKind::File}));
    EXPECT_EQ(Column(accounts, &Account::secretCommand),
              (std::vector<std::string>{"", "pass show mail", ""}));
    EXPECT_EQ(Column(accounts, &Account::password), (std::vector<std::string>{"^", "^", "^"}));

    accounts[0].secretSource = SecretSourceKind::Keyring;
    accounts[0].password = "";
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Mailboxes\\0", "Password"), std::nullopt);
    EXPECT_EQ(Stored("Mailboxes\\0", "Secret"), RegValue::Dword(1));
    EXPECT_EQ(Stored("Mailboxes\\0", "Auth"), RegValue::Dword(0));
    EXPECT_EQ(Stored("Mailboxes\\0", "SecretCommand"), std::nullopt);
    EXPECT_EQ(Stored("Mailboxes\\1", "Password"), RegValue::Sz("3 "));
    EXPECT_EQ(Stored("Mailboxes\\1", "SecretCommand"), RegValue::Sz("pass show mail"));
    EXPECT_EQ(Stored("Mailboxes\\2", "Secret"), RegValue::Dword(0));
    AccountList loaded;
    LoadSettings(profile, options, loaded);
    EXPECT_EQ(loaded, accounts);
    SaveSettings(profile, options, {});
    EXPECT_EQ(AccountKeys(3), std::vector<int>{});
}

// The headers window's size is optional: absent, or not a usable size, it
// reads as none; a save of the other settings leaves it alone.
TEST_F(SettingsStoreTest, HeadersSizeIsOptionalAndKeptBesideTheOptions) {
    int width = -1;
    int height = -1;
    EXPECT_FALSE(LoadHeadersSize(profile, width, height));
    Put("Settings", "HeadersWidth", RegValue::Dword(640));
    EXPECT_FALSE(LoadHeadersSize(profile, width, height));
    Put("Settings", "HeadersHeight", RegValue::Sz("480"));
    EXPECT_FALSE(LoadHeadersSize(profile, width, height));

    SaveHeadersSize(profile, 812, 377);
    SaveSettings(profile, options, accounts);
    EXPECT_TRUE(LoadHeadersSize(profile, width, height));
    EXPECT_EQ(width, 812);
    EXPECT_EQ(height, 377);
    EXPECT_EQ(Stored("Settings", "HeadersHeight"), RegValue::Dword(377));
}

TEST_F(SettingsStoreTest, OptionsLoadUnchangedOrAsFlagsAndSaveAsDwords) {
    const struct {
        uint32_t delay, sound, message;
        Options loaded;
    } rows[] = {
        {0, 7, 0, {0, 1, 0}},
        {100, 0, 1, {100, 0, 1}},
        {0xFFFFFFFF, 0x80000000, 2, {-1, 1, 1}},
    };
    for (const auto& row : rows) {
        Put("Settings", "Delay", RegValue::Dword(row.delay));
        Put("Settings", "Sound", RegValue::Dword(row.sound));
        Put("Settings", "Message", RegValue::Dword(row.message));
        LoadSettings(profile, options, accounts);
        EXPECT_EQ(options.Delay, row.loaded.Delay);
        EXPECT_EQ(options.Sound, row.loaded.Sound);
        EXPECT_EQ(options.Message, row.loaded.Message);
    }
    SaveSettings(profile, {-7, 7, 0}, {});
    EXPECT_EQ(Stored("Settings", "Delay"), RegValue::Dword(0xFFFFFFF9));
    EXPECT_EQ(Stored("Settings", "Sound"), RegValue::Dword(1));
    EXPECT_EQ(Stored("Settings", "Message"), RegValue::Dword(0));
}

// The desktop's default mail client is no value at all, as in a file from
// before the choice; a program chosen is kept as typed.
TEST_F(SettingsStoreTest, MailProgramIsStoredOnlyWhenOneIsChosen) {
    options.MailProgram = "mail \"--folder=In box\" %u";
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Settings", "MailProgram"), RegValue::Sz("mail \"--folder=In box\" %u"));
    Options loaded;
    LoadSettings(profile, loaded, accounts);
    EXPECT_EQ(loaded.MailProgram, options.MailProgram);

    options.MailProgram.clear();
    SaveSettings(profile, options, accounts);
    EXPECT_EQ(Stored("Settings", "MailProgram"), std::nullopt);
    loaded.MailProgram = "left over";
    LoadSettings(profile, loaded, accounts);
    EXPECT_EQ(loaded.MailProgram, "");
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeReadAsMissing) {
    Put("Settings", "Delay", RegValue::Sz("30"));
    Put("Mailboxes\\0", "Server", RegValue::Dword(1));
    EXPECT_EQ(LoadSettings(profile, options, accounts), 0);
    EXPECT_EQ(options.Delay, 5);
}

TEST(PasswordScrambling, EveryByteRoundTripsAsSignedNumbers) {
    std::string every;
    for (int c = 1; c <= 0xFF; ++c) {
        every += static_cast<char>(c);
    }
    EXPECT_EQ(DecodePassword(EncodePassword(every)), every);
    EXPECT_EQ(EncodePassword("abc"), "60 63 62 ");
    EXPECT_EQ(EncodePassword("\x80\xFF"), "-35 -94 ");
    EXPECT_EQ(EncodePassword(""), "");
}

TEST(PasswordScrambling, DecodeReadsWhateverItIsGiven) {
    const struct {
        std::string stored, password;
    } rows[] = {
        {"", ""},
        {"60", ""},
        {"60 63", "a"},
        {"60  \t\r\n 63 ", "ab"},
        {" 60 ", "]a"},
        {"x ", "]"},
        {"12abc ", "Q"},
        {"200 -56 ", "\x95\x95"},
        {"+60 316 -196 ", "aaa"},
        {"99999999999999999999999999 ", std::string(1, static_cast<char>(0xFF ^ 0x5D))},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DecodePassword(row.stored), row.password) << row.stored;
    }
}

} // namespace
