// Finding and driving the dialogs' controls by the names of their roles.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

template <typename W> W* Child(const QWidget& dialog, const char* name) {
    auto* child = dialog.findChild<W*>(QString::fromLatin1(name));
    if (child == nullptr) {
        ADD_FAILURE() << "no control named " << name;
    }
    return child;
}

inline void Click(const QWidget& dialog, const char* name) {
    QTest::mouseClick(Child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

// What a real double-click delivers: press, release, double-click, release.
inline void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

// Shortcuts and focus only work in the active window.
inline bool ShowActive(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

// A list's lines as the user sees them, by line and column.
inline QModelIndex Cell(const QAbstractItemView* list, int line, int column = 0) {
    return list->model()->index(line, column);
}
inline int LineCount(const QAbstractItemView* list) {
    return list->model()->rowCount();
}
inline QString CellText(const QAbstractItemView* list, int line, int column) {
    return Cell(list, line, column).data().toString();
}
inline QPoint LineCentre(const QAbstractItemView* list, int line) {
    return list->visualRect(Cell(list, line)).center();
}
