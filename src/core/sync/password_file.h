#pragma once
// A server's password kept in a file of the user's, for runs without a secret service
// (scripts, servers). The file must be readable by its owner alone: a password that
// others could read is refused rather than used.

#include "core/system/file_system.h"

#include <string>

namespace tessaly {

struct TPasswordRead {
    bool Ok = false;
    std::string Password; // the first line, without its line end
    std::string Error;    // why the file was refused, when not Ok
};

TPasswordRead ReadPasswordFile(const std::string& path, IFileSystem& fs = RealFileSystem());

} // namespace tessaly
