#include "RegFileFormat.h"

#include "SettingsStore.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kAccount = "Software\\Halvik\\Tarvo\\Mailboxes\\0";

std::string ValueLine(const RegValue& value) {
    MemoryRegistry tree;
    tree.CreateKey(kAccount);
    tree.SetValue(kAccount, "User", value);
    const std::string text = FormatRegFile(tree.Root());
    const std::size_t start = text.find("\"User\"=");
    return text.substr(start, text.size() - start - 1);
}

TEST(RegFileFormat, TextIsQuotedWhenItIsUtf8AndHexOnlyWhenItIsNot) {
    const struct {
        std::string text, line;
    } rows[] = {
        {"jürgen", "\"User\"=\"jürgen\""},
        {"Ærø \"ø\" \\ 日本 😀", "\"User\"=\"Ærø \\\"ø\\\" \\\\ 日本 😀\""},
        {"\xFCrgen", "\"User\"=hex(1):fc,72,67,65,6e,00"},
        {"\xC3", "\"User\"=hex(1):c3,00"},
        {"\xC0\xAF", "\"User\"=hex(1):c0,af,00"},
        {"\xED\xA0\x80", "\"User\"=hex(1):ed,a0,80,00"},
        {"\xF4\x90\x80\x80", "\"User\"=hex(1):f4,90,80,80,00"},
        {"a\tb", "\"User\"=hex(1):61,09,62,00"},
        {"a\x7F", "\"User\"=hex(1):61,7f,00"},
        {"\xC2\x85", "\"User\"=hex(1):c2,85,00"},
    };
    for (const auto& row : rows) {
        const RegValue value = RegValue::Sz(row.text);
        EXPECT_EQ(ValueLine(value), row.line) << row.text;
        MemoryRegistry reread;
        ASSERT_TRUE(
            ParseRegFile("REGEDIT4\n[HKEY_CURRENT_USER\\" + kAccount + "]\n" + row.line, reread));
        EXPECT_EQ(reread.QueryValue(kAccount, "User"), value) << row.text;
    }
}

// Files written before kept every non-ASCII text as hex(1).
TEST(RegFileFormat, OlderFilesWithTextAsHexReadTheSame) {
    const std::string header = "REGEDIT4\n[HKEY_CURRENT_USER\\" + kAccount + "]\n";
    MemoryRegistry older, newer;
    ASSERT_TRUE(ParseRegFile(header + "\"Server\"=\"pop\"\n\"User\"=hex(1):6a,c3,bc,72,67,65,"
                                      "6e,00\n\"Password\"=\"60 63 \"\n",
                             older));
    ASSERT_TRUE(ParseRegFile(FormatRegFile(older.Root()), newer));
    EXPECT_EQ(newer.QueryValue(kAccount, "User"), RegValue::Sz("jürgen"));
    EXPECT_EQ(older.QueryValue(kAccount, "User"), newer.QueryValue(kAccount, "User"));
    AppProfile profile(older);
    Options options;
    AccountList accounts;
    ASSERT_EQ(LoadSettings(profile, options, accounts), 1);
    EXPECT_EQ(accounts, (AccountList{{"pop", "jürgen", "ab"}}));
}

} // namespace
