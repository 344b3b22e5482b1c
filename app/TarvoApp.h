// The application object: start-up in its fixed order, and the one command
// the application itself handles (Help).
#pragma once

#include "QtWindowServices.h"
#include "SignalPipe.h"
#include "WakeWatcher.h"

#include <QApplication>
#include <QLockFile>
#include <memory>

class AppProfile;
class CTarvoWnd;
class FileRegistry;

// Passes F1 that no window of the program handled on as the Help command.
class TarvoApplication : public QApplication {
public:
    TarvoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    void SetHelpHandler(std::function<void()> onHelp) { m_onHelp = std::move(onHelp); }

private:
    std::function<void()> m_onHelp;
};

class CTarvoApp {
public:
    explicit CTarvoApp(TarvoApplication& application);
    ~CTarvoApp();

    CTarvoApp(const CTarvoApp&) = delete;
    CTarvoApp& operator=(const CTarvoApp&) = delete;

    // False when the program should end at once.
    bool InitInstance();

private:
    void SetRegistryKey();
    bool IsOnlyCopy();
    void OnHelp();
    void RestartInPlace();

    TarvoApplication& m_application;
    QtWindowServices m_services;
    std::unique_ptr<QLockFile> m_onlyCopy;
    std::unique_ptr<FileRegistry> m_registry;
    std::unique_ptr<AppProfile> m_profile;
    std::unique_ptr<CTarvoWnd> m_mainWnd;
    SignalPipe m_disconnectSignal;
    SignalPipe m_quitSignal;
    bool m_restartFailed = false;
    std::unique_ptr<WakeWatcher> m_wakeWatcher;
};
