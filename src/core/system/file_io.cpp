#include "core/system/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

TIoResult Fail(const std::string& what, const std::string& path, int error,
               const std::string& detail = std::string()) {
    TIoResult r;
    r.Error = what + " " + path + ": " + std::strerror(error) + detail;
    r.ErrorCode = error;
    return r;
}

// A failed step of writing the new file: what was being done and errno.
struct TStep {
    const char* What = nullptr;
    int Error = 0;
    explicit operator bool() const { return What != nullptr; }
};

TStep Failed(const char* what) {
    return TStep{what, errno};
}

bool WriteAll(IFileSystem& fs, int fd, std::span<const std::uint8_t> data) {
    const std::uint8_t* p = data.data();
    std::size_t size = data.size();
    while (size > 0) {
        const long n = fs.Write(fd, p, std::min<std::size_t>(size, std::size_t{1} << 30));
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC; // a write that makes no progress: the disk is full
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

constexpr const char* kTempMark = ".tmp";
// As many symbolic links as the system follows in one path.
constexpr int kMostLinks = 40;
constexpr std::int64_t kWritebackStretch = std::int64_t{8} << 20;

// "NAME.tmpPID-COUNT-RANDOM": the writer's process id lets a later save tell a
// temporary whose writer died from one being written now.
std::string TempName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    return target + kTempMark + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(random() % 100000);
}

std::string FolderOf(const std::string& target) {
    const std::string folder = std::filesystem::path(target).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

bool InGroup(std::uint32_t group) {
    if (::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.end();
}

// The open call of an unnamed file fails in these ways where the file system (or
// the kernel) cannot make one; the save then uses a named temporary.
bool NoUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Writes the data into the new file and gives it the old file's owner, group and
// mode before syncing it. `written` receives the new file's state.
TStep Fill(IFileSystem& fs, int fd, const TByteSource& source, const TFileStat* old,
           TFileStat& written) {
    int writeError = 0;
    bool complete = false;
    // The disk starts on each stretch of a large file as soon as it is written, so
    // that writing it and making it durable overlap.
    std::int64_t done = 0;
    std::int64_t started = 0;
    try {
        complete = source([&](std::span<const std::uint8_t> piece) {
            if (!WriteAll(fs, fd, piece)) {
                writeError = errno;
                return false;
            }
            done += static_cast<std::int64_t>(piece.size());
            if (done - started >= kWritebackStretch) {
                fs.StartWriteback(fd, started, done - started);
                started = done;
            }
            return true;
        });
    } catch (const std::exception&) {
        // The temporary must still be removed; the caller has its own reason.
        complete = false;
    }
    if (!complete) {
        errno = writeError ? writeError : ECANCELED;
        return Failed("cannot write");
    }
    if (fs.Fstat(fd, written) != 0)
        return Failed("cannot write");
    if (old) {
        if ((written.Owner != old->Owner || written.Group != old->Group) &&
            fs.Fchown(fd, old->Owner, old->Group) != 0)
            return Failed("cannot keep the owner and group of");
        if (fs.Fchmod(fd, old->Mode & 07777) != 0)
            return Failed("cannot keep the permissions of");
    }
    if (fs.Fsync(fd) != 0)
        return Failed("cannot flush");
    return TStep{};
}

// Makes a rename in `folder` durable. The new file is in place already; a failure
// here does not undo the save.
void SyncFolder(IFileSystem& fs, const std::string& folder) {
    const int dir = fs.Open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dir < 0)
        return;
    fs.Fsync(dir);
    fs.Close(dir);
}

} // namespace

std::string ResolveTarget(const std::string& path) {
    namespace fs = std::filesystem;
    // Followed one link at a time, so that a link to a file not made yet still tells
    // where the file goes. A relative target is taken from the link's folder as named:
    // the system resolves its ".." from the folder the path really reaches.
    std::error_code ec;
    fs::path at = path;
    int hops = 0;
    for (; hops < kMostLinks && fs::is_symlink(at, ec); ++hops) {
        const fs::path next = fs::read_symlink(at, ec);
        if (ec)
            return path;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    if (hops == 0)
        return path;
    // Links without end: the save names the last one, and the system says why not.
    if (hops == kMostLinks)
        return at.string();
    const fs::path target = fs::weakly_canonical(at, ec);
    return ec ? at.string() : target.string();
}

bool ModeAllowsWriting(const TFileStat& st) {
    if (st.Owner == ::geteuid())
        return (st.Mode & S_IWUSR) != 0;
    if (InGroup(st.Group))
        return (st.Mode & S_IWGRP) != 0;
    return (st.Mode & S_IWOTH) != 0;
}

int OpenForReading(const std::string& path, TFileStat& st, TIoResult& failure, IFileSystem& fs) {
    const int fd = fs.Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        failure = Fail("cannot open", path, errno);
        return -1;
    }
    if (fs.Fstat(fd, st) != 0) {
        failure = Fail("cannot read", path, errno);
        fs.Close(fd);
        return -1;
    }
    if (!S_ISREG(st.Mode)) {
        failure = S_ISDIR(st.Mode)
                      ? Fail("cannot read", path, EISDIR)
                      : Fail("cannot read", path, EINVAL, " (it is not a regular file)");
        fs.Close(fd);
        return -1;
    }
    return fd;
}

TIoResult ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, IFileSystem& fs) {
    out.clear();
    TFileStat st;
    TIoResult failure;
    const int fd = OpenForReading(path, st, failure, fs);
    if (fd < 0)
        return failure;
    auto fail = [&](int error) {
        out.clear();
        fs.Close(fd);
        return Fail("cannot read", path, error);
    };
    if (st.Size > 0)
        out.reserve(static_cast<std::size_t>(st.Size));
    std::uint8_t buffer[65536];
    for (;;) {
        const long n = fs.Read(fd, buffer, sizeof buffer);
        if (n < 0)
            return fail(errno);
        if (n == 0)
            break;
        out.insert(out.end(), buffer, buffer + n);
    }
    if (fs.Close(fd) != 0) {
        const int error = errno;
        out.clear();
        return Fail("cannot read", path, error);
    }
    TIoResult r;
    r.Ok = true;
    r.Identity = TFileIdentity::Of(st);
    return r;
}

TIoResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                              IFileSystem& fs) {
    return WriteFileAtomically(
        path, [data](const TByteSink& put) { return put(data); }, fs);
}

TIoResult WriteFileAtomically(const std::string& path, const TByteSource& data, IFileSystem& fs) {
    const std::string target = ResolveTarget(path);
    TFileStat old;
    const bool hadOld = fs.Stat(target, old) == 0;
    if (!hadOld && errno != ENOENT)
        return Fail("cannot read the state of", target, errno);
    if (hadOld) {
        if (S_ISDIR(old.Mode))
            return Fail("cannot write", target, EISDIR);
        if (!S_ISREG(old.Mode))
            return Fail("cannot write", target, EINVAL, " (it is not a regular file)");
        if (!ModeAllowsWriting(old))
            return Fail("cannot write", target, EACCES, " (the file is read-only for this user)");
        // Another user's file would become this user's: refused, the file is theirs.
        if (::geteuid() != 0 && old.Owner != ::geteuid())
            return Fail("cannot keep the owner of", target, EPERM,
                        " (the file belongs to another user)");
    }
    const TFileStat* keep = hadOld ? &old : nullptr;
    const std::string folder = FolderOf(target);
    TFileStat written;
    std::string temp;

    // First choice: an unnamed file that gets a name only once it is complete, so a
    // writer killed midway leaves nothing behind.
    bool named = false;
    int fd = fs.Open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (!NoUnnamedFiles(errno))
            return Fail("cannot write", target, errno);
        named = true;
    } else {
        if (const TStep step = Fill(fs, fd, data, keep, written)) {
            fs.Close(fd);
            return Fail(step.What, target, step.Error);
        }
        for (int attempt = 0;; ++attempt) {
            temp = TempName(target);
            if (fs.LinkOpenFile(fd, temp) == 0)
                break;
            const int error = errno;
            if (error == EEXIST && attempt < 100)
                continue;
            fs.Close(fd);
            if (error != ENOENT && error != EOPNOTSUPP)
                return Fail("cannot link the new file beside", target, error);
            named = true; // no way to name an unnamed file here
            break;
        }
        if (!named && fs.Close(fd) != 0) {
            const int error = errno;
            fs.Unlink(temp);
            return Fail("cannot close", target, error);
        }
    }

    if (named) {
        fd = -1;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temp = TempName(target);
            fd = fs.Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                return Fail("cannot create", temp, errno);
        }
        if (fd < 0)
            return Fail("cannot create", temp, EEXIST);
        if (const TStep step = Fill(fs, fd, data, keep, written)) {
            fs.Close(fd);
            fs.Unlink(temp);
            return Fail(step.What, target, step.Error);
        }
        if (fs.Close(fd) != 0) {
            const int error = errno;
            fs.Unlink(temp);
            return Fail("cannot close", target, error);
        }
    }

    if (fs.Rename(temp, target) != 0) {
        const int error = errno;
        fs.Unlink(temp);
        return Fail("cannot replace", target, error);
    }
    // The file is replaced. What follows only tidies up.
    SyncFolder(fs, folder);
    RemoveStaleTemporaries(target, fs);
    TIoResult r;
    r.Ok = true;
    r.Identity = TFileIdentity::Of(written);
    return r;
}

int RemoveStaleTemporaries(const std::string& path, IFileSystem& fs) {
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
    const std::string prefix = std::filesystem::path(target).filename().string() + kTempMark;
    std::vector<std::string> names;
    if (fs.ListFolder(folder, names) != 0)
        return 0;
    int removed = 0;
    for (const std::string& name : names) {
        if (!name.starts_with(prefix))
            continue;
        const std::size_t digits = name.find_first_not_of("0123456789", prefix.size());
        if (digits == prefix.size() || digits == std::string::npos || name[digits] != '-' ||
            digits - prefix.size() > 9)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name.substr(prefix.size())));
        if (pid <= 0 || pid == ::getpid())
            continue;
        // A process that exists (even one this user may not signal) may be writing.
        if (::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        if (fs.Unlink((std::filesystem::path(folder) / name).string()) == 0)
            ++removed;
    }
    return removed;
}

TIoResult CopyFileAtomically(const std::string& from, const std::string& to, IFileSystem& fs) {
    std::vector<std::uint8_t> bytes;
    TIoResult read = ReadWholeFile(from, bytes, fs);
    if (!read.Ok)
        return read;
    return WriteFileAtomically(to, bytes, fs);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

} // namespace tessaly
