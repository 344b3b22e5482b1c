#include "CommandGate.h"

#include <QMetaObject>
#include <utility>

void CommandGate::Deliver(Handler handler) {
    if (m_waiting > 0) {
        m_held.push_back(std::move(handler));
        return;
    }
    handler();
    Finished();
}

void CommandGate::Pass(const Handler& handler) {
    handler();
    Finished();
}

void CommandGate::Post(Handler handler) {
    QMetaObject::invokeMethod(
        this, [this, handler = std::move(handler)]() mutable { Deliver(std::move(handler)); },
        Qt::QueuedConnection);
}

// A check always ends inside one of the handlers that entered here, so this is
// the moment to let what it held back through.
void CommandGate::Finished() {
    if (m_waiting > 0 || m_held.empty() || m_releasePosted) {
        return;
    }
    m_releasePosted = true;
    QMetaObject::invokeMethod(this, &CommandGate::ReleaseHeld, Qt::QueuedConnection);
}

void CommandGate::ReleaseHeld() {
    m_releasePosted = false;
    while (m_waiting == 0 && !m_held.empty()) {
        Handler next = std::move(m_held.front());
        m_held.pop_front();
        next();
    }
    Finished();
}
