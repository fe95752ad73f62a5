#pragma once
// The events and reminders of books and diaries as one iCalendar (RFC 5545) calendar,
// so that a diary can be seen in any calendar program.

#include "core/ical/ical_calendar.h"
#include "core/diary/event_source.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct TICalOptions {
    // With a range, only the events that stand on a day of it are written, and their
    // recurrence ends with it.
    std::optional<TDateTime> From;
    std::optional<TDateTime> To;
    TDateTime Stamp = 0; // DTSTAMP of every event, in UTC
};

// One VEVENT per event: DTSTART (a DATE for an event without a time), SUMMARY,
// DESCRIPTION from the notes, PRIORITY, a VALARM for a set alarm, STATUS:COMPLETED for
// a completed event, and the later occurrences as an RRULE where the standard's
// expansion gives the same days, else as RDATEs. Texts become UTF-8.
TICalCalendar ICalendarOf(const std::vector<TEventSource>& sources, const TICalOptions& options);

// The iCalendar writer linked into this program (tessaly-ical, the tests), or nullptr
// in tessaly-cli, which is built without it.
TICalWriter LinkedICalWriter();
// Runs the program of kICalProgramName beside this one in place of this process, with
// the same arguments. Returns only when it could not be run, with the reason.
std::string RunICalProgram(char** argv);

} // namespace tessaly
