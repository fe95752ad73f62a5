#pragma once
// The books and diaries open at exit, recorded so that the next start reopens them:
// "Files" and "Diary" hold the paths "1" to "N" in child-window order, "Opened" the
// counts and the file name of the window that was active.

#include "core/settings/settings_access.h"

#include <string>
#include <vector>

namespace tessaly {

struct TOpenFiles {
    std::vector<std::string> Books;
    std::vector<std::string> Diaries;
    // File name without directory, upper case; empty when no book or diary was active.
    std::string Active;
    bool operator==(const TOpenFiles&) const = default;
};

// Erases "Files" and "Diary" and writes the record anew.
void RecordOpenFiles(TSettingsAccess& access, const TOpenFiles& files);
// The record of the last exit; empty paths are left out.
TOpenFiles ReadOpenFiles(const TSettingsAccess& access);
// The "Active" value for the active child's path.
std::string ActiveNameOf(const std::string& path);

} // namespace tessaly
