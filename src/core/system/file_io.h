#pragma once
// Whole-file reads and atomic writes: a file is either replaced completely or left as
// it was. POSIX.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

struct TIoResult {
    bool Ok = false;
    std::string Error; // the reason, when not Ok
};

// Reads the whole file into `out`.
TIoResult ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out);
// Writes a temporary file in the same folder, flushes and syncs it, gives it the old
// file's permissions and renames it over the old file. On any failure the temporary
// file is removed and the old file is untouched.
TIoResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> data);
// Copies a file byte for byte through WriteFileAtomically.
TIoResult CopyFileAtomically(const std::string& from, const std::string& to);
bool FileExists(const std::string& path);

} // namespace tessaly
