#include "FetchingWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

void DialogWaitHook() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

FetchingWindow::FetchingWindow(QWidget* owner, const char* name, const QString& caption,
                               const QString& text, std::function<void()> onCancel)
    : m_window(owner) {
    m_window.setObjectName(QString::fromLatin1(name));
    m_window.setWindowTitle(caption);
    // Only Cancel is reachable while the wait lets every event through.
    m_window.setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(&m_window);
    layout->addWidget(new QLabel(text));
    auto* cancel = new QPushButton(QCoreApplication::translate("FetchingWindow", "Cancel"));
    cancel->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(cancel, 0, Qt::AlignRight);
    QObject::connect(cancel, &QPushButton::clicked, &m_window, &QDialog::reject);
    QObject::connect(&m_window, &QDialog::rejected, &m_window,
                     [this, onCancel = std::move(onCancel)] {
                         m_cancelled = true;
                         if (onCancel) {
                             onCancel();
                         }
                     });
    m_window.show();
}
