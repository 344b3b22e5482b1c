// Turns SIGUSR1, sent by another program, into a call on the event loop: the
// handler only writes a byte to a pipe that a socket notifier watches, so the
// call also comes while a conversation waits and the loop runs in its wait
// hook.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

class SignalPipe : public QObject {
public:
    // One instance per process: it owns the signal's disposition.
    explicit SignalPipe(std::function<void()> onSignal);
    ~SignalPipe() override;

    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

private:
    void Drain();

    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
