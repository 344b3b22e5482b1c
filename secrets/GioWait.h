// A bounded wait for asynchronous GIO calls: the calls are made on a main
// context of this wait's own, which is run in short slices with the caller's
// wait hook between them, so neither the desktop nor a silent D-Bus peer can
// hold a check up past the bound. Also opens a session bus connection of the
// wait's own, so no process-wide connection outlives a bus that went away,
// and closes it within the wait.
#pragma once

#include "SecretSource.h"

#include <gio/gio.h>
#include <memory>
#include <string>
#include <type_traits>

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// What an asynchronous call answered: its finish function's value (null, 0
// or FALSE when no answer came) and the error it set.
template <typename T> struct GioAnswer {
    T value{};
    std::unique_ptr<GError, GErrorFree> error;
    bool inTime = false; // the wait ended with the answer, not the bound or a stop
};

class GioWait {
public:
    explicit GioWait(const SecretWait& wait);
    ~GioWait();
    GioWait(const GioWait&) = delete;
    GioWait& operator=(const GioWait&) = delete;

    // Starts a call with start(cancellable, callback, data), waits for its
    // answer and hands it to finish(source, result, &error); a GioAnswer.
    // Out of time or stopped, the call is cancelled and its answer still
    // waited for a while; should none come, the call is left behind and no
    // other may follow.
    template <typename Start, typename Finish> auto Call(Start&& start, Finish&& finish);
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
    // Runs the context until done is set; false when the bound passed or the
    // caller stopped first.
    bool Until(const bool& done);

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

template <typename Start, typename Finish> auto GioWait::Call(Start&& start, Finish&& finish) {
    using Value = std::invoke_result_t<Finish&, GObject*, GAsyncResult*, GError**>;
    struct Pending {
        Finish& finish;
        GioAnswer<Value> answer;
        bool done = false;
    } pending{finish, {}};
    start(
        m_cancellable,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            auto& pending = *static_cast<Pending*>(data);
            GError* error = nullptr;
            pending.answer.value = pending.finish(source, result, &error);
            pending.answer.error.reset(error);
            pending.done = true;
        },
        &pending);
    pending.answer.inTime = Until(pending.done);
    return std::move(pending.answer);
}

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
