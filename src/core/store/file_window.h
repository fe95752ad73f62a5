#pragma once
// A file read through a window: the bytes a reader asks for are read into one buffer,
// used over and over, rather than the whole file into memory first. A large book is
// then built without holding its file as well, and its bytes are read while they are
// still in the processor's cache. POSIX.

#include "core/store/stream.h"
#include "core/system/file_io.h"
#include "core/system/file_system.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

class TFileWindow final : public IStreamSource {
public:
    explicit TFileWindow(IFileSystem& fs = RealFileSystem()) : fs_(fs) { readError_.Ok = true; }
    ~TFileWindow() override;
    TFileWindow(const TFileWindow&) = delete;
    TFileWindow& operator=(const TFileWindow&) = delete;

    // Opens a regular file (a device or a pipe may never end) and takes its size; the
    // result carries the file's identity for the changed-on-disk check.
    TIoResult Open(const std::string& path);

    std::size_t Size() const override { return size_; }
    // Throws StreamError when the bytes cannot be read or the file has become shorter;
    // ReadError then tells why.
    std::span<const std::uint8_t> BytesAt(std::size_t position, std::size_t least) override;
    // The failure of a read after Open; Ok when there was none.
    const TIoResult& ReadError() const { return readError_; }

    // Bytes read at a time, unless a reader needs more at once.
    static constexpr std::size_t kWindow = std::size_t{256} << 10;

private:
    IFileSystem& fs_;
    std::string path_;
    int fd_ = -1;
    std::size_t size_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0; // the file offset of buffer_[0]
    std::size_t held_ = 0;  // bytes of the file in buffer_
    TIoResult readError_;
};

} // namespace tessaly
