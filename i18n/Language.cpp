#include "Language.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

bool IsC(std::string_view locale) {
    return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

bool IsSource(std::string_view locale) {
    return IsC(locale) || locale.starts_with("en");
}

// "de_AT.UTF-8@euro" as "de_AT" and "de"; a name that could lead out of the
// catalogues' folder is none.
void AddLanguage(std::string_view locale, std::vector<std::string>& languages) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale.find('/') != std::string_view::npos) {
        return;
    }
    languages.emplace_back(locale);
    const std::size_t territory = locale.find('_');
    if (territory != std::string_view::npos) {
        languages.emplace_back(locale.substr(0, territory));
    }
}

} // namespace

std::vector<std::string> WantedLanguages(const std::function<const char*(const char*)>& variable) {
    const auto value = [&variable](const char* name) {
        const char* text = variable(name);
        return std::string_view(text != nullptr ? text : "");
    };
    std::string_view locale = value("LC_ALL");
    for (const char* name : {"LC_MESSAGES", "LANG"}) {
        locale = locale.empty() ? value(name) : locale;
    }
    // No locale at all is C, which heeds no LANGUAGE.
    std::vector<std::string> languages;
    if (locale.empty() || IsC(locale)) {
        return languages;
    }
    std::string_view list = value("LANGUAGE");
    if (list.empty()) {
        list = locale;
    }
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t colon = std::min(list.find(':', start), list.size());
        const std::string_view entry = list.substr(start, colon - start);
        start = colon + 1;
        if (IsSource(entry)) {
            break;
        }
        AddLanguage(entry, languages);
    }
    return languages;
}

std::string FindCatalogue(const std::vector<std::string>& languages,
                          const std::vector<std::string>& folders) {
    for (const std::string& language : languages) {
        for (const std::string& folder : folders) {
            const std::filesystem::path path =
                std::filesystem::path(folder) / ("tarvo_" + language + ".qm");
            std::error_code error;
            if (std::filesystem::is_regular_file(path, error)) {
                return path.string();
            }
        }
    }
    return {};
}

std::string InstalledPath(const std::string& relative) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : (program.parent_path().parent_path() / relative).string();
}

std::vector<std::string> CatalogueFolders() {
    return {InstalledPath(TARVO_INSTALLED_CATALOGUES), TARVO_BUILT_CATALOGUES};
}

std::string UserCatalogue() {
    return FindCatalogue(WantedLanguages(std::getenv), CatalogueFolders());
}
