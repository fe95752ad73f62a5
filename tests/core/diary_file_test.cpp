// The diary file: its exact bytes, older event layouts, the refusals of damaged
// files, saving with the ".BKD" copy, the change count, the lock rules, the
// information texts and the refresh of a locked diary.

#include "core/diary/diary.h"
#include "core/diary/diary_state.h"
#include "core/system/file_attributes.h"
#include "core/system/file_io.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_bytes.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::Bytes;
using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0) {
    return EncodeDate(y, m, d) + EncodeTime(hour, minute, 0);
}

Bytes& DiarySig(Bytes& b) {
    return b.U8s({5, 'T', 'D', '-', 'V', '3'});
}

std::unique_ptr<TReminders> Event(const std::string& description, TDateTime when,
                                  int frequency = kOnceOnly, int interval = 1) {
    auto e = std::make_unique<TReminders>();
    e->When = when;
    e->Until = when;
    e->AlarmTime = when;
    e->Frequency = static_cast<std::int16_t>(frequency);
    e->Interval = static_cast<std::int16_t>(interval);
    e->SetDescription(description);
    return e;
}

TEST(DiaryFile, NewDiaryHasTheDefaultsAndWritesTheTableByteForByte) {
    FakeClock clock(At(2024, 3, 5, 14, 30));
    auto diary = NewDiary("/x/Work.tdy", clock);
    EXPECT_EQ(diary->FileName, "/x/Work.tdy");
    EXPECT_EQ(diary->Created, At(2024, 3, 5, 14, 30));
    auto e = Event("Dentist", At(2024, 3, 7, 9, 15));
    e->Notes = std::nullopt;
    e->Priority = 3;
    diary->Events.Add(std::move(e));

    Bytes want;
    DiarySig(want)
        .I16(13)
        .U8(0)
        .I16(5)
        .I16(5)
        .I16(500)
        .I16(450)
        .U8(1)
        .U8(1)
        .U8(1)
        .I16(1)
        .Date(At(2024, 3, 5, 14, 30))
        .Date(0) // never changed: 693594.0
        .I16(22)
        .I16(40)
        .I16(100)
        .I16(1)
        .Date(At(2024, 3, 7, 9, 15))
        .Date(At(2024, 3, 7, 9, 15))
        .U8(0)
        .I16(1)
        .I16(1)
        .I16(0)
        .U8(0)
        .U8(0)
        .Date(At(2024, 3, 7, 9, 15))
        .Str("Dentist")
        .NullStr()
        .I16(3);
    DiarySig(want);
    EXPECT_EQ(WriteDiaryImage(*diary), want.b);

    TDiaryLoad back = ParseDiaryImage(want.b, "/x/Work.tdy");
    ASSERT_TRUE(back.Diary) << back.Message;
    // Dates pass through the +693594 of the file, so the bytes are what must agree.
    EXPECT_EQ(WriteDiaryImage(*back.Diary), want.b);
    EXPECT_EQ(back.Diary->Events.Description(0), "Dentist");
    EXPECT_FALSE(back.Diary->Events.At(0)->Notes.has_value());
}

TEST(DiaryFile, OlderEventLayoutsReadAndRewriteAsTheCurrentOne) {
    // A version-12 diary: events without NoTime and AlarmTime.
    Bytes old;
    DiarySig(old).I16(12).U8(2).I16(1).I16(2).I16(3).I16(4).U8(0).U8(1).U8(0).I16(3);
    old.Date(40000.5).Date(40100.25).I16(10).I16(20).I16(30).I16(2);
    old.Date(At(1999, 1, 2, 10))
        .Date(At(1998, 12, 1)) // until before when
        .U8(0)
        .I16(2)
        .I16(3)
        .I16(1)
        .U8(1)
        .Str("Alarmed")
        .Str("n")
        .I16(4);
    old.Date(At(1999, 2, 3))
        .Date(At(1999, 3, 3))
        .U8(1)
        .I16(1)
        .I16(1)
        .I16(0)
        .U8(0)
        .Str("Quiet")
        .Str("")
        .I16(9);
    DiarySig(old);
    TDiaryLoad loaded = ParseDiaryImage(old.b, "OLD.TDY");
    ASSERT_TRUE(loaded.Diary) << loaded.Message;
    TDiaryData& d = *loaded.Diary;
    EXPECT_EQ(d.Version, 12);
    ASSERT_EQ(d.Events.Count(), 2);
    const TReminders& a = *d.Events.At(0);
    EXPECT_EQ(a.NoTime, 0); // not AlarmSet
    EXPECT_EQ(a.AlarmTime, a.When);
    EXPECT_EQ(a.Until, a.When); // an until day before the event's day
    EXPECT_EQ(d.Events.At(1)->NoTime, 1);
    EXPECT_EQ(d.SortOrder, 3);
    EXPECT_EQ(d.ColumnWidths, (std::array<std::int16_t, 3>{10, 20, 30}));

    const auto rewritten = WriteDiaryImage(d);
    EXPECT_EQ(rewritten[6], 13);
    TDiaryLoad again = ParseDiaryImage(rewritten, "OLD.TDY");
    ASSERT_TRUE(again.Diary);
    EXPECT_EQ(*again.Diary, d); // unchanged apart from the version it carries
    EXPECT_EQ(WriteDiaryImage(*again.Diary), rewritten);
}

