#include "TemplateDialog.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

int Scale(int value, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                            denominator);
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_charWidth = (alphabet / 26 + 1) / 2;
    m_charHeight = metrics.height();
}

int DialogUnits::X(int dlu) const {
    return Scale(dlu, m_charWidth, 4);
}

int DialogUnits::Y(int dlu) const {
    return Scale(dlu, m_charHeight, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(width), Y(height)};
}

QSize DialogUnits::Size(int width, int height) const {
    return {X(width), Y(height)};
}

Qt::WindowFlags FixedDialogFlags(bool closeBox) {
    const Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    return closeBox ? flags | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint : flags;
}

void BringForward(QWidget& window) {
    constexpr Qt::WindowStates kAside = Qt::WindowMinimized | Qt::WindowMaximized;
    // A minimise asked for by Qt's own decoration on Wayland shows only in
    // the window's handle: the compositor never reports it back.
    if (QWindow* handle = window.windowHandle();
        handle != nullptr && (handle->windowStates() & kAside)) {
        handle->setWindowStates(handle->windowStates() & ~kAside);
    }
    window.setWindowState(window.windowState() & ~kAside);
    if (window.isVisible() && QGuiApplication::platformName() == QLatin1String("wayland")) {
        window.hide();
    }
    window.show();
    window.raise();
    window.activateWindow();
}

int RunDialog(QDialog& dialog) {
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    // The dialog may go with the loop still running (its owner closed).
    QObject::connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    // Modal as exec would make it: to its owner's window where asked, else to
    // the whole program.
    const bool wasShowModal = dialog.testAttribute(Qt::WA_ShowModal);
    dialog.setAttribute(Qt::WA_ShowModal, true);
    dialog.setResult(0);
    dialog.show();
    // Qt's own title bar on Wayland draws minimise and maximise whatever the
    // window's flags say, and tells only the window's handle; a dialog
    // minimised there could not be found again without a task bar, and the
    // program would wait on it for ever.
    const QMetaObject::Connection keepShown = QObject::connect(
        dialog.windowHandle(), &QWindow::windowStateChanged, &dialog,
        [&dialog](Qt::WindowState state) {
            if (state == Qt::WindowMinimized || state == Qt::WindowMaximized) {
                QTimer::singleShot(0, &dialog, [&dialog] { BringForward(dialog); });
            }
        });
    QPointer<QDialog> alive = &dialog;
    loop.exec(QEventLoop::DialogExec);
    if (alive.isNull()) {
        return 0;
    }
    QObject::disconnect(keepShown);
    dialog.setAttribute(Qt::WA_ShowModal, wasShowModal);
    return dialog.result();
}

TemplateDialog::TemplateDialog(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_units(font()) {}

int TemplateDialog::DoModal() {
    // Modal to its owner only: with none, it blocks no other window, so the
    // tray icon still hears the click that brings this dialog forward.
    setWindowModality(Qt::WindowModal);
    return RunDialog(*this) == QDialog::Accepted ? 1 : 2;
}

void TemplateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
}

void TemplateDialog::PlaceWidget(QWidget* widget, const char* name, const QRect& rect) {
    widget->setObjectName(QString::fromLatin1(name));
    QRect placed = rect;
    // Fonts differ in shape as well as size: a text that needs more room than
    // its template gives it grows to the right rather than being cut off.
    if (qobject_cast<QLabel*>(widget) != nullptr ||
        qobject_cast<QAbstractButton*>(widget) != nullptr) {
        placed.setWidth(std::max(rect.width(), widget->sizeHint().width()));
    }
    widget->setGeometry(placed);
}
