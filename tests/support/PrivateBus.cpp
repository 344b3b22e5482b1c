#include "PrivateBus.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

PrivateBus::PrivateBus(bool withKeyring) {
    char pattern[] = "/tmp/tarvo-bus.XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("no temporary directory");
    }
    m_dir = pattern;
    std::ofstream(m_dir + "/bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
           "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:dir="
        << m_dir
        << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
           "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
           "<allow own=\"*\"/></policy></busconfig>\n";
    m_daemon = std::make_unique<BusDaemon>(m_dir + "/bus.conf");
    m_address = m_daemon->Address();
    if (withKeyring) {
        // --unlock reads the login keyring's password on standard input and
        // creates that keyring, as a desktop log-in would.
        std::ofstream(m_dir + "/login") << "test-login";
        m_keyring = ChildProcess({"/bin/sh", "-c",
                                  "exec /usr/bin/gnome-keyring-daemon --foreground --unlock "
                                  "--components=secrets < '" +
                                      m_dir + "/login'"},
                                 Environment());
        if (!WaitFor([this] { return HasOwner("org.freedesktop.secrets"); })) {
            throw std::runtime_error("the keyring did not come up on the bus");
        }
    }
}

PrivateBus::~PrivateBus() {
    m_keyring = ChildProcess();
    m_daemon.reset();
    std::system(("rm -rf '" + m_dir + "'").c_str());
}

std::vector<std::string> PrivateBus::Environment() const {
    return {"PATH=/usr/bin:/bin",
            "DBUS_SESSION_BUS_ADDRESS=" + m_address,
            "HOME=" + m_dir,
            "XDG_DATA_HOME=" + m_dir + "/data",
            "XDG_CONFIG_HOME=" + m_dir + "/config",
            "XDG_RUNTIME_DIR=" + m_dir};
}

bool PrivateBus::HasOwner(const std::string& name) const {
    GVariant* reply = Call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameHasOwner", g_variant_new("(s)", name.c_str()));
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned != FALSE;
}

GVariant* PrivateBus::Call(const std::string& name, const std::string& path,
                           const std::string& interface, const std::string& method,
                           GVariant* parameters) const {
    GVariant* sunk = parameters != nullptr ? g_variant_ref_sink(parameters) : nullptr;
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
        m_address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    GVariant* reply = nullptr;
    if (connection != nullptr) {
        reply = g_dbus_connection_call_sync(connection, name.c_str(), path.c_str(),
                                            interface.c_str(), method.c_str(), sunk, nullptr,
                                            G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
        g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_object_unref(connection);
    }
    if (sunk != nullptr) {
        g_variant_unref(sunk);
    }
    return reply;
}

BusPeer::BusPeer(const PrivateBus& bus, const std::string& name, Answer answer)
    : m_connection(g_dbus_connection_new_for_address_sync(
          bus.Address().c_str(),
          static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                            G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
          nullptr, nullptr, nullptr)),
      m_answer(std::move(answer)) {
    if (m_connection == nullptr) {
        throw std::runtime_error("cannot reach the private bus");
    }
    m_filter = g_dbus_connection_add_filter(m_connection, &BusPeer::Filter, this, nullptr);
    GVariant* reply = g_dbus_connection_call_sync(
        m_connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "RequestName", g_variant_new("(su)", name.c_str(), 4u /* do not queue */),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    guint result = 0;
    if (reply != nullptr) {
        g_variant_get(reply, "(u)", &result);
        g_variant_unref(reply);
    }
    if (result != 1) {
        throw std::runtime_error("cannot own " + name);
    }
}

BusPeer::~BusPeer() {
    g_dbus_connection_remove_filter(m_connection, m_filter);
    g_dbus_connection_close_sync(m_connection, nullptr, nullptr);
    g_object_unref(m_connection);
}

// Runs on GDBus's worker thread: every call addressed to this peer is taken
// here, so nothing else answers it for the peer.
GDBusMessage* BusPeer::Filter(GDBusConnection* connection, GDBusMessage* message, gboolean incoming,
                              gpointer data) {
    auto* self = static_cast<BusPeer*>(data);
    if (!incoming || g_dbus_message_get_message_type(message) != G_DBUS_MESSAGE_TYPE_METHOD_CALL) {
        return message;
    }
    ++self->m_calls;
    auto text = [](const char* s) { return std::string(s != nullptr ? s : ""); };
    GVariant* body = self->m_answer(
        text(g_dbus_message_get_path(message)), text(g_dbus_message_get_interface(message)),
        text(g_dbus_message_get_member(message)), g_dbus_message_get_body(message));
    if (body != nullptr) {
        GDBusMessage* reply = g_dbus_message_new_method_reply(message);
        g_dbus_message_set_body(reply, body);
        g_dbus_connection_send_message(connection, reply, G_DBUS_SEND_MESSAGE_FLAGS_NONE, nullptr,
                                       nullptr);
        g_object_unref(reply);
    }
    g_object_unref(message);
    return nullptr;
}
