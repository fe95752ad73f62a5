#pragma once
// Date-time texts in the pattern language used throughout the program:
//   d dd ddd dddd ddddd dddddd   day, day with zero, short and long day name,
//                                short date format, long date format
//   m mm mmm mmmm                month, month with zero, short and long month name
//                                (m and mm right after an h or hh token are minutes)
//   yy yyyy                      year in two or four digits
//   h hh n nn s ss z zzz         hour, minute, second, millisecond
//   t tt c                       short time, long time, short date and long time
//   am/pm a/p ampm               12-hour clock and its marker
//   / :                          the locale's date and time separators
//   "..." '...'                  literal text
// Letters are case-insensitive; any other character stands for itself.
// Patterns come from the locale (TFormatSettings), which the caller supplies.

#include "core/common/date_time.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

struct TFormatSettings {
    std::string DateSeparator = "/";
    std::string TimeSeparator = ":";
    std::string ShortDateFormat = "dd/mm/yyyy";
    std::string LongDateFormat = "dddd, d mmmm yyyy";
    std::string ShortTimeFormat = "hh:mm";
    std::string LongTimeFormat = "hh:mm:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    // January first.
    std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    // Sunday first, as DayOfWeek counts.
    std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
    // A two-digit year is placed no more than this many years before the current year
    // (0: always in the current century).
    int TwoDigitYearCenturyWindow = 50;
};

// The built-in settings: day/month/year dates, 24-hour times, English names.
const TFormatSettings& DefaultFormatSettings();

// Formats a date-time with a pattern; an empty pattern means "c".
std::string FormatDateTime(std::string_view pattern, TDateTime t,
                           const TFormatSettings& fs = DefaultFormatSettings());

// Reads a date typed in the order of the short date format (day, month and year
// separated by the date separator; the year may be left out or given in two digits,
// both resolved against `today`). Nothing when the text is not a valid date.
std::optional<TDateTime> ParseDate(std::string_view text, const TFormatSettings& fs,
                                   TDateTime today);
// Reads a time of day: hours and minutes, optional seconds and milliseconds, and an
// optional AM/PM marker. Nothing when the text is not a valid time.
std::optional<TDateTime> ParseTime(std::string_view text, const TFormatSettings& fs);
// Reads a date, optionally followed by blanks and a time.
std::optional<TDateTime> ParseDateTime(std::string_view text, const TFormatSettings& fs,
                                       TDateTime today);

} // namespace tessaly
