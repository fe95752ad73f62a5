#pragma once
// A modem on the far side of a pseudo-terminal: the master side, with a thread that
// keeps every byte the port writes and answers commands ("text\r") from a script.
// The port under test opens SlavePath().

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tessaly {

class FakeModem {
public:
    FakeModem() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slave_ = ptsname(master_);
        fcntl(master_, F_SETFL, O_NONBLOCK);
    }
    ~FakeModem() {
        Stop();
        if (master_ >= 0)
            ::close(master_);
    }
    const std::string& SlavePath() const { return slave_; }

    // Answers the next command equal to `command` with `reply`.
    void Script(const std::string& command, const std::string& reply) {
        std::lock_guard lock(m_);
        script_.push_back({command, reply});
    }
    void Start() {
        running_ = true;
        thread_ = std::thread([this] { Run(); });
    }
    void Stop() {
        running_ = false;
        if (thread_.joinable())
            thread_.join();
    }
    void Send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    std::string Heard() {
        std::lock_guard lock(m_);
        return heard_;
    }
    // The line settings in force when the first command arrived.
    termios SettingsAtFirstCommand() {
        std::lock_guard lock(m_);
        return first_;
    }
    void CloseMaster() {
        Stop();
        ::close(master_);
        master_ = -1;
    }

private:
    void Run() {
        std::string line;
        bool seenCommand = false;
        while (running_) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
                continue;
            char buf[512];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                continue;
            std::string reply;
            {
                std::lock_guard lock(m_);
                heard_.append(buf, static_cast<std::size_t>(n));
                for (ssize_t i = 0; i < n; ++i) {
                    if (buf[i] != '\r') {
                        line += buf[i];
                        continue;
                    }
                    if (!seenCommand) {
                        seenCommand = true;
                        tcgetattr(master_, &first_);
                    }
                    if (!script_.empty() && script_.front().first == line) {
                        reply += script_.front().second;
                        script_.erase(script_.begin());
                    }
                    line.clear();
                }
            }
            if (!reply.empty())
                Send(reply);
        }
    }

    int master_ = -1;
    std::string slave_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::mutex m_;
    std::vector<std::pair<std::string, std::string>> script_;
    std::string heard_;
    termios first_{};
};

} // namespace tessaly
