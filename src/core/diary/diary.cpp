#include "core/diary/diary.h"

#include "core/access/book_header.h"
#include "core/common/same_text.h"
#include "core/store/book_file.h"
#include "core/store/file_window.h"
#include "core/system/file_io.h"

#include <filesystem>
#include <new>

namespace tessaly {

namespace {

bool ReadSignature(TStreamReader& r) {
    if (r.Remaining() < kDiarySignature.size())
        return false;
    std::array<std::uint8_t, kDiarySignature.size()> bytes{};
    r.ReadBytes(bytes.data(), bytes.size());
    return bytes == kDiarySignature;
}

void WriteSignature(TStreamWriter& w) {
    w.WriteBytes(kDiarySignature.data(), kDiarySignature.size());
}

TDiaryLoad Failure(const std::string& path, const char* message) {
    TDiaryLoad result;
    result.Message = BookErrorMessage(path, message);
    return result;
}

} // namespace

void TDiaryData::ReadBody(TStreamReader& r) {
    Version = r.ReadInt16();
    WindowState = r.ReadByte();
    for (auto& b : WindowBounds)
        b = r.ReadInt16();
    ShowCompleted = r.ReadByte();
    ShowRecurring = r.ReadByte();
    ShowNotes = r.ReadByte();
    SortOrder = r.ReadInt16();
    Created = r.ReadDateTime();
    LastUpdated = r.ReadDateTime();
    for (auto& w : ColumnWidths)
        w = r.ReadInt16();
    Events.ReadItems(r, Version);
}

void TDiaryData::WriteBody(TStreamWriter& w) {
    Version = kDiaryVersion;
    w.WriteInt16(Version);
    w.WriteByte(WindowState);
    for (const auto b : WindowBounds)
        w.WriteInt16(b);
    w.WriteByte(ShowCompleted);
    w.WriteByte(ShowRecurring);
    w.WriteByte(ShowNotes);
    w.WriteInt16(SortOrder);
    w.WriteDateTime(Created);
    w.WriteDateTime(LastUpdated);
    for (const auto c : ColumnWidths)
        w.WriteInt16(c);
    Events.WriteItems(w, Version);
}

bool TDiaryData::operator==(const TDiaryData& o) const {
    return Version == o.Version && WindowState == o.WindowState && WindowBounds == o.WindowBounds &&
           Events == o.Events && ShowCompleted == o.ShowCompleted &&
           ColumnWidths == o.ColumnWidths && ShowRecurring == o.ShowRecurring &&
           ShowNotes == o.ShowNotes && SortOrder == o.SortOrder && Created == o.Created &&
           LastUpdated == o.LastUpdated;
}

std::unique_ptr<TDiaryData> NewDiary(const std::string& path, const IClock& clock) {
    auto diary = std::make_unique<TDiaryData>();
    diary->FileName = path;
    diary->Created = clock.Now();
    return diary;
}

namespace {

TDiaryLoad ParseDiary(TStreamReader& r, const std::string& path) {
    try {
        if (!ReadSignature(r))
            return Failure(path, kMsgNotADiary);
        // The trailer is checked before any of the body is parsed.
        if (r.Size() < 2 * kDiarySignature.size())
            return Failure(path, kMsgDiaryCorrupt);
        r.Seek(r.Size() - kDiarySignature.size());
        if (!ReadSignature(r))
            return Failure(path, kMsgDiaryCorrupt);
        r.Seek(kDiarySignature.size());

        auto diary = std::make_unique<TDiaryData>();
        diary->ReadBody(r);
        // A layout newer than this program writes is not guessed at (and so never
        // overwritten with less than it held).
        if (diary->Version < 0 || diary->Version > kDiaryVersion)
            return Failure(path, kMsgNotADiary);
        // The trailer must follow the body exactly and end the file.
        if (r.Remaining() != kDiarySignature.size() || !ReadSignature(r))
            return Failure(path, kMsgDiaryCorrupt);

        diary->FileName = path;
        diary->Modified = 0;
        diary->ChangeCount = 0;
        TDiaryLoad result;
        result.Diary = std::move(diary);
        return result;
    } catch (const StreamError&) {
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return Failure(path, kMsgDiaryCorrupt);
}

} // namespace

TDiaryLoad ParseDiaryImage(std::span<const std::uint8_t> bytes, const std::string& path) {
    TStreamReader r(bytes);
    return ParseDiary(r, path);
}

TDiaryLoad LoadDiary(const std::string& path, IFileSystem& fs) {
    // Read as a book is: a regular file only, a window at a time, so that what is read
    // is no more than the diary's counts ask for.
    TFileWindow file(fs);
    const TIoResult io = file.Open(path);
    TStreamReader r(file);
    TDiaryLoad result = io.Ok ? ParseDiary(r, path) : TDiaryLoad();
    // A read that failed is told as such, not as a damaged file.
    const TIoResult& failed = io.Ok ? file.ReadError() : io;
    if (!failed.Ok) {
        result = TDiaryLoad();
        result.Unreadable = true;
        result.Message = failed.Error;
    }
    return result;
}

std::vector<std::uint8_t> WriteDiaryImage(TDiaryData& diary) {
    diary.Events.Pack();
    TStreamWriter w;
    WriteSignature(w);
    diary.WriteBody(w);
    WriteSignature(w);
    return w.TakeBytes();
}

TDiarySave SaveDiary(TDiaryData& diary, bool makeBackup, const TStoreSettings& settings,
                     IFileSystem& fs) {
    TDiarySave result;
    if (diary.FileName.empty()) {
        result.Error = "the diary has no file name";
        return result;
    }
    std::vector<std::uint8_t> image;
    try {
        image = WriteDiaryImage(diary);
    } catch (const StreamError& e) {
        result.Error = e.what();
        return result;
    }
    // The image is complete before the file is touched, and the file is replaced in
    // one step: a failure leaves the last saved diary as it was.
    const TIoResult io = WriteFileAtomically(diary.FileName, image, fs);
    if (!io.Ok) {
        result.Error = io.Error;
        return result;
    }
    diary.Modified = 0;
    diary.ChangeCount = 0;
    result.Ok = true;
    if (makeBackup && settings.Backup && !IsDiaryBackupPath(diary.FileName)) {
        const TIoResult copy =
            CopyFileAtomically(diary.FileName, DiaryBackupPath(diary.FileName), fs);
        result.BackupFailed = !copy.Ok;
    }
    return result;
}

int MarkChanged(TDiaryData& diary, const IClock& clock) {
    diary.LastUpdated = clock.Now();
    // The count saturates rather than wrap to a negative number.
    if (diary.ChangeCount < INT16_MAX)
        ++diary.ChangeCount;
    diary.Modified = 1;
    return diary.ChangeCount;
}

bool AutoSaveDue(const TDiaryData& diary, const TStoreSettings& settings) {
    return settings.AutoSave && diary.ChangeCount >= AutoSaveInterval(settings);
}

void SetWindowPlacement(TDiaryData& diary, const std::array<int, 4>& bounds, int state) {
    if (state != 1 && state != 2)
        state = 0;
    diary.WindowState = static_cast<std::uint8_t>(state);
    if (state != 0)
        return;
    for (std::size_t i = 0; i < bounds.size(); ++i)
        diary.WindowBounds[i] = static_cast<std::int16_t>(bounds[i]);
}

bool HasRoomForEvent(const TDiaryData& diary) {
    return diary.Events.Count() < kMaxDiaryEvents;
}

TReminders* AddEvent(TDiaryData& diary, std::unique_ptr<TReminders> event) {
    if (!event || !HasRoomForEvent(diary))
        return nullptr;
    return diary.Events.Add(std::move(event));
}

std::string DiaryBackupPath(const std::string& path) {
    return std::filesystem::path(path).replace_extension(".BKD").string();
}

bool IsDiaryBackupPath(const std::string& path) {
    return SameText(std::filesystem::path(path).extension().string(), ".BKD");
}

} // namespace tessaly
