#include "KeyringSecret.h"

#include "Format.h"
#include "GioWait.h"
#include "Translate.h"

#include <libsecret/secret.h>
#include <memory>
#include <optional>

namespace {

const char* const kKeyring = QT_TRANSLATE_NOOP("Secrets", "The keyring");

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

struct ItemsFree {
    void operator()(GList* items) const { g_list_free_full(items, g_object_unref); }
};
using Items = std::unique_ptr<GList, ItemsFree>;

// A service object of this fetch's own: the one libsecret would keep for the
// process could outlive the bus it was made on. Its connection is GLib's for
// the session, which is asked for only where a bus runs.
SecretService* OpenService(GioWait& wait, std::string& reason) {
    if (!wait.SessionBusRuns(kKeyring, reason)) {
        return nullptr;
    }
    const auto opened = wait.Call(
        [](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_service_open(SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_NONE, cancellable,
                                done, data);
        },
        [](GObject*, GAsyncResult* result, GError** error) {
            return secret_service_open_finish(result, error);
        });
    if (!opened.inTime || opened.value == nullptr) {
        reason = wait.Reason(kKeyring, opened.error.get());
    }
    return opened.value;
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
    GList* objects = g_list_append(nullptr, item);
    const auto unlocked = wait.Call(
        [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_service_unlock(service, objects, cancellable, done, data);
        },
        [](GObject* source, GAsyncResult* result, GError** error) {
            return secret_service_unlock_finish(SECRET_SERVICE(source), result, nullptr, error);
        });
    g_list_free(objects);
    return unlocked.inTime && unlocked.value > 0;
}

// The item's secret, loaded already or now; empty with reason set when none came.
std::optional<std::string> SecretOf(GioWait& wait, SecretItem* item, std::string& reason) {
    SecretValue* value = secret_item_get_secret(item);
    if (value == nullptr) {
        const auto loaded = wait.Call(
            [item](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
                secret_item_load_secret(item, cancellable, done, data);
            },
            [](GObject* source, GAsyncResult* result, GError** error) {
                return secret_item_load_secret_finish(SECRET_ITEM(source), result, error);
            });
        if (loaded.inTime && loaded.value) {
            value = secret_item_get_secret(item);
        }
        if (value == nullptr) {
            reason = wait.Reason(kKeyring, loaded.error.get());
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
        GHashTable* attributes = Attributes(request.server, request.user);
        const auto found = wait.Call(
            [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
                secret_service_search(service.p, &kSchema, attributes, SECRET_SEARCH_LOAD_SECRETS,
                                      cancellable, done, data);
            },
            [](GObject* source, GAsyncResult* result, GError** error) {
                return Items(secret_service_search_finish(SECRET_SERVICE(source), result, error));
            });
        g_hash_table_unref(attributes);
        if (!found.inTime || found.error != nullptr) {
            outcome.reason = wait.Reason(kKeyring, found.error.get());
        } else if (found.value == nullptr) {
            outcome.reason =
                Format(translate("Secrets", "The keyring holds no password for %1 on %2."),
                       request.user, request.server);
        } else if (auto* item = SECRET_ITEM(found.value->data);
                   secret_item_get_locked(item) && !Unlock(wait, waitFor, service.p, item)) {
            outcome.reason =
                wait.Stopped()
                    ? wait.Reason(kKeyring, nullptr)
                    : Format(translate("Secrets", "The keyring is locked; unlock it to let Tarvo "
                                                  "read the password for %1 on %2."),
                             request.user, request.server);
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
        GHashTable* attributes = Attributes(server, user);
        SecretValue* value =
            secret_value_new(password.data(), static_cast<gssize>(password.size()), "text/plain");
        const std::string label = "Tarvo: " + user + "@" + server;
        const auto stored = wait.Call(
            [&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
                secret_service_store(service.p, &kSchema, attributes, SECRET_COLLECTION_DEFAULT,
                                     label.c_str(), value, cancellable, done, data);
            },
            [](GObject* source, GAsyncResult* result, GError** error) {
                return secret_service_store_finish(SECRET_SERVICE(source), result, error);
            });
        secret_value_unref(value);
        g_hash_table_unref(attributes);
        if (!stored.inTime || !stored.value) {
            reason = wait.Reason(kKeyring, stored.error.get());
        }
    }
    return reason;
}
