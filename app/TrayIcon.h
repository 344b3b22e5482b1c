// The one icon in the notification area. At log-in the panel often starts
// after Tarvo; the icon then waits for a tray to appear instead of being lost.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>

class TrayIcon : public QObject {
public:
    // Receives WM_LBUTTONUP or WM_RBUTTONUP for a left or right click.
    explicit TrayIcon(std::function<void(uint32_t)> onMouse);

    void Add(const QIcon& icon, const QString& tip);
    void Modify(const QIcon& icon, const QString& tip);
    void Remove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool IsIconWindow(const QObject* object);
    void AppearWhenTrayExists();
    void ShowTip();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    std::function<void(uint32_t)> m_onMouse;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QTimer m_trayWatch;
    QIcon m_image;
    QString m_tip;
};
