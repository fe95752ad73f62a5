#pragma once
// A file system for tests: passes every call to the real one, counts and names the
// calls, and makes the Nth call fail, or the disk fill up after N bytes.

#include "core/system/file_system.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tessaly::testing {

class TFaultFileSystem final : public IFileSystem {
public:
    explicit TFaultFileSystem(IFileSystem& real = RealFileSystem()) : real_(real) {}

    // The call numbered `call` (from 1) fails with `error` and has no effect (a failed
    // close still frees the descriptor, as on Linux).
    void FailAt(int call, int error = EIO) {
        failAt_ = call;
        error_ = error;
    }
    // Writes beyond `bytes` in all fail with ENOSPC; the write that crosses the limit
    // writes what still fits.
    void DiskFullAfter(std::int64_t bytes) { roomLeft_ = bytes; }
    // Opening an unnamed file (O_TMPFILE) fails as on a file system without them.
    void RefuseUnnamedFiles() { noUnnamed_ = true; }
    // Runs `action` once, just before the first call of the given name ("stat", ...).
    void Before(const std::string& call, std::function<void()> action) {
        beforeCall_ = call;
        before_ = std::move(action);
    }

    int Calls() const { return static_cast<int>(log_.size()); }
    // The names of the calls made, in order: "open", "write", "fsync", ...
    const std::vector<std::string>& Log() const { return log_; }
    bool Injected() const { return injected_; }
    // The 1-based number of the first call of that name, 0 when none was made.
    int FirstCall(const std::string& name) const;

    int Open(const std::string& path, int flags, std::uint32_t mode) override;
    long Read(int fd, void* buffer, std::size_t size) override;
    long ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) override;
    long Write(int fd, const void* data, std::size_t size) override;
    int Fsync(int fd) override;
    // Passed on, and recorded apart: advice is not a call that can fail a save.
    void StartWriteback(int fd, std::int64_t offset, std::int64_t size) override;
    // The ranges of StartWriteback calls, in order.
    const std::vector<std::pair<std::int64_t, std::int64_t>>& Writebacks() const {
        return writebacks_;
    }
    int Close(int fd) override;
    int Fstat(int fd, TFileStat& st) override;
    int Stat(const std::string& path, TFileStat& st) override;
    int Fchmod(int fd, std::uint32_t mode) override;
    int Fchown(int fd, std::uint32_t owner, std::uint32_t group) override;
    int LinkOpenFile(int fd, const std::string& path) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Unlink(const std::string& path) override;
    int ListFolder(const std::string& path, std::vector<std::string>& names) override;

private:
    // Counts a call; true when this one is to fail (errno is then set).
    bool Fails(const char* name);

    IFileSystem& real_;
    std::vector<std::string> log_;
    std::vector<std::pair<std::int64_t, std::int64_t>> writebacks_;
    int failAt_ = 0;
    int error_ = EIO;
    bool injected_ = false;
    std::int64_t roomLeft_ = -1;
    bool noUnnamed_ = false;
    std::string beforeCall_;
    std::function<void()> before_;
};

} // namespace tessaly::testing
