#pragma once
// A server on the loopback address that takes connections and never answers: the
// kernel completes each connection and holds its request, and nothing reads it. A
// client waits for its answer until it gives up. When the object goes the pending
// connections are reset.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace tessaly::testing {

class TSilentServer {
public:
    TSilentServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::listen(listener_, 16) == 0 &&
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            port_ = ntohs(a.sin_port);
    }
    ~TSilentServer() { ::close(listener_); }
    TSilentServer(const TSilentServer&) = delete;
    TSilentServer& operator=(const TSilentServer&) = delete;

    // 0 when no port could be had.
    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    int listener_ = -1;
    int port_ = 0;
};

} // namespace tessaly::testing
