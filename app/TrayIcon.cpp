#include "TrayIcon.h"

#include "resource.h"

#include <QApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QMenu>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace {

// How soon to ask again for a start in place that could not happen yet.
constexpr int kRestartRetryMs = 1000;

} // namespace

TrayIcon::TrayIcon(std::function<void(uint32_t)> onMouse)
    : m_onMouse(std::move(onMouse)), m_trayWatch([this] { AppearWhenTrayExists(); }),
      m_hostWatch(QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus(),
                  QDBusServiceWatcher::WatchForRegistration) {
    m_restartLater.setSingleShot(true);
    m_restartLater.setInterval(kRestartRetryMs);
    connect(&m_restartLater, &QTimer::timeout, this, &TrayIcon::AppearWhenTrayExists);
    connect(&m_hostWatch, &QDBusServiceWatcher::serviceRegistered, this, &TrayIcon::OnHostAppeared);
    QDBusConnection::sessionBus().connect(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.kde.StatusNotifierWatcher"),
        QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(OnHostAppeared()));
    QApplication::instance()->installEventFilter(this);
}

void TrayIcon::OnHostAppeared() {
    m_hostAppeared = true;
    AppearWhenTrayExists();
}

void TrayIcon::Add(const QIcon& icon, const QString& tip) {
    m_image = icon;
    m_tip = tip;
    m_waiting = true;
    AppearWhenTrayExists();
}

void TrayIcon::Modify(const QIcon& icon, const QString& tip) {
    m_image = icon;
    m_tip = tip;
    if (m_icon) {
        m_icon->setIcon(icon);
        ShowTip();
    }
}

void TrayIcon::SetMenu(QMenu* menu) {
    m_menu = menu;
    if (m_icon) {
        m_icon->setContextMenu(menu);
    }
}

void TrayIcon::Remove() {
    m_waiting = false;
    m_restartLater.stop();
    m_icon.reset();
}

// The icon is made only once a tray exists, because Qt settles at creation
// whether it talks to a StatusNotifierItem host or to an XEmbed tray.
void TrayIcon::AppearWhenTrayExists() {
    if (!m_waiting) {
        return; // shown already, or not wanted
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Qt decides once per process whether it speaks to a host over the
        // bus; one that came later is reached only by starting again.
        if (m_hostAppeared && m_restart) {
            m_restart();
            m_restartLater.start();
        }
        return;
    }
    m_waiting = false;
    m_restartLater.stop();
    m_icon = std::make_unique<QSystemTrayIcon>(m_image);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayIcon::OnActivated);
    m_icon->setContextMenu(m_menu);
    m_icon->show();
    ShowTip();
}

void TrayIcon::ShowTip() {
    m_icon->setToolTip(m_tip);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (IsIconWindow(window)) {
            window->setWindowTitle(m_tip);
        }
    }
}

// The tip also becomes the title of the icon's XEmbed window, where trays,
// window lists and tests can read it without hovering. Qt makes that window
// again whenever a tray (re)appears, so each new one is caught as it shows.
bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() && IsIconWindow(watched)) {
        static_cast<QWidget*>(watched)->setWindowTitle(m_tip);
    }
    return false;
}

bool TrayIcon::IsIconWindow(const QObject* object) {
    return object->objectName() == QLatin1String("QSystemTrayIconSys");
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    uint32_t mouseMessage = 0;
    // The second click of a double click comes as DoubleClick only; it still
    // is a release of the left button.
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
        mouseMessage = WM_LBUTTONUP;
    } else if (reason == QSystemTrayIcon::Context) {
        mouseMessage = WM_RBUTTONUP;
    } else {
        return;
    }
    m_onMouse(mouseMessage);
}

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// The icon's window and the menu it pops up, as widgets or as the windows
// that carry them.
bool IsTrayInput(const QObject* watched) {
    auto isTray = [](const QObject* object) {
        return TrayIcon::IsIconWindow(object) || qobject_cast<const QMenu*>(object) != nullptr;
    };
    if (isTray(watched)) {
        return true;
    }
    if (watched->isWindowType()) {
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == watched) {
                return isTray(widget);
            }
        }
    }
    return false;
}

} // namespace

bool TrayInputOnly::eventFilter(QObject* watched, QEvent* event) {
    return IsUserInput(event->type()) && !IsTrayInput(watched);
}
