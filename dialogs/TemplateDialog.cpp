#include "TemplateDialog.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
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
    // A minimise asked for by Qt's own decoration on Wayland shows only in
    // the window's handle: the compositor never reports it back.
    if (QWindow* handle = window.windowHandle();
        handle != nullptr && (handle->windowStates() & Qt::WindowMinimized)) {
        handle->setWindowStates(handle->windowStates() & ~Qt::WindowMinimized);
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

TemplateDialog::TemplateDialog(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_units(font()) {}

int TemplateDialog::DoModal() {
    // Modal to its owner only: with none, it blocks no other window, so the
    // tray icon still hears the click that brings this dialog forward.
    setWindowModality(Qt::WindowModal);
    return exec() == QDialog::Accepted ? 1 : 2;
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
