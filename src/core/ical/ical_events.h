#pragma once
// A diary event or an entry's reminder as an iCalendar VEVENT: DTSTART (a DATE for an
// event without a time), SUMMARY, DESCRIPTION from the notes, PRIORITY, a VALARM for a
// set alarm, STATUS:COMPLETED for a completed event, and the later occurrences as an
// RRULE where the standard's expansion gives the same days, else as RDATEs. Texts
// become UTF-8.

#include "core/diary/reminders.h"
#include "core/ical/ical_calendar.h"

#include <optional>
#include <string>

namespace tessaly {

// A date; a floating local date-time (no time zone), as the program keeps its times.
TICalTime ICalDate(TDateTime day);
TICalTime ICalDateTime(TDateTime at);
// The moment of asking in UTC, as DTSTAMP takes it.
TDateTime UtcNow();
// The program's day and time of an iCalendar time (a date gives midnight).
TDateTime DateTimeOfICal(const TICalTime& t);

// With a range, the later occurrences are those in it, and the recurrence ends with it.
struct TICalRange {
    std::optional<TDateTime> From;
    std::optional<TDateTime> To;
};

TICalEvent ICalEventOf(const TReminders& e, const std::string& uid, const TICalRange& range = {});

} // namespace tessaly
