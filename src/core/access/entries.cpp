#include "core/access/entries.h"

#include "core/store/stamp.h"
#include "core/store/stream.h"

namespace tessaly {

int StoreEntry(TBookData& book, const TRecord* existing, const TRecord* edited, int undoLimit,
               bool recordUndo, const IClock& clock) {
    const TRecord* source = edited ? edited : book.WorkRecord.get();
    if (!source)
        return -1;

    if (existing) {
        const int i = book.Entries.IndexOf(existing);
        if (i < 0)
            return -1; // deleted or undone meanwhile: the caller keeps its edit
        TRecord& entry = *book.Entries.At(i);
        if (recordUndo)
            book.UndoList.PushUndo(kUndoChanged, entry, undoLimit);
        // An entry stays the same entry however it is edited (a pasted entry stored
        // over it included), so that undo and call logging still find it.
        const TDateTime stamp = entry.Stamp;
        AssignEntry(entry, *source, true, clock);
        entry.Stamp = stamp;
        return i;
    }

    if (!HasRoomForEntry(book))
        return -1; // a book file holds no more
    const int i = book.Entries.AddEntryCopy(*source, clock);
    TRecord& added = *book.Entries.At(i);
    // A stamp is the entry's identity (a synced card's UID comes from it). A copy, or
    // a stamp handed out by another process whose clock ran ahead, may already be taken:
    // every other entry is looked at, since a fresh stamp may be taken as well.
    while (book.Entries.StampTakenByOther(i))
        added.Stamp = NewStamp();
    if (recordUndo)
        book.UndoList.PushUndo(kUndoAdded, added, undoLimit);
    return i;
}

bool HasRoomForEntry(const TBookData& book) {
    return book.Entries.Count() < kMaxListCount;
}

bool DeleteEntry(TBookData& book, int i, bool recordUndo, int undoLimit) {
    const TRecord* entry = book.Entries.At(i);
    if (!entry)
        return false;
    if (recordUndo)
        book.UndoList.PushUndo(kUndoDeleted, *entry, undoLimit);
    book.Entries.Delete(i);
    return true;
}

TRecord* FindEntryByStamp(const TBookData& book, TDateTime stamp) {
    return book.Entries.At(book.Entries.FindStamp(stamp));
}

bool UndoAvailable(const TBookData& book) {
    return !book.UndoList.Empty();
}

TUndoResult Undo(TBookData& book, const IClock& clock) {
    TUndoResult result;
    const TUndo* undo = book.UndoList.TopUndo();
    if (!undo)
        return result;
    result.Done = true;
    result.Kind = undo->Kind;
    switch (undo->Kind) {
    case kUndoAdded: {
        const int i = undo->Live ? book.Entries.FindStamp(*undo->Live) : -1;
        if (i >= 0) {
            book.Entries.Delete(i);
            result.Effect = TUndoEffect::Removed;
            result.Index = i;
        }
        break;
    }
    case kUndoChanged:
        if (undo->Saved) {
            const int i = book.Entries.FindStamp(undo->Saved->Stamp);
            if (i >= 0) {
                AssignEntry(*book.Entries.At(i), *undo->Saved, true, clock);
                result.Effect = TUndoEffect::Changed;
                result.Index = i;
            } else {
                result.Effect = TUndoEffect::Restored;
                result.Index = book.Entries.AddEntryCopy(*undo->Saved, clock);
            }
        }
        break;
    case kUndoDeleted:
        if (undo->Saved) {
            result.Effect = TUndoEffect::Restored;
            result.Index = book.Entries.AddEntryCopy(*undo->Saved, clock);
        }
        break;
    default:
        break; // a record of no known kind is dropped
    }
    // `undo` is freed here; nothing above refers to it afterwards.
    result.HistoryEmpty = book.UndoList.PopUndo();
    return result;
}

bool AddCallLogByStamp(TBookData& book, TDateTime stamp, std::string_view number,
                       std::string_view comment, TDateTime start, TDateTime end) {
    TRecord* entry = FindEntryByStamp(book, stamp);
    if (!entry)
        return false;
    entry->CallLogs.AddLog(number, comment, start, end);
    if (book.WorkRecord && book.WorkRecord.get() != entry && book.WorkRecord->Stamp == stamp)
        book.WorkRecord->CallLogs.AddLog(number, comment, start, end);
    return true;
}

} // namespace tessaly
