#include "core/system/file_system.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

void Convert(const struct stat& from, TFileStat& to) {
    to.Mode = from.st_mode;
    to.Owner = from.st_uid;
    to.Group = from.st_gid;
    to.Size = from.st_size;
    to.ModifiedNs =
        static_cast<std::int64_t>(from.st_mtim.tv_sec) * 1000000000 + from.st_mtim.tv_nsec;
    to.Inode = from.st_ino;
    to.Device = from.st_dev;
}

class TPosixFileSystem final : public IFileSystem {
public:
    int Open(const std::string& path, int flags, std::uint32_t mode) override {
        int fd;
        do
            fd = ::open(path.c_str(), flags, static_cast<mode_t>(mode));
        while (fd < 0 && errno == EINTR);
        return fd;
    }
    long Read(int fd, void* buffer, std::size_t size) override {
        ssize_t n;
        do
            n = ::read(fd, buffer, size);
        while (n < 0 && errno == EINTR);
        return static_cast<long>(n);
    }
    long ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) override {
        ssize_t n;
        do
            n = ::pread(fd, buffer, size, static_cast<off_t>(offset));
        while (n < 0 && errno == EINTR);
        return static_cast<long>(n);
    }
    long Write(int fd, const void* data, std::size_t size) override {
        ssize_t n;
        do
            n = ::write(fd, data, size);
        while (n < 0 && errno == EINTR);
        return static_cast<long>(n);
    }
    int Fsync(int fd) override { return ::fsync(fd); }
    void StartWriteback(int fd, std::int64_t offset, std::int64_t size) override {
        ::sync_file_range(fd, offset, size, SYNC_FILE_RANGE_WRITE);
    }
    int Close(int fd) override { return ::close(fd); }
    int Fstat(int fd, TFileStat& st) override {
        struct stat s {};
        if (::fstat(fd, &s) != 0)
            return -1;
        Convert(s, st);
        return 0;
    }
    int Stat(const std::string& path, TFileStat& st) override {
        struct stat s {};
        if (::stat(path.c_str(), &s) != 0)
            return -1;
        Convert(s, st);
        return 0;
    }
    int Fchmod(int fd, std::uint32_t mode) override {
        return ::fchmod(fd, static_cast<mode_t>(mode));
    }
    int Fchown(int fd, std::uint32_t owner, std::uint32_t group) override {
        return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group));
    }
    int LinkOpenFile(int fd, const std::string& path) override {
        // Through /proc any user may link a file opened with O_TMPFILE; AT_EMPTY_PATH
        // needs a capability but works where /proc is not mounted.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != ENOENT)
            return -1;
        return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH);
    }
    int Rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str());
    }
    int Unlink(const std::string& path) override { return ::unlink(path.c_str()); }
    int ListFolder(const std::string& path, std::vector<std::string>& names) override {
        names.clear();
        DIR* dir = ::opendir(path.c_str());
        if (!dir)
            return -1;
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
        return 0;
    }
};

} // namespace

IFileSystem& RealFileSystem() {
    static TPosixFileSystem system;
    return system;
}

} // namespace tessaly
