// The one icon in the notification area. At log-in the panel often starts
// after Tarvo; the icon then waits for a tray to appear instead of being lost.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>

class TrayIcon : public QObject {
public:
    // Receives WM_LBUTTONUP or WM_RBUTTONUP for a left or right click, from
    // within the click's own handling.
    explicit TrayIcon(std::function<void(uint32_t)> onMouse);

    // The window an XEmbed tray shows the icon in.
    static bool IsIconWindow(const QObject* object);

    void Add(const QIcon& icon, const QString& tip);
    void Modify(const QIcon& icon, const QString& tip);
    void Remove();
    // The menu the icon offers (none when null); the desktop shows it.
    void SetMenu(QMenu* menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AppearWhenTrayExists();
    void ShowTip();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    std::function<void(uint32_t)> m_onMouse;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QMenu* m_menu = nullptr;
    QTimer m_trayWatch;
    QIcon m_image;
    QString m_tip;
};

// While a conversation waits, the only input read is a click on the tray
// icon and in its menu: the busy window answers it at once (by its menu of
// "Stop check" and "Quit"), instead of finding it queued once the check is
// over and starting another.
class TrayInputOnly : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
