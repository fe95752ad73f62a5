#pragma once
// The settings the address-book store needs, handed in by the program (which reads
// them from the settings store) instead of being read from globals.

#include <string>

namespace tessaly {

struct TStoreSettings {
    bool LockTab = true;                 // "General" / "Lock Tab"
    bool Backup = true;                  // "File Management" / "Backup"
    bool AutoSave = true;                // "File Management" / "Auto Save"
    int AutoSaveInterval = 10;           // "File Management" / "Auto Save Interval", 1 to 99
    int UndoLevel = 10;                  // "General" / "Undo Level", 1 to 30
    std::string ConfigDirectory;         // "File Management" / "Config Directory"
    std::string ProgramName = "TESSALY"; // base name of the configuration files

    // The full path of a configuration file with the given extension (".DEF", ...).
    std::string ConfigFile(const std::string& extension) const;
};

} // namespace tessaly
