#include "WakeWatcher.h"

#include <QDBusConnection>

WakeWatcher::WakeWatcher(std::function<void()> onResume, std::function<void(bool online)> onNetwork)
    : m_onResume(std::move(onResume)), m_onNetwork(std::move(onNetwork)) {
    QDBusConnection systemBus = QDBusConnection::systemBus();
    if (systemBus.isConnected()) {
        systemBus.connect(QStringLiteral("org.freedesktop.login1"),
                          QStringLiteral("/org/freedesktop/login1"),
                          QStringLiteral("org.freedesktop.login1.Manager"),
                          QStringLiteral("PrepareForSleep"), this, SLOT(OnPrepareForSleep(bool)));
    }
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        QNetworkInformation* network = QNetworkInformation::instance();
        m_reachability = network->reachability();
        connect(network, &QNetworkInformation::reachabilityChanged, this,
                &WakeWatcher::OnReachability);
        if (m_reachability != QNetworkInformation::Reachability::Online) {
            m_onNetwork(false);
        }
    }
}

void WakeWatcher::OnPrepareForSleep(bool goingToSleep) {
    if (!goingToSleep) {
        m_onResume();
    }
}

// Online is Online alone: Unknown is how Qt reports a connection being
// brought up or a network asleep, and a server beyond the local network is
// not reached before.
void WakeWatcher::OnReachability(QNetworkInformation::Reachability reachability) {
    const bool online = reachability == QNetworkInformation::Reachability::Online;
    const bool wasOnline = m_reachability == QNetworkInformation::Reachability::Online;
    m_reachability = reachability;
    if (online != wasOnline) {
        m_onNetwork(online);
    }
}
