// A bounded wait for asynchronous GIO calls: the calls are made on a main
// context of this wait's own, which is run in short slices with the caller's
// wait hook between them, so neither the desktop nor a silent D-Bus peer can
// hold a check up past the bound. Also opens a session bus connection of the
// wait's own, so no process-wide connection outlives a bus that went away.
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

    // The session bus, or null with reason set.
    GDBusConnection* OpenSessionBus(const std::string& who, std::string& reason);
    // The reason for a failed call: out of time, stopped, or GLib's message.
    std::string Reason(const std::string& who, const GError* error) const;

private:
    const SecretWait& m_wait;
    GMainContext* m_context;
    GCancellable* m_cancellable;
    GSource* m_tick;
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
