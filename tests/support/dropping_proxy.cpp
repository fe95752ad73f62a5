#include "tests/support/dropping_proxy.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tessaly::testing {

namespace {

constexpr int kPass = 0;
constexpr int kCutBefore = 1; // closed before a byte reaches the server
constexpr int kCutAfter = 2;  // request delivered, answer cut part-way

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Abortive close: the peer sees a reset, as when a server or a link dies.
void Reset(int fd) {
    linger l{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(fd);
}

} // namespace

TDroppingProxy::TDroppingProxy(int targetPort, double dropShare, std::uint32_t seed)
    : targetPort_(targetPort), dropShare_(dropShare), random_(seed) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return;
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
}

TDroppingProxy::~TDroppingProxy() {
    stopping_ = true;
    if (acceptor_.joinable())
        acceptor_.join();
    ::close(listener_);
    // The relays see the flag within one poll and end.
    while (relaysRunning_ > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::string TDroppingProxy::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TDroppingProxy::Accept() {
    while (!stopping_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        std::uniform_real_distribution<double> share(0.0, 1.0);
        int mode = kPass;
        if (share(random_) < dropShare_)
            mode = share(random_) < 0.5 ? kCutBefore : kCutAfter;
        const std::size_t cutAt = std::uniform_int_distribution<std::size_t>(0, 80)(random_);
        // Detached, or the threads of thousands of finished connections would pile up.
        ++relaysRunning_;
        std::thread([this, client, mode, cutAt] {
            Relay(client, mode, cutAt);
            --relaysRunning_;
        }).detach();
    }
}

void TDroppingProxy::Relay(int client, int cutMode, std::size_t cutAfterBytes) {
    if (cutMode == kCutBefore) {
        ++cutBefore_;
        Reset(client);
        return;
    }
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(targetPort_);
    if (::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(server);
        Reset(client);
        return;
    }
    std::size_t answered = 0;
    bool clientOpen = true, serverOpen = true;
    char buffer[16384];
    while (!stopping_ && (clientOpen || serverOpen)) {
        pollfd p[2] = {{clientOpen ? client : -1, POLLIN, 0},
                       {serverOpen ? server : -1, POLLIN, 0}};
        if (::poll(p, 2, 100) <= 0)
            continue;
        if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t n = ::read(client, buffer, sizeof buffer);
            if (n <= 0) {
                clientOpen = false;
                ::shutdown(server, SHUT_WR);
            } else if (::send(server, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) {
                break;
            }
        }
        if (p[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            ssize_t n = ::read(server, buffer, sizeof buffer);
            if (n <= 0) {
                serverOpen = false;
                break; // the server closed: so does the relay
            }
            if (cutMode == kCutAfter && answered + static_cast<std::size_t>(n) > cutAfterBytes) {
                // Part of the answer goes out, then the line dies.
                const ssize_t part = static_cast<ssize_t>(cutAfterBytes - answered);
                if (part > 0)
                    ::send(client, buffer, static_cast<std::size_t>(part), MSG_NOSIGNAL);
                ++cutAfter_;
                Reset(client);
                ::close(server);
                return;
            }
            answered += static_cast<std::size_t>(n);
            if (::send(client, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n)
                break;
        }
    }
    ::close(server);
    ::close(client);
}

} // namespace tessaly::testing