TEST(DiaryFile, DamagedFilesAreRefusedWithTheFileNameInFront) {
    auto diary = NewDiary("D.TDY");
    diary->Events.Add(Event("One", At(2024, 1, 1)));
    const auto good = WriteDiaryImage(*diary);
    const std::string corrupt = "DIARY.TDY Diary File is Corrupt - Recover File from Backup Copy";

    auto head = good;
    head[3] = 'S'; // a book's signature
    EXPECT_EQ(ParseDiaryImage(head, "/data/diary.tdy").Message,
              "DIARY.TDY is not a Valid Tessaly Version 3 Diary File");
    auto tail = good;
    tail.back() = '4';
    EXPECT_EQ(ParseDiaryImage(tail, "/data/diary.tdy").Message, corrupt);
    // Cut short: the last six bytes are no longer the signature.
    EXPECT_EQ(ParseDiaryImage(std::span(good).first(good.size() - 9), "/data/diary.tdy").Message,
              corrupt);
    // The signature twice with a body too short between them.
    Bytes shortBody;
    DiarySig(DiarySig(shortBody).I16(13).U8(0));
    EXPECT_EQ(ParseDiaryImage(shortBody.b, "/data/diary.tdy").Message, corrupt);
    auto extra = good;
    extra.insert(extra.end() - 6, 0);
    EXPECT_EQ(ParseDiaryImage(extra, "/data/diary.tdy").Message, corrupt);
    auto newer = good;
    newer[6] = 14;
    EXPECT_EQ(ParseDiaryImage(newer, "/data/diary.tdy").Message,
              "DIARY.TDY is not a Valid Tessaly Version 3 Diary File");
    EXPECT_FALSE(ParseDiaryImage({}, "/data/diary.tdy").Diary);

    // A count of zero or less reads as an empty list.
    Bytes negative;
    DiarySig(negative).I16(13).U8(0).I16(0).I16(0).I16(0).I16(0).U8(1).U8(1).U8(1).I16(1);
    DiarySig(negative.Date(1).Date(0).I16(1).I16(2).I16(3).I16(-4));
    TDiaryLoad empty = ParseDiaryImage(negative.b, "N.TDY");
    ASSERT_TRUE(empty.Diary) << empty.Message;
    EXPECT_EQ(empty.Diary->Events.Count(), 0);
}

TEST(DiaryFile, ChangesAreCountedPlacementAndRoomAreKept) {
    TDiaryData diary;
    FakeClock clock(At(2024, 5, 1, 8));
    TStoreSettings settings;
    settings.AutoSaveInterval = 2;
    EXPECT_EQ(MarkChanged(diary, clock), 1);
    EXPECT_FALSE(AutoSaveDue(diary, settings));
    EXPECT_EQ(MarkChanged(diary, clock), 2);
    EXPECT_TRUE(AutoSaveDue(diary, settings));
    settings.AutoSave = false;
    EXPECT_FALSE(AutoSaveDue(diary, settings));
    EXPECT_EQ(diary.LastUpdated, At(2024, 5, 1, 8));
    EXPECT_EQ(diary.Modified, 1);

    SetWindowPlacement(diary, {10, 20, 300, 400}, 0);
    SetWindowPlacement(diary, {0, 0, 9999, 9999}, 2); // maximised: bounds stay
    EXPECT_EQ(diary.WindowState, 2);
    EXPECT_EQ(diary.WindowBounds, (std::array<std::int16_t, 4>{10, 20, 300, 400}));
    SetWindowPlacement(diary, {1, 2, 3, 4}, 7);
    EXPECT_EQ(diary.WindowState, 0);
    EXPECT_EQ(diary.WindowBounds[3], 4);

    for (int i = 0; i < kMaxDiaryEvents; ++i)
        diary.Events.Add(std::make_unique<TReminders>());
    EXPECT_FALSE(HasRoomForEvent(diary));
    EXPECT_EQ(AddEvent(diary, std::make_unique<TReminders>()), nullptr);
    EXPECT_EQ(diary.Events.Count(), kMaxDiaryEvents);
    diary.Events.Delete(0);
    EXPECT_NE(AddEvent(diary, std::make_unique<TReminders>()), nullptr);
}

