#include "DesktopNotifier.h"

#include "HeaderDisplay.h"
#include "Text.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTextBoundaryFinder>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// A click on the notification's body is its default action.
const QString kShowAction = QStringLiteral("default");
const QString kReadMailAction = QStringLiteral("read-mail");
constexpr int kListedMessages = 3;
constexpr qsizetype kLineLength = 120;

// A header can be megabytes long (a folded Subject, unfolded); a line shows
// its start, cut between two characters as the user sees them. Whether a
// place is such a boundary depends on what comes before it and on the one
// character after it, so a little more than the line is enough to look at.
QString Shortened(const QString& line) {
    if (line.size() <= kLineLength) {
        return line;
    }
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line.left(kLineLength + 2));
    characters.setPosition(kLineLength);
    if (!characters.isAtBoundary()) {
        characters.toPreviousBoundary();
    }
    return line.left(characters.position()) + QChar(0x2026);
}

} // namespace

DesktopNotifier::DesktopNotifier(std::function<void()> onShow, std::function<void()> onReadMail)
    : m_onShow(std::move(onShow)), m_onReadMail(std::move(onReadMail)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(OnActionInvoked(uint, QString)));
    }
}

QString DesktopNotifier::Summary(int newCount) {
    return newCount == 1
               ? QCoreApplication::translate("DesktopNotifier", "1 new message")
               : QCoreApplication::translate("DesktopNotifier", "%1 new messages").arg(newCount);
}

QString DesktopNotifier::Body(const MessageTable& table) {
    QStringList lines;
    int more = 0;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table.State(row) != MessageNew) {
            continue;
        }
        if (lines.size() == kListedMessages) {
            ++more;
            continue;
        }
        lines << Shortened(ShownHeader(table.From(row), HeaderKind::From) + QStringLiteral(": ") +
                           ShownHeader(table.Subject(row), HeaderKind::Subject));
    }
    if (more > 0) {
        lines << QCoreApplication::translate("DesktopNotifier", "and %1 more").arg(more);
    }
    return lines.join(QLatin1Char('\n'));
}

void DesktopNotifier::NotifyNewMail(const MessageTable& table, int newCount) {
    Shown shown{Summary(newCount), Body(table)};
    if (m_awaitingId) {
        m_waiting = std::move(shown);
        return;
    }
    Send(shown);
}

// Asked each time: the server may have been replaced since the last one.
// Asynchronous: a slow or missing service must not hold the check up.
void DesktopNotifier::Send(const Shown& shown) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    m_awaitingId = true;
    auto* watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                     QStringLiteral("GetCapabilities"))),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, shown](QDBusPendingCallWatcher* finished) {
                QDBusPendingReply<QStringList> reply = *finished;
                finished->deleteLater();
                Notify(shown,
                       !reply.isError() && reply.value().contains(QStringLiteral("body-markup")));
            });
}

// A server that reads no markup shows the body as it comes, so only one
// that does gets it escaped.
void DesktopNotifier::Notify(const Shown& shown, bool markup) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("tarvo")},
                            {QStringLiteral("category"), QStringLiteral("email.arrived")}};
    call << QStringLiteral("Tarvo") << m_shownId << QStringLiteral("tarvo") << shown.first
         << (markup ? shown.second.toHtmlEscaped() : shown.second)
         << QStringList{kShowAction, QCoreApplication::translate("DesktopNotifier", "Show headers"),
                        kReadMailAction,
                        QCoreApplication::translate("DesktopNotifier", "Read mail")}
         << hints << -1;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                QDBusPendingReply<uint> reply = *finished;
                if (!reply.isError()) {
                    m_shownId = reply.value();
                }
                finished->deleteLater();
                m_awaitingId = false;
                if (auto waiting = std::exchange(m_waiting, std::nullopt)) {
                    Send(*waiting);
                }
            });
}

void DesktopNotifier::OnActionInvoked(uint id, const QString& action) {
    if (id != m_shownId || id == 0) {
        return;
    }
    if (action == kShowAction && m_onShow) {
        m_onShow();
    } else if (action == kReadMailAction && m_onReadMail) {
        m_onReadMail();
    }
}
