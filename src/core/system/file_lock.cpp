#include "core/system/file_lock.h"

#include "core/system/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tessaly {

bool TFileLock::Acquire(const std::string& path, std::chrono::milliseconds wait) {
    Release();
    const std::string target = ResolveTarget(path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        struct stat named {};
        if (::stat(target.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
            return true;
        // Non-blocking: the name may have become a FIFO since the stat.
        const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The lock counts only if the name still leads to the file locked: a
            // writer that held it may have replaced the file meanwhile.
            struct stat locked {};
            if (::fstat(fd, &locked) == 0 && ::stat(target.c_str(), &named) == 0 &&
                locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
                fd_ = fd;
                return true;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            return true; // no locks here (some network file systems)
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void TFileLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_); // closing the last descriptor releases the lock
        fd_ = -1;
    }
}

} // namespace tessaly
