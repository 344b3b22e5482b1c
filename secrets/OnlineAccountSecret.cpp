#include "OnlineAccountSecret.h"

#include "Format.h"
#include "GioWait.h"
#include "Translate.h"

namespace {

const char* const kOnlineAccounts = QT_TRANSLATE_NOOP("Secrets", "GNOME Online Accounts");
const char* const kService = "org.gnome.OnlineAccounts";

// One method call within the wait; null with reason set when it failed.
GVariant* CallMethod(GioWait& wait, GDBusConnection* bus, const char* path, const char* interface,
                     const char* method, GVariant* parameters, const char* replyType,
                     std::string& reason) {
    const auto reply = wait.Call(
        [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            g_dbus_connection_call(bus, kService, path, interface, method, parameters,
                                   G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE,
                                   wait.RemainingMs(), cancellable, done, data);
        },
        [](GObject* source, GAsyncResult* result, GError** error) {
            return g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, error);
        });
    if (reply.value == nullptr) {
        reason = wait.Reason(kOnlineAccounts, reply.error.get());
    }
    return reply.value;
}

std::string StringProperty(GVariant* properties, const char* name) {
    const gchar* text = nullptr;
    if (properties != nullptr && g_variant_lookup(properties, name, "&s", &text)) {
        return text;
    }
    return {};
}

bool Has(GVariant* interfaces, const char* name) {
    GVariant* found = g_variant_lookup_value(interfaces, name, nullptr);
    if (found != nullptr) {
        g_variant_unref(found);
    }
    return found != nullptr;
}

// The account object's path and whether it signs in with OAuth 2.0; empty
// when no mail account has this user name.
struct Found {
    std::string path;
    bool oauth2 = false;
    bool password = false;
};

Found FindMailAccount(GVariant* objects, const std::string& user) {
    Found found;
    GVariant* all = g_variant_get_child_value(objects, 0);
    GVariantIter iter;
    g_variant_iter_init(&iter, all);
    const gchar* path = nullptr;
    GVariant* interfaces = nullptr;
    while (found.path.empty() && g_variant_iter_next(&iter, "{&o@a{sa{sv}}}", &path, &interfaces)) {
        GVariant* account =
            g_variant_lookup_value(interfaces, "org.gnome.OnlineAccounts.Account", nullptr);
        GVariant* mail =
            g_variant_lookup_value(interfaces, "org.gnome.OnlineAccounts.Mail", nullptr);
        gboolean mailDisabled = FALSE;
        if (account != nullptr) {
            g_variant_lookup(account, "MailDisabled", "b", &mailDisabled);
        }
        const bool named = StringProperty(account, "Identity") == user ||
                           StringProperty(mail, "EmailAddress") == user;
        if (mail != nullptr && !mailDisabled && named) {
            found.path = path;
            found.oauth2 = Has(interfaces, "org.gnome.OnlineAccounts.OAuth2Based");
            found.password = Has(interfaces, "org.gnome.OnlineAccounts.PasswordBased");
        }
        for (GVariant* v : {account, mail, interfaces}) {
            if (v != nullptr) {
                g_variant_unref(v);
            }
        }
    }
    g_variant_unref(all);
    return found;
}

} // namespace

SecretOutcome OnlineAccountSecret::Fetch(const SecretRequest& request,
                                         const SecretWait& waitFor) const {
    GioWait wait(waitFor);
    SecretOutcome outcome;
    GDBusConnection* bus = wait.SessionBus(kOnlineAccounts, outcome.reason);
    if (bus == nullptr) {
        outcome.stopped = wait.Stopped();
        return outcome;
    }
    GVariant* objects =
        CallMethod(wait, bus, "/org/gnome/OnlineAccounts", "org.freedesktop.DBus.ObjectManager",
                   "GetManagedObjects", nullptr, "(a{oa{sa{sv}}})", outcome.reason);
    if (objects != nullptr) {
        const Found found = FindMailAccount(objects, request.user);
        g_variant_unref(objects);
        GVariant* reply = nullptr;
        if (found.oauth2) {
            reply =
                CallMethod(wait, bus, found.path.c_str(), "org.gnome.OnlineAccounts.OAuth2Based",
                           "GetAccessToken", nullptr, "(si)", outcome.reason);
        } else if (found.password) {
            reply = CallMethod(wait, bus, found.path.c_str(),
                               "org.gnome.OnlineAccounts.PasswordBased", "GetPassword",
                               g_variant_new("(s)", "imap-password"), "(s)", outcome.reason);
        } else if (found.path.empty()) {
            outcome.reason =
                Format(translate("Secrets", "GNOME Online Accounts has no mail account for %1."),
                       request.user);
        } else {
            outcome.reason = Format(
                translate("Secrets",
                          "The online account of %1 has neither a token nor a password to give."),
                request.user);
        }
        if (reply != nullptr) {
            const gchar* secret = nullptr;
            g_variant_get_child(reply, 0, "&s", &secret);
            if (secret != nullptr && *secret != '\0') {
                outcome.secret = secret;
            } else {
                outcome.reason = Format(
                    translate("Secrets", "GNOME Online Accounts gave an empty secret for %1."),
                    request.user);
            }
            g_variant_unref(reply);
        }
    }
    outcome.stopped = wait.Stopped();
    return outcome;
}
