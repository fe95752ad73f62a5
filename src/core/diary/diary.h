#pragma once
// TDiaryData: one diary in memory (its header and its events) and the diary file
// ".TDY" with its back-up copy ".BKD".

#include "core/diary/reminders.h"
#include "core/store/store_settings.h"
#include "core/store/stream.h"
#include "core/system/clock.h"
#include "core/system/file_system.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// The layout version every diary is written with; older event layouts are read.
constexpr int kDiaryVersion = 13;
// The six bytes that open and close a diary file: a length byte 5 and "TD-V3".
constexpr std::array<std::uint8_t, 6> kDiarySignature = {5, 'T', 'D', '-', 'V', '3'};
// A diary holds at most as many events as its 16-bit count can name.
constexpr int kMaxDiaryEvents = kMaxListCount;

constexpr const char* kMsgNotADiary = "is not a Valid Tessaly Version 3 Diary File";
constexpr const char* kMsgDiaryCorrupt = "Diary File is Corrupt - Recover File from Backup Copy";

class TDiaryData {
public:
    std::int16_t Version = kDiaryVersion;
    std::uint8_t WindowState = 0;                             // 0 normal, 1 minimised, 2 maximised
    std::array<std::int16_t, 4> WindowBounds{5, 5, 500, 450}; // left, top, right, bottom
    TRemindersList Events;
    std::uint8_t ShowCompleted = 1;
    std::array<std::int16_t, 3> ColumnWidths{22, 40, 100};
    std::uint8_t ShowRecurring = 1;
    std::uint8_t ShowNotes = 1;
    std::int16_t SortOrder = 1; // 1 priority, 2 time, 3 description
    std::string FileName;       // runtime
    TDateTime Created = 0;
    TDateTime LastUpdated = 0;
    std::uint8_t Modified = 0;    // runtime
    std::int16_t ChangeCount = 0; // runtime

    TDiaryData() = default;
    TDiaryData(const TDiaryData&) = default;
    TDiaryData& operator=(const TDiaryData&) = default;

    // Reads the stored body (version word to the events). Throws StreamError on a
    // short or damaged body.
    void ReadBody(TStreamReader& r);
    // Sets Version to 13 and writes the body. Throws StreamError for more events, or a
    // longer text, than the file can hold.
    void WriteBody(TStreamWriter& w);

    // Stored fields only; FileName, Modified and ChangeCount are not compared.
    bool operator==(const TDiaryData& o) const;
};

// A new diary for a path: the defaults of a new diary and Created now.
std::unique_ptr<TDiaryData> NewDiary(const std::string& path,
                                     const IClock& clock = SystemClock::Instance());

struct TDiaryLoad {
    std::unique_ptr<TDiaryData> Diary; // null on failure
    // On failure the text to show: "DIARY.TDY is not a Valid Tessaly Version 3 Diary
    // File", or for a file that cannot be read at all, its name and the reason.
    std::string Message;
    bool Unreadable = false; // the file could not be opened or read
};

// Reads the file and parses it; FileName becomes the path.
TDiaryLoad LoadDiary(const std::string& path, IFileSystem& fs = RealFileSystem());
// Parses a diary image in memory; `path` names it in messages and becomes FileName.
TDiaryLoad ParseDiaryImage(std::span<const std::uint8_t> bytes,
                           const std::string& path = std::string());

// Signature, body, signature. Throws StreamError when the diary cannot be written in
// this format.
std::vector<std::uint8_t> WriteDiaryImage(TDiaryData& diary);

struct TDiarySave {
    bool Ok = false;
    std::string Error;         // why the diary was not written
    bool BackupFailed = false; // written, but its ".BKD" copy was not made
};

// Writes the diary to FileName through an atomic replace; only a written file clears
// Modified and ChangeCount. With `makeBackup` and "Backup" on, the written file is
// then copied to the same path with the extension ".BKD" (never from a ".BKD" file).
TDiarySave SaveDiary(TDiaryData& diary, bool makeBackup, const TStoreSettings& settings,
                     IFileSystem& fs = RealFileSystem());

// Records a change: LastUpdated now, ChangeCount + 1, Modified 1. Returns the count.
int MarkChanged(TDiaryData& diary, const IClock& clock = SystemClock::Instance());
// After MarkChanged: whether the diary window saves now ("Auto Save" on and the
// count has reached "Auto Save Interval").
bool AutoSaveDue(const TDiaryData& diary, const TStoreSettings& settings);

// Stores the window state and, only for the normal state (0), the bounds. An
// unknown state counts as normal.
void SetWindowPlacement(TDiaryData& diary, const std::array<int, 4>& bounds, int state);

// Whether one more event may be added: a diary file holds at most 32,767.
bool HasRoomForEvent(const TDiaryData& diary);
// Appends an event unless the diary is full; nullptr (and no change) when it is.
TReminders* AddEvent(TDiaryData& diary, std::unique_ptr<TReminders> event);

// The path with the extension ".BKD"; whether a path has that extension (any case).
std::string DiaryBackupPath(const std::string& path);
bool IsDiaryBackupPath(const std::string& path);

} // namespace tessaly
