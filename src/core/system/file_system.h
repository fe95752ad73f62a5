#pragma once
// The calls through which the program reads and writes its files. Every save goes
// through one IFileSystem, so tests can make any one call fail (or the disk fill up)
// and prove that a failed save leaves the old file as it was. The calls follow POSIX:
// a negative result is a failure with the reason in errno.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// What a save needs to know of a file.
struct TFileStat {
    std::uint32_t Mode = 0; // type and permission bits, as st_mode
    std::uint32_t Owner = 0;
    std::uint32_t Group = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0; // modification time in nanoseconds since 1970
    std::uint64_t Inode = 0;
    std::uint64_t Device = 0;
};

// Tells whether a file is still the one read or written earlier: a save that finds
// another identity knows that some other writer replaced or changed the file.
struct TFileIdentity {
    bool Known = false;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Device = 0;

    static TFileIdentity Of(const TFileStat& st) {
        return TFileIdentity{true, st.Size, st.ModifiedNs, st.Inode, st.Device};
    }
    bool operator==(const TFileIdentity&) const = default;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // open(2); `flags` may hold O_TMPFILE, which names the folder to create in.
    virtual int Open(const std::string& path, int flags, std::uint32_t mode) = 0;
    virtual long Read(int fd, void* buffer, std::size_t size) = 0;
    // pread(2): reads at `offset`, leaving the file's position where it was.
    virtual long ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) = 0;
    virtual long Write(int fd, const void* data, std::size_t size) = 0;
    virtual int Fsync(int fd) = 0;
    // Asks that the bytes written so far in [offset, offset + size) start on their way
    // to the disk, without waiting for them (sync_file_range(2)), so that the Fsync
    // at the end of a large write has less left to wait for. Only advice: a file
    // system that takes none does nothing, and a refusal is not an error.
    virtual void StartWriteback(int fd, std::int64_t offset, std::int64_t size) {
        (void)fd;
        (void)offset;
        (void)size;
    }
    virtual int Close(int fd) = 0;
    virtual int Fstat(int fd, TFileStat& st) = 0;
    // stat(2) of the file a path names, following symbolic links.
    virtual int Stat(const std::string& path, TFileStat& st) = 0;
    virtual int Fchmod(int fd, std::uint32_t mode) = 0;
    virtual int Fchown(int fd, std::uint32_t owner, std::uint32_t group) = 0;
    // Gives the open file (made with O_TMPFILE) the name `path`; fails with EEXIST
    // rather than replace a file.
    virtual int LinkOpenFile(int fd, const std::string& path) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Unlink(const std::string& path) = 0;
    // The names in a folder, "." and ".." left out.
    virtual int ListFolder(const std::string& path, std::vector<std::string>& names) = 0;
};

// The operating system's calls.
IFileSystem& RealFileSystem();

} // namespace tessaly
