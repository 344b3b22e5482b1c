#include "Desktop.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// A quick process (xdotool) run to its end; its standard output.
std::string Capture(std::vector<std::string> argv, std::vector<std::string> env) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> vars = Pointers(env);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        execve(args[0], args.data(), vars.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        text.append(buffer, got > 0 ? static_cast<size_t>(got) : 0);
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

// One line that a starting server writes to a pipe (its display, its
// address), without the line end; throws when none comes.
std::string ReadReportedLine(int fd, const std::string& reporter) {
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + 15s;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 100) <= 0) {
            continue;
        }
        char c;
        if (read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return line;
        }
        line += c;
    }
    throw std::runtime_error(reporter + " did not report");
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, int keepFd) {
    std::vector<std::string> args = argv;
    std::vector<std::string> vars = env;
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(vars);
    m_pid = fork();
    if (m_pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (m_pid == 0) {
        if (keepFd >= 0) {
            fcntl(keepFd, F_SETFD, 0);
        }
        int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    Stop();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_status(other.m_status) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Stop();
        m_pid = std::exchange(other.m_pid, -1);
        m_status = other.m_status;
    }
    return *this;
}

void ChildProcess::Signal(int signal) const {
    if (m_pid > 0) {
        kill(m_pid, signal);
    }
}

bool ChildProcess::HasEnded() {
    if (m_pid <= 0) {
        return true;
    }
    if (waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
        m_pid = -1;
        return true;
    }
    return false;
}

void ChildProcess::Stop() {
    if (m_pid <= 0) {
        return;
    }
    kill(m_pid, SIGTERM);
    if (!WaitFor([this] { return HasEnded(); }, 5s)) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &m_status, 0);
        m_pid = -1;
    }
}

ReportingChild StartReporting(const std::function<std::vector<std::string>(int fd)>& argv,
                              const std::vector<std::string>& env, const std::string& reporter) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    ReportingChild child;
    child.process = ChildProcess(argv(fds[1]), env, fds[1]);
    close(fds[1]);
    try {
        child.line = ReadReportedLine(fds[0], reporter);
    } catch (...) {
        close(fds[0]);
        throw;
    }
    close(fds[0]);
    return child;
}

BusDaemon::BusDaemon(const std::string& configFile) {
    ReportingChild daemon = StartReporting(
        [&configFile](int fd) -> std::vector<std::string> {
            return {"/usr/bin/dbus-daemon",
                    configFile.empty() ? "--session" : "--config-file=" + configFile, "--nofork",
                    "--nopidfile", "--print-address=" + std::to_string(fd)};
        },
        {"PATH=/usr/bin:/bin"}, "dbus-daemon");
    m_daemon = std::move(daemon.process);
    m_address = std::move(daemon.line);
}

Desktop::Desktop() {
    ReportingChild server = StartReporting(
        [](int fd) -> std::vector<std::string> {
            return {"/usr/bin/Xvfb", "-displayfd", std::to_string(fd), "-screen", "0", "640x480x24",
                    "-nolisten",     "tcp",        "-noreset"};
        },
        {}, "Xvfb");
    m_server = std::move(server.process);
    m_display = ":" + server.line;
}

void Desktop::StartTray() {
    m_tray = ChildProcess({"/usr/bin/trayer", "--edge", "top", "--align", "right", "--widthtype",
                           "request", "--height", "32", "--SetDockType", "false"},
                          Environment());
}

std::vector<std::string> Desktop::Environment() const {
    return {"DISPLAY=" + m_display, "PATH=/usr/bin:/bin", "HOME=/tmp"};
}

std::vector<std::string> Desktop::ProgramEnvironment(const std::string& folder,
                                                     const std::string& configHome,
                                                     const std::string& busAddress) const {
    std::vector<std::string> env = Environment();
    env.push_back("XDG_CONFIG_HOME=" + configHome);
    env.push_back("XDG_STATE_HOME=" + folder + "/state");
    env.push_back("XDG_RUNTIME_DIR=" + folder + "/runtime");
    env.push_back("QT_QPA_PLATFORM=xcb");
    env.push_back("DBUS_SESSION_BUS_ADDRESS=" + busAddress);
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) {
            env.push_back(std::string(name) + "=" + value);
        }
    }
    return env;
}

std::string Desktop::Xdo(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {"/usr/bin/xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return Capture(argv, Environment());
}

std::vector<std::string> Desktop::VisibleWindows(const std::string& titlePattern) const {
    std::istringstream lines(Xdo({"search", "--onlyvisible", "--name", titlePattern}));
    std::vector<std::string> windows;
    for (std::string line; std::getline(lines, line);) {
        windows.push_back(line);
    }
    return windows;
}

std::string Desktop::WindowTitle(const std::string& window) const {
    return Xdo({"getwindowname", window});
}

FakeMailProgram::FakeMailProgram() {
    std::string folder = (std::filesystem::temp_directory_path() / "tarvo-mail-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_folder = folder;
    const std::filesystem::path program = m_folder + "/fake mail";
    std::ofstream(program) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s|' \"$a\"; done >>'"
                           << m_folder << "/starts'\necho >>'" << m_folder << "/starts'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
}

FakeMailProgram::~FakeMailProgram() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::string FakeMailProgram::CommandLine(const std::string& arguments) const {
    return "\"" + m_folder + "/fake mail\" " + arguments;
}

std::vector<std::string> FakeMailProgram::Starts() const {
    std::ifstream file(m_folder + "/starts");
    std::vector<std::string> starts;
    for (std::string line; std::getline(file, line);) {
        starts.push_back(line);
    }
    return starts;
}

std::vector<std::string> FakeMailProgram::MakeDesktopDefault(const std::string& configHome) const {
    std::filesystem::create_directories(m_folder + "/data/applications");
    std::ofstream(m_folder + "/data/applications/fake-mail.desktop")
        << "[Desktop Entry]\nType=Application\nName=Fake Mail\nExec="
        << CommandLine("--from-entry %u") << "\nMimeType=x-scheme-handler/mailto;\n";
    std::ofstream(configHome + "/mimeapps.list")
        << "[Default Applications]\nx-scheme-handler/mailto=fake-mail.desktop\n";
    return {"XDG_DATA_DIRS=" + m_folder + "/data", "XDG_DATA_HOME=" + m_folder + "/home"};
}
