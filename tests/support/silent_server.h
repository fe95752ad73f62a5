#pragma once
// A server on the loopback address that takes connections and never answers: the
// kernel completes each connection and holds its request, and nothing reads it. A
// client waits for its answer until it gives up. When the object goes the pending
// connections are reset. It counts the connections made to it.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

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
        // Taking the connections the kernel holds must not wait for more.
        ::fcntl(listener_, F_SETFL, ::fcntl(listener_, F_GETFL) | O_NONBLOCK);
    }
    ~TSilentServer() {
        for (int c : taken_)
            ::close(c);
        ::close(listener_);
    }
    TSilentServer(const TSilentServer&) = delete;
    TSilentServer& operator=(const TSilentServer&) = delete;

    // 0 when no port could be had.
    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    // The connections made to it so far, closed ones too: those the kernel holds are
    // taken (and kept open, unread) as this is asked.
    int Connections() {
        for (int c; (c = ::accept(listener_, nullptr, nullptr)) >= 0;)
            taken_.push_back(c);
        return static_cast<int>(taken_.size());
    }

private:
    std::vector<int> taken_;
    int listener_ = -1;
    int port_ = 0;
};

} // namespace tessaly::testing
