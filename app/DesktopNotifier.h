// New mail told through the desktop's notification service
// (org.freedesktop.Notifications on the session bus): one notification at a
// time, each replacing the one before, whose "Show" (or a click on it) opens
// the headers window. Without a bus or a service nothing happens.
#pragma once

#include "MessageTable.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    explicit DesktopNotifier(std::function<void()> onShow);

    void NotifyNewMail(const MessageTable& table, int newCount);

    // The notification's text for the new rows of table.
    static QString Summary(int newCount);
    static QString Body(const MessageTable& table);

private slots:
    // A D-Bus signal reaches only a named slot.
    void OnActionInvoked(uint id, const QString& action);

private:
    void Send(const QString& summary, const QString& body);

    std::function<void()> m_onShow;
    uint m_shownId = 0;
    // Until the service has answered with the id to replace, a newer
    // notification waits here, or it would stand beside the one before.
    bool m_awaitingId = false;
    std::optional<std::pair<QString, QString>> m_waiting;
};
