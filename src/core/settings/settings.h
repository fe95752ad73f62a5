#pragma once
// The user's global settings, read once when the frame starts, held in memory for
// the run and written back at exit and after OK in the general options dialog.
// Every integer is held to the range its dialog control allows when read.

#include "core/common/date_format.h"
#include "core/settings/reopen_list.h"
#include "core/settings/settings_access.h"
#include "core/store/store_settings.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessaly {

// The sixteen standard colours as 0x00BBGGRR, index 0 to 15: black, maroon, green,
// olive, navy, purple, teal, grey, silver, red, lime, yellow, blue, fuchsia, aqua, white.
extern const std::array<std::uint32_t, 16> kTagColours;
// The dialog offers the first fifteen of them.
constexpr int kTagColourChoices = 15;
constexpr int kDefaultTagColor = 9; // red

// Quick-report link default (string 353).
extern const char kNoLinkedReport[];

struct TSettings {
    // "General"
    bool ForceCategories = false;
    bool FastEdit = true;
    bool LockTab = true;
    bool ConfirmDrops = true;
    int UndoLevel = 10; // 1 to 30
    // "Formats"
    std::string EventFormat = "ddd ddddd";
    std::string TimeStamp = "c";
    // "Display"
    bool Tooltips = true; // written by the options dialog itself
    bool BoldLabels = false;
    bool HighlightIndex = true;
    bool SaveSelection = true;
    int TagColor = kDefaultTagColor; // index into kTagColours, 0 to 14
    // "File Management"
    bool Backup = true;
    bool AutoSave = true;
    int AutoSaveInterval = 10; // 1 to 99
    std::string ConfigDirectory;
    // "Reminders"
    bool IndicateReminders = true;
    bool ScanActive = true;
    int ScanReminders = 5;  // minutes, 1 to 59
    int AdvanceWarning = 2; // days, 0 to 99
    // "Network"
    bool NetworkScan = false;
    int NetworkInterval = 10; // minutes, 1 to 59
    // Minutes between two rounds of the books that synchronise with a server on their
    // own, 1 to 1440.
    int ServerSyncInterval = 5;
    // "Export": the vCard version "Export vCards..." writes, 3 or 4.
    int VCardVersion = 3;
    // "Notes": true puts the time stamp on the first line.
    bool TimeStampLocation = true;
    // "Report Links": "Link 1" to "Link 3"
    std::array<std::string, 3> ReportLinks{kNoLinkedReport, kNoLinkedReport, kNoLinkedReport};
    // "Confirm"
    bool ConfirmReminders = true;
    bool ConfirmDeletes = true;
    bool ConfirmDeleteReminders = true;
    // "MRU"
    TReopenList ReopenList;

    // Not stored: the locale's formats, the short date limited to two month letters.
    TFormatSettings FormatSettings = DefaultFormatSettings();

    // The colour of tagged entries.
    std::uint32_t TagColour() const;
    // What the address-book store needs of these settings.
    TStoreSettings StoreSettings() const;
};

// Reads every value with its default; "Config Directory" defaults to the user's
// configuration folder of the program.
TSettings LoadSettings(const TSettingsAccess& access, const std::string& defaultConfigDirectory);
// Writes every value but "Display"/"Tooltips". Throws TSettingsWriteError.
void SaveSettings(TSettingsAccess& access, const TSettings& settings);
// "Display"/"Tooltips", read and written directly by the options dialog.
bool ReadTooltips(const TSettingsAccess& access);
void WriteTooltips(TSettingsAccess& access, bool on);

} // namespace tessaly
