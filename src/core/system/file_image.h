#pragma once
// A whole file read once into memory of its own, for a parser that goes through it
// from front to back. The parser can give back what it has read as it goes, so
// that a large file and what is built from it are not both held in full.
// POSIX.

#include "core/system/file_io.h"
#include "core/system/file_system.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tessaly {

class TFileImage {
public:
    TFileImage() = default;
    ~TFileImage();
    TFileImage(TFileImage&& other) noexcept;
    TFileImage& operator=(TFileImage&& other) noexcept;
    TFileImage(const TFileImage&) = delete;
    TFileImage& operator=(const TFileImage&) = delete;

    // Reads the whole file, replacing what the image held. A file that changes size
    // while it is read is taken as far as it reaches.
    // Only regular files are read (a device or a pipe may never end). The result
    // carries the file's identity for the changed-on-disk check.
    TIoResult Read(const std::string& path, IFileSystem& fs = RealFileSystem());

    std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }
    std::size_t Size() const { return size_; }

    // Gives the memory of the bytes before `offset` back to the system, in whole
    // blocks of kReleaseBlock; the bytes of a block given back read as zero
    // afterwards, so the caller never reads before `offset` again.
    void ReleaseBefore(std::size_t offset);
    // How many bytes from the start have been given back.
    std::size_t Released() const { return released_; }

    // The unit of ReleaseBefore, and the alignment of the image: the size of a huge
    // page, which large images are backed by where the system allows.
    static constexpr std::size_t kReleaseBlock = std::size_t{2} << 20;

private:
    void Unmap();
    // Makes room for at least `capacity` bytes, keeping the bytes read so far.
    bool Reserve(std::size_t capacity);

    std::uint8_t* data_ = nullptr; // aligned to kReleaseBlock inside the mapping
    std::size_t size_ = 0;
    std::size_t capacity_ = 0; // usable bytes from data_
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::size_t released_ = 0;
};

} // namespace tessaly
