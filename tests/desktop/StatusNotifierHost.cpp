#include "StatusNotifierHost.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <stdexcept>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

// One (ia{sv}av) node of a dbusmenu layout, its children flattened after it.
void ReadNode(const QDBusArgument& argument, std::vector<PublishedItem>& items, bool root) {
    int id = 0;
    QVariantMap properties;
    QVariantList children;
    argument.beginStructure();
    argument >> id >> properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        children.push_back(child.variant());
    }
    argument.endArray();
    argument.endStructure();
    // A hidden entry is not drawn.
    if (!root && properties.value(QStringLiteral("visible"), true).toBool()) {
        items.push_back({id,
                         properties.value(QStringLiteral("type"), QStringLiteral("standard"))
                             .toString()
                             .toStdString(),
                         properties.value(QStringLiteral("label")).toString().toStdString()});
    }
    for (const QVariant& child : children) {
        ReadNode(child.value<QDBusArgument>(), items, false);
    }
}

QDBusMessage Call(const SessionBus& bus, const QString& item, const QString& path,
                  const QString& interface, const QString& method, const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(item, path, interface, method);
    call.setArguments(args);
    return bus.Connection().call(call, QDBus::Block, 5000);
}

} // namespace

SessionBus::SessionBus() {
    static int count = 0;
    m_name = QStringLiteral("tarvo-test-bus-%1").arg(++count);
    QDBusConnection::connectToBus(QString::fromStdString(m_daemon.Address()), m_name);
}

SessionBus::~SessionBus() {
    QDBusConnection::disconnectFromBus(m_name);
}

QDBusConnection SessionBus::Connection() const {
    return QDBusConnection(m_name);
}

StatusNotifierWatcher::StatusNotifierWatcher(const SessionBus& bus, bool hostRegistered)
    : m_connection(bus.Connection()), m_hostRegistered(hostRegistered) {
    m_connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                QDBusConnection::ExportAllSlots |
                                    QDBusConnection::ExportAllSignals |
                                    QDBusConnection::ExportAllProperties);
    if (!m_connection.registerService(kWatcherService)) {
        throw std::runtime_error("cannot own the watcher's name");
    }
}

StatusNotifierWatcher::~StatusNotifierWatcher() {
    m_connection.unregisterService(kWatcherService);
    m_connection.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
}

void StatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service) {
    m_items.push_back(service);
}

void StatusNotifierWatcher::RegisterStatusNotifierHost(const QString&) {}

void StatusNotifierWatcher::HostStarted() {
    m_hostRegistered = true;
    emit StatusNotifierHostRegistered();
}

std::string MenuPath(const SessionBus& bus, const QString& item) {
    QDBusMessage reply =
        Call(bus, item, QStringLiteral("/StatusNotifierItem"),
             QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
             {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Menu")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments()
        .front()
        .value<QDBusVariant>()
        .variant()
        .value<QDBusObjectPath>()
        .path()
        .toStdString();
}

std::string ToolTipTitle(const SessionBus& bus, const QString& item) {
    QDBusMessage reply =
        Call(bus, item, QStringLiteral("/StatusNotifierItem"),
             QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
             {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("ToolTip")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    // (s a(iiay) s s): icon name, icon pixmaps, title, description.
    const QDBusArgument tip =
        reply.arguments().front().value<QDBusVariant>().variant().value<QDBusArgument>();
    QString iconName;
    QString title;
    tip.beginStructure();
    tip >> iconName;
    tip.beginArray();
    while (!tip.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray bytes;
        tip.beginStructure();
        tip >> width >> height >> bytes;
        tip.endStructure();
    }
    tip.endArray();
    tip >> title;
    // Closing the structure is what frees the reader Qt made for it.
    tip.endStructure();
    return title.toStdString();
}

std::vector<PublishedItem> MenuLayout(const SessionBus& bus, const QString& item) {
    const std::string path = MenuPath(bus, item);
    std::vector<PublishedItem> items;
    if (path.empty() || path == "/NO_DBUSMENU") {
        return items;
    }
    QDBusMessage reply = Call(bus, item, QString::fromStdString(path), kMenuInterface,
                              QStringLiteral("GetLayout"), {0, -1, QStringList()});
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 2) {
        ReadNode(reply.arguments()[1].value<QDBusArgument>(), items, true);
    }
    return items;
}

bool ClickMenuItem(const SessionBus& bus, const QString& item, int id) {
    QDBusMessage reply =
        Call(bus, item, QString::fromStdString(MenuPath(bus, item)), kMenuInterface,
             QStringLiteral("Event"),
             {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool ActivateItem(const SessionBus& bus, const QString& item) {
    QDBusMessage reply =
        Call(bus, item, QStringLiteral("/StatusNotifierItem"),
             QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"), {0, 0});
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    return WaitFor(
        [&] {
            QCoreApplication::processEvents();
            return condition();
        },
        limit);
}
