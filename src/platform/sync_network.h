#pragma once
// What the program needs to reach a contacts server: a client that logs in as a user,
// and the desktop's secret service for that user's password. The program's own is
// Qt Network and libsecret; tests give one that answers from a server in memory.

#include "core/sync/http_client.h"

#include <memory>
#include <optional>
#include <string>

namespace tessaly {

struct TStoredPassword {
    bool ServiceRuns = false;
    std::optional<std::string> Password; // UTF-8; none when nothing is stored
    std::string Error;                   // why the service could not be asked
};

class ISyncNetwork {
public:
    virtual ~ISyncNetwork() = default;
    // A client for one sync round, made (and used) on the thread that runs it; `user`
    // empty logs in as nobody.
    virtual std::unique_ptr<IHttpClient> MakeClient(const std::string& user,
                                                    const std::string& password) = 0;
    virtual TStoredPassword LookUpPassword(const std::string& server, const std::string& user) = 0;
    // False with `error` saying why the password was not kept.
    virtual bool StorePassword(const std::string& server, const std::string& user,
                               const std::string& password, std::string& error) = 0;
};

// Qt Network for the exchanges, the desktop's secret service for passwords.
class TDesktopSyncNetwork final : public ISyncNetwork {
public:
    std::unique_ptr<IHttpClient> MakeClient(const std::string& user,
                                            const std::string& password) override;
    TStoredPassword LookUpPassword(const std::string& server, const std::string& user) override;
    bool StorePassword(const std::string& server, const std::string& user,
                       const std::string& password, std::string& error) override;
};

} // namespace tessaly
