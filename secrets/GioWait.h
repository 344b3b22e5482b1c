// A bounded wait for asynchronous GIO calls: the calls are made on a main
// context of this wait's own, which is run in short slices with the caller's
// wait hook between them, so neither the desktop nor a silent D-Bus peer can
// hold a check up past the bound. Also opens a session bus connection of the
// wait's own, so no process-wide connection outlives a bus that went away,
// and closes it within the wait.
#pragma once

#include "SecretSource.h"

#include <gio/gio.h>
#include <string>

class GioWait {
public:
    explicit GioWait(const SecretWait& wait);
    ~GioWait();
    GioWait(const GioWait&) = delete;
    GioWait& operator=(const GioWait&) = delete;

    GCancellable* Cancellable() const { return m_cancellable; }
    // Runs the context until done is set. False when the bound passed or the
    // caller stopped first: the call is then cancelled and its callback run,
    // or, should it not come, the call is left behind and no other may follow.
    bool Until(const bool& done);
    bool Stopped() const { return m_stopped; }
    // The remaining time in milliseconds, as a D-Bus call's time-out.
    int RemainingMs() const;

    // False with reason set where no session bus runs: GLib, asked for one,
    // would start a bus of its own, and a keyring with it that asks the user
    // for a new keyring's password.
    bool SessionBusRuns(const std::string& who, std::string& reason) const;
    // The session bus, on a connection of this wait's own, or null with
    // reason set.
    GDBusConnection* SessionBus(const std::string& who, std::string& reason);
    // The reason for a failed call: out of time, stopped, or GLib's message.
    std::string Reason(const std::string& who, const GError* error) const;

private:
    const SecretWait& m_wait;
    GMainContext* m_context;
    GCancellable* m_cancellable;
    GSource* m_tick;
    GDBusConnection* m_bus = nullptr;
    gint64 m_deadline;
    gint64 m_cancelledAt = 0;
    bool m_abandoned = false;
    bool m_stopped = false;
    bool m_timedOut = false;
};

// Owns a GLib reference for the length of a scope.
template <typename T> struct GObjectRef {
    T* p = nullptr;
    GObjectRef() = default;
    explicit GObjectRef(T* object) : p(object) {}
    ~GObjectRef() {
        if (p != nullptr) {
            g_object_unref(p);
        }
    }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
};
