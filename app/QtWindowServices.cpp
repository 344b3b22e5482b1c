#include "QtWindowServices.h"

#include "AboutDlg.h"
#include "Autostart.h"
#include "CompanionProgram.h"
#include "HeadersDlg.h"
#include "KeyringSecret.h"
#include "MailProgram.h"
#include "MailboxesDlg.h"
#include "OptionsDlg.h"
#include "SettingsStore.h"
#include "ShownText.h"
#include "TarvoResources.h"
#include "TarvoWnd.h"
#include "TemplateDialog.h"
#include "Text.h"
#include "TrayMenu.h"
#include "resource.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QEventLoop>
#include <QMenu>
#include <utility>

namespace {

// A tip may hold a second line, why an account failed: its line end stays.
QString TipText(const std::string& tip) {
    return QString::fromStdString(ShownLines(tip));
}

} // namespace

QtWindowServices::QtWindowServices()
    : m_tray([this](uint32_t mouseMessage) {
          Send([mouseMessage](CTarvoWnd& window) {
              window.OnTrayNotify(TRAY_ICON_ID, mouseMessage);
          });
      }),
      m_notifier([this] { SendCommand(ID_HEADERS); }, [this] { SendCommand(ID_READ_MAIL); }) {}

QtWindowServices::~QtWindowServices() = default;

void QtWindowServices::AddTrayIcon(int iconId, const std::string& tip) {
    m_tray.Add(TarvoIcon(iconId), TipText(tip));
}

void QtWindowServices::ModifyTrayIcon(int iconId, const std::string& tip) {
    m_tray.Modify(TarvoIcon(iconId), TipText(tip));
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

// One notice per watch: a socket that stays readable must not fire again
// and again while the loop runs a dialog or a check's waits.
void QtWindowServices::WatchSocket(int fd, std::function<void()> ready) {
    // Watched again from its own notice, maybe: the old notifier goes once
    // the loop is back.
    UnwatchSocket(fd);
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                     [this, fd, ready = std::move(ready)] {
                         m_sockets.at(fd)->setEnabled(false);
                         m_gate.Deliver(ready);
                     });
    m_sockets[fd] = std::move(notifier);
}

void QtWindowServices::UnwatchSocket(int fd) {
    if (auto found = m_sockets.find(fd); found != m_sockets.end()) {
        found->second->setEnabled(false);
        found->second.release()->deleteLater();
        m_sockets.erase(found);
    }
}

void QtWindowServices::PlayNewMailSound() {
    m_sound.Play();
}

void QtWindowServices::NotifyNewMail(const MessageTable& table, int newCount) {
    m_notifier.NotifyNewMail(table, newCount);
}

std::string QtWindowServices::StartMailProgram(const std::string& commandLine) {
    return LaunchMailProgram(commandLine);
}

// One box, shown again with the latest text: Read mail chosen twice leaves
// one box to answer.
void QtWindowServices::ShowMessage(const std::string& text) {
    if (!m_message) {
        m_message = std::make_unique<QMessageBox>(QMessageBox::Warning, TarvoString(IDS_APP_TITLE),
                                                  QString(), QMessageBox::Ok);
        m_message->setWindowModality(Qt::NonModal);
        m_message->setTextFormat(Qt::PlainText);
    }
    m_message->setText(QString::fromStdString(text));
    BringForward(*m_message);
}

// One menu for the program's life, made of every item there is; a menu is
// shown by hiding the items it does not hold. The items keep their ids on
// the bus, so that a panel's click on an id it read earlier still arrives.
void QtWindowServices::SetTrayMenu(std::span<const TrayMenuItem> items) {
    if (m_menu.isEmpty()) {
        m_menu.setTitle(QStringLiteral("Tarvo"));
        for (const TrayMenuItem& item : kWholeTrayMenu) {
            QAction* action =
                item.id == 0 ? m_menu.addSeparator()
                             : m_menu.addAction(QCoreApplication::translate("TrayMenu", item.text));
            const auto id = static_cast<uint32_t>(item.id);
            action->setData(item.id);
            if (item.id == 0) {
                continue;
            }
            QObject::connect(action, &QAction::triggered, [this, id] { SendCommand(id); });
            if (item.id == ID_CHECK_NOW) {
                m_menu.setDefaultAction(action);
            }
        }
    }
    // Each item asked for is the next of the whole menu's with its id.
    std::size_t next = 0;
    for (QAction* action : m_menu.actions()) {
        const bool shown = next < items.size() && action->data().toInt() == items[next].id;
        next += shown ? 1 : 0;
        if (action->isVisible() != shown) {
            action->setVisible(shown);
        }
    }
    m_tray.SetMenu(items.empty() ? nullptr : &m_menu);
}

