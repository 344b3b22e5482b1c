#include "TarvoResources.h"

#include "resource.h"

#include <QCoreApplication>
#include <map>

// Outside any namespace, as Q_INIT_RESOURCE requires. A static library's
// resources are not registered by themselves.
static void LoadTarvoResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(tarvo);
        return true;
    }();
    (void)loaded;
}

namespace {

bool IsIcon(int id) {
    return id == IDI_UNREAD || id == IDI_IDLE || id == IDI_CONTACTING || id == IDI_RETRIEVING;
}

QIcon MakeIcon(int id) {
    QIcon icon;
    for (int size : {32, 16}) {
        icon.addFile(QStringLiteral(":/tarvo/%1-%2.xpm").arg(id).arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace

// Every QIcon made anew brings its own images into Qt's pixmap cache, which
// keeps them; the tray changes its icon three times a check, so a fresh icon
// each time made the program grow for as long as it ran. Each icon is made
// once and shared. Never freed: they live as long as the program, and must
// not outlive the application object in a static's destructor.
QIcon TarvoIcon(int id) {
    if (!IsIcon(id)) {
        return {};
    }
    LoadTarvoResources();
    static const auto* icons = new std::map<int, QIcon>{
        {IDI_UNREAD, MakeIcon(IDI_UNREAD)},
        {IDI_IDLE, MakeIcon(IDI_IDLE)},
        {IDI_CONTACTING, MakeIcon(IDI_CONTACTING)},
        {IDI_RETRIEVING, MakeIcon(IDI_RETRIEVING)},
    };
    return icons->at(id);
}

QPixmap TarvoBitmap(int id) {
    if (id != IDB_ABOUT) {
        return {};
    }
    LoadTarvoResources();
    return QPixmap(QStringLiteral(":/tarvo/%1.xpm").arg(id));
}

QString TarvoString(int id) {
    switch (id) {
    case IDS_SOCKETS_INIT_FAILED:
        return QCoreApplication::translate("TarvoResources",
                                           "Windows sockets initialization failed.");
    case IDS_APP_TITLE:
        return QStringLiteral("Tarvo");
    case IDS_CONTRIBUTORS:
        return QStringLiteral("Aino Lehtovaara,\nBrannoc Dufresne,\nCelestine Okoro-Vale,\n"
                              "Dario Pellinore,\nEmber Quistgaard");
    default:
        return {};
    }
}
