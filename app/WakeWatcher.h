// Tells when a check is worth making at once: the machine has resumed from
// suspend (logind's PrepareForSleep(false) on the system bus) or the network
// has become reachable again (where Qt has a backend for it). Both are
// signals; nothing is polled.
#pragma once

#include <QNetworkInformation>
#include <QObject>
#include <functional>

class WakeWatcher : public QObject {
    Q_OBJECT

public:
    explicit WakeWatcher(std::function<void()> onWake);

private slots:
    // A D-Bus signal reaches only a named slot.
    void OnPrepareForSleep(bool goingToSleep);

private:
    void OnReachability(QNetworkInformation::Reachability reachability);

    std::function<void()> m_onWake;
    QNetworkInformation::Reachability m_reachability = QNetworkInformation::Reachability::Unknown;
};
