#include "MemoryUse.h"
#include "TarvoApp.h"

#include <sys/prctl.h>

// Started by `tarvo` for everything but its command-line modes.
int main(int argc, char** argv) {
    KeepLargeListsOutOfTheHeap();
    // Known by the one name, as the manual's `kill -USR1 $(pidof tarvo)` and
    // a user's `pkill tarvo` expect.
    ::prctl(PR_SET_NAME, "tarvo");
    TarvoApplication application(argc, argv);
    CTarvoApp tarvo(application);
    if (!tarvo.InitInstance()) {
        return 0;
    }
    return application.exec();
}
