#include "HeaderDisplay.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* name;
    HeaderKind kind;
    std::string raw;
    std::string shown;
};

constexpr HeaderKind kSubject = HeaderKind::Subject;
constexpr HeaderKind kFrom = HeaderKind::From;

TEST(HeaderDisplay, ShowsWhatTheSenderWrote) {
    const std::vector<Row> rows = {
        {"UTF-8 B", kSubject, "=?UTF-8?B?R3LDvMOfZSBhdXMgS8O2bG4=?=", "Grüße aus Köln"},
        {"UTF-8 Q", kSubject, "=?utf-8?q?Caf=C3=A9_am_Montag?=", "Café am Montag"},
        {"ISO-8859-1 Q", kSubject, "=?ISO-8859-1?Q?Sch=F6ne_Gr=FC=DFe?=", "Schöne Grüße"},
        {"Windows-1252", kSubject,
         "=?windows-1252?Q?=93Angebot=94_=96_nur_=80_9,99?=", "“Angebot” – nur € 9,99"},
        {"KOI8-R", kSubject, "=?KOI8-R?B?8NLJ18XULCDNydI=?=", "Привет, мир"},
        {"ISO-2022-JP", kSubject,
         "=?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?=", "会議のお知らせ"},
        {"Shift_JIS, GB18030 and Big5 side by side", kSubject,
         "=?Shift_JIS?B?ie+LYw==?= =?GB18030?B?xOO6ww==?= =?Big5?B?p0Gmbg==?=", "会議你好你好"},
        {"padded B words in a row", kSubject, "=?UTF-8?B?w6Q=?= =?UTF-8?B?w7Y=?=", "äö"},
        {"words without a blank between", kSubject,
         "=?UTF-8?Q?Gr=C3=BC?==?UTF-8?Q?=C3=9Fe?=", "Grüße"},
        {"blanks beside text stay", kSubject, "Re: =?UTF-8?Q?a?=  =?UTF-8?Q?b?= und c",
         "Re: ab und c"},
        {"word touching text", kSubject, "Re:=?UTF-8?Q?Gr=C3=BC=C3=9Fe?=", "Re:Grüße"},
        {"words on two lines of a fold", kSubject,
         "=?UTF-8?Q?Ein_langer?=\t=?UTF-8?Q?_Betreff?=", "Ein langer Betreff"},
        {"a character split over two words", kSubject, "=?UTF-8?B?4oI=?= =?UTF-8?B?rA==?=", "€"},
        {"a fold inside a word", kSubject, "=?UTF-8?Q?Ein_lan\tger?=", "=?UTF-8?Q?Ein_lan ger?="},
        {"bad base64", kSubject, "Hallo =?UTF-8?B?!!!!?= =?UTF-8?B?SGV*sbG8=?= Welt",
         "Hallo =?UTF-8?B?!!!!?= =?UTF-8?B?SGV*sbG8=?= Welt"},
        {"base64 without padding", kSubject, "=?UTF-8?B?SGFsbG8?=", "Hallo"},
        {"unknown charset", kSubject, "=?x-made-up?Q?abc?= =?UTF-8?Q?d?=", "=?x-made-up?Q?abc?= d"},
        {"missing ?=", kSubject, "=?UTF-8?Q?Gr=C3=BC=C3=9Fe", "=?UTF-8?Q?Gr=C3=BC=C3=9Fe"},
        {"charset with a language", kSubject, "=?UTF-8*de?Q?Gr=C3=BC=C3=9Fe?=", "Grüße"},
        {"raw UTF-8", kSubject, "Gr\xc3\xbc\xc3\x9f aus K\xc3\xb6ln", "Grüß aus Köln"},
        {"raw Latin-1", kSubject, "Gr\xfc\xdf aus K\xf6ln", "Grüß aus Köln"},
        {"raw Windows-1252, undefined bytes as blanks", kSubject, "\x93Hi\x94 \x80 \x81",
         "“Hi” €  "},
        {"raw bytes judged word by word", kSubject, "M\xfcller und M\xc3\xbcller",
         "Müller und Müller"},
        {"raw bytes beside a word", kSubject, "\xfc =?UTF-8?Q?=C3=BC?=", "ü ü"},
        {"control characters as blanks", kSubject, "a\tb =?UTF-8?Q?c=0Ad?=", "a b c d"},
        {"C1 controls as blanks", kSubject, "a\xc2\x9bH =?UTF-8?Q?=C2=9Dx?=", "a H  x"},
        {"empty", kSubject, "", ""},
        {"default", kSubject, "(untitled)", "(untitled)"},
        {"name and address", kFrom, "=?UTF-8?Q?J=C3=B6rg_M=C3=BCller?= <joerg@example.org>",
         "Jörg Müller <joerg@example.org>"},
        {"B name", kFrom, "=?UTF-8?B?SsO2cmc=?= <j@example.org>", "Jörg <j@example.org>"},
        {"quoted raw Latin-1 name", kFrom, "\"M\xfcller, J\xf6rg\" <j@example.org>",
         "Müller, Jörg <j@example.org>"},
        {"word in quotes", kFrom, "\"=?UTF-8?Q?J=C3=B6rg?=\" <j@example.org>",
         "Jörg <j@example.org>"},
        {"address alone", kFrom, "ann@example.org", "ann@example.org"},
        {"address in brackets", kFrom, "<ann@example.org>", "ann@example.org"},
        {"name in a comment", kFrom, "ann@example.org (Ann Example)",
         "Ann Example <ann@example.org>"},
        {"two senders", kFrom, "Ann <a@example.org>, =?UTF-8?Q?B=C3=B6b?= <b@example.org>",
         "Ann <a@example.org>, Böb <b@example.org>"},
        {"malformed word in a name", kFrom, "=?UTF-8?B?!!!?= <a@example.org>",
         "=?UTF-8?B?!!!?= <a@example.org>"},
        {"no address", kFrom, "J\xc3\xb6rg M\xc3\xbcller", "Jörg Müller"},
        {"default", kFrom, "(unknown)", "(unknown)"},
        {"text the parser takes for a group", kFrom, "ge: x", "ge: x"},
        {"a group", kFrom, "=?UTF-8?Q?Fr=C3=BCnde?=: a@example.org;", "Fründe: a@example.org;"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DecodeHeaderForDisplay(row.raw, row.kind), row.shown) << row.name;
    }
}

} // namespace
