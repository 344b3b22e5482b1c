// The core's texts: numbered arguments that keep today's English, the hook a
// front end installs, the catalogue the locale asks for, and the catalogues
// themselves against their English sources.
#include "Format.h"
#include "Language.h"
#include "Translate.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace {

TEST(FormatTest, NumberedArgumentsAsTheEnglishHadThem) {
    EXPECT_EQ(Format("%1 sent less than %2 bytes in %3.", "pop.example.org", std::size_t{100},
                     Format("%1 seconds", 0.3)),
              "pop.example.org sent less than 100 bytes in 0.3 seconds.");
    EXPECT_EQ(Format("%1 seconds", 60.0), "60 seconds");
    EXPECT_EQ(Format("%2 before %1", -5, 18446744073709551615ull),
              "18446744073709551615 before -5");
    // A server's own text is never read for arguments, nor is a lone %.
    EXPECT_EQ(Format("%1 refused %2", "%2%n", "it"), "%2%n refused it");
    EXPECT_EQ(Format("100% of %1, %3", "x"), "100% of x, %3");
}

std::string German(const char*, const char* source, const char*, int n) {
    return std::string(source) == "%n file(s)" ? (n == 1 ? "%Ln Datei" : "%Ln Dateien") : "";
}

TEST(TranslateTest, TheHookOrTheEnglishSourceWithItsCount) {
    EXPECT_EQ(translate("TrayTip", "You have %n unread message(s)", nullptr, 3),
              "You have 3 unread message(s)");
    SetTranslateHook(German);
    EXPECT_EQ(translate("Ctx", "%n file(s)", nullptr, 1), "1 Datei");
    EXPECT_EQ(translate("Ctx", "%n file(s)", nullptr, 12), "12 Dateien");
    EXPECT_EQ(translate("Ctx", "Not in the catalogue"), "Not in the catalogue");
    SetTranslateHook(nullptr);
    EXPECT_EQ(translate("Ctx", "%n file(s)", nullptr, 1), "1 file(s)");
}

TEST(LanguageTest, ChosenAsGettextChooses) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::vector<std::string> languages;
    } cases[] = {
        {{}, {}},
        {{{"LANG", "de_DE.UTF-8"}}, {"de_DE", "de"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fi_FI.UTF-8@euro"}}, {"fi_FI", "fi"}},
        {{{"LC_ALL", "fr_FR"}, {"LC_MESSAGES", "fi_FI"}, {"LANG", "de_DE"}}, {"fr_FR", "fr"}},
        {{{"LANGUAGE", "ja:de::fr_CA"}, {"LANG", "es_ES.UTF-8"}}, {"ja", "de", "fr_CA", "fr"}},
        {{{"LANGUAGE", "de:en_GB:fr"}, {"LANG", "es_ES.UTF-8"}}, {"de"}},
        {{{"LANGUAGE", "../../tmp/x:.UTF-8:fi"}, {"LANG", "es_ES.UTF-8"}}, {"fi"}},
        {{{"LANGUAGE", "en"}, {"LANG", "de_DE.UTF-8"}}, {}},
        {{{"LANGUAGE", "de"}, {"LC_ALL", "C"}}, {}},
        {{{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}, {}},
        {{{"LANGUAGE", "de"}}, {}},
        {{{"LANG", "POSIX"}}, {}},
        {{{"LANG", "en_US.UTF-8"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.environment));
        EXPECT_EQ(WantedLanguages([&c](const char* name) {
                      const auto found = c.environment.find(name);
                      return found == c.environment.end() ? nullptr : found->second.c_str();
                  }),
                  c.languages);
    }
}

TEST(LanguageTest, TheFirstLanguageWithACatalogueInAnyFolder) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tarvo-qm-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "b");
    std::ofstream(folder / "b" / "tarvo_de.qm") << "x";
    const std::vector<std::string> folders = {(folder / "a").string(), (folder / "b").string()};
    EXPECT_EQ(FindCatalogue({"de_AT", "de"}, folders), (folder / "b" / "tarvo_de.qm").string());
    EXPECT_EQ(FindCatalogue({"pt_BR", "pt"}, folders), "");
    std::filesystem::remove_all(folder);
}

struct Entry {
    QString context, source;
    QStringList forms; // one, or one per plural form
    bool finished = true;
};

std::vector<Entry> ReadCatalogue(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Entry> entries;
    QString context;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            numerus = xml.attributes().value(QStringLiteral("numerus")) == u"yes";
            entries.push_back({context, {}, {}, true});
        } else if (xml.name() == u"source") {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            entries.back().finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
            if (!numerus) {
                entries.back().forms.push_back(xml.readElementText());
            }
        } else if (xml.name() == u"numerusform") {
            entries.back().forms.push_back(xml.readElementText());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

// What a translation must keep of its source: the arguments, one accelerator
// where the source has one, and the blanks at its ends where texts are joined.
QString Shape(const QString& text) {
    static const QRegularExpression argument(QStringLiteral("%L?[1-9n]"));
    QStringList arguments;
    for (const QRegularExpressionMatch& match : argument.globalMatch(text)) {
        arguments.push_back(QString(match.captured()).remove(u'L'));
    }
    arguments.sort();
    const qsizetype lead = text.size() - QString(text).remove(QRegularExpression("^\\s+")).size();
    const qsizetype trail = text.size() - QString(text).remove(QRegularExpression("\\s+$")).size();
    return arguments.join(u' ') + QStringLiteral(" &%1 <%2 >%3")
                                      .arg(QString(text).remove(QStringLiteral("&&")).count(u'&'))
                                      .arg(text.left(lead), text.right(trail));
}

TEST(CatalogueTest, EveryTranslationKeepsItsSourcesArgumentsAndForms) {
    const std::pair<const char*, int> languages[] = {
        {"de", 2}, {"es", 2}, {"fi", 2}, {"fr", 2}, {"ja", 1}};
    for (const auto& [language, pluralForms] : languages) {
        const std::vector<Entry> entries = ReadCatalogue(
            QStringLiteral(TARVO_SOURCE_DIR "/translations/tarvo_%1.ts").arg(language));
        EXPECT_GT(entries.size(), 200u) << language;
        for (const Entry& entry : entries) {
            SCOPED_TRACE(std::string(language) + " " + entry.context.toStdString() + ": " +
                         entry.source.toStdString());
            EXPECT_TRUE(entry.finished);
            const bool numerus = entry.source.contains(QStringLiteral("%n"));
            EXPECT_EQ(entry.forms.size(), numerus ? pluralForms : 1);
            for (const QString& form : entry.forms) {
                EXPECT_FALSE(form.isEmpty());
                EXPECT_EQ(Shape(form).toStdString(), Shape(entry.source).toStdString())
                    << form.toStdString();
            }
        }
    }
}

} // namespace
