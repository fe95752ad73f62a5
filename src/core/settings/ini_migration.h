#pragma once
// The one-time copy of the old INI settings file (named after the program, ".INI",
// in the user's configuration folder) into the settings store.

#include "core/settings/settings_access.h"

#include <string>
#include <utility>
#include <vector>

namespace tessaly {

// One section of an INI file: its values in file order.
using TIniSection = std::vector<std::pair<std::string, std::string>>;

// The values of a section of INI text ("[Section]" headers, "Name=Value" lines,
// ';' comments). Section names compare without regard to case.
TIniSection ReadIniSection(const std::string& iniText, const std::string& section);

// The sections copied, in order.
const std::vector<std::string>& MigratedSections();

// When "Important"/"Migrated" is 0: copies every non-empty value of the listed
// sections of the INI file (when it can be read) and sets "Migrated" to 1.
// Returns whether the copy ran. Throws TSettingsWriteError.
bool MigrateIniSettings(TSettingsAccess& access, const std::string& iniPath);

} // namespace tessaly
