#include "CommandLine.h"
#include "CompanionProgram.h"
#include "MemoryUse.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

// No desktop library is loaded here: a check from the command line starts as
// quickly as any small program, and everything else is the tray program's.
int main(int argc, char** argv) {
    KeepLargeListsOutOfTheHeap();
    if (const auto exitCode = RunCommandLine(argc, argv)) {
        return *exitCode;
    }
    const std::string tray = CompanionProgram("tarvo-tray", TARVO_TRAY_INSTALLED);
    if (!tray.empty()) {
        // The same arguments, the program's own name among them, and the same process.
        ::execv(tray.c_str(), argv);
    }
    std::fprintf(stderr, "tarvo: the tray program %s cannot be started: %s\n",
                 tray.empty() ? "tarvo-tray" : tray.c_str(),
                 tray.empty() ? "it is not installed" : std::strerror(errno));
    return 1;
}
