// Where every event from the desktop enters the main window. While a
// conversation waits on its socket the event loop still runs, so commands and
// ticks that arrive then are held back and delivered once the check is over;
// only what must reach the window during the wait (tray notifications, the
// Disconnect signal) passes at once.
#pragma once

#include <QObject>
#include <deque>
#include <functional>

class CommandGate : public QObject {
public:
    using Handler = std::function<void()>;

    // Runs the handler now, or after the check when a conversation waits.
    void Deliver(Handler handler);
    // Runs the handler now, even while a conversation waits.
    void Pass(const Handler& handler);
    // Runs the handler from the event loop, as Deliver would then.
    void Post(Handler handler);

    bool Waiting() const { return m_waiting > 0; }
    void EnterWait() { ++m_waiting; }
    void LeaveWait() { --m_waiting; }

private:
    void Finished();
    void ReleaseHeld();

    int m_waiting = 0;
    bool m_releasePosted = false;
    std::deque<Handler> m_held;
};
