#include "WakeWatcher.h"

#include <QDBusConnection>

WakeWatcher::WakeWatcher(std::function<void()> onWake) : m_onWake(std::move(onWake)) {
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
    }
}

void WakeWatcher::OnPrepareForSleep(bool goingToSleep) {
    if (!goingToSleep) {
        m_onWake();
    }
}

// Only the way back online counts: a check while offline would only fail.
// Whatever came before counts as offline, Unknown too: that is how Qt reports
// a connection being brought up or a network asleep.
void WakeWatcher::OnReachability(QNetworkInformation::Reachability reachability) {
    const bool cameOnline = reachability == QNetworkInformation::Reachability::Online &&
                            m_reachability != QNetworkInformation::Reachability::Online;
    m_reachability = reachability;
    if (cameOnline) {
        m_onWake();
    }
}
