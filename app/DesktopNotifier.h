// New mail told through the desktop's notification service
// (org.freedesktop.Notifications on the session bus): one notification at a
// time, each replacing the one before. A click on it opens the headers
// window; its one button reads mail. Without a bus or a service nothing
// happens.
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
    DesktopNotifier(std::function<void()> onShow, std::function<void()> onReadMail);

    void NotifyNewMail(const MessageTable& table, int newCount);

    // The notification's text for the new rows of table, as plain text.
    static QString Summary(int newCount);
    static QString Body(const MessageTable& table);

private slots:
    // A D-Bus signal reaches only a named slot.
    void OnActionInvoked(uint id, const QString& action);

private:
    using Shown = std::pair<QString, QString>; // summary, body
    // Asks the server whether it reads the body as markup, then shows it.
    void Send(const Shown& shown);
    void Notify(const Shown& shown, bool markup);

    std::function<void()> m_onShow;
    std::function<void()> m_onReadMail;
    uint m_shownId = 0;
    // Until the service has answered with the id to replace, a newer
    // notification waits here, or it would stand beside the one before.
    bool m_awaitingId = false;
    std::optional<Shown> m_waiting;
};
