#pragma once
// "sync": a book with its address book on a contacts server. The network and the
// secret service are Qt's and the desktop's, linked into tessaly-sync alone; this
// program hands the command over to it.

#include "cli/commands.h"
#include "core/sync/http_client.h"

#include <memory>
#include <optional>
#include <string>

namespace tessaly {

inline constexpr const char* kSyncProgramName = "tessaly-sync";
inline constexpr const char* kSyncHandedOver = "TESSALY_SYNC_HANDED_OVER";

struct TSyncCommandOptions {
    std::string Book;
    std::optional<std::string> Server; // remembered by the book's sync state after the first
    std::optional<std::string> User;
    std::optional<std::string> PasswordFile;
};

// What the program linking the network gives the command: a client logging in as
// `user` (none when empty), and the secret service's password of a user on a server.
struct TSyncNetwork {
    std::unique_ptr<IHttpClient> (*MakeClient)(const std::string& user,
                                               const std::string& password) = nullptr;
    // Whether one was found; `note` says why the service could not be asked.
    bool (*StoredPassword)(const std::string& server, const std::string& user,
                           std::string& password, std::string& note) = nullptr;
};

// The network linked into this program, or one without MakeClient.
TSyncNetwork LinkedSyncNetwork();

int CommandSync(const TSyncCommandOptions& options, const TSyncNetwork& network, TCliStreams io);

} // namespace tessaly
