#include "CompanionProgram.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::string CompanionProgram(const std::string& name, const std::string& installed) {
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        return {};
    }
    std::string folder(self, static_cast<std::size_t>(length));
    folder.erase(folder.rfind('/') + 1);
    for (const std::string& candidate : {folder + name, folder + installed}) {
        char resolved[PATH_MAX];
        struct stat st {};
        if (::realpath(candidate.c_str(), resolved) != nullptr && ::stat(resolved, &st) == 0 &&
            S_ISREG(st.st_mode) && ::access(resolved, X_OK) == 0) {
            return resolved;
        }
    }
    return {};
}
