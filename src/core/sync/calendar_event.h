#pragma once
// A diary event or an entry's reminder as the calendar object a sync sends (one
// VEVENT), and a server's calendar object as a diary event.
//
// What iCalendar has no place for goes in X-TESSALY-EVENT ("FREQUENCY=4;INTERVAL=1;
// UNTIL=20270131;ADVANCE=2;PRIORITY=7"): the series of an event whose later days are
// sent as RDATEs, a note without a day of its own, the days of advance warning. What
// a server's event says that a diary event cannot hold (an end, attendees, a rule of
// weekdays, a text outside Windows-1252 or longer than a diary's 255 characters) is
// kept beside it and written back with it.

#include "core/diary/reminders.h"
#include "core/ical/ical_calendar.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaly {

// What a server's event said that its diary event does not hold.
struct TKeptEvent {
    std::vector<std::string> Lines;      // content lines of the event
    std::vector<std::string> Components; // inside the event (further alarms)
    std::vector<std::string> Outer;      // beside it (time zones, changed occurrences)
    // The server's texts where the diary holds them cut short or with "?" for a
    // character it lacks; empty where the diary holds them whole.
    std::string Summary;
    std::string Description;
    // The series as it was brought in: the kept lines of a series (RRULE, RDATE,
    // EXDATE) and the changed occurrences go back only while the event keeps it.
    std::string Series;
    bool operator==(const TKeptEvent&) const = default;
};

// The calendar object of an event, its DTSTAMP `stampUtc`.
TICalCalendar EventCalendar(const TReminders& e, const std::string& uid, const TKeptEvent& kept,
                            TDateTime stampUtc);

struct TImportedEvent {
    std::unique_ptr<TReminders> Event; // null when the object holds no event
    std::string Uid;
    TKeptEvent Kept;
};

// The diary event of a calendar object's first event.
TImportedEvent ImportEvent(const TICalCalendar& calendar);

// A hash of what the event says, by which a sync knows it again.
std::string EventHash(const TReminders& e);

} // namespace tessaly
