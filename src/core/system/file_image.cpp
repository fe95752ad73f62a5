#include "core/system/file_image.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessaly {

namespace {

TIoResult Fail(const std::string& what, const std::string& path, int error) {
    TIoResult r;
    r.Error = what + " " + path + ": " + std::strerror(error);
    r.ErrorCode = error;
    return r;
}

std::size_t RoundUp(std::size_t n, std::size_t unit) {
    return (n + unit - 1) / unit * unit;
}

} // namespace

TFileImage::~TFileImage() {
    Unmap();
}

TFileImage::TFileImage(TFileImage&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      mapping_(std::exchange(other.mapping_, nullptr)),
      mappingSize_(std::exchange(other.mappingSize_, 0)),
      released_(std::exchange(other.released_, 0)) {}

TFileImage& TFileImage::operator=(TFileImage&& other) noexcept {
    if (this != &other) {
        Unmap();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        mapping_ = std::exchange(other.mapping_, nullptr);
        mappingSize_ = std::exchange(other.mappingSize_, 0);
        released_ = std::exchange(other.released_, 0);
    }
    return *this;
}

void TFileImage::Unmap() {
    if (mapping_)
        ::munmap(mapping_, mappingSize_);
    data_ = nullptr;
    size_ = capacity_ = mappingSize_ = released_ = 0;
    mapping_ = nullptr;
}

bool TFileImage::Reserve(std::size_t capacity) {
    if (capacity <= capacity_)
        return true;
    // Anonymous memory of its own rather than the heap: it is aligned for huge pages,
    // it can be given back a block at a time, and unmapping it costs nothing.
    const std::size_t usable = RoundUp(std::max(capacity, capacity_ * 2), kReleaseBlock);
    const std::size_t length = usable + kReleaseBlock;
    void* mapping =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return false;
    auto* data = reinterpret_cast<std::uint8_t*>(
        RoundUp(reinterpret_cast<std::uintptr_t>(mapping), kReleaseBlock));
#ifdef MADV_HUGEPAGE
    // Fewer page faults for a large file; only advice, so a refusal changes nothing.
    ::madvise(data, usable, MADV_HUGEPAGE);
#endif
    if (size_ > 0)
        std::memcpy(data, data_, size_);
    const std::size_t size = size_;
    Unmap();
    mapping_ = mapping;
    mappingSize_ = length;
    data_ = data;
    capacity_ = usable;
    size_ = size;
    return true;
}

TIoResult TFileImage::Read(const std::string& path, IFileSystem& fs) {
    Unmap();
    const int fd = fs.Open(path, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0)
        return Fail("cannot open", path, errno);
    struct Closer {
        IFileSystem& fs;
        int fd;
        ~Closer() { fs.Close(fd); }
    } closer{fs, fd};
    TFileStat st;
    if (fs.Fstat(fd, st) != 0)
        return Fail("cannot read", path, errno);
    if (S_ISDIR(st.Mode))
        return Fail("cannot read", path, EISDIR);
    // A device or a pipe may never end: only files are read.
    if (!S_ISREG(st.Mode))
        return Fail("cannot read", path, EINVAL);
    // One byte more than the size told, so that the read that finds the end needs no
    // more room; files that tell no size (/proc) grow the image as they go.
    if (!Reserve(static_cast<std::size_t>(std::max<std::int64_t>(st.Size, 0)) + 1))
        return Fail("cannot read", path, ENOMEM);
    for (;;) {
        if (size_ == capacity_ && !Reserve(capacity_ + 1)) {
            Unmap();
            return Fail("cannot read", path, ENOMEM);
        }
        const long n = fs.Read(fd, data_ + size_, capacity_ - size_);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            Unmap();
            return Fail("cannot read", path, error);
        }
        if (n == 0)
            break;
        size_ += static_cast<std::size_t>(n);
    }
    TIoResult r;
    r.Ok = true;
    r.Identity = TFileIdentity::Of(st);
    return r;
}

void TFileImage::ReleaseBefore(std::size_t offset) {
    const std::size_t end = std::min(offset, size_) / kReleaseBlock * kReleaseBlock;
    if (end <= released_)
        return;
    // The bytes are gone from here on; the advice cannot fail for memory of our own.
    ::madvise(data_ + released_, end - released_, MADV_DONTNEED);
    released_ = end;
}

} // namespace tessaly
