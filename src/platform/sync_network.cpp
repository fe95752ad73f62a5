#include "platform/sync_network.h"

#include "platform/qt_http_client.h"
#include "platform/server_passwords.h"

namespace tessaly {

std::unique_ptr<IHttpClient> TDesktopSyncNetwork::MakeClient(const std::string& user,
                                                             const std::string& password) {
    THttpClientOptions options;
    options.User = user;
    options.Password = password;
    return std::make_unique<TQtHttpClient>(options);
}

TStoredPassword TDesktopSyncNetwork::LookUpPassword(const std::string& server,
                                                    const std::string& user) {
    const TServerPasswordLookup found = LookUpServerPassword(server, user);
    TStoredPassword stored;
    stored.ServiceRuns = found.ServiceRuns;
    stored.Password = found.Password;
    stored.Error = found.Error;
    return stored;
}

bool TDesktopSyncNetwork::StorePassword(const std::string& server, const std::string& user,
                                        const std::string& password, std::string& error) {
    return StoreServerPassword(server, user, password, &error);
}

} // namespace tessaly
