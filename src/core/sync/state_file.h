#pragma once
// The file a sync state is kept in, beside its book or diary: read whole and parsed,
// and written crash-safe through the file-writing seam.

#include "core/system/file_system.h"

#include <functional>
#include <string>

namespace tessaly {

enum class TStateFileRead {
    Read,    // the state was read
    Missing, // there is no state file: the book or diary never synced
    Damaged, // the file is there but not a state this program can use
};

// Reads the file and hands its text to `parse`, which says why a text is damaged.
// A file that cannot be read counts as Damaged, with the system's reason.
TStateFileRead
ReadStateFile(const std::string& path,
              const std::function<bool(const std::string& text, std::string& why)>& parse,
              std::string& why, IFileSystem& fs);
// Writes `text` crash-safe (WriteFileAtomically); false with `why` on failure.
bool WriteStateFile(const std::string& path, const std::string& text, std::string& why,
                    IFileSystem& fs);

} // namespace tessaly
