#include "core/sync/state_file.h"

#include "core/system/file_io.h"

#include <cerrno>
#include <cstdint>
#include <span>
#include <vector>

namespace tessaly {

TStateFileRead
ReadStateFile(const std::string& path,
              const std::function<bool(const std::string& text, std::string& why)>& parse,
              std::string& why, IFileSystem& fs) {
    std::vector<std::uint8_t> bytes;
    const TIoResult read = ReadWholeFile(path, bytes, fs);
    if (!read.Ok) {
        if (read.ErrorCode == ENOENT)
            return TStateFileRead::Missing;
        why = read.Error;
        return TStateFileRead::Damaged;
    }
    if (!parse(std::string(bytes.begin(), bytes.end()), why))
        return TStateFileRead::Damaged;
    return TStateFileRead::Read;
}

bool WriteStateFile(const std::string& path, const std::string& text, std::string& why,
                    IFileSystem& fs) {
    const TIoResult written =
        WriteFileAtomically(path,
                            std::span<const std::uint8_t>(
                                reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                            fs);
    if (!written.Ok)
        why = written.Error;
    return written.Ok;
}

} // namespace tessaly
