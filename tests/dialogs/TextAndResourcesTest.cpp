#include "IntegerField.h"
#include "TarvoResources.h"
#include "Text.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, ValidUtf8IsShownAsUtf8AndAnythingElseAsLatin1) {
    struct Case {
        std::string bytes;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"plain", "plain"},
        {"Caf\xc3\xa9", QString::fromUtf8("Caf\u00e9")},
        {"Caf\xe9", QString::fromUtf8("Caf\u00e9")},
        {"\xc3", QString::fromUtf8("\u00c3")},            // cut short
        {"\xc0\xaf", QString::fromUtf8("\u00c0\u00af")},  // overlong
        {"\xef\xbb\xbfx", QString(QChar(0xfeff)) + u'x'}, // a byte-order mark is kept
        {std::string("a\0b", 3), QString::fromLatin1("a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayText(c.bytes), c.shown) << c.bytes;
    }
    EXPECT_EQ(TypedText(QString::fromUtf8("Caf\u00e9")), "Caf\xc3\xa9");
}

TEST(IntegerFieldTest, ReadsASignedNumberBetweenBlanks) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"00", 0},
        {"42", 42},
        {" \t42 \t", 42},
        {"+42", 42},
        {"-42", -42},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999", -2147483647 - 1},
        {"", std::nullopt},
        {"+0", std::nullopt},
        {"-", std::nullopt},
        {"+ 5", std::nullopt},
        {"4 2", std::nullopt},
        {"42\n", std::nullopt},
        {"0x10", std::nullopt},
        // Read through a buffer of 31 characters: what lies beyond is never seen.
        {"7                              x", 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadIntegerField(QString::fromLatin1(c.text)), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(ReadIntegerField(QString::fromUtf8("\u0663")), std::nullopt); // Arabic-Indic 3
}

TEST(ResourcesTest, IconsBitmapAndStringsAreThere) {
    for (int id : {IDI_UNREAD, IDI_IDLE, IDI_CONTACTING, IDI_RETRIEVING}) {
        const QIcon icon = TarvoIcon(id);
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)})) << id;
        EXPECT_FALSE(icon.pixmap(32, 32).isNull()) << id;
    }
    EXPECT_TRUE(TarvoIcon(IDB_ABOUT).isNull());
    EXPECT_EQ(TarvoBitmap(IDB_ABOUT).size(), QSize(106, 133));
    EXPECT_TRUE(TarvoBitmap(IDI_UNREAD).isNull());
    EXPECT_EQ(TarvoString(IDS_APP_TITLE), "Tarvo");
    EXPECT_EQ(TarvoString(IDS_SOCKETS_INIT_FAILED), "Windows sockets initialization failed.");
    EXPECT_TRUE(TarvoString(1).isEmpty());
}

} // namespace
