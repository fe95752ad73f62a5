#include "core/frame/start_up.h"
#include "core/settings/server_sync_books.h"
#include "core/settings/settings.h"
#include "core/settings/settings_access.h"
#include "core/settings/window_placement.h"
#include "tests/support/memory_settings_store.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(SettingsValues, IntegersDecimalAndHexadecimal) {
    EXPECT_EQ(ParseSettingInteger("0x1A"), 26);
    EXPECT_EQ(ParseSettingInteger("0X1a"), 26);
    EXPECT_EQ(ParseSettingInteger("-12"), -12);
    EXPECT_EQ(ParseSettingInteger(" 7 "), 7);
    EXPECT_EQ(ParseSettingInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseSettingInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseSettingInteger("-2147483648"), -2147483647 - 1);
    // Not numbers: the caller's default applies.
    EXPECT_FALSE(ParseSettingInteger(""));
    EXPECT_FALSE(ParseSettingInteger("0x"));
    EXPECT_FALSE(ParseSettingInteger("0x1G"));
    EXPECT_FALSE(ParseSettingInteger("12a"));
    EXPECT_FALSE(ParseSettingInteger("2147483648"));
    EXPECT_FALSE(ParseSettingInteger("0x100000000"));
    EXPECT_FALSE(ParseSettingInteger("-"));
}

TEST(SettingsValues, ReadersFallBackToDefaults) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    store.Write("General", "Number", "0x1A");
    store.Write("General", "Word", "many");
    store.Write("General", "Flag", "0");
    EXPECT_EQ(a.ReadInteger("General", "Number", 3), 26);
    EXPECT_EQ(a.ReadInteger("General", "Word", 3), 3);
    EXPECT_EQ(a.ReadInteger("General", "Missing", 3), 3);
    EXPECT_FALSE(a.ReadBool("General", "Flag", true));
    EXPECT_TRUE(a.ReadBool("General", "Word", true));
    EXPECT_FALSE(a.ReadBool("General", "Word", false));
    EXPECT_EQ(a.ReadString("General", "Missing", "def"), "def");
    // Booleans are non-zero integers.
    store.Write("General", "Flag", "5");
    EXPECT_TRUE(a.ReadBool("General", "Flag", false));
}

TEST(SettingsValues, NamesIgnoreCaseAndSectionsErase) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    a.WriteInteger("Dial", "Modem Time-out", 30);
    a.WriteInteger("Dial", "Modem Time-Out", 45);
    EXPECT_EQ(a.ReadInteger("DIAL", "modem time-out", 0), 45);
    EXPECT_EQ(store.ValueNames("Dial").size(), 1u);
    a.EraseSection("dial");
    EXPECT_FALSE(a.Exists("Dial", "Modem Time-out"));
}

TEST(SettingsValues, FailedWriteThrowsWithTheValueNamed) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    store.SetFailWrites(true);
    try {
        a.WriteBool("General", "Lock Tab", true);
        FAIL() << "no error";
    } catch (const TSettingsWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("Lock Tab"), std::string::npos);
    }
    EXPECT_THROW(a.EraseSection("MRU"), TSettingsWriteError);
}

TEST(Settings, DefaultsWithAnEmptyStoreAndAllWrittenAtFirstSave) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    const TSettings s = LoadSettings(a, "/home/u/.config/Marrowby/Tessaly");
    EXPECT_FALSE(s.ForceCategories);
    EXPECT_TRUE(s.FastEdit);
    EXPECT_EQ(s.UndoLevel, 10);
    EXPECT_EQ(s.EventFormat, "ddd ddddd");
    EXPECT_EQ(s.TimeStamp, "c");
    EXPECT_EQ(s.TagColor, 9);
    EXPECT_EQ(s.TagColour(), 0x0000FFu); // red as 0x00BBGGRR
    EXPECT_EQ(s.ConfigDirectory, "/home/u/.config/Marrowby/Tessaly");
    EXPECT_EQ(s.ScanReminders, 5);
    EXPECT_EQ(s.AdvanceWarning, 2);
    EXPECT_FALSE(s.NetworkScan);
    EXPECT_EQ(s.ReportLinks[2], kNoLinkedReport);
    EXPECT_TRUE(s.ReopenList.IsEmpty(0));

    SaveSettings(a, s);
    EXPECT_EQ(store.Read("General", "Undo Level"), "10");
    EXPECT_EQ(store.Read("Display", "Tag Color"), "9");
    EXPECT_EQ(store.Read("Notes", "Time Stamp Location"), "1");
    EXPECT_EQ(store.Read("Report Links", "Link 1"), std::string(kNoLinkedReport));
    EXPECT_EQ(store.Read("File Management", "Config Directory"),
              "/home/u/.config/Marrowby/Tessaly");
    // The options dialog writes "Tooltips" itself.
    EXPECT_FALSE(store.Read("Display", "Tooltips"));
    EXPECT_EQ(store.ValueNames("General").size(), 5u);
    EXPECT_EQ(store.ValueNames("Confirm").size(), 3u);
}

