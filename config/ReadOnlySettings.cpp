#include "ReadOnlySettings.h"

#include "AppProfile.h"
#include "MemoryRegistry.h"
#include "SettingsStore.h"

RegFileState ReadSettingsFile(const std::string& path, Options& options, AccountList& accounts) {
    MemoryRegistry copy;
    const RegFileState state = FileRegistry::ReadFile(path, copy);
    AppProfile profile(copy);
    LoadSettings(profile, options, accounts);
    return state;
}
