// A private session bus with a stand-in for a panel's StatusNotifierItem
// host: the watcher service that items register with, and the calls a host
// makes to draw an item's menu and to pass on a click in it.
#pragma once

#include "Desktop.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class SessionBus {
public:
    SessionBus();
    ~SessionBus();

    const std::string& Address() const { return m_daemon.Address(); }
    QDBusConnection Connection() const;

private:
    BusDaemon m_daemon;
    QString m_name;
};

// Answers as a panel's watcher does, with a host registered, or with none
// until HostStarted.
class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

public:
    explicit StatusNotifierWatcher(const SessionBus& bus, bool hostRegistered = true);
    ~StatusNotifierWatcher() override;

    bool IsStatusNotifierHostRegistered() const { return m_hostRegistered; }
    // A panel's host registers with the watcher, which tells the bus.
    void HostStarted();
    QStringList RegisteredStatusNotifierItems() const { return m_items; }
    int ProtocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& service);
    void RegisterStatusNotifierHost(const QString& service);

signals:
    void StatusNotifierHostRegistered();

private:
    QDBusConnection m_connection;
    bool m_hostRegistered;
    QStringList m_items;
};

// One menu entry as the item publishes it.
struct PublishedItem {
    int id;
    std::string type; // "separator" or "standard"
    std::string label;
};

// The item's menu from its GetLayout; empty when there is none.
std::vector<PublishedItem> MenuLayout(const SessionBus& bus, const QString& item);
// A click on the menu entry with the given id, as a host reports it.
bool ClickMenuItem(const SessionBus& bus, const QString& item, int id);
// A left click on the icon, as a host reports it.
bool ActivateItem(const SessionBus& bus, const QString& item);
// The item's Menu property, the object path of its menu.
std::string MenuPath(const SessionBus& bus, const QString& item);

// The title of the item's ToolTip property, the text a panel shows over it.
std::string ToolTipTitle(const SessionBus& bus, const QString& item);

// Lets the bus calls of this process be answered while waiting.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 15s);
