#include "QtWindowServices.h"

#include "AboutDlg.h"
#include "Autostart.h"
#include "HeadersDlg.h"
#include "MailboxesDlg.h"
#include "OptionsDlg.h"
#include "TarvoResources.h"
#include "TarvoWnd.h"
#include "Text.h"
#include "TrayMenu.h"
#include "resource.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QEventLoop>
#include <QMenu>
#include <utility>

QtWindowServices::QtWindowServices()
    : m_tray([this](uint32_t mouseMessage) {
          auto notify = [this, mouseMessage] {
              if (m_window != nullptr) {
                  m_window->OnTrayNotify(TRAY_ICON_ID, mouseMessage);
              }
          };
          // Outside a check, after the click's own handling, so that the
          // menu's loop never runs inside it.
          if (m_gate.Waiting()) {
              m_gate.Pass(notify);
          } else {
              m_gate.Post(notify);
          }
      }),
      m_notifier([this] {
          m_gate.Post([this] {
              if (m_window != nullptr) {
                  m_window->OnCommand(ID_HEADERS);
              }
          });
      }) {}

QtWindowServices::~QtWindowServices() = default;

void QtWindowServices::AddTrayIcon(int iconId, const std::string& tip) {
    m_tray.Add(TarvoIcon(iconId), DisplayText(tip));
}

void QtWindowServices::ModifyTrayIcon(int iconId, const std::string& tip) {
    m_tray.Modify(TarvoIcon(iconId), DisplayText(tip));
}

void QtWindowServices::DeleteTrayIcon() {
    m_tray.Remove();
}

uint32_t QtWindowServices::SetTimer(uint32_t id, uint32_t intervalMs) {
    std::unique_ptr<QTimer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
            m_gate.Deliver([this, id] {
                if (m_window != nullptr) {
                    m_window->OnTimer(id);
                }
            });
        });
    }
    timer->start(static_cast<int>(intervalMs));
    return id;
}

// Stopped, not destroyed: the tick that runs a check kills its own timer.
void QtWindowServices::KillTimer(uint32_t id) {
    if (auto found = m_timers.find(id); found != m_timers.end()) {
        found->second->stop();
    }
}

void QtWindowServices::PlayNewMailSound() {
    m_sound.Play();
}

void QtWindowServices::NotifyNewMail(const MessageTable& table, int newCount) {
    m_notifier.NotifyNewMail(table, newCount);
}

// Like a tracked pop-up menu: returns when the menu has closed, and the
// chosen command follows later through the event loop.
void QtWindowServices::ShowTrayMenu() {
    QMenu menu;
    menu.setTitle(QStringLiteral("Tarvo"));
    for (const TrayMenuItem& item : kTrayMenu) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromLatin1(item.text));
        action->setData(static_cast<uint32_t>(item.id));
        if (item.id == ID_CHECK_NOW) {
            menu.setDefaultAction(action);
        }
    }
    QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == nullptr) {
        return;
    }
    uint32_t id = chosen->data().toUInt();
    m_gate.Post([this, id] {
        if (m_window != nullptr) {
            m_window->OnCommand(id);
        }
    });
}

// The main window is never shown; what the user can be brought to is the
// dialog it is running.
void QtWindowServices::SetForegroundWindow() {
    if (m_openDialog != nullptr) {
        m_openDialog->raise();
        m_openDialog->activateWindow();
    }
}

int QtWindowServices::RunModal(TemplateDialog& dialog) {
    TemplateDialog* outer = std::exchange(m_openDialog, &dialog);
    int result = dialog.DoModal();
    m_openDialog = outer;
    return result;
}

void QtWindowServices::RunHeadersDialog(const MessageTable& table) {
    CHeadersDlg dialog(m_boxes);
    dialog.table = table;
    RunModal(dialog);
}

bool QtWindowServices::RunOptionsDialog(Options& options) {
    COptionsDlg dialog(m_boxes);
    dialog.Sound = options.Sound;
    dialog.Message = options.Message;
    dialog.Delay = options.Delay;
    dialog.Notify = options.Notify;
    dialog.StartAtLogin = StartsAtLogin();
    if (RunModal(dialog) != 1) {
        return false;
    }
    options.Sound = dialog.Sound;
    options.Message = dialog.Message;
    options.Delay = dialog.Delay;
    options.Notify = dialog.Notify;
    if (dialog.StartAtLogin != StartsAtLogin()) {
        SetStartAtLogin(dialog.StartAtLogin, QCoreApplication::applicationFilePath());
    }
    return true;
}

void QtWindowServices::RunMailboxesDialog(AccountList& accounts) {
    CMailboxesDlg dialog(m_boxes);
    dialog.accounts = accounts;
    RunModal(dialog);
    accounts = dialog.accounts;
}

void QtWindowServices::RunAboutDialog() {
    CAboutDlg dialog(m_boxes);
    RunModal(dialog);
}

void QtWindowServices::WaitHook() {
    m_gate.EnterWait();
    QCoreApplication::instance()->installEventFilter(&m_trayInputOnly);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(&m_trayInputOnly);
    m_gate.LeaveWait();
}

void QtWindowServices::EndProgram() {
    QCoreApplication::quit();
}
