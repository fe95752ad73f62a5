#include "tests/support/radicale_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tessaly::testing {

namespace {

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t colon = dirs.find(':', start);
        const std::string dir =
            dirs.substr(start, colon == std::string::npos ? colon : colon - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return "";
}

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

} // namespace

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

bool AcceptsConnections(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

bool TRadicaleServer::Installed() {
    return !FindProgram("radicale").empty();
}

TRadicaleServer::TRadicaleServer(const std::string& folder, const TRadicaleOptions& options) {
    const std::string program = FindProgram("radicale");
    if (program.empty()) {
        problem_ = "radicale is not installed (scripts/install-deps installs it)";
        return;
    }
    std::filesystem::create_directories(folder);
    std::vector<std::string> args = {
        program,           "-C",     "--storage-filesystem-folder", folder + "/collections",
        "--logging-level", "warning"};
    if (options.Htpasswd.empty()) {
        args.insert(args.end(), {"--auth-type", "none"});
    } else {
        const std::string users = folder + "/users";
        std::ofstream(users) << options.Htpasswd;
        args.insert(args.end(), {"--auth-type", "htpasswd", "--auth-htpasswd-filename", users,
                                 "--auth-htpasswd-encryption", "plain", "--auth-delay", "0"});
    }
    if (!options.Certificate.empty()) {
        tls_ = true;
        args.insert(args.end(), {"--server-ssl", "--server-certificate", options.Certificate,
                                 "--server-key", options.Key});
    }
    const std::string log = folder + "/radicale.log";
    // A port taken by someone else between asking and binding is tried again.
    for (int attempt = 0; attempt < 3 && pid_ <= 0; ++attempt) {
        port_ = FreeLoopbackPort();
        std::vector<std::string> run = args;
        run.insert(run.end(), {"--server-hosts", "127.0.0.1:" + std::to_string(port_)});
        std::vector<char*> argv;
        for (std::string& a : run)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        if (child < 0) {
            problem_ = "fork failed";
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child) {
                problem_ = "radicale ended at its start; see " + log;
                break;
            }
            if (AcceptsConnections(port_)) {
                pid_ = child;
                problem_.clear();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (pid_ <= 0 && problem_.empty()) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            problem_ = "radicale did not answer within 15 s; see " + log;
        }
    }
}

TRadicaleServer::~TRadicaleServer() {
    Stop();
}

void TRadicaleServer::Stop() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

std::string TRadicaleServer::Url(const std::string& path) const {
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + path;
}

} // namespace tessaly::testing
