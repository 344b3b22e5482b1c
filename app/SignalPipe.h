// Turns a signal sent by another program (SIGUSR1 to stop a check, SIGTERM at
// log-out) into a call on the event loop: the handler only writes a byte to a
// pipe that a socket notifier watches, so the call also comes while a
// conversation waits and the loop runs in its wait hook.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

class SignalPipe : public QObject {
public:
    // One instance per signal and process: it owns the signal's disposition.
    SignalPipe(int signal, std::function<void()> onSignal);
    ~SignalPipe() override;

    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

private:
    void Drain();

    int m_signal;
    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
