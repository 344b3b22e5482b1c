#include "AboutDlg.h"

#include "TarvoResources.h"
#include "resource.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(MessageBoxes& boxes, QWidget* parent)
    : TemplateDialog(parent, FixedDialogFlags(true)), m_boxes(boxes) {
    setWindowTitle(QCoreApplication::translate("AboutDlg", "About Tarvo"));
    setFixedSize(Units().Size(239, 98));

    auto* ok = Place(new QPushButton(QCoreApplication::translate("AboutDlg", "OK"), this), "ok",
                     103, 77, 50, 14);
    ok->setDefault(true);
    auto* text = Place(new QLabel(AboutText(), this), "text", 7, 7, 144, 66);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* thanks =
        Place(new QPushButton(QCoreApplication::translate("AboutDlg", "Thanks to..."), this),
              "thanks", 7, 77, 50, 14);
    auto* picture = Place(new QLabel(this), "picture", 160, 8, 72, 83);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(TarvoBitmap(IDB_ABOUT).scaled(
        picture->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(thanks, &QPushButton::clicked, this, &CAboutDlg::OnThanks);
}

QString CAboutDlg::AboutText() {
    return QCoreApplication::translate(
               "AboutDlg",
               "Tarvo: multiple account mail checker\nMade by Halvik\nVersion %1\n\nReports and "
               "suggestions to:\ntarvo@example.org\nMore information:\nhttps://example.org/tarvo")
        .arg(QStringLiteral(TARVO_VERSION));
}

bool CAboutDlg::event(QEvent* event) {
    // F1 would ask the program for help, which opens this very box again.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return TemplateDialog::event(event);
}

void CAboutDlg::OnThanks() {
    m_boxes.Show(this,
                 QCoreApplication::translate("AboutDlg", "Thanks for their response and help to:"),
                 TarvoString(IDS_CONTRIBUTORS), MessageBoxes::Icon::None);
}
