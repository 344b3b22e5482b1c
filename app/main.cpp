#include "CommandLine.h"
#include "MemoryUse.h"
#include "TarvoApp.h"

int main(int argc, char** argv) {
    KeepLargeListsOutOfTheHeap();
    // Before Qt: a check from the command line needs no desktop.
    if (const auto exitCode = RunCommandLine(argc, argv)) {
        return *exitCode;
    }
    TarvoApplication application(argc, argv);
    CTarvoApp tarvo(application);
    if (!tarvo.InitInstance()) {
        return 0;
    }
    return application.exec();
}
