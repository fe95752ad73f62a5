#pragma once
// Date-times are doubles counting days since 30 December 1899; the fraction is the
// time of day. These helpers convert between that form and calendar values.

#include <cstdint>

namespace tessaly {

using TDateTime = double;

struct TDateParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
};

struct TTimeParts {
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);
// Whole days since 30 December 1899 for a valid date (years 1 to 9999).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
// The calendar date of the whole-day part. Before 30 December 1899 the value is
// negative and its fraction still counts forward from midnight: -1.25 is
// 29 December 1899 at 06:00.
TDateParts DecodeDate(TDateTime t);
TTimeParts DecodeTime(TDateTime t);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime t);
// Every split of a date-time into date and time rounds it to the whole millisecond
// first, so that 10:00 stored as 0.41666666666666663 is 10:00 and a value a hair
// below midnight is midnight of the next day.
// The whole-day part (the value truncated toward zero after that rounding).
TDateTime DateOf(TDateTime t);
// The time-of-day fraction in whole milliseconds, always in [0, 1).
TDateTime TimeOf(TDateTime t);
// Milliseconds since 30 December 1899 in calendar order (negative before it): the
// way two date-times are compared to the millisecond.
std::int64_t CalendarMs(TDateTime t);
// A date plus a time of day, following the sign convention above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

} // namespace tessaly
