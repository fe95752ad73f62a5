#include "core/store/file_window.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessaly {

namespace {

TIoResult Fail(const std::string& what, const std::string& path, int error) {
    TIoResult r;
    r.Error = what + " " + path + ": " + std::strerror(error);
    r.ErrorCode = error;
    return r;
}

} // namespace

TFileWindow::~TFileWindow() {
    if (fd_ >= 0)
        fs_.Close(fd_);
}

TIoResult TFileWindow::Open(const std::string& path) {
    path_ = path;
    TFileStat st;
    TIoResult r;
    const int fd = OpenForReading(path, st, r, fs_);
    if (fd < 0)
        return r;
    fd_ = fd;
    size_ = static_cast<std::size_t>(std::max<std::int64_t>(st.Size, 0));
    r.Ok = true;
    r.Identity = TFileIdentity::Of(st);
    return r;
}

std::span<const std::uint8_t> TFileWindow::BytesAt(std::size_t position, std::size_t least) {
    if (position >= start_ && position + least <= start_ + held_)
        return std::span(buffer_).subspan(position - start_, start_ + held_ - position);
    if (fd_ < 0 || position + least > size_)
        throw StreamError("read past the end of the file");
    const std::size_t want = std::min(std::max(least, kWindow), size_ - position);
    if (buffer_.size() < want)
        buffer_.resize(std::max(want, std::min(kWindow, size_)));
    start_ = position;
    held_ = 0;
    while (held_ < want) {
        const long n = fs_.ReadAt(fd_, buffer_.data() + held_, want - held_,
                                  static_cast<std::int64_t>(position + held_));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            readError_ = Fail("cannot read", path_, errno);
            held_ = 0;
            throw StreamError("the file could not be read");
        }
        if (n == 0)
            break;
        held_ += static_cast<std::size_t>(n);
    }
    // A file that became shorter while it was read ends where it now ends.
    if (held_ < least)
        throw StreamError("the file ended before its size");
    return std::span(buffer_).subspan(0, held_);
}

} // namespace tessaly
