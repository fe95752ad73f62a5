#pragma once
// The reminders of a book's entries, sent to a calendar on the server named after
// the book ("NAME Reminders"), one VEVENT each. The book is their owner: nothing comes
// back from the server, and an event changed or deleted there is put back as the
// book has it, with a note. The state is "BOOK.ADR.reminders.sync" beside the book.

#include "core/ical/ical_calendar.h"
#include "core/sync/book_sync.h"

#include <string>

namespace tessaly {

class TRecord;

inline constexpr const char* kRemindersCalendarSuffix = " Reminders";

std::string ReminderStatePath(const std::string& bookPath);
// "tessaly-STAMP-reminder-N" for the entry's reminder N (from 1).
std::string ReminderUid(const TRecord& entry, int reminder);

// Sends the book's reminders to the calendar on `server` (found or made as
// DiscoverCalendar does), written by `writer`. Uploaded and DeletedOnServer count
// the events written and removed.
TSyncResult SyncBookReminders(const std::string& bookPath, const std::string& server,
                              const TSyncOptions& options, TICalWriter writer, IHttpClient& http);

} // namespace tessaly