// At once while a conversation waits: what reaches the window then is a
// click the busy window answers, or a command that acts during a check.
// Otherwise after the event's own handling, so that no loop runs inside it.
void QtWindowServices::Send(const std::function<void(CTarvoWnd&)>& handler) {
    auto deliver = [this, handler] {
        if (m_window != nullptr) {
            handler(*m_window);
        }
    };
    if (m_gate.Waiting()) {
        m_gate.Pass(deliver);
    } else {
        m_gate.Post(deliver);
    }
}

void QtWindowServices::SendCommand(uint32_t id) {
    Send([id](CTarvoWnd& window) { window.OnCommand(id); });
}

// The main window is never shown; what the user can be brought to is the
// dialog it is running, or the box that dialog is waiting on.
void QtWindowServices::SetForegroundWindow() {
    if (QWidget* box = QApplication::activeModalWidget(); box != nullptr) {
        BringForward(*box);
    } else if (m_openDialog != nullptr) {
        BringForward(*m_openDialog);
    }
}

int QtWindowServices::RunModal(TemplateDialog& dialog) {
    TemplateDialog* outer = std::exchange(m_openDialog, &dialog);
    int result = dialog.DoModal();
    m_openDialog = outer;
    return result;
}

// One window for the program's life, shown and hidden.
void QtWindowServices::ShowHeadersWindow(std::shared_ptr<const MessageTable> table) {
    if (!m_headers) {
        m_headers = std::make_unique<CHeadersDlg>(m_boxes);
        int width = 0;
        int height = 0;
        if (m_profile != nullptr && LoadHeadersSize(*m_profile, width, height)) {
            m_headers->rememberedSize = QSize(width, height);
        }
        m_headers->openNear = [this] {
            const QRect icon = m_tray.Geometry();
            return icon.isValid() ? icon.center() : QCursor::pos();
        };
        m_headers->onReadMail = [this] { SendCommand(ID_READ_MAIL); };
        m_headers->onSizeChosen = [this](QSize size) {
            m_headers->rememberedSize = size;
            if (m_profile != nullptr) {
                SaveHeadersSize(*m_profile, size.width(), size.height());
            }
        };
    }
    m_headers->SetTable(std::move(table));
    BringForward(*m_headers);
}

void QtWindowServices::RefreshHeadersWindow(std::shared_ptr<const MessageTable> table) {
    if (m_headers && m_headers->isVisible()) {
        m_headers->SetTable(std::move(table));
    }
}

bool QtWindowServices::RunOptionsDialog(Options& options) {
    COptionsDlg dialog(m_boxes);
    dialog.Sound = options.Sound;
    dialog.Message = options.Message;
    dialog.Delay = options.Delay;
    dialog.Notify = options.Notify;
    dialog.Push = options.Push;
    dialog.MailProgram = options.MailProgram;
    dialog.StartAtLogin = StartsAtLogin();
    if (RunModal(dialog) != 1) {
        return false;
    }
    options.Sound = dialog.Sound;
    options.Message = dialog.Message;
    options.Delay = dialog.Delay;
    options.Notify = dialog.Notify;
    options.Push = dialog.Push;
    options.MailProgram = dialog.MailProgram;
    if (dialog.StartAtLogin != StartsAtLogin()) {
        // The program a user starts, not this one it hands the desktop to.
        const std::string program = CompanionProgram("tarvo", TARVO_LAUNCHER_INSTALLED);
        SetStartAtLogin(dialog.StartAtLogin, program.empty()
                                                 ? QCoreApplication::applicationFilePath()
                                                 : QString::fromStdString(program));
    }
    return true;
}

void QtWindowServices::RunMailboxesDialog(AccountList& accounts) {
    CMailboxesDlg dialog(m_boxes, nullptr, StoreInKeyring);
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
