#include "MessageBoxes.h"

#include "TemplateDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QMessageBox::Icon QtIcon(MessageBoxes::Icon icon) {
    switch (icon) {
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Error:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::Question:
        return QMessageBox::Question;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A message box grows with its text and cannot scroll; a mail's header block
// easily runs to a hundred lines, and may be megabytes.
constexpr qsizetype kBoxLines = 25;
constexpr qsizetype kBoxChars = 4000;

bool FitsABox(const QString& text) {
    return text.size() <= kBoxChars && text.count(u'\n') < kBoxLines;
}

void ShowScrolling(QWidget* owner, const QString& caption, const QString& text) {
    QDialog box(owner);
    box.setWindowTitle(caption);
    auto* view = new QPlainTextEdit(text, &box);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(view);
    layout->addWidget(buttons);
    const QRect screen = box.screen()->availableGeometry();
    box.resize(screen.width() * 6 / 10, screen.height() * 7 / 10);
    RunDialog(box);
}

// A message box sizes itself to its text alone, and the desktop cuts a
// caption its title bar has no room for; the title bar is the fixed-size
// dialogs'.
void FitTitleBar(QMessageBox& box) {
    box.setWindowFlags(FixedDialogFlags(true));
    // The desktop's title font is its own, often bold; beside the caption go
    // the window's icon, the close box and the frame's edges.
    QFont title = box.font();
    title.setBold(true);
    const QFontMetrics metrics(title);
    // Qt's own title bar on Wayland centres the caption in 14-pixel type,
    // with minimise, maximise and close (some 80 pixels) to its right.
    QFont qtTitle = box.font();
    qtTitle.setPixelSize(14);
    constexpr int kQtTitleButtons = 80;
    const int width =
        std::max(metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height(),
                 QFontMetrics(qtTitle).horizontalAdvance(box.windowTitle()) + 2 * kQtTitleButtons);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()); grid != nullptr) {
        grid->addItem(new QSpacerItem(width, 0), grid->rowCount(), 0, 1, grid->columnCount());
    }
}

} // namespace

void QtMessageBoxes::Show(QWidget* owner, const QString& caption, const QString& text, Icon icon) {
    if (!FitsABox(text)) {
        ShowScrolling(owner, caption, text);
        return;
    }
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, owner);
    // Header texts come from mail servers; they must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    FitTitleBar(box);
    RunDialog(box);
}

MessageBoxes::Answer QtMessageBoxes::Ask(QWidget* owner, const QString& caption,
                                         const QString& text, Choices choices) {
    const bool cancellable = choices == Choices::YesNoCancel;
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No |
                        (cancellable ? QMessageBox::Cancel : QMessageBox::NoButton),
                    owner);
    box.setTextFormat(Qt::PlainText);
    // A plain yes-or-no question grants something on Yes (trust in a
    // certificate), so Enter must not answer it; one that can be cancelled
    // offers to keep what the user typed, which Enter may well accept.
    box.setDefaultButton(cancellable ? QMessageBox::Yes : QMessageBox::No);
    FitTitleBar(box);
    switch (RunDialog(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return cancellable ? Answer::Cancel : Answer::No;
    }
}

void RecordingMessageBoxes::Show(QWidget* owner, const QString& caption, const QString& text,
                                 Icon icon) {
    shown.push_back({owner, caption, text, icon});
}

MessageBoxes::Answer RecordingMessageBoxes::Ask(QWidget* owner, const QString& caption,
                                                const QString& text, Choices choices) {
    shown.push_back({owner, caption, text, Icon::Question});
    if (answers.empty()) {
        return choices == Choices::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    const Answer next = answers.front();
    answers.erase(answers.begin());
    return next;
}
