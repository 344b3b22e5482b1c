// The one icon in the notification area. At log-in the panel often starts
// after Tarvo; the icon then waits for a tray to appear instead of being lost,
// without looking again and again: an XEmbed tray is heard of when it
// announces itself on the X display, a StatusNotifierItem host when its
// watcher comes onto the session bus or, with a watcher already there, when
// the host registers with it.
#pragma once

#include "XEmbedTrayWatch.h"

#include <QDBusServiceWatcher>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // Receives WM_LBUTTONUP or WM_RBUTTONUP for a left or right click, from
    // within the click's own handling.
    explicit TrayIcon(std::function<void(uint32_t)> onMouse);

    // The window an XEmbed tray shows the icon in.
    static bool IsIconWindow(const QObject* object);

    // Called when a StatusNotifierItem host appears that Qt, having looked
    // once, will not use; returns only when the program cannot start again
    // now (it is asked again while no icon is shown).
    void OnLateHost(std::function<void()> restart) { m_restart = std::move(restart); }

    void Add(const QIcon& icon, const QString& tip);
    void Modify(const QIcon& icon, const QString& tip);
    void Remove();
    // The menu the icon offers (none when null); the desktop shows it.
    void SetMenu(QMenu* menu);
    // Where the icon is on the screen; empty where the tray does not tell.
    QRect Geometry() const { return m_icon ? m_icon->geometry() : QRect(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnHostAppeared();

private:
    void AppearWhenTrayExists();
    void ShowTip();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    std::function<void(uint32_t)> m_onMouse;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QMenu* m_menu = nullptr;
    bool m_waiting = false; // for a tray, to show the icon in
    XEmbedTrayWatch m_trayWatch;
    // Asks again for a start in place that could not happen at once.
    QTimer m_restartLater;
    QDBusServiceWatcher m_hostWatch;
    bool m_hostAppeared = false;
    std::function<void()> m_restart;
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
