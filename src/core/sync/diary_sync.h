#pragma once
// Synchronising a diary with a calendar on a CalDAV server, each event one VEVENT.
//
// A round as a book's: the server's changes since the last round (sync-collection
// REPORT, else a listing and ETags) are fetched; the diary is read, changed and
// written under its lock; the state ("DIARY.TDY.sync") is written after it; then the
// events changed here go up (If-Match, or If-None-Match: * for new ones) and the
// deletions made here (If-Match).
//
// A diary's events have no identity of their own: an event is known again by what it
// says (EventHash), and one changed here by its time or its description as last
// synced. When both sides changed an event, the server's version becomes the event
// and the diary's is kept beside it, its description marked with
// kDiaryConflictMark; a deletion on one side and a change on the other keeps the
// changed one.

#include "core/ical/ical_calendar.h"
#include "core/sync/book_sync.h"

#include <string>

namespace tessaly {

inline constexpr const char* kDiaryConflictMark = "Sync Conflict: ";

struct TCalendarCodec {
    TICalWriter Write = nullptr;
    TICalReader Read = nullptr;
};

// Synchronises the diary at `diaryPath` with the calendar named after it (its file
// name without the extension), found or made as DiscoverCalendar does.
TSyncResult SyncDiary(const std::string& diaryPath, const TSyncOptions& options,
                      const TCalendarCodec& codec, IHttpClient& http);

} // namespace tessaly
