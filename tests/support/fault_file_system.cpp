#include "tests/support/fault_file_system.h"

#include <algorithm>
#include <fcntl.h>

namespace tessaly::testing {

int TFaultFileSystem::FirstCall(const std::string& name) const {
    const auto it = std::find(log_.begin(), log_.end(), name);
    return it == log_.end() ? 0 : static_cast<int>(it - log_.begin()) + 1;
}

bool TFaultFileSystem::Fails(const char* name) {
    if (before_ && beforeCall_ == name) {
        auto action = std::move(before_);
        before_ = nullptr;
        action();
    }
    log_.emplace_back(name);
    if (Calls() != failAt_)
        return false;
    injected_ = true;
    errno = error_;
    return true;
}

int TFaultFileSystem::Open(const std::string& path, int flags, std::uint32_t mode) {
    if (Fails("open"))
        return -1;
    if (noUnnamed_ && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return real_.Open(path, flags, mode);
}

long TFaultFileSystem::Read(int fd, void* buffer, std::size_t size) {
    return Fails("read") ? -1 : real_.Read(fd, buffer, size);
}

long TFaultFileSystem::ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
    return Fails("read") ? -1 : real_.ReadAt(fd, buffer, size, offset);
}

long TFaultFileSystem::Write(int fd, const void* data, std::size_t size) {
    if (Fails("write"))
        return -1;
    if (roomLeft_ >= 0) {
        if (roomLeft_ == 0) {
            errno = ENOSPC;
            return -1;
        }
        size = static_cast<std::size_t>(std::min<std::int64_t>(roomLeft_, size));
    }
    const long n = real_.Write(fd, data, size);
    if (n > 0 && roomLeft_ >= 0)
        roomLeft_ -= n;
    return n;
}

int TFaultFileSystem::Fsync(int fd) {
    return Fails("fsync") ? -1 : real_.Fsync(fd);
}

void TFaultFileSystem::StartWriteback(int fd, std::int64_t offset, std::int64_t size) {
    writebacks_.emplace_back(offset, size);
    real_.StartWriteback(fd, offset, size);
}

int TFaultFileSystem::Close(int fd) {
    if (Fails("close")) {
        const int error = errno;
        real_.Close(fd);
        errno = error;
        return -1;
    }
    return real_.Close(fd);
}

int TFaultFileSystem::Fstat(int fd, TFileStat& st) {
    return Fails("fstat") ? -1 : real_.Fstat(fd, st);
}

int TFaultFileSystem::Stat(const std::string& path, TFileStat& st) {
    return Fails("stat") ? -1 : real_.Stat(path, st);
}

int TFaultFileSystem::Fchmod(int fd, std::uint32_t mode) {
    return Fails("fchmod") ? -1 : real_.Fchmod(fd, mode);
}

int TFaultFileSystem::Fchown(int fd, std::uint32_t owner, std::uint32_t group) {
    return Fails("fchown") ? -1 : real_.Fchown(fd, owner, group);
}

int TFaultFileSystem::LinkOpenFile(int fd, const std::string& path) {
    return Fails("link") ? -1 : real_.LinkOpenFile(fd, path);
}

int TFaultFileSystem::Rename(const std::string& from, const std::string& to) {
    return Fails("rename") ? -1 : real_.Rename(from, to);
}

int TFaultFileSystem::Unlink(const std::string& path) {
    return Fails("unlink") ? -1 : real_.Unlink(path);
}

int TFaultFileSystem::ListFolder(const std::string& path, std::vector<std::string>& names) {
    return Fails("list") ? -1 : real_.ListFolder(path, names);
}

} // namespace tessaly::testing
