#pragma once
// A TCP relay on the loopback address that cuts connections at random: some before
// the request reaches the server, some after the server has answered part of it (the
// server then did the work but the client never hears so). Connections that are not
// cut pass through whole. Seeded, so a failing run can be repeated.

#include <atomic>
#include <cstdint>
#include <random>
#include <string>
#include <thread>

namespace tessaly::testing {

class TDroppingProxy {
public:
    // `dropShare`: the share of connections cut, from 0 to 1.
    TDroppingProxy(int targetPort, double dropShare, std::uint32_t seed);
    ~TDroppingProxy();
    TDroppingProxy(const TDroppingProxy&) = delete;
    TDroppingProxy& operator=(const TDroppingProxy&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const;
    // Connections cut so far, before and after the server saw the request. An answer
    // is cut within its first 80 bytes, inside the status line and headers.
    int CutBeforeServer() const { return cutBefore_; }
    int CutAfterServer() const { return cutAfter_; }
    void SetDropShare(double share) { dropShare_ = share; }

private:
    void Accept();
    void Relay(int client, int cutMode, std::size_t cutAfterBytes);

    int targetPort_;
    std::atomic<double> dropShare_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> cutBefore_{0};
    std::atomic<int> cutAfter_{0};
    std::mt19937 random_;
    std::atomic<int> relaysRunning_{0};
    std::thread acceptor_;
};

} // namespace tessaly::testing
