#include "MessageBoxes.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon QtIcon(MessageBoxes::Icon icon) {
    switch (icon) {
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Error:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtMessageBoxes::Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) {
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, owner);
    // Header texts come from mail servers; they must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void RecordingMessageBoxes::Show(QWidget* owner, const QString& caption, const QString& text,
                                 Icon icon) {
    shown.push_back({owner, caption, text, icon});
}
