#include "TarvoApp.h"

#include "AppProfile.h"
#include "FileRegistry.h"
#include "Language.h"
#include "StateFile.h"
#include "TarvoResources.h"
#include "TarvoWnd.h"
#include "Translate.h"
#include "resource.h"

#include <QCryptographicHash>
#include <QFile>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// POSIX sockets need no start-up; the step keeps its place in the sequence.
bool SocketsStartup() {
    return true;
}

// The settings file under the one name every spelling of it leads to: a
// trailing slash, a ".." or a symbolic link in XDG_CONFIG_HOME must not let a
// second copy start on the same file. The folders need not exist yet.
std::string ResolvedSettingsPath() {
    const std::string spelled = FileRegistry::DefaultPath();
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(spelled, error);
    return error ? spelled : resolved.string();
}

// Qt ends a program it cannot give a display with an abort and advice to
// reinstall it. Its messages while the application starts are held back: if
// it ends that way, one line tells the user what is wrong; otherwise they go
// out as usual.
struct StartMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::mutex g_startMutex;
std::vector<StartMessage> g_startMessages;

void HoldStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs("tarvo: Tarvo needs a graphical session (no display could be opened); "
                   "'tarvo --check' works without one\n",
                   stderr);
        std::_Exit(1);
    }
    const std::lock_guard lock(g_startMutex);
    g_startMessages.push_back({type, context.category, text});
}

int& HoldStartMessages(int& argc) {
    qInstallMessageHandler(HoldStartMessage);
    return argc;
}

