#pragma once
// What the diary window decides about its file without a screen: the lock rules, its
// title, the diary information texts, the check before "Save As", and the refresh of
// a locked diary whose file another copy of the program has changed.

#include "core/common/date_format.h"
#include "core/diary/diary.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessaly {

constexpr const char* kMsgDiaryIsBackup =
    "The Diary opened is a Back-up File of another Diary. To protect against data loss, this "
    "Diary has been locked against updates.\n\nTo update this Diary, use the Save As command and "
    "save it using with a different name and file extension";

struct TDiaryLock {
    bool Locked = false;
    // The diary was locked because it is a back-up copy: kMsgDiaryIsBackup is shown.
    bool BackupWarning = false;
};

// Locked when the window was opened read-only or the file is read-only; an unlocked
// diary whose extension is ".BKD" (any case) is locked with the back-up warning.
TDiaryLock EvaluateDiaryLock(const std::string& path, bool openedReadOnly);

// "Diary - NAME", the file name in upper case without its extension, and " (Locked)".
std::string DiaryWindowTitle(const std::string& path, bool locked);

struct TDiaryInfo {
    std::string Caption = "Diary Information";
    std::string Name; // the file name in upper case
    std::string Path; // the full path
    int Events = 0;
    std::string Created;     // "dddddd "at" t", or "Creation Date is Unavailable"
    std::string LastUpdated; // likewise, or "Last Updated Date is Unavailable"
    std::string LockState;   // "Locked" or "Update"
};
TDiaryInfo DiaryInformation(const TDiaryData& diary, bool locked,
                            const TFormatSettings& fs = DefaultFormatSettings());

// Why "Save As" may not write to a path (an empty text when it may): the target is
// checked before the diary takes the new name, so a failed save never leaves the
// window pointing at a file it cannot write.
std::string SaveAsRefusal(const std::string& path);

// "Save As": checks the new path first, then the diary takes it and is saved without
// back-up; the lock is evaluated again for the new file. A refused path or a failed
// save leaves the diary on its old path, with Modified as it was.
struct TDiarySaveAs {
    bool Ok = false;
    std::string Message; // why not, for a refusal or a failed save
    TDiaryLock Lock;     // the lock state on the new path, when Ok
};
TDiarySaveAs SaveDiaryAs(TDiaryData& diary, const std::string& path, bool openedReadOnly,
                         const TStoreSettings& settings);

enum class TRefreshOutcome {
    NotLocked, // only a locked diary refreshes
    Unchanged, // the file's modification time is the one recorded
    Reloaded,  // the diary was replaced by the file's new contents
    Failed,    // the file could not be read or is damaged: the diary in memory stays
};

struct TDiaryRefresh {
    TRefreshOutcome Outcome = TRefreshOutcome::Unchanged;
    std::string Message; // for Failed, why
};

// Re-reads a locked diary whose file changed since `recordedTime`. The file is loaded
// into a new object first; only a complete load replaces the diary, which keeps its
// path and its own ShowCompleted, ShowRecurring, ShowNotes and SortOrder, and
// `recordedTime` takes the new time. Whoever holds alarm or calendar items of this
// diary refers to its events by owner and position, and rebuilds them after a reload.
TDiaryRefresh RefreshLockedDiary(std::unique_ptr<TDiaryData>& diary, bool locked,
                                 std::optional<std::int64_t>& recordedTime);

// The saves of the diary window: "Save" and automatic saving (no back-up) and the
// save on closing (with the back-up copy). A locked diary is never saved. The window's
// placement is stored into the diary first.
struct TDiaryWindowSave {
    bool Written = false;
    // The save failed: the diary keeps Modified and the window asks before it closes,
    // showing Message, instead of dropping the changes silently.
    bool AskBeforeClosing = false;
    std::string Message;
    bool BackupFailed = false; // only a beep: the diary itself was written
};
TDiaryWindowSave SaveFromWindow(TDiaryData& diary, bool locked, bool closing,
                                const std::array<int, 4>& bounds, int windowState,
                                const TStoreSettings& settings);

// "&Lock Diary" / "Un&lock Diary": saves the diary (unless it is locked), sets or
// clears the file's read-only state and evaluates the lock again.
struct TDiaryLockChange {
    bool Ok = false;
    std::string Message; // why the file's state could not be changed
    TDiaryLock Lock;     // the state after the change
};
TDiaryLockChange ChangeDiaryLock(TDiaryData& diary, bool locked, bool lock, bool openedReadOnly,
                                 const TStoreSettings& settings);
// The menu item and its hint for the current state.
std::string LockMenuText(bool locked);
std::string LockMenuHint(bool locked);

// Which diary window commands are enabled.
struct TDiaryCommandState {
    bool Save = false;           // only while there are unsaved changes
    bool PrintAndExport = false; // "&Print...", "&Quick Reports...", "&Export...": with events
    bool Import = false;         // not locked
    bool Add = false;            // not locked
    bool ChangeSelected = false; // edit, delete, acknowledge: not locked, a row selected
    bool ViewSelected = false;   // a row selected
};
TDiaryCommandState DiaryCommandState(const TDiaryData& diary, bool locked, bool rowSelected);

// A row number kept after the list under it changed: clamped to the list, -1 when
// the list is empty.
int ClampedRow(int row, int count);

} // namespace tessaly
