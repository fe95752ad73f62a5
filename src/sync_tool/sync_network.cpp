// The network of tessaly-sync: Qt Network for the exchanges, the desktop's secret
// service for passwords. Only this program links them; tessaly-cli hands "sync" over.

#include "cli/sync_commands.h"
#include "platform/qt_http_client.h"
#include "platform/server_passwords.h"

#include <QCoreApplication>
#include <memory>

namespace {

std::unique_ptr<tessaly::IHttpClient> MakeClient(const std::string& user,
                                                 const std::string& password) {
    // The client's event loops need an application; the command has none of its own.
    static int argc = 1;
    static char name[] = "tessaly-sync";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
    tessaly::THttpClientOptions options;
    options.User = user;
    options.Password = password;
    return std::make_unique<tessaly::TQtHttpClient>(options);
}

bool StoredPassword(const std::string& server, const std::string& user, std::string& password,
                    std::string& note) {
    const tessaly::TServerPasswordLookup found = tessaly::LookUpServerPassword(server, user);
    note = found.ServiceRuns ? "" : found.Error;
    if (!found.Password)
        return false;
    password = *found.Password;
    return true;
}

} // namespace

extern "C" bool tessaly_sync_network(tessaly::TSyncNetwork* network) {
    network->MakeClient = &MakeClient;
    network->StoredPassword = &StoredPassword;
    return true;
}
