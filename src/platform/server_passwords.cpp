#include "platform/server_passwords.h"

#include <cstdlib>
#include <filesystem>

#if TESSALY_HAVE_LIBSECRET
#include <libsecret/secret.h>
#endif

namespace tessaly {

namespace {

// Whether a session bus can be reached without starting one: asking with no bus
// would make the library launch a bus of its own for this process.
bool SessionBusKnown() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    return runtime && *runtime && std::filesystem::exists(std::string(runtime) + "/bus", ec);
}

#if TESSALY_HAVE_LIBSECRET
const SecretSchema* Schema() {
    static const SecretSchema schema = {"org.marrowby.Tessaly.ServerPassword",
                                        SECRET_SCHEMA_NONE,
                                        {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};
    return &schema;
}
#endif

} // namespace

TServerPasswordLookup LookUpServerPassword(const std::string& server, const std::string& user) {
    TServerPasswordLookup result;
#if TESSALY_HAVE_LIBSECRET
    if (!SessionBusKnown()) {
        result.Error = "no session bus";
        return result;
    }
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(Schema(), nullptr, &error, "server", server.c_str(),
                                               "user", user.c_str(), nullptr);
    if (error) {
        result.Error = error->message;
        g_error_free(error);
        return result;
    }
    result.ServiceRuns = true;
    if (found) {
        result.Password = found;
        secret_password_free(found);
    }
#else
    (void)server;
    (void)user;
    result.Error = "built without the secret service";
#endif
    return result;
}

bool StoreServerPassword(const std::string& server, const std::string& user,
                         const std::string& password, std::string* error) {
#if TESSALY_HAVE_LIBSECRET
    if (!SessionBusKnown()) {
        if (error)
            *error = "no secret service runs (no session bus)";
        return false;
    }
    GError* failure = nullptr;
    const std::string label = "Tessaly: " + user + " on " + server;
    const gboolean stored = secret_password_store_sync(
        Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &failure,
        "server", server.c_str(), "user", user.c_str(), nullptr);
    if (failure) {
        if (error)
            *error = failure->message;
        g_error_free(failure);
        return false;
    }
    return stored;
#else
    (void)server;
    (void)user;
    (void)password;
    if (error)
        *error = "built without the secret service";
    return false;
#endif
}

} // namespace tessaly
