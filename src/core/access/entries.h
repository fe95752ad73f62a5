#pragma once
// Changing the entries of a book as the book window does: storing the edited entry
// over an existing one or as a new one, deleting, undoing, finding an entry by its
// stamp, and adding a call-log record to the entry a call was made to.
//
// The window calls MarkChanged after each of these that changed the book, and keeps
// its entry list in step with the index each one reports.

#include "core/store/book.h"
#include "core/system/clock.h"

#include <string_view>

namespace tessaly {

// Stores `edited` (the work record when null):
// - over `existing`, which must still be an entry of the book: with `recordUndo` an
//   undo record of the entry as it was is pushed first; the entry then takes the
//   edited fields and lists, Updated becomes now, and it keeps its own stamp;
// - as a new entry when `existing` is null: a copy whose Created is now is appended
//   (given a fresh stamp should its stamp already be in the book, since undo and call
//   logging tell entries apart by stamp), and with `recordUndo` an undo record of the
//   addition is pushed.
// `undoLimit` is the "Undo Level" setting (brought into 1-30). Returns the entry's
// index, or -1 when nothing was stored: `existing` is no longer in the book, there is
// nothing to store, or a new entry finds the book full. The edited entry is never
// changed.
int StoreEntry(TBookData& book, const TRecord* existing, const TRecord* edited, int undoLimit,
               bool recordUndo, const IClock& clock = SystemClock::Instance());

// Whether the book may take one more entry: its file holds at most 32,767, and a book
// with more could never be saved.
bool HasRoomForEntry(const TBookData& book);

// Removes entry i, with `recordUndo` after pushing an undo record holding a copy of
// it. False when there is no entry i.
bool DeleteEntry(TBookData& book, int i, bool recordUndo, int undoLimit);

// The first entry with the stamp, nullptr if none.
TRecord* FindEntryByStamp(const TBookData& book, TDateTime stamp);

// What an undo did to the entries, for the window to follow in its list.
enum class TUndoEffect {
    None,     // the entry the record named is gone: nothing changed
    Removed,  // the entry at Index was removed (an addition undone)
    Changed,  // the entry at Index took its earlier state back
    Restored, // an entry was appended at Index (a deletion undone, or a change of an
              // entry that is no longer in the book)
};

struct TUndoResult {
    bool Done = false; // false: the history was empty
    int Kind = -1;
    TUndoEffect Effect = TUndoEffect::None;
    int Index = -1;
    bool HistoryEmpty = false; // nothing is left to undo: the window sounds the beep
};

bool UndoAvailable(const TBookData& book);
// Reverses the newest undo record and removes it. Entries are recognised by stamp
// alone: an addition removes the entry with the added stamp, a change gives the
// entry with the saved stamp its earlier state (Updated now) or adds it back, a
// deletion adds the saved entry back with its stamp (Created now).
TUndoResult Undo(TBookData& book, const IClock& clock = SystemClock::Instance());

// Appends a call-log record to the entry with the stamp and, when the work record has
// the same stamp, to the work record as well, so that the open entry shows it. False
// when no entry has the stamp (the record is then written nowhere).
bool AddCallLogByStamp(TBookData& book, TDateTime stamp, std::string_view number,
                       std::string_view comment, TDateTime start, TDateTime end);

} // namespace tessaly
