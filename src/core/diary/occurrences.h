#pragma once
// The days on which an event stands in a range: its own day and the later occurrences
// of a recurring event, as the calendar, the day lists, the agenda and the alarms
// all count them.

#include "core/diary/recurrence.h"
#include "core/diary/reminders.h"

#include <algorithm>
#include <limits>

namespace tessaly {

struct TOccurrenceRange {
    TDateTime First = -std::numeric_limits<double>::infinity(); // first day, inclusive
    TDateTime Last = std::numeric_limits<double>::infinity();   // last day, inclusive
    // Later occurrences stop after this day as well (the calendar view stops them on
    // 1 March of the year after the one it shows).
    TDateTime LaterLast = std::numeric_limits<double>::infinity();
    bool IncludeCompleted = true; // a completed event stands on its own day
    bool IncludeRecurring = true; // later occurrences are counted
};

// Calls f(day, later) for each whole day of the range on which the event stands, in
// date order: its own day (`later` false) and, for an open event of frequency 2 to 5,
// every later day its series reaches up to the day of its Until (`later` true). Days
// before the range are skipped by FastForward, so an old daily event costs no more
// than a new one.
template <class F>
void ForEachOccurrence(const TReminders& r, const TOccurrenceRange& range, F&& f) {
    const TDateTime own = DateOf(r.When);
    if ((range.IncludeCompleted || !r.Completed) && own >= range.First && own <= range.Last)
        f(own, false);
    if (!range.IncludeRecurring || r.Completed || r.Frequency < kDaily || r.Frequency > kYearly)
        return;
    const TDateTime limit = std::min({DateOf(r.Until), range.Last, range.LaterLast});
    TDateTime d = NextOccurrence(r.Frequency, r.Interval, r.When);
    while (d < kNoLaterOccurrence) {
        const TDateTime day = DateOf(d);
        if (day > limit)
            return;
        TDateTime next;
        if (day < range.First) {
            const TDateTime jump = FastForward(r.Frequency, r.Interval, d, range.First);
            next = NextOccurrence(r.Frequency, r.Interval, jump);
        } else {
            f(day, true);
            next = NextOccurrence(r.Frequency, r.Interval, d);
        }
        if (DateOf(next) <= day)
            return; // cannot happen with a sound series; never loop on a broken one
        d = next;
    }
}

} // namespace tessaly