void ReleaseStartMessages() {
    qInstallMessageHandler(nullptr);
    const std::lock_guard lock(g_startMutex);
    for (const StartMessage& message : std::exchange(g_startMessages, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

// The user's language, where Tarvo has a catalogue for it: the windows' texts,
// Qt's own (its standard buttons) and the core's, through the same catalogue.
void SpeakUserLanguage(QCoreApplication& application) {
    const std::string path = UserCatalogue();
    auto* tarvo = new QTranslator(&application);
    if (path.empty() || !tarvo->load(QString::fromStdString(path))) {
        delete tarvo;
        return;
    }
    application.installTranslator(tarvo);
    auto* qt = new QTranslator(&application);
    if (qt->load(QLocale(tarvo->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        application.installTranslator(qt);
    } else {
        delete qt;
    }
    SetTranslateHook(
        [](const char* context, const char* source, const char* disambiguation, int n) {
            return QCoreApplication::translate(context, source, disambiguation, n).toStdString();
        });
}

} // namespace

TarvoApplication::TarvoApplication(int& argc, char** argv)
    : QApplication(HoldStartMessages(argc), argv) {
    ReleaseStartMessages();
    setApplicationName(QStringLiteral("Tarvo"));
    setApplicationVersion(QStringLiteral(TARVO_VERSION));
    setQuitOnLastWindowClosed(false);
    SpeakUserLanguage(*this);
}

bool TarvoApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = QApplication::notify(receiver, event);
    // F1 is help in the program's windows; in the tray menu it means nothing.
    if (event->type() == QEvent::KeyPress && !event->isAccepted() && receiver->isWidgetType() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 && m_onHelp &&
        activePopupWidget() == nullptr) {
        m_onHelp();
    }
    return handled;
}

// The signals are caught from the start: SIGUSR1's default action would end
// the program while the first-run dialog is up. SIGTERM, as a log-out sends
// it, is Quit: the state is kept and the lock let go, as on any end.
CTarvoApp::CTarvoApp(TarvoApplication& application)
    : m_application(application),
      m_disconnectSignal(SIGUSR1,
                         [this] {
                             m_services.Gate().Pass([this] {
                                 if (m_mainWnd) {
                                     m_mainWnd->OnCommand(ID_DISCONNECT);
                                 }
                             });
                         }),
      m_quitSignal(SIGTERM, [this] {
          m_services.Gate().Pass([this] {
              if (m_mainWnd) {
                  m_mainWnd->OnCommand(ID_APP_EXIT);
              }
          });
      }) {}

CTarvoApp::~CTarvoApp() {
    m_application.SetHelpHandler(nullptr);
    m_services.Attach(nullptr);
    m_services.UseProfile(nullptr);
}

void CTarvoApp::SetRegistryKey() {
    m_registry = std::make_unique<FileRegistry>(FileRegistry::DefaultPath());
    m_profile = std::make_unique<AppProfile>(*m_registry);
    m_services.UseProfile(m_profile.get());
}

// One Tarvo per settings file: a copy started by hand beside the one started
// at log-in would show a second icon, check twice and write the same
// settings. Where no runtime folder can be had, Tarvo runs rather than not at
// all.
bool CTarvoApp::IsOnlyCopy() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        return true;
    }
    const QByteArray settings =
        QCryptographicHash::hash(QByteArray::fromStdString(ResolvedSettingsPath()),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_onlyCopy =
        std::make_unique<QLockFile>(folder + QStringLiteral("/tarvo-") +
                                    QString::fromLatin1(settings) + QStringLiteral(".lock"));
    // Held for the program's life: only a dead holder makes it stale.
    m_onlyCopy->setStaleLockTime(0);
    return m_onlyCopy->tryLock(0) || m_onlyCopy->error() != QLockFile::LockFailedError;
}

bool CTarvoApp::InitInstance() {
    if (!IsOnlyCopy()) {
        return false;
    }
    SetRegistryKey();
    // The copy that holds the lock is the settings file's only writer, so a
    // temporary file beside it is a killed writer's: a whole copy of the
    // settings, passwords included, that nothing will ever rename.
    if (m_onlyCopy && m_onlyCopy->isLocked()) {
        m_registry->RemoveLeftovers();
    }
    if (!SocketsStartup()) {
        m_services.Boxes().Show(nullptr, TarvoString(IDS_APP_TITLE),
                                TarvoString(IDS_SOCKETS_INIT_FAILED),
                                MessageBoxes::Icon::Exclamation);
        return false;
    }
    m_mainWnd = std::make_unique<CTarvoWnd>(m_services, *m_profile);
    m_mainWnd->UseStateFile(StateFile::PathFor(FileRegistry::DefaultPath()));
    m_services.Attach(m_mainWnd.get());
    m_mainWnd->OnCreate();
    m_application.SetHelpHandler([this] { OnHelp(); });
    m_services.OnLateTrayHost([this] { RestartInPlace(); });
    m_wakeWatcher = std::make_unique<WakeWatcher>(
        [this] { m_services.Gate().Deliver([this] { m_mainWnd->OnWake(); }); },
        [this](bool online) {
            m_services.Gate().Deliver([this, online] { m_mainWnd->OnNetwork(online); });
        });
    return true;
}

// Help opens the About dialog under the About command's own guard; it goes
// through the loop like a posted command, after the key has been handled.
void CTarvoApp::OnHelp() {
    m_services.Gate().Post([this] { m_mainWnd->OnCommand(ID_HELP); });
}

// Qt settles once per process whether a StatusNotifierItem host exists, so a
// panel that starts after Tarvo is reached only by starting again: the same
// program with the same arguments, in this process, once no check or dialog
// is under way. The state file carries what was announced across the start.
void CTarvoApp::RestartInPlace() {
    if (m_restartFailed || m_mainWnd->IsBusy()) {
        return;
    }
    m_mainWnd->SaveState();
    QFile commandLine(QStringLiteral("/proc/self/cmdline"));
    if (!commandLine.open(QIODevice::ReadOnly)) {
        m_restartFailed = true;
        return;
    }
    QList<QByteArray> arguments = commandLine.readAll().split('\0');
    if (!arguments.isEmpty() && arguments.back().isEmpty()) {
        arguments.removeLast();
    }
    std::vector<char*> argv;
    for (QByteArray& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    if (m_onlyCopy) {
        m_onlyCopy->unlock();
    }
    execv("/proc/self/exe", argv.data());
    m_restartFailed = true;
    if (m_onlyCopy) {
        m_onlyCopy->tryLock(0);
    }
}
