#include "SignalPipe.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace {

// The pipe of each signal caught, by its number.
std::array<std::array<int, 2>, NSIG> g_pipes = [] {
    std::array<std::array<int, 2>, NSIG> pipes;
    pipes.fill({-1, -1});
    return pipes;
}();

extern "C" void WriteToSignalPipe(int signal) {
    int saved = errno;
    char byte = 1;
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] ssize_t written = write(g_pipes[signal][1], &byte, 1);
    errno = saved;
}

} // namespace

SignalPipe::SignalPipe(int signal, std::function<void()> onSignal)
    : m_signal(signal), m_onSignal(std::move(onSignal)) {
    if (signal <= 0 || signal >= NSIG ||
        pipe2(g_pipes[signal].data(), O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the signal pipe");
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipes[signal][0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalPipe::Drain);

    struct sigaction action = {};
    action.sa_handler = WriteToSignalPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

SignalPipe::~SignalPipe() {
    signal(m_signal, SIG_DFL);
    m_notifier.reset();
    close(g_pipes[m_signal][0]);
    close(g_pipes[m_signal][1]);
    g_pipes[m_signal] = {-1, -1};
}

void SignalPipe::Drain() {
    char buffer[64];
    bool raised = false;
    while (read(g_pipes[m_signal][0], buffer, sizeof buffer) > 0) {
        raised = true;
    }
    if (raised) {
        m_onSignal();
    }
}