class DiarySave : public ::testing::Test {
protected:
    TScratchDir dir;
    TStoreSettings settings;
};

TEST_F(DiarySave, SaveWritesClearsTheCountAndBacksUpOnlyWhenAsked) {
    auto diary = NewDiary(dir.File("Home.tdy"));
    diary->Events.Add(Event("Call", At(2024, 2, 2, 9)));
    MarkChanged(*diary);
    TDiarySave saved = SaveDiary(*diary, false, settings);
    ASSERT_TRUE(saved.Ok) << saved.Error;
    EXPECT_EQ(diary->Modified, 0);
    EXPECT_EQ(diary->ChangeCount, 0);
    EXPECT_EQ(ReadBytes(dir.File("Home.tdy")), WriteDiaryImage(*diary));
    EXPECT_FALSE(FileExists(dir.File("Home.BKD")));

    ASSERT_TRUE(SaveDiary(*diary, true, settings).Ok);
    EXPECT_EQ(ReadBytes(dir.File("Home.BKD")), ReadBytes(dir.File("Home.tdy")));
    settings.Backup = false;
    diary->Events.Add(Event("Second", At(2024, 2, 3)));
    ASSERT_TRUE(SaveDiary(*diary, true, settings).Ok);
    EXPECT_NE(ReadBytes(dir.File("Home.BKD")), ReadBytes(dir.File("Home.tdy")));

    // A back-up file never backs itself up, whatever the case of its extension.
    settings.Backup = true;
    auto copy = NewDiary(dir.File("Old.bkd"));
    ASSERT_TRUE(SaveDiary(*copy, true, settings).Ok);
    EXPECT_FALSE(FileExists(dir.File("Old.BKD")) && dir.File("Old.BKD") != dir.File("Old.bkd"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              3); // Home.tdy, Home.BKD, Old.bkd
}

TEST_F(DiarySave, AFailedSaveReportsKeepsModifiedAndLeavesTheOldFile) {
    auto diary = NewDiary(dir.File("Keep.TDY"));
    ASSERT_TRUE(SaveDiary(*diary, false, settings).Ok);
    const auto before = ReadBytes(dir.File("Keep.TDY"));

    // More events than the file can count: refused before the file is touched.
    for (int i = 0; i <= kMaxDiaryEvents; ++i)
        diary->Events.Add(std::make_unique<TReminders>());
    MarkChanged(*diary);
    TDiarySave full = SaveDiary(*diary, true, settings);
    EXPECT_FALSE(full.Ok);
    EXPECT_FALSE(full.Error.empty());
    EXPECT_EQ(diary->Modified, 1);
    EXPECT_EQ(ReadBytes(dir.File("Keep.TDY")), before);

    auto lost = NewDiary(dir.File("missing-folder/Lost.TDY"));
    MarkChanged(*lost);
    TDiarySave nowhere = SaveDiary(*lost, true, settings);
    EXPECT_FALSE(nowhere.Ok);
    EXPECT_NE(nowhere.Error.find("Lost.TDY"), std::string::npos);
    EXPECT_EQ(lost->ChangeCount, 1);
}

TEST_F(DiarySave, TheWindowNeverSavesALockedDiaryAndAsksWhenASaveFails) {
    auto diary = NewDiary(dir.File("Desk.TDY"));
    MarkChanged(*diary);
    TDiaryWindowSave locked = SaveFromWindow(*diary, true, true, {1, 2, 3, 4}, 0, settings);
    EXPECT_FALSE(locked.Written);
    EXPECT_FALSE(locked.AskBeforeClosing);
    EXPECT_FALSE(FileExists(dir.File("Desk.TDY")));
    EXPECT_EQ(diary->WindowBounds[0], 5); // nothing taken from the window either

    TDiaryWindowSave saved = SaveFromWindow(*diary, false, true, {1, 2, 3, 4}, 0, settings);
    EXPECT_TRUE(saved.Written);
    EXPECT_TRUE(FileExists(dir.File("Desk.BKD")));
    EXPECT_EQ(diary->WindowBounds, (std::array<std::int16_t, 4>{1, 2, 3, 4}));
    TDiaryLoad back = LoadDiary(dir.File("Desk.TDY"));
    ASSERT_TRUE(back.Diary);
    EXPECT_EQ(back.Diary->WindowBounds[3], 4);

    diary->FileName = dir.File("gone/Desk.TDY");
    MarkChanged(*diary);
    TDiaryWindowSave failed = SaveFromWindow(*diary, false, true, {1, 2, 3, 4}, 2, settings);
    EXPECT_FALSE(failed.Written);
    EXPECT_TRUE(failed.AskBeforeClosing);
    EXPECT_TRUE(failed.Message.starts_with("DESK.TDY could not be saved: ")) << failed.Message;
    EXPECT_EQ(diary->Modified, 1);
}

TEST_F(DiarySave, LockRulesTitleAndInformation) {
    const std::string path = dir.File("Team.tdy");
    auto diary = NewDiary(path);
    ASSERT_TRUE(SaveDiary(*diary, false, settings).Ok);
    EXPECT_FALSE(EvaluateDiaryLock(path, false).Locked);
    EXPECT_TRUE(EvaluateDiaryLock(path, true).Locked);
    EXPECT_EQ(DiaryWindowTitle(path, false), "Diary - TEAM");
    EXPECT_EQ(DiaryWindowTitle(path, true), "Diary - TEAM (Locked)");
    EXPECT_EQ(SaveAsRefusal(path), "");

    ASSERT_TRUE(SetFileReadOnly(path, true).Ok);
    EXPECT_TRUE(EvaluateDiaryLock(path, false).Locked);
    EXPECT_FALSE(EvaluateDiaryLock(path, false).BackupWarning);
    EXPECT_NE(SaveAsRefusal(path), "");
    ASSERT_TRUE(SetFileReadOnly(path, false).Ok);
    EXPECT_FALSE(EvaluateDiaryLock(path, false).Locked);
    EXPECT_NE(SaveAsRefusal(dir.File("no-such-folder/X.TDY")), "");

    const std::string backup = dir.File("Team.Bkd");
    ASSERT_TRUE(CopyFileAtomically(path, backup).Ok);
    const TDiaryLock lock = EvaluateDiaryLock(backup, false);
    EXPECT_TRUE(lock.Locked);
    EXPECT_TRUE(lock.BackupWarning);

    diary->Created = At(2024, 1, 2, 15, 4);
    diary->Events.Add(Event("x", 1));
    const TDiaryInfo info = DiaryInformation(*diary, false);
    EXPECT_EQ(info.Caption, "Diary Information");
    EXPECT_EQ(info.Name, "TEAM.TDY");
    EXPECT_EQ(info.Path, path);
    EXPECT_EQ(info.Events, 1);
    EXPECT_EQ(info.Created, "Tuesday, 2 January 2024 at 15:04");
    EXPECT_EQ(info.LastUpdated, "Last Updated Date is Unavailable");
    EXPECT_EQ(info.LockState, "Update");
    diary->Created = 0.5;
    EXPECT_EQ(DiaryInformation(*diary, true).Created, "Creation Date is Unavailable");
    EXPECT_EQ(DiaryInformation(*diary, true).LockState, "Locked");
}

TEST_F(DiarySave, SaveAsChecksTheTargetFirstAndKeepsTheOldPathOnFailure) {
    auto diary = NewDiary(dir.File("First.TDY"));
    ASSERT_TRUE(SaveDiary(*diary, false, settings).Ok);
    const std::string blocked = dir.File("Blocked.TDY");
    ASSERT_TRUE(SaveDiary(*NewDiary(blocked), false, settings).Ok);
    ASSERT_TRUE(SetFileReadOnly(blocked, true).Ok);
    const auto before = ReadBytes(blocked);
    MarkChanged(*diary);
    diary->Events.Add(Event("New", At(2024, 2, 2)));

    const TDiarySaveAs refused = SaveDiaryAs(*diary, blocked, false, settings);
    EXPECT_FALSE(refused.Ok);
    EXPECT_FALSE(refused.Message.empty());
    EXPECT_EQ(diary->FileName, dir.File("First.TDY"));
    EXPECT_EQ(diary->Modified, 1);
    EXPECT_EQ(ReadBytes(blocked), before);

    const TDiarySaveAs moved = SaveDiaryAs(*diary, dir.File("Second.tdy"), false, settings);
    ASSERT_TRUE(moved.Ok) << moved.Message;
    EXPECT_FALSE(moved.Lock.Locked);
    EXPECT_EQ(diary->FileName, dir.File("Second.tdy"));
    EXPECT_EQ(diary->Modified, 0);
    EXPECT_FALSE(FileExists(dir.File("Second.BKD")));
    const TDiarySaveAs backup = SaveDiaryAs(*diary, dir.File("Copy.bkd"), false, settings);
    ASSERT_TRUE(backup.Ok);
    EXPECT_TRUE(backup.Lock.BackupWarning);
    EXPECT_TRUE(FileExists(dir.File("Copy.bkd")));
}

TEST_F(DiarySave, LockingSavesFirstAndUnlockingGivesWritingBack) {
    const std::string path = dir.File("Lockable.TDY");
    auto diary = NewDiary(path);
    diary->Events.Add(Event("Kept", At(2024, 1, 1)));
    MarkChanged(*diary);
    EXPECT_EQ(LockMenuText(false), "&Lock Diary");
    EXPECT_EQ(DiaryCommandState(*diary, false, false).Save, true);
    EXPECT_EQ(DiaryCommandState(*diary, false, false).ChangeSelected, false);

    TDiaryLockChange locked = ChangeDiaryLock(*diary, false, true, false, settings);
    ASSERT_TRUE(locked.Ok) << locked.Message;
    EXPECT_TRUE(locked.Lock.Locked);
    EXPECT_EQ(diary->Modified, 0); // saved before the lock
    EXPECT_EQ(LoadDiary(path).Diary->Events.Count(), 1);
    const TDiaryCommandState state = DiaryCommandState(*diary, true, true);
    EXPECT_FALSE(state.Add || state.Import || state.ChangeSelected || state.Save);
    EXPECT_TRUE(state.ViewSelected && state.PrintAndExport);
    EXPECT_EQ(LockMenuHint(true), "Removes the Lock for the current Diary allowing updates");

    TDiaryLockChange unlocked = ChangeDiaryLock(*diary, true, false, false, settings);
    ASSERT_TRUE(unlocked.Ok);
    EXPECT_FALSE(unlocked.Lock.Locked);
    EXPECT_TRUE(ChangeDiaryLock(*diary, false, false, true, settings).Lock.Locked);
}

TEST_F(DiarySave, ALockedDiaryReloadsAChangedFileAndKeepsItsViewOptions) {
    const std::string path = dir.File("Shared.TDY");
    auto writer = NewDiary(path);
    writer->Events.Add(Event("First", At(2024, 6, 1)));
    ASSERT_TRUE(SaveDiary(*writer, false, settings).Ok);

    TDiaryLoad opened = LoadDiary(path);
    ASSERT_TRUE(opened.Diary);
    std::unique_ptr<TDiaryData> shown = std::move(opened.Diary);
    std::optional<std::int64_t> recorded = FileModificationTime(path);
    shown->ShowNotes = 0;
    shown->SortOrder = 3;

    EXPECT_EQ(RefreshLockedDiary(shown, false, recorded).Outcome, TRefreshOutcome::NotLocked);
    EXPECT_EQ(RefreshLockedDiary(shown, true, recorded).Outcome, TRefreshOutcome::Unchanged);

    writer->Events.Add(Event("Second", At(2024, 6, 2)));
    ASSERT_TRUE(SaveDiary(*writer, false, settings).Ok);
    recorded = *recorded - 1; // a coarse file system may give the same time twice
    const TDiaryData* before = shown.get();
    EXPECT_EQ(RefreshLockedDiary(shown, true, recorded).Outcome, TRefreshOutcome::Reloaded);
    EXPECT_NE(shown.get(), before);
    EXPECT_EQ(shown->Events.Count(), 2);
    EXPECT_EQ(shown->FileName, path);
    EXPECT_EQ(shown->ShowNotes, 0);
    EXPECT_EQ(shown->SortOrder, 3);
    EXPECT_EQ(recorded, FileModificationTime(path));

    // A damaged file (another copy caught mid-write) leaves the diary as it was.
    auto bytes = ReadBytes(path);
    bytes.pop_back();
    WriteBytes(path, bytes);
    recorded = *recorded - 1;
    const auto kept = recorded;
    const TDiaryRefresh failed = RefreshLockedDiary(shown, true, recorded);
    EXPECT_EQ(failed.Outcome, TRefreshOutcome::Failed);
    EXPECT_EQ(failed.Message, "SHARED.TDY Diary File is Corrupt - Recover File from Backup Copy");
    EXPECT_EQ(shown->Events.Count(), 2);
    EXPECT_EQ(recorded, kept);

    EXPECT_EQ(ClampedRow(5, 3), 2);
    EXPECT_EQ(ClampedRow(-1, 3), 0);
    EXPECT_EQ(ClampedRow(0, 0), -1);
}

} // namespace
} // namespace tessaly
