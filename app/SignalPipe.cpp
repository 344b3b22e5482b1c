#include "SignalPipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnSigusr1(int) {
    int saved = errno;
    char byte = 1;
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    [[maybe_unused]] ssize_t written = write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SignalPipe::SignalPipe(std::function<void()> onSignal) : m_onSignal(std::move(onSignal)) {
    if (pipe2(g_pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the signal pipe");
    }
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalPipe::Drain);

    struct sigaction action = {};
    action.sa_handler = OnSigusr1;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

SignalPipe::~SignalPipe() {
    signal(SIGUSR1, SIG_DFL);
    m_notifier.reset();
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalPipe::Drain() {
    char buffer[64];
    bool raised = false;
    while (read(g_pipe[0], buffer, sizeof buffer) > 0) {
        raised = true;
    }
    if (raised) {
        m_onSignal();
    }
}
