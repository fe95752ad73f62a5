#include "core/system/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

TIoResult Fail(const std::string& what, const std::string& path, int error) {
    return TIoResult{false, what + " " + path + ": " + std::strerror(error)};
}

// Closes a descriptor on every path out of a function.
class TFd {
public:
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A name for the temporary file beside the target that no other writer uses.
std::string TempName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(random() % 100000);
}

// Writes through a symbolic link to the file it names, rather than replacing the link.
std::string ResolveTarget(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto target = std::filesystem::weakly_canonical(path, ec);
        if (!ec)
            return target.string();
    }
    return path;
}

} // namespace

TIoResult ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
    out.clear();
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return Fail("cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        return Fail("cannot read", path, errno);
    if (S_ISDIR(st.st_mode))
        return Fail("cannot read", path, EISDIR);
    if (st.st_size > 0)
        out.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            out.clear();
            return Fail("cannot read", path, error);
        }
        if (n == 0)
            break;
        out.insert(out.end(), buffer, buffer + n);
    }
    return TIoResult{true, std::string()};
}

TIoResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> data) {
    const std::string target = ResolveTarget(path);
    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode))
        return Fail("cannot write", target, EISDIR);

    std::string temp;
    int fdNumber = -1;
    for (int attempt = 0; attempt < 100 && fdNumber < 0; ++attempt) {
        temp = TempName(target);
        fdNumber = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fdNumber < 0 && errno != EEXIST)
            return Fail("cannot create", temp, errno);
    }
    if (fdNumber < 0)
        return Fail("cannot create", temp, EEXIST);
    TFd fd(fdNumber);

    auto abandon = [&](const char* what, int error) {
        fd.Close();
        ::unlink(temp.c_str());
        return Fail(what, target, error);
    };
    if (!WriteAll(fd.Get(), data.data(), data.size()))
        return abandon("cannot write", errno);
    if (hadOld) {
        // The new file keeps the old one's permissions (and owner, where allowed).
        if (::fchmod(fd.Get(), old.st_mode & 07777) != 0)
            return abandon("cannot set the permissions of", errno);
        if (::fchown(fd.Get(), old.st_uid, old.st_gid) != 0) {
            // Only a privileged writer can give the file away; keep going.
        }
    }
    if (::fsync(fd.Get()) != 0)
        return abandon("cannot flush", errno);
    if (!fd.Close()) {
        const int error = errno;
        ::unlink(temp.c_str());
        return Fail("cannot close", target, error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return Fail("cannot replace", target, error);
    }
    // Make the rename itself durable; a failure here no longer risks the data.
    const std::string folder = std::filesystem::path(target).parent_path().string();
    TFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
    return TIoResult{true, std::string()};
}

TIoResult CopyFileAtomically(const std::string& from, const std::string& to) {
    std::vector<std::uint8_t> bytes;
    TIoResult read = ReadWholeFile(from, bytes);
    if (!read.Ok)
        return read;
    return WriteFileAtomically(to, bytes);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

} // namespace tessaly
