#pragma once
// A contacts and calendar server for integration tests: the Radicale of the machine,
// on a free port of the loopback address, with its collections in a scratch folder.
// It is stopped (SIGTERM, then waited for) when the object goes.

#include <string>
#include <sys/types.h>

namespace tessaly::testing {

struct TRadicaleOptions {
    // Lines of "user:password": the server then asks for Basic authentication; without
    // them any user name is taken.
    std::string Htpasswd;
    // PEM files: the server then speaks TLS only.
    std::string Certificate, Key;
};

class TRadicaleServer {
public:
    // `folder` holds the collections and the server's log.
    explicit TRadicaleServer(const std::string& folder, const TRadicaleOptions& options = {});
    ~TRadicaleServer();
    TRadicaleServer(const TRadicaleServer&) = delete;
    TRadicaleServer& operator=(const TRadicaleServer&) = delete;

    // Whether the program is on this machine at all; tests skip without it.
    static bool Installed();

    // True once the server answers; otherwise Problem says why it does not.
    bool Running() const { return pid_ > 0; }
    const std::string& Problem() const { return problem_; }
    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const;

private:
    void Stop();

    pid_t pid_ = -1;
    int port_ = 0;
    bool tls_ = false;
    std::string problem_;
};

// A free TCP port of 127.0.0.1 at the moment of asking.
int FreeLoopbackPort();

// Whether something accepts connections on 127.0.0.1:port.
bool AcceptsConnections(int port);

} // namespace tessaly::testing
