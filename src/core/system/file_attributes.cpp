#include "core/system/file_attributes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
}

std::optional<bool> IsFileReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return (st.st_mode & kAnyWrite) == 0 || ::access(path.c_str(), W_OK) != 0;
}

TIoResult SetFileReadOnly(const std::string& path, bool readOnly) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return TIoResult{false,
                         "cannot read the attributes of " + path + ": " + std::strerror(errno),
                         {}};
    const mode_t mode =
        readOnly ? (st.st_mode & 07777 & ~kAnyWrite) : (st.st_mode & 07777) | S_IWUSR;
    if (::chmod(path.c_str(), mode) != 0)
        return TIoResult{false,
                         "cannot change the attributes of " + path + ": " + std::strerror(errno),
                         {}};
    return TIoResult{true, std::string(), {}};
}

bool CanWriteFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return !S_ISDIR(st.st_mode) && !IsFileReadOnly(path).value_or(true);
    const std::string parent = std::filesystem::path(path).parent_path().string();
    const char* folder = parent.empty() ? "." : parent.c_str();
    struct stat dir {};
    return ::stat(folder, &dir) == 0 && S_ISDIR(dir.st_mode) && ::access(folder, W_OK) == 0;
}

std::optional<std::int64_t> FileModificationTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace tessaly
