// A private X desktop for end-to-end tests: Xvfb on a free display, an XEmbed
// tray host (trayer), and the real program, driven and observed with xdotool.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

using namespace std::chrono_literals;

// Polls until the condition holds or the limit passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 15s);

class ChildProcess {
public:
    ChildProcess() = default;
    // keepFd stays open in the child under the same number.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 int keepFd = -1);
    ~ChildProcess();

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;

    pid_t Pid() const { return m_pid; }
    void Signal(int signal) const;
    // True once the process has ended (its status is then in ExitStatus).
    bool HasEnded();
    int ExitStatus() const { return m_status; }

private:
    void Stop();

    pid_t m_pid = -1;
    int m_status = -1;
};

// A server that writes one line (its display, its address) to the pipe
// whose number argv is given, and that line; throws when none comes.
struct ReportingChild {
    ChildProcess process;
    std::string line;
};
ReportingChild StartReporting(const std::function<std::vector<std::string>(int fd)>& argv,
                              const std::vector<std::string>& env, const std::string& reporter);

// A D-Bus bus of the test's own, ended with it: a session bus, or the bus
// that configFile describes.
class BusDaemon {
public:
    explicit BusDaemon(const std::string& configFile = {});
    const std::string& Address() const { return m_address; }

private:
    ChildProcess m_daemon;
    std::string m_address;
};

// A mail program that records each start as a line of its arguments, each
// followed by '|'. Its path holds a space, so that its command line must be
// quoted.
class FakeMailProgram {
public:
    FakeMailProgram();
    ~FakeMailProgram();
    FakeMailProgram(const FakeMailProgram&) = delete;
    FakeMailProgram& operator=(const FakeMailProgram&) = delete;

    // A command line that starts it with these arguments.
    std::string CommandLine(const std::string& arguments) const;
    std::vector<std::string> Starts() const;
    // Makes it the desktop's default mail client for a program whose
    // XDG_CONFIG_HOME is configHome: its mimeapps.list there, and the
    // desktop entry in a data folder that the environment returned names.
    std::vector<std::string> MakeDesktopDefault(const std::string& configHome) const;

private:
    std::string m_folder;
};

class Desktop {
public:
    Desktop();

    // The XEmbed tray host; separate so a test can start it late.
    void StartTray();

    std::vector<std::string> Environment() const;
    // The real program's: its settings under configHome, its state and
    // runtime folders under folder, and the session bus given. The
    // sanitizers' options pass through.
    std::vector<std::string> ProgramEnvironment(const std::string& folder,
                                                const std::string& configHome,
                                                const std::string& busAddress) const;

    // xdotool's output, without the final line end.
    std::string Xdo(const std::vector<std::string>& args) const;
    // Visible windows whose title matches the regular expression.
    std::vector<std::string> VisibleWindows(const std::string& titlePattern) const;
    std::string WindowTitle(const std::string& window) const;

private:
    ChildProcess m_server;
    ChildProcess m_tray;
    std::string m_display;
};
