#include "core/common/date_time.h"

#include <cmath>

namespace tessaly {

namespace {
// Days from 1 January 1970 to 30 December 1899, and from 1 January 0001 to it.
constexpr std::int64_t kUnixToDelphi = 25569;
constexpr std::int64_t kDelta = 693594;
constexpr std::int64_t kMsPerDay = 86400000;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TDateParts CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t y = yoe + era * 400;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2)
        ++y;
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

struct TSplit {
    std::int64_t Day = 0; // whole days, as the value's integral part counts them
    std::int64_t Ms = 0;  // milliseconds of the day, 0 to kMsPerDay - 1
};

// Splits a date-time into its day and its time of day, rounding to the whole
// millisecond first: a value a hair below midnight (or below 10:00) is that moment,
// not the millisecond before it, and its day is the following one.
TSplit Split(TDateTime t) {
    if (!std::isfinite(t))
        return {};
    const double whole = std::trunc(t);
    TSplit s;
    s.Ms = std::llround(std::fabs(t - whole) * kMsPerDay);
    // Beyond year 9999 either way the value is meaningless; keep the arithmetic sane.
    if (t > 3e6 || t < -kDelta)
        return TSplit{0, s.Ms >= kMsPerDay ? 0 : s.Ms};
    s.Day = static_cast<std::int64_t>(whole);
    if (s.Ms >= kMsPerDay) {
        // Midnight of the next calendar day (for negative values too: day -1 is
        // 29 December 1899, day 0 the day after it).
        s.Ms = 0;
        ++s.Day;
    }
    return s;
}

std::int64_t WholeDays(TDateTime t) {
    return Split(t).Day;
}
} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<TDateTime>(DaysFromCivil(year, month, day) + kUnixToDelphi);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    return static_cast<TDateTime>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) /
           kMsPerDay;
}

TDateParts DecodeDate(TDateTime t) {
    return CivilFromDays(WholeDays(t) - kUnixToDelphi);
}

TTimeParts DecodeTime(TDateTime t) {
    std::int64_t ms = Split(t).Ms;
    TTimeParts p;
    p.Millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    p.Second = static_cast<int>(ms % 60);
    ms /= 60;
    p.Minute = static_cast<int>(ms % 60);
    p.Hour = static_cast<int>(ms / 60);
    return p;
}

int DayOfWeek(TDateTime t) {
    // 30 December 1899 was a Saturday.
    const std::int64_t d = WholeDays(t);
    return static_cast<int>(((d % 7) + 7 + 6) % 7) + 1;
}

TDateTime DateOf(TDateTime t) {
    return static_cast<TDateTime>(WholeDays(t));
}

TDateTime TimeOf(TDateTime t) {
    return static_cast<TDateTime>(Split(t).Ms) / kMsPerDay;
}

std::int64_t CalendarMs(TDateTime t) {
    const TSplit s = Split(t);
    return s.Day * kMsPerDay + s.Ms;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

} // namespace tessaly
