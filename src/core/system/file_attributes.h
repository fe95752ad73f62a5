#pragma once
// What the lock rules and the refresh of shared files ask of a file: its read-only
// state, whether it may be written, and its modification time. POSIX.

#include "core/system/file_io.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessaly {

// Whether the file is read-only: no one may write it, or this process may not.
// Nothing when its attributes cannot be read.
std::optional<bool> IsFileReadOnly(const std::string& path);
// Sets or clears the read-only state: removes every write permission, or gives the
// owner write permission back.
TIoResult SetFileReadOnly(const std::string& path, bool readOnly);
// Whether a save could write this path: an existing file that is not read-only, or a
// new file in a folder this process may write.
bool CanWriteFile(const std::string& path);
// The modification time in nanoseconds since 1970; nothing when it cannot be read.
std::optional<std::int64_t> FileModificationTime(const std::string& path);

} // namespace tessaly
