#include "KeyringSecret.h"

#include "GioWait.h"

#include <libsecret/secret.h>

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
    GObject* object = nullptr;    // the service, once opened
    SecretValue* value = nullptr; // a lookup's answer
    gboolean stored = FALSE;
    GError* error = nullptr;
    ~Call() {
        if (value != nullptr) {
            secret_value_unref(value);
        }
        g_clear_error(&error);
    }
};

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
            auto* call = static_cast<Call*>(data);
            call->object = G_OBJECT(secret_service_open_finish(result, &call->error));
            call->done = true;
        },
        &call);
    wait.Until(call.done);
    if (call.object == nullptr) {
        reason = wait.Reason(kKeyring, call.error);
    }
    return SECRET_SERVICE(call.object);
}

GHashTable* Attributes(const std::string& server, const std::string& user) {
    return secret_attributes_build(&kSchema, "application", "tarvo", "server", server.c_str(),
                                   "user", user.c_str(), nullptr);
}

} // namespace

SecretOutcome KeyringSecret::Fetch(const SecretRequest& request, const SecretWait& waitFor) const {
    GioWait wait(waitFor);
    SecretOutcome outcome;
    GObjectRef<SecretService> service(OpenService(wait, outcome.reason));
    if (service.p != nullptr) {
        Call call;
        GHashTable* attributes = Attributes(request.server, request.user);
        secret_service_lookup(
            service.p, &kSchema, attributes, wait.Cancellable(),
            [](GObject* source, GAsyncResult* result, gpointer data) {
                auto* call = static_cast<Call*>(data);
                call->value =
                    secret_service_lookup_finish(SECRET_SERVICE(source), result, &call->error);
                call->done = true;
            },
            &call);
        g_hash_table_unref(attributes);
        wait.Until(call.done);
        if (call.value != nullptr) {
            gsize length = 0;
            const gchar* bytes = secret_value_get(call.value, &length);
            outcome.secret = std::string(bytes, length);
        } else if (call.error != nullptr || wait.Stopped()) {
            outcome.reason = wait.Reason(kKeyring, call.error);
        } else {
            outcome.reason =
                "The keyring holds no password for " + request.user + " on " + request.server + ".";
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
                auto* call = static_cast<Call*>(data);
                call->stored =
                    secret_service_store_finish(SECRET_SERVICE(source), result, &call->error);
                call->done = true;
            },
            &call);
        secret_value_unref(value);
        g_hash_table_unref(attributes);
        wait.Until(call.done);
        if (!call.stored) {
            reason = wait.Reason(kKeyring, call.error);
        }
    }
    return reason;
}
