#include "core/settings/settings.h"

namespace tessaly {

const std::array<std::uint32_t, 16> kTagColours = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

const char kNoLinkedReport[] = "No Stored Quick Report is Currently Linked with this Command";

std::uint32_t TSettings::TagColour() const {
    if (TagColor < 0 || TagColor >= static_cast<int>(kTagColours.size()))
        return kTagColours[kDefaultTagColor];
    return kTagColours[static_cast<std::size_t>(TagColor)];
}

TStoreSettings TSettings::StoreSettings() const {
    TStoreSettings s;
    s.LockTab = LockTab;
    s.Backup = Backup;
    s.AutoSave = AutoSave;
    s.AutoSaveInterval = AutoSaveInterval;
    s.UndoLevel = UndoLevel;
    s.ConfigDirectory = ConfigDirectory;
    return s;
}

TSettings LoadSettings(const TSettingsAccess& a, const std::string& defaultConfigDirectory) {
    TSettings s;
    s.ForceCategories = a.ReadBool("General", "Force Categories", false);
    s.FastEdit = a.ReadBool("General", "Fast Edit", true);
    s.LockTab = a.ReadBool("General", "Lock Tab", true);
    s.ConfirmDrops = a.ReadBool("General", "Confirm Drops", true);
    s.UndoLevel = a.ReadInteger("General", "Undo Level", 10, 1, 30);
    s.EventFormat = a.ReadString("Formats", "Event Format", "ddd ddddd");
    s.TimeStamp = a.ReadString("Formats", "Time Stamp", "c");
    s.Tooltips = ReadTooltips(a);
    s.BoldLabels = a.ReadBool("Display", "Bold Labels", false);
    s.HighlightIndex = a.ReadBool("Display", "Highlight Index", true);
    s.SaveSelection = a.ReadBool("Display", "Save Selection", true);
    // A colour the dialog cannot offer falls back to red rather than to a neighbour.
    s.TagColor = a.ReadInteger("Display", "Tag Color", kDefaultTagColor);
    if (s.TagColor < 0 || s.TagColor >= kTagColourChoices)
        s.TagColor = kDefaultTagColor;
    s.Backup = a.ReadBool("File Management", "Backup", true);
    s.AutoSave = a.ReadBool("File Management", "Auto Save", true);
    s.AutoSaveInterval = a.ReadInteger("File Management", "Auto Save Interval", 10, 1, 99);
    s.ConfigDirectory = a.ReadString("File Management", "Config Directory", defaultConfigDirectory);
    if (s.ConfigDirectory.empty())
        s.ConfigDirectory = defaultConfigDirectory;
    s.IndicateReminders = a.ReadBool("Reminders", "Indicate Reminders", true);
    s.ScanActive = a.ReadBool("Reminders", "Scan Active", true);
    s.ScanReminders = a.ReadInteger("Reminders", "Scan Reminders", 5, 1, 59);
    s.AdvanceWarning = a.ReadInteger("Reminders", "Advance Warning", 2, 0, 99);
    s.NetworkScan = a.ReadBool("Network", "Network Scan", false);
    s.NetworkInterval = a.ReadInteger("Network", "Network Interval", 10, 1, 59);
    s.ServerSyncInterval = a.ReadInteger("Network", "Server Sync Interval", 5, 1, 1440);
    s.VCardVersion = a.ReadInteger("Export", "vCard Version", 3) == 4 ? 4 : 3;
    s.TimeStampLocation = a.ReadBool("Notes", "Time Stamp Location", true);
    for (std::size_t i = 0; i < s.ReportLinks.size(); ++i)
        s.ReportLinks[i] =
            a.ReadString("Report Links", "Link " + std::to_string(i + 1), kNoLinkedReport);
    s.ConfirmReminders = a.ReadBool("Confirm", "Reminders", true);
    s.ConfirmDeletes = a.ReadBool("Confirm", "Deletes", true);
    s.ConfirmDeleteReminders = a.ReadBool("Confirm", "Delete Reminders", true);
    s.ReopenList.Load(a);
    return s;
}

void SaveSettings(TSettingsAccess& a, const TSettings& s) {
    a.WriteBool("General", "Force Categories", s.ForceCategories);
    a.WriteBool("General", "Fast Edit", s.FastEdit);
    a.WriteBool("General", "Lock Tab", s.LockTab);
    a.WriteBool("General", "Confirm Drops", s.ConfirmDrops);
    a.WriteInteger("General", "Undo Level", s.UndoLevel);
    a.WriteString("Formats", "Event Format", s.EventFormat);
    a.WriteString("Formats", "Time Stamp", s.TimeStamp);
    a.WriteBool("Display", "Bold Labels", s.BoldLabels);
    a.WriteBool("Display", "Highlight Index", s.HighlightIndex);
    a.WriteBool("Display", "Save Selection", s.SaveSelection);
    // The first table index holding the tag colour.
    int tag = kDefaultTagColor;
    for (std::size_t i = 0; i < kTagColours.size(); ++i)
        if (kTagColours[i] == s.TagColour()) {
            tag = static_cast<int>(i);
            break;
        }
    a.WriteInteger("Display", "Tag Color", tag);
    a.WriteBool("File Management", "Backup", s.Backup);
    a.WriteBool("File Management", "Auto Save", s.AutoSave);
    a.WriteInteger("File Management", "Auto Save Interval", s.AutoSaveInterval);
    a.WriteString("File Management", "Config Directory", s.ConfigDirectory);
    a.WriteBool("Reminders", "Indicate Reminders", s.IndicateReminders);
    a.WriteBool("Reminders", "Scan Active", s.ScanActive);
    a.WriteInteger("Reminders", "Scan Reminders", s.ScanReminders);
    a.WriteInteger("Reminders", "Advance Warning", s.AdvanceWarning);
    a.WriteBool("Network", "Network Scan", s.NetworkScan);
    a.WriteInteger("Network", "Network Interval", s.NetworkInterval);
    a.WriteInteger("Network", "Server Sync Interval", s.ServerSyncInterval);
    a.WriteInteger("Export", "vCard Version", s.VCardVersion);
    a.WriteBool("Notes", "Time Stamp Location", s.TimeStampLocation);
    for (std::size_t i = 0; i < s.ReportLinks.size(); ++i)
        a.WriteString("Report Links", "Link " + std::to_string(i + 1), s.ReportLinks[i]);
    a.WriteBool("Confirm", "Reminders", s.ConfirmReminders);
    a.WriteBool("Confirm", "Deletes", s.ConfirmDeletes);
    a.WriteBool("Confirm", "Delete Reminders", s.ConfirmDeleteReminders);
    s.ReopenList.Save(a);
}

bool ReadTooltips(const TSettingsAccess& access) {
    return access.ReadBool("Display", "Tooltips", true);
}

void WriteTooltips(TSettingsAccess& access, bool on) {
    access.WriteBool("Display", "Tooltips", on);
}

} // namespace tessaly
