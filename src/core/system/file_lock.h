#pragma once
// The advisory lock (flock) that writers of a book hold over a read-change-write, so
// that a second writer waits instead of overwriting the first one's change. Readers
// take no lock. The lock is on the book file itself; because a save replaces the
// file, a writer that got the lock of a file replaced meanwhile tries again on the
// new one.

#include <chrono>
#include <string>

namespace tessaly {

class TFileLock {
public:
    TFileLock() = default;
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    ~TFileLock() { Release(); }

    // Takes the lock of the file at `path` (the file a symbolic link names), trying
    // for up to `wait`. True when it is held, and also when there is nothing to lock:
    // a file that does not exist or cannot be opened (whoever reads it next reports
    // why), or one that is not a regular file or whose file system has no locks.
    // False when another process kept it locked for the whole wait.
    bool Acquire(const std::string& path, std::chrono::milliseconds wait);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace tessaly
