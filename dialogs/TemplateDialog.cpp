#include "TemplateDialog.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <map>

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
    if (!m_initialised && minimumSize() == maximumSize()) {
        FitToTexts();
    }
    QDialog::showEvent(event);
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
}

namespace {

// The room a control's text needs: a label that wraps needs its longest word.
int NeededWidth(QWidget* widget, int width) {
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr) {
        return std::max(width, label->wordWrap() ? label->minimumSizeHint().width()
                                                 : label->sizeHint().width());
    }
    if (qobject_cast<QAbstractButton*>(widget) != nullptr) {
        return std::max(width, widget->sizeHint().width());
    }
    return width;
}

} // namespace

void TemplateDialog::PlaceWidget(QWidget* widget, const char* name, const QRect& units) {
    widget->setObjectName(QString::fromLatin1(name));
    QRect placed = m_units.Rect(units.x(), units.y(), units.width(), units.height());
    // Fonts differ in shape as well as size: a text that needs more room than
    // its template gives it grows to the right rather than being cut off.
    placed.setWidth(NeededWidth(widget, placed.width()));
    widget->setGeometry(placed);
    m_placed.push_back({widget, units});
}

// Longer texts (a translation's) widen their controls. What stands to the
// right of a widened control moves over as far as it would be overlapped, a
// control that holds others (a group box) widens around them, boxes, lists
// and fields that end at one edge in the template end there together, and
// push buttons with them (a list over a column of buttons widens, the
// buttons move), and the dialog grows to fit.
void TemplateDialog::FitToTexts() {
    const std::size_t count = m_placed.size();
    const auto right = [this](std::size_t i) {
        return m_placed[i].units.left() + m_placed[i].units.width();
    };
    const auto bottom = [this](std::size_t i) {
        return m_placed[i].units.top() + m_placed[i].units.height();
    };
    std::vector<int> grow(count);
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int width = m_units.X(m_placed[i].units.width());
        grow[i] = NeededWidth(m_placed[i].widget, width) - width;
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return m_placed[a].units.left() < m_placed[b].units.left();
    });
    // A control moves with what moved before it, and further only as far as a
    // wider text would overlap it: one that already fitted the gap (as some
    // English ones do) moves nothing.
    const int spacing = m_units.X(2);
    std::vector<int> shift(count, 0);
    for (std::size_t j : order) {
        for (std::size_t i : order) {
            const int gap = m_units.X(m_placed[j].units.left()) - m_units.X(right(i)) - spacing;
            if (right(i) <= m_placed[j].units.left()) {
                shift[j] = std::max(shift[j], shift[i] + std::max(grow[i] - std::max(gap, 0), 0));
            }
        }
    }
    std::vector<QRect> placed(count);
    for (std::size_t i = 0; i < count; ++i) {
        const QRect& units = m_placed[i].units;
        placed[i] = m_units.Rect(units.x(), units.y(), units.width(), units.height());
        placed[i].translate(shift[i], 0);
        placed[i].setWidth(placed[i].width() + grow[i]);
    }
    // A label's taller text (a script's taller glyphs, more lines where it
    // wraps) pushes down what stands below it in the same way.
    std::vector<int> growDown(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (const auto* label = qobject_cast<QLabel*>(m_placed[i].widget); label != nullptr) {
            const int needed = label->wordWrap() ? label->heightForWidth(placed[i].width())
                                                 : label->sizeHint().height();
            growDown[i] = std::max(needed - placed[i].height(), 0);
        }
    }
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return m_placed[a].units.top() < m_placed[b].units.top();
    });
    std::vector<int> shiftDown(count, 0);
    for (std::size_t j : order) {
        for (std::size_t i : order) {
            const int gap = m_units.Y(m_placed[j].units.top()) - m_units.Y(bottom(i)) - spacing;
            if (bottom(i) <= m_placed[j].units.top()) {
                shiftDown[j] = std::max(shiftDown[j],
                                        shiftDown[i] + std::max(growDown[i] - std::max(gap, 0), 0));
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        placed[i].translate(0, shiftDown[i]);
        placed[i].setHeight(placed[i].height() + growDown[i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t k = 0; k < count; ++k) {
            if (k != i && m_placed[i].units.contains(m_placed[k].units)) {
                placed[i].setRight(std::max(placed[i].right(), placed[k].right() + m_units.X(1)));
                placed[i].setBottom(
                    std::max(placed[i].bottom(), placed[k].bottom() + m_units.Y(1)));
            }
        }
    }
    // Where no text pushed anything aside, the template stands as it was.
    bool moved = false;
    for (std::size_t i = 0; i < count; ++i) {
        moved = moved || shift[i] != 0 || shiftDown[i] != 0 ||
                placed[i].size() != m_placed[i].widget->size();
    }
    if (!moved) {
        return;
    }
    std::map<int, int> edges; // template right edge: where it ends now
    for (std::size_t i = 0; i < count; ++i) {
        edges[right(i)] = std::max(edges[right(i)], placed[i].right());
    }
    int templateRight = 0;
    int templateBottom = 0;
    int placedRight = 0;
    int placedBottom = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int edge = edges[right(i)];
        QWidget* widget = m_placed[i].widget;
        if (qobject_cast<QPushButton*>(widget) != nullptr) {
            placed[i].translate(edge - placed[i].right(), 0);
        } else if (NeededWidth(widget, 0) == 0) {
            placed[i].setRight(edge);
        }
        m_placed[i].widget->setGeometry(placed[i]);
        templateRight = std::max(templateRight, right(i));
        templateBottom = std::max(templateBottom, bottom(i));
        placedRight = std::max(placedRight, placed[i].right() + 1);
        placedBottom = std::max(placedBottom, placed[i].bottom() + 1);
    }
    setFixedSize(std::max(width(), placedRight + width() - m_units.X(templateRight)),
                 std::max(height(), placedBottom + height() - m_units.Y(templateBottom)));
}
