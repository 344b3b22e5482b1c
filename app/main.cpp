#include "TarvoApp.h"

int main(int argc, char** argv) {
    TarvoApplication application(argc, argv);
    CTarvoApp tarvo(application);
    if (!tarvo.InitInstance()) {
        return 0;
    }
    return application.exec();
}
