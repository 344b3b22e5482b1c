#include "TarvoResources.h"

#include "resource.h"

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

} // namespace

QIcon TarvoIcon(int id) {
    LoadTarvoResources();
    QIcon icon;
    if (IsIcon(id)) {
        for (int size : {32, 16}) {
            icon.addFile(QStringLiteral(":/tarvo/%1-%2.xpm").arg(id).arg(size), QSize(size, size));
        }
    }
    return icon;
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
        return QStringLiteral("Windows sockets initialization failed.");
    case IDS_APP_TITLE:
        return QStringLiteral("Tarvo");
    case IDS_CONTRIBUTORS:
        return QStringLiteral("Aino Lehtovaara,\nBrannoc Dufresne,\nCelestine Okoro-Vale,\n"
                              "Dario Pellinore,\nEmber Quistgaard");
    default:
        return {};
    }
}
