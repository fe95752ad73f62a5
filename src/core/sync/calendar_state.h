#pragma once
// What a diary, or a book's reminders, remember of the last sync with a calendar:
// the server and calendar, the sync token, and for each event (known by its UID)
// its URL, ETag, the hash of the event as last synced (EventHash), what it was then
// (to know a changed event again) and what the server's event said that the diary
// cannot hold. A record whose event is gone here is a deletion not yet confirmed by
// the server (a tombstone). A diary keeps it in "DIARY.TDY.sync" beside it, a book
// within its own sync state.

#include "core/common/date_time.h"
#include "core/sync/calendar_event.h"
#include "core/sync/state_file.h"
#include "core/system/file_system.h"

#include <map>
#include <string>

namespace tessaly {

struct TCalendarRecord {
    std::string Url;
    std::string ETag; // empty: not known (the next round asks the server)
    std::string Hash; // EventHash as last synced; empty: not known
    TDateTime When = 0;
    std::string Title; // the description then (Windows-1252)
    TKeptEvent Kept;
    bool operator==(const TCalendarRecord&) const = default;
};

struct TCalendarState {
    std::string Server;
    std::string Collection;
    std::string Token;
    std::map<std::string, TCalendarRecord> Events; // by UID
    bool operator==(const TCalendarState&) const = default;
};

// "DIARY.TDY.sync" for "DIARY.TDY".
std::string CalendarStatePath(const std::string& diaryPath);

// The state as JSON text, and read back; false with `why` when damaged.
std::string CalendarStateText(const TCalendarState& state);
bool ParseCalendarState(const std::string& text, TCalendarState& state, std::string& why);

// The file: Missing when there is none, Damaged with `why`, else Read.
using TCalendarStateRead = TStateFileRead;
TCalendarStateRead ReadCalendarState(const std::string& path, TCalendarState& state,
                                     std::string& why, IFileSystem& fs = RealFileSystem());
// Written crash-safe (WriteFileAtomically); false with `why` on failure.
bool WriteCalendarState(const std::string& path, const TCalendarState& state, std::string& why,
                        IFileSystem& fs = RealFileSystem());

} // namespace tessaly