TEST(Settings, RoundTripOfChangedValues) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    TSettings s = LoadSettings(a, "/cfg");
    s.ForceCategories = true;
    s.UndoLevel = 30;
    s.EventFormat = "dd/mm/yy";
    s.TagColor = 12;
    s.AutoSave = false;
    s.AutoSaveInterval = 99;
    s.ConfigDirectory = "/Data/Config";
    s.ScanActive = false;
    s.ScanReminders = 59;
    s.NetworkScan = true;
    s.NetworkInterval = 1;
    s.TimeStampLocation = false;
    s.ReportLinks[1] = "Monthly List";
    s.ConfirmDeletes = false;
    s.ReopenList.Add("/books/Friends.ADR", "ADR");
    s.ReopenList.Add("/books/Work.TDY", "TDY");
    SaveSettings(a, s);
    const TSettings r = LoadSettings(a, "/cfg");
    EXPECT_TRUE(r.ForceCategories);
    EXPECT_EQ(r.UndoLevel, 30);
    EXPECT_EQ(r.EventFormat, "dd/mm/yy");
    EXPECT_EQ(r.TagColor, 12);
    EXPECT_FALSE(r.AutoSave);
    EXPECT_EQ(r.AutoSaveInterval, 99);
    EXPECT_EQ(r.ConfigDirectory, "/Data/Config"); // case kept
    EXPECT_FALSE(r.ScanActive);
    EXPECT_EQ(r.ScanReminders, 59);
    EXPECT_TRUE(r.NetworkScan);
    EXPECT_EQ(r.NetworkInterval, 1);
    EXPECT_FALSE(r.TimeStampLocation);
    EXPECT_EQ(r.ReportLinks[1], "Monthly List");
    EXPECT_FALSE(r.ConfirmDeletes);
    EXPECT_EQ(r.ReopenList, s.ReopenList);
    EXPECT_EQ(r.ReopenList.At(0).Path, "/books/Work.TDY");
}

TEST(Settings, StoredValuesAreHeldToTheirDialogRanges) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    store.Write("Reminders", "Scan Reminders", "0");
    store.Write("Reminders", "Advance Warning", "-4");
    store.Write("Network", "Network Interval", "0x100");
    store.Write("General", "Undo Level", "31");
    store.Write("File Management", "Auto Save Interval", "0");
    store.Write("Display", "Tag Color", "15"); // white: not among the swatches
    const TSettings s = LoadSettings(a, "/cfg");
    EXPECT_EQ(s.ScanReminders, 1);
    EXPECT_EQ(s.AdvanceWarning, 0);
    EXPECT_EQ(s.NetworkInterval, 59);
    EXPECT_EQ(s.UndoLevel, 30);
    EXPECT_EQ(s.AutoSaveInterval, 1);
    EXPECT_EQ(s.TagColor, 9);
    store.Write("Display", "Tag Color", "0x0E");
    EXPECT_EQ(LoadSettings(a, "/cfg").TagColor, 14);
}

TEST(Settings, StoreSettingsFollowTheModel) {
    TSettings s;
    s.Backup = false;
    s.UndoLevel = 4;
    s.AutoSaveInterval = 7;
    s.ConfigDirectory = "/c";
    const TStoreSettings st = s.StoreSettings();
    EXPECT_FALSE(st.Backup);
    EXPECT_EQ(st.UndoLevel, 4);
    EXPECT_EQ(st.AutoSaveInterval, 7);
    EXPECT_EQ(st.ConfigFile(".DEF"), "/c/TESSALY.DEF");
}

