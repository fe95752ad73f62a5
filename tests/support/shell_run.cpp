#include "tests/support/shell_run.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tessaly::testing {

TShellRun RunShell(const std::string& command) {
    TShellRun run;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string WithoutSecretService(const std::string& program) {
    return "env -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR=/nonexistent " + program;
}

pid_t StartShell(const std::string& command) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", ("exec " + command + " >/dev/null 2>&1").c_str(), nullptr);
        ::_exit(127);
    }
    return child;
}

bool WaitForFiles(const std::string& folder, const std::string& extension, int count,
                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code error;
        int held = 0;
        for (std::filesystem::recursive_directory_iterator it(folder, error), end;
             !error && it != end; it.increment(error))
            held += it->path().extension() == extension;
        if (held >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool KillAndReap(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

bool KillOnceFilesAppear(const std::string& command, const std::string& folder,
                         const std::string& extension, int count) {
    const pid_t child = StartShell(command);
    WaitForFiles(folder, extension, count, std::chrono::seconds(60));
    return KillAndReap(child);
}

TShellRun RunShellUntilDone(const std::string& command, int tries) {
    TShellRun last;
    for (int i = 0; i < tries; ++i) {
        last = RunShell(command);
        if (last.Status == 0)
            break;
    }
    return last;
}

} // namespace tessaly::testing
