// Tells when the machine has resumed from suspend (logind's
// PrepareForSleep(false) on the system bus), and whether the network is
// online as that changes (where Qt has a backend for it), from the start.
// Both are signals; nothing is polled.
#pragma once

#include <QNetworkInformation>
#include <QObject>
#include <functional>

class WakeWatcher : public QObject {
    Q_OBJECT

public:
    WakeWatcher(std::function<void()> onResume, std::function<void(bool online)> onNetwork);

private slots:
    // A D-Bus signal reaches only a named slot.
    void OnPrepareForSleep(bool goingToSleep);

private:
    void OnReachability(QNetworkInformation::Reachability reachability);

    std::function<void()> m_onResume;
    std::function<void(bool online)> m_onNetwork;
    QNetworkInformation::Reachability m_reachability = QNetworkInformation::Reachability::Unknown;
};
