#pragma once
// The settings section "Export MRU" the import and export wizards share: the recent
// file names, the last file, the template used last for each import and export type,
// and the text encoding chosen for each export template (kept here, never in the
// template file).

#include "core/settings/settings_access.h"

#include <string>
#include <vector>

namespace tessaly {

inline constexpr const char* kExportMruSection = "Export MRU";
inline constexpr const char* kEncodingUtf8 = "UTF-8";
inline constexpr const char* kEncodingWindows1252 = "Windows-1252";

struct TExportMru {
    int Size = 10;
    std::vector<std::string> Files; // most recent first
    std::string Last;
};

TExportMru ReadExportMru(const TSettingsAccess& access);
// The template last used for an import (5, 6) or export (1-4) type; empty if none.
std::string LastTemplate(const TSettingsAccess& access, int type);

// Rewrites the section after a wizard ran: Size kept, "Template N" the template,
// "Last" the file, and the file put first among the recent names when it was not one
// of them, at most Size - 1 names. The encodings chosen for templates are kept.
void RecordWizardRun(TSettingsAccess& access, int type, const std::string& templateName,
                     const std::string& fileName);

// Whether an export template writes UTF-8 (Windows-1252 unless chosen).
bool ExportsUtf8(const TSettingsAccess& access, const std::string& templateName);
void SetExportsUtf8(TSettingsAccess& access, const std::string& templateName, bool utf8);

} // namespace tessaly
