#include "GioWait.h"

#include "Format.h"
#include "Quote.h"
#include "Translate.h"

#include <algorithm>

namespace {

// Where the session bus listens, found as GLib finds it; empty where none runs.
std::string SessionBusAddress() {
    const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') {
        return address;
    }
    gchar* path = g_build_filename(g_get_user_runtime_dir(), "bus", nullptr);
    std::string found;
    if (g_file_test(path, G_FILE_TEST_EXISTS)) {
        gchar* escaped = g_dbus_address_escape_value(path);
        found = std::string("unix:path=") + escaped;
        g_free(escaped);
    }
    g_free(path);
    return found;
}

std::string NoSessionBus(const std::string& who) {
    return Format(translate("Secrets", "%1 cannot be reached: no session bus is running."),
                  translate("Secrets", who.c_str()));
}

} // namespace

GioWait::GioWait(const SecretWait& wait)
    : m_wait(wait), m_context(g_main_context_new()), m_cancellable(g_cancellable_new()),
      m_tick(g_timeout_source_new(static_cast<guint>(wait.slice.count()))),
      m_deadline(g_get_monotonic_time() +
                 std::chrono::duration_cast<std::chrono::microseconds>(wait.bound).count()) {
    // Calls made from here on finish on this context, run only by Until.
    g_main_context_push_thread_default(m_context);
    g_source_set_callback(
        m_tick, +[](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
    g_source_attach(m_tick, m_context);
}

GioWait::~GioWait() {
    if (m_bus != nullptr && m_abandoned) {
        g_dbus_connection_close(m_bus, nullptr, nullptr, nullptr);
    } else if (m_bus != nullptr) {
        // Within the wait, as every call: a close first sends what is queued.
        Call([this](GCancellable*, GAsyncReadyCallback done,
                    gpointer data) { g_dbus_connection_close(m_bus, nullptr, done, data); },
             [](GObject* source, GAsyncResult* result, GError** error) {
                 return g_dbus_connection_close_finish(G_DBUS_CONNECTION(source), result, error);
             });
    }
    if (m_bus != nullptr) {
        g_object_unref(m_bus);
    }
    // What the finished calls queued here (a proxy's last clean-up) still runs;
    // a call given up on must never be dispatched into a fetch that ended.
    for (int i = 0; !m_abandoned && i < 100 && g_main_context_iteration(m_context, FALSE); ++i) {
    }
    g_source_destroy(m_tick);
    g_source_unref(m_tick);
    g_main_context_pop_thread_default(m_context);
    g_main_context_unref(m_context);
    g_object_unref(m_cancellable);
}

bool GioWait::Until(const bool& done) {
    // A cancelled call answers at once; one that does not is left behind.
    constexpr gint64 kGrace = 5 * G_USEC_PER_SEC;
    while (!done) {
        if ((m_stopped || m_timedOut) && g_get_monotonic_time() >= m_cancelledAt + kGrace) {
            m_abandoned = true;
            break;
        }
        if (!m_stopped && !m_timedOut) {
            if (m_wait.stopped && m_wait.stopped()) {
                m_stopped = true;
            } else if (g_get_monotonic_time() >= m_deadline) {
                m_timedOut = true;
            }
            if (m_stopped || m_timedOut) {
                // The callback still comes, with G_IO_ERROR_CANCELLED.
                m_cancelledAt = g_get_monotonic_time();
                g_cancellable_cancel(m_cancellable);
            }
        }
        g_main_context_iteration(m_context, TRUE);
        if (m_wait.hook && !done) {
            m_wait.hook();
        }
    }
    return !m_stopped && !m_timedOut;
}

int GioWait::RemainingMs() const {
    const gint64 left = (m_deadline - g_get_monotonic_time()) / 1000;
    return static_cast<int>(std::max<gint64>(left, 1));
}

bool GioWait::SessionBusRuns(const std::string& who, std::string& reason) const {
    if (SessionBusAddress().empty()) {
        reason = NoSessionBus(who);
        return false;
    }
    return true;
}

GDBusConnection* GioWait::SessionBus(const std::string& who, std::string& reason) {
    if (m_bus != nullptr) {
        return m_bus;
    }
    const std::string address = SessionBusAddress();
    if (address.empty()) {
        reason = NoSessionBus(who);
        return nullptr;
    }
    const auto opened = Call(
        [&address](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            g_dbus_connection_new_for_address(
                address.c_str(),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                  G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, cancellable, done, data);
        },
        [](GObject*, GAsyncResult* result, GError** error) {
            return g_dbus_connection_new_for_address_finish(result, error);
        });
    if (opened.value == nullptr) {
        reason = Reason(who, opened.error.get());
    }
    m_bus = opened.value;
    return m_bus;
}

std::string GioWait::Reason(const std::string& who, const GError* error) const {
    if (m_timedOut) {
        return OutOfTime(who, m_wait.bound);
    }
    if (m_stopped) {
        return Format(translate("Secrets", "%1 was not asked to the end: the check was stopped."),
                      translate("Secrets", who.c_str()));
    }
    if (error == nullptr) {
        return Format(translate("Secrets", "%1 failed."), translate("Secrets", who.c_str()));
    }
    // The D-Bus error's name says nothing a user can act on.
    GError* shown = g_error_copy(error);
    g_dbus_error_strip_remote_error(shown);
    std::string reason = Format(translate("Secrets", "%1 failed: %2"),
                                translate("Secrets", who.c_str()), CutQuote(shown->message));
    g_error_free(shown);
    return reason;
}
