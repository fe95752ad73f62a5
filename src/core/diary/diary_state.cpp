#include "core/diary/diary_state.h"

#include "core/common/file_paths.h"
#include "core/system/file_attributes.h"

#include <algorithm>
#include <filesystem>

namespace tessaly {

TDiaryLock EvaluateDiaryLock(const std::string& path, bool openedReadOnly) {
    TDiaryLock lock;
    lock.Locked = openedReadOnly || IsFileReadOnly(path).value_or(false);
    if (!lock.Locked && IsDiaryBackupPath(path)) {
        lock.Locked = true;
        lock.BackupWarning = true;
    }
    return lock;
}

std::string DiaryWindowTitle(const std::string& path, bool locked) {
    const std::string name = UpperCase(std::filesystem::path(path).stem().string());
    return "Diary - " + name + (locked ? " (Locked)" : "");
}

TDiaryInfo DiaryInformation(const TDiaryData& diary, bool locked, const TFormatSettings& fs) {
    TDiaryInfo info;
    info.Name = UpperCase(FileNameOf(diary.FileName));
    info.Path = diary.FileName;
    info.Events = diary.Events.Count();
    info.Created = diary.Created < 1 ? "Creation Date is Unavailable"
                                     : FormatDateTime("dddddd \"at\" t", diary.Created, fs);
    info.LastUpdated = diary.LastUpdated < 1
                           ? "Last Updated Date is Unavailable"
                           : FormatDateTime("dddddd \"at\" t", diary.LastUpdated, fs);
    info.LockState = locked ? "Locked" : "Update";
    return info;
}

std::string SaveAsRefusal(const std::string& path) {
    if (path.empty())
        return "No file name was given for the Diary";
    if (!CanWriteFile(path))
        return UpperCase(FileNameOf(path)) + " cannot be written: the file is read-only or "
                                             "its folder does not allow new files";
    return std::string();
}

TDiarySaveAs SaveDiaryAs(TDiaryData& diary, const std::string& path, bool openedReadOnly,
                         const TStoreSettings& settings) {
    TDiarySaveAs result;
    result.Message = SaveAsRefusal(path);
    if (!result.Message.empty())
        return result;
    const std::string old = diary.FileName;
    diary.FileName = path;
    // Saved before the lock is evaluated: the user chose this file, and a name such as
    // ".BKD" that locks the window must not leave it on a file that was never written.
    const TDiarySave saved = SaveDiary(diary, false, settings);
    if (!saved.Ok) {
        diary.FileName = old;
        result.Message = UpperCase(FileNameOf(path)) + " could not be saved: " + saved.Error;
        return result;
    }
    result.Ok = true;
    result.Lock = EvaluateDiaryLock(path, openedReadOnly);
    return result;
}

TDiaryRefresh RefreshLockedDiary(std::unique_ptr<TDiaryData>& diary, bool locked,
                                 std::optional<std::int64_t>& recordedTime) {
    TDiaryRefresh result;
    if (!locked || !diary) {
        result.Outcome = TRefreshOutcome::NotLocked;
        return result;
    }
    const std::optional<std::int64_t> now = FileModificationTime(diary->FileName);
    if (now == recordedTime) {
        result.Outcome = TRefreshOutcome::Unchanged;
        return result;
    }
    TDiaryLoad load = LoadDiary(diary->FileName);
    if (!load.Diary) {
        // Perhaps caught half-way through another copy's save; the next refresh tries
        // again, as the recorded time is left as it was.
        result.Outcome = TRefreshOutcome::Failed;
        result.Message = load.Message;
        return result;
    }
    TDiaryData& fresh = *load.Diary;
    fresh.FileName = diary->FileName;
    fresh.ShowCompleted = diary->ShowCompleted;
    fresh.ShowRecurring = diary->ShowRecurring;
    fresh.ShowNotes = diary->ShowNotes;
    fresh.SortOrder = diary->SortOrder;
    diary.swap(load.Diary);
    recordedTime = now;
    result.Outcome = TRefreshOutcome::Reloaded;
    return result;
}

TDiaryWindowSave SaveFromWindow(TDiaryData& diary, bool locked, bool closing,
                                const std::array<int, 4>& bounds, int windowState,
                                const TStoreSettings& settings) {
    TDiaryWindowSave result;
    if (locked)
        return result;
    SetWindowPlacement(diary, bounds, windowState);
    const TDiarySave saved = SaveDiary(diary, closing, settings);
    result.Written = saved.Ok;
    result.BackupFailed = saved.BackupFailed;
    if (!saved.Ok) {
        result.AskBeforeClosing = true;
        result.Message = UpperCase(FileNameOf(diary.FileName)) +
                         " could not be saved: " + saved.Error +
                         "\n\nClose the Diary and lose the changes made since it was last saved ?";
    }
    return result;
}

TDiaryLockChange ChangeDiaryLock(TDiaryData& diary, bool locked, bool lock, bool openedReadOnly,
                                 const TStoreSettings& settings) {
    TDiaryLockChange change;
    if (!locked) {
        const TDiarySave saved = SaveDiary(diary, false, settings);
        if (!saved.Ok) {
            change.Message =
                UpperCase(FileNameOf(diary.FileName)) + " could not be saved: " + saved.Error;
            change.Lock = EvaluateDiaryLock(diary.FileName, openedReadOnly);
            return change;
        }
    }
    const TIoResult set = SetFileReadOnly(diary.FileName, lock);
    change.Ok = set.Ok;
    change.Message = set.Error;
    change.Lock = EvaluateDiaryLock(diary.FileName, openedReadOnly);
    return change;
}

std::string LockMenuText(bool locked) {
    return locked ? "Un&lock Diary" : "&Lock Diary";
}

std::string LockMenuHint(bool locked) {
    return locked ? "Removes the Lock for the current Diary allowing updates"
                  : "Locks the current Diary making it read only";
}

TDiaryCommandState DiaryCommandState(const TDiaryData& diary, bool locked, bool rowSelected) {
    TDiaryCommandState s;
    s.Save = diary.Modified != 0 && !locked;
    s.PrintAndExport = diary.Events.Count() > 0;
    s.Import = !locked;
    s.Add = !locked;
    s.ChangeSelected = !locked && rowSelected;
    s.ViewSelected = rowSelected;
    return s;
}

int ClampedRow(int row, int count) {
    if (count <= 0)
        return -1;
    return std::clamp(row, 0, count - 1);
}

} // namespace tessaly
