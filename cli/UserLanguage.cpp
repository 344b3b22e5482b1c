#include "UserLanguage.h"

#include "Language.h"
#include "Translate.h"

#include <dlfcn.h>
#include <string>

void SpeakUserLanguage() {
    const std::string catalogue = UserCatalogue();
    if (catalogue.empty()) {
        return;
    }
    // Kept loaded for the program's life: the hook lives in it.
    for (const std::string& path :
         {InstalledPath(TARVO_INSTALLED_MODULE), std::string(TARVO_BUILT_MODULE)}) {
        void* module = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            continue;
        }
        using Load = TranslateHook (*)(const char*);
        const auto load = reinterpret_cast<Load>(dlsym(module, "tarvo_catalogue_hook"));
        if (const TranslateHook hook = load != nullptr ? load(catalogue.c_str()) : nullptr) {
            SetTranslateHook(hook);
        }
        return;
    }
}
