// Which of Tarvo's catalogues the user's locale asks for, chosen as gettext
// chooses a message catalogue.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The languages wanted, most wanted first, each as "de_AT" and then "de":
// LANGUAGE's colon list, unless the locale (LC_ALL, LC_MESSAGES, LANG, the
// first set) is C, POSIX or unset; else the locale. English, C or POSIX in the list
// ends it, since English is the source. Empty means English.
std::vector<std::string> WantedLanguages(const std::function<const char*(const char*)>& variable);

// The first "tarvo_<language>.qm" in the folders for the languages in their
// order; empty when there is none.
std::string FindCatalogue(const std::vector<std::string>& languages,
                          const std::vector<std::string>& folders);

// Where the catalogues are: beside an installed program, and in the build
// tree for the tests and a program run from there.
std::vector<std::string> CatalogueFolders();

// The program's own path made into "<prefix>/<relative>": where an installed
// file beside it is.
std::string InstalledPath(const std::string& relative);

// FindCatalogue for this process's environment.
std::string UserCatalogue();
