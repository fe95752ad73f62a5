#pragma once
// What the attachment dialog remembers between uses: whether descriptions follow the
// file name or URL, the file dialog's last folder and name pattern, and the document
// extensions chosen lately, newest first.

#include "core/settings/settings_access.h"

#include <string>
#include <vector>

namespace tessaly {

struct TDocumentSettings {
    bool UseFileName = true;             // "Documents"/"Use Filename"
    bool UseUrlName = true;              // "URLs"/"Use URL Name"
    std::string DocumentExt = "*.*";     // "Documents"/"Document Ext"
    std::string Directory;               // "File Management"/"Document Directory"
    std::vector<std::string> Extensions; // "Document Extensions": the value names
};

TDocumentSettings LoadDocumentSettings(const TSettingsAccess& access);
// The two check boxes are written when the dialog closes with OK.
void SaveDescriptionChoices(TSettingsAccess& access, const TDocumentSettings& s);
// After a file was chosen in the file dialog.
void SaveBrowseChoice(TSettingsAccess& access, const TDocumentSettings& s);

} // namespace tessaly
