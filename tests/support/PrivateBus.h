// A D-Bus session bus of the test's own (no service is started on demand),
// optionally with a gnome-keyring-daemon on it whose login keyring is
// unlocked with a known password; and BusPeer, a scripted service on such a
// bus that answers calls from a function, or never answers at all.
#pragma once

#include "Desktop.h"

#include <atomic>
#include <functional>
#include <gio/gio.h>
#include <memory>
#include <string>

class PrivateBus {
public:
    explicit PrivateBus(bool withKeyring);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const std::string& Address() const { return m_address; }
    // The environment a child on this bus needs (secret-tool, the keyring).
    std::vector<std::string> Environment() const;
    bool HasOwner(const std::string& name) const;
    // A method call on this bus as a client would make it: the reply's body,
    // or null.
    GVariant* Call(const std::string& name, const std::string& path, const std::string& interface,
                   const std::string& method, GVariant* parameters) const;

private:
    std::string m_dir;
    std::string m_address;
    std::unique_ptr<BusDaemon> m_daemon; // made once its configuration is written
    ChildProcess m_keyring;
};

class BusPeer {
public:
    // The reply's body for a call, or null to leave the call unanswered.
    using Answer = std::function<GVariant*(const std::string& path, const std::string& interface,
                                           const std::string& method, GVariant* parameters)>;
    BusPeer(const PrivateBus& bus, const std::string& name, Answer answer);
    ~BusPeer();
    BusPeer(const BusPeer&) = delete;
    BusPeer& operator=(const BusPeer&) = delete;

    int Calls() const { return m_calls; }

private:
    static GDBusMessage* Filter(GDBusConnection* connection, GDBusMessage* message,
                                gboolean incoming, gpointer self);
    GDBusConnection* m_connection;
    Answer m_answer;
    guint m_filter = 0;
    std::atomic<int> m_calls{0};
};
