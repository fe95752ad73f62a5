#pragma once
// Passwords of contacts and calendar servers in the desktop's secret service, looked
// up by the server's address and the user's name. Where no secret service runs (no
// session bus, or nothing answers on it) the caller falls back on a password file.

#include <optional>
#include <string>

namespace tessaly {

struct TServerPasswordLookup {
    bool ServiceRuns = false;
    std::optional<std::string> Password; // UTF-8; none when nothing is stored
    std::string Error;                   // why the service could not be asked
};

TServerPasswordLookup LookUpServerPassword(const std::string& server, const std::string& user);

// Keeps the password in the secret service; false with `error` saying why not.
bool StoreServerPassword(const std::string& server, const std::string& user,
                         const std::string& password, std::string* error);

} // namespace tessaly
