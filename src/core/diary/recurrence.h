#pragma once
// Recurrence of reminder events: how an event steps to its next date, and how its
// frequency and interval read in the windows and in prints.

#include "core/common/date_format.h"
#include "core/common/date_time.h"

#include <string>

namespace tessaly {

// Frequencies of an event.
constexpr int kNoteOnly = 0;
constexpr int kOnceOnly = 1;
constexpr int kDaily = 2;
constexpr int kWeekly = 3;
constexpr int kMonthly = 4;
constexpr int kYearly = 5;

// A moment after every supported date (1 January 10000): the "next occurrence" of an
// event whose next date would fall beyond 31 December 9999, or whose own date-time is
// outside years 1 to 9999. It is later than any sound repeat-until date, so such an
// event simply has no later occurrence.
constexpr TDateTime kNoLaterOccurrence = 2958466.0;

// The date `interval` days, weeks, months or years after t, at the same time of day.
// Months and years keep the day of the month, lowered to the month's last day when it
// does not exist there. Frequencies other than daily to yearly give t unchanged; an
// interval below 1 counts as 1.
TDateTime NextOccurrence(int frequency, int interval, TDateTime t);

// The calendar step of monthly and yearly events: Y/M/D plus `count` months (or years),
// with the day lowered until the date exists; the time of day is kept. Gives
// kNoLaterOccurrence beyond the year 9999.
TDateTime AddMonthsOrYears(TDateTime t, int count, bool years);

// A jump along the occurrences of a recurring event: the latest occurrence of the
// series through `d` (stepping from d by NextOccurrence) whose day lies before the day
// of `target`, when it can be reached in one step of arithmetic without changing the
// series; else d itself. Daily and weekly series always jump; monthly and yearly ones
// when the day of the month can never be lowered on the way (a day up to 28, or
// months in the cycle that all have that day).
TDateTime FastForward(int frequency, int interval, TDateTime d, TDateTime target);

// "Every 2 Weeks until 31/12/1998", "Once Only", ...; empty for an unknown frequency.
std::string RecurrenceText(int frequency, int interval, TDateTime until,
                           const TFormatSettings& fs = DefaultFormatSettings());
// "3 Day(s)" ... "3 Year(s)" for the recurring frequencies, else empty.
std::string IntervalText(int frequency, int interval);
// "Note", "Once", "Daily", "Weekly", "Monthly", "Yearly"; empty for anything else.
std::string FrequencyName(int frequency);

} // namespace tessaly
