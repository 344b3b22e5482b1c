#include "KeyringSecret.h"

#include "GioWait.h"

#include <libsecret/secret.h>
#include <optional>

namespace {

const char* const kKeyring = "The keyring";

const SecretSchema kSchema = {"org.halvik.Tarvo.Mailbox",
                              SECRET_SCHEMA_DONT_MATCH_NAME,
                              {
                                  {"application", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                  {"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                  {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                  {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
                              },
                              0,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr,
                              nullptr};

struct Call {
    bool done = false;
    GObject* object = nullptr; // the service, once opened
    GList* items = nullptr;    // a search's answer
    gint unlocked = 0;
    gboolean ok = FALSE; // a store's or a load's outcome
    GError* error = nullptr;
    ~Call() {
        g_list_free_full(items, g_object_unref);
        g_clear_error(&error);
    }
};

Call& Finished(gpointer data) {
    auto& call = *static_cast<Call*>(data);
    call.done = true;
    return call;
}

// A service object of this fetch's own: the one libsecret would keep for the
// process could outlive the bus it was made on. Its connection is GLib's for
// the session, which is asked for only where a bus runs.
SecretService* OpenService(GioWait& wait, std::string& reason) {
    if (!wait.SessionBusRuns(kKeyring, reason)) {
        return nullptr;
    }
    Call call;
    secret_service_open(
        SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_NONE, wait.Cancellable(),
        [](GObject*, GAsyncResult* result, gpointer data) {
            Call& call = Finished(data);
            call.object = G_OBJECT(secret_service_open_finish(result, &call.error));
        },
        &call);
    if (!wait.Until(call.done) || call.object == nullptr) {
        reason = wait.Reason(kKeyring, call.error);
    }
    return SECRET_SERVICE(call.object);
}

GHashTable* Attributes(const std::string& server, const std::string& user) {
    return secret_attributes_build(&kSchema, "application", "tarvo", "server", server.c_str(),
                                   "user", user.c_str(), nullptr);
}

// Where the wait allows it, the desktop's own prompt, which the Secret
// Service shows; true once the item is unlocked.
bool Unlock(GioWait& wait, const SecretWait& waitFor, SecretService* service, SecretItem* item) {
    if (!waitFor.mayPrompt || !waitFor.mayPrompt()) {
        return false;
    }
    Call call;
    GList* objects = g_list_append(nullptr, item);
    secret_service_unlock(
        service, objects, wait.Cancellable(),
        [](GObject* source, GAsyncResult* result, gpointer data) {
            Call& call = Finished(data);
            call.unlocked =
                secret_service_unlock_finish(SECRET_SERVICE(source), result, nullptr, &call.error);
        },
        &call);
    g_list_free(objects);
    return wait.Until(call.done) && call.unlocked > 0;
}

// The item's secret, loaded already or now; empty with reason set when none came.
std::optional<std::string> SecretOf(GioWait& wait, SecretItem* item, std::string& reason) {
    SecretValue* value = secret_item_get_secret(item);
    if (value == nullptr) {
        Call call;
        secret_item_load_secret(
            item, wait.Cancellable(),
            [](GObject* source, GAsyncResult* result, gpointer data) {
                Call& call = Finished(data);
                call.ok = secret_item_load_secret_finish(SECRET_ITEM(source), result, &call.error);
            },
            &call);
        if (wait.Until(call.done) && call.ok) {
            value = secret_item_get_secret(item);
        }
        if (value == nullptr) {
            reason = wait.Reason(kKeyring, call.error);
            return std::nullopt;
        }
    }
    gsize length = 0;
    const gchar* bytes = secret_value_get(value, &length);
    std::string secret(bytes, length);
    secret_value_unref(value);
    return secret;
}

} // namespace

SecretOutcome KeyringSecret::Fetch(const SecretRequest& request, const SecretWait& waitFor) const {
    GioWait wait(waitFor);
    SecretOutcome outcome;
    GObjectRef<SecretService> service(OpenService(wait, outcome.reason));
    if (service.p != nullptr) {
        // Unlocked here only where the wait allows a prompt, not as libsecret
        // would, whoever asked.
        Call call;
        GHashTable* attributes = Attributes(request.server, request.user);
        secret_service_search(
            service.p, &kSchema, attributes, SECRET_SEARCH_LOAD_SECRETS, wait.Cancellable(),
            [](GObject* source, GAsyncResult* result, gpointer data) {
                Call& call = Finished(data);
                call.items =
                    secret_service_search_finish(SECRET_SERVICE(source), result, &call.error);
            },
            &call);
        g_hash_table_unref(attributes);
        if (!wait.Until(call.done) || call.error != nullptr) {
            outcome.reason = wait.Reason(kKeyring, call.error);
        } else if (call.items == nullptr) {
            outcome.reason =
                "The keyring holds no password for " + request.user + " on " + request.server + ".";
        } else if (auto* item = SECRET_ITEM(call.items->data);
                   secret_item_get_locked(item) && !Unlock(wait, waitFor, service.p, item)) {
            outcome.reason = wait.Stopped() ? wait.Reason(kKeyring, nullptr)
                                            : "The keyring is locked; unlock it to let Tarvo read "
                                              "the password for " +
                                                  request.user + " on " + request.server + ".";
        } else {
            outcome.secret = SecretOf(wait, item, outcome.reason);
        }
    }
    outcome.stopped = wait.Stopped();
    return outcome;
}

std::string StoreInKeyring(const std::string& server, const std::string& user,
                           const std::string& password, const SecretWait& waitFor) {
    GioWait wait(waitFor);
    std::string reason;
    GObjectRef<SecretService> service(OpenService(wait, reason));
    if (service.p != nullptr) {
        Call call;
        GHashTable* attributes = Attributes(server, user);
        SecretValue* value =
            secret_value_new(password.data(), static_cast<gssize>(password.size()), "text/plain");
        const std::string label = "Tarvo: " + user + "@" + server;
        secret_service_store(
            service.p, &kSchema, attributes, SECRET_COLLECTION_DEFAULT, label.c_str(), value,
            wait.Cancellable(),
            [](GObject* source, GAsyncResult* result, gpointer data) {
                Call& call = Finished(data);
                call.ok = secret_service_store_finish(SECRET_SERVICE(source), result, &call.error);
            },
            &call);
        secret_value_unref(value);
        g_hash_table_unref(attributes);
        if (!wait.Until(call.done) || !call.ok) {
            reason = wait.Reason(kKeyring, call.error);
        }
    }
    return reason;
}