TEST(FrameValues, WindowPlacementAndFont) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    TWindowPlacement p = RestoreWindowPlacement(a, "Main Window", 50, 562, 584, 50);
    EXPECT_EQ(p, (TWindowPlacement{TWindowState::Normal, 50, 50, 584, 562}));
    SaveWindowPlacement(a, "Main Window", {TWindowState::Normal, 10, 20, 700, 500});
    EXPECT_EQ(RestoreWindowPlacement(a, "Main Window", 50, 562, 584, 50),
              (TWindowPlacement{TWindowState::Normal, 10, 20, 700, 500}));
    // Maximised keeps the coordinates of the last normal state.
    SaveWindowPlacement(a, "Main Window", {TWindowState::Maximised, 0, 0, 1, 1});
    p = RestoreWindowPlacement(a, "Main Window", 50, 562, 584, 50);
    EXPECT_EQ(p.State, TWindowState::Maximised);
    EXPECT_EQ(p.Width, 700);
    store.Write("Main Window", "State", "7");
    store.Write("Main Window", "Width", "3");
    p = RestoreWindowPlacement(a, "Main Window", 50, 562, 584, 50);
    EXPECT_EQ(p.State, TWindowState::Normal);
    EXPECT_EQ(p.Width, 584);

    EXPECT_EQ(RestoreFont(a, "Font"), TFontSetting{});
    TFontSetting f{"DejaVu Sans", 11, 0x800000, true, false, true, false};
    SaveFont(a, "Font", f);
    EXPECT_EQ(store.Read("Font", "Font Bold"), "1");
    EXPECT_EQ(RestoreFont(a, "Font"), f);
    store.Write("Font", "Font Size", "72");
    EXPECT_EQ(RestoreFont(a, "Font").Size, 12);
}

TEST(FrameValues, LastDirectoryIsTheChosenFilesFolder) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    EXPECT_EQ(ReadLastDirectory(a, "File Management", "Data Directory", "/opt/tessaly"),
              "/opt/tessaly");
    WriteLastDirectory(a, "File Management", "Data Directory", "/home/u/Books/Friends.ADR");
    EXPECT_EQ(ReadLastDirectory(a, "File Management", "Data Directory", "/opt/tessaly"),
              "/home/u/Books");
}

TEST(StartUp, ShortDateKeepsTwoMonthLetters) {
    EXPECT_EQ(LimitMonthLetters("dd/MMM/yy"), "dd/MM/yy");
    EXPECT_EQ(LimitMonthLetters("d-MMM-yyyy"), "d-MM-yyyy");
    EXPECT_EQ(LimitMonthLetters("MM/dd/yy"), "MM/dd/yy");
    EXPECT_EQ(LimitMonthLetters("d mmmm yyyy"), "d mm yyyy");
    EXPECT_EQ(LimitMonthLetters("M/d/MMyy"), "M/d/Myy");
}

TEST(StartUp, VersionTextAndProgramName) {
    EXPECT_EQ(MakeVersionText("3.0", "3.0.0.12"), "Version: 3.0 Build: 3.0.0.12");
    EXPECT_EQ(MakeVersionText("", "1"), "N/A");
    EXPECT_EQ(ProgramNameOf("/usr/bin/tessaly"), "TESSALY");
    EXPECT_EQ(ProgramNameOf("C:/Apps/Tessaly.exe"), "TESSALY");
}

TEST(StartUp, QtMonthLettersBecomeOurs) {
    EXPECT_EQ(DateFormatFromQt("dd/MM/yyyy"), "dd/mm/yyyy");
    EXPECT_EQ(DateFormatFromQt("d 'Month' MMM"), "d 'Month' mmm");
}

TEST(Settings, ServerSyncBooksAndVCardVersionRoundTrip) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    TSettings s = LoadSettings(a, "/cfg");
    EXPECT_EQ(s.ServerSyncInterval, 5);
    EXPECT_EQ(s.VCardVersion, 3);
    s.ServerSyncInterval = 30;
    s.VCardVersion = 4;
    SaveSettings(a, s);
    const TSettings back = LoadSettings(a, "/cfg");
    EXPECT_EQ(back.ServerSyncInterval, 30);
    EXPECT_EQ(back.VCardVersion, 4);
    // Only 3 and 4 are versions; anything else is 3.
    a.WriteInteger("Export", "vCard Version", 21);
    EXPECT_EQ(LoadSettings(a, "/cfg").VCardVersion, 3);

    EXPECT_TRUE(LoadServerSyncBooks(a).empty());
    std::vector<TServerSyncBook> books;
    SetServerSyncBook(books, {"/data/Office.ADR", "ann", true});
    SetServerSyncBook(books, {"/data/Home.ADR", "", false});
    SetServerSyncBook(books, {"/data/Office.ADR", "bob", false}); // replaces the first
    ASSERT_EQ(books.size(), 2u);
    SaveServerSyncBooks(a, books);
    EXPECT_EQ(LoadServerSyncBooks(a), books);
    const TServerSyncBook* office = FindServerSyncBook(books, "/data/Office.ADR");
    ASSERT_TRUE(office);
    EXPECT_EQ(office->User, "bob");
    EXPECT_FALSE(FindServerSyncBook(books, "/data/office.adr"));
    // A shorter list leaves nothing of the longer one behind.
    SaveServerSyncBooks(a, {books[1]});
    EXPECT_EQ(LoadServerSyncBooks(a), std::vector<TServerSyncBook>{books[1]});
    EXPECT_FALSE(store.Read("Server Sync", "Book 2"));
}

} // namespace
} // namespace tessaly
