#include "core/diary/recurrence.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tessaly {

namespace {

constexpr TDateTime kFirstDay = -693593.0; // 1 January 0001
constexpr TDateTime kLastDay = 2958465.0;  // 31 December 9999
constexpr int kLastYear = 9999;

bool IsSupported(TDateTime t) {
    // Before 1900 the fraction counts forward from midnight of the (negative) day, so
    // the first day reaches down to kFirstDay - 1 exclusive.
    return std::isfinite(t) && t > kFirstDay - 1 && t < kLastDay + 1;
}

std::string WithCount(const char* format, int n) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, n);
    return buf;
}

} // namespace

TDateTime AddMonthsOrYears(TDateTime t, int count, bool years) {
    if (!IsSupported(t))
        return kNoLaterOccurrence;
    const TDateParts p = DecodeDate(t);
    std::int64_t year = p.Year;
    int month = p.Month;
    if (years) {
        year += count;
    } else {
        // Floor division keeps the month in 1..12 for negative counts as well.
        const std::int64_t k = static_cast<std::int64_t>(month - 1) + count;
        const std::int64_t q = k >= 0 ? k / 12 : -((-k + 11) / 12);
        month = static_cast<int>(k - q * 12) + 1;
        year += q;
    }
    if (year > kLastYear)
        return kNoLaterOccurrence;
    if (year < 1)
        year = 1; // only reachable with a negative count, which no event uses
    int day = p.Day;
    while (day > 1 && !IsValidDate(static_cast<int>(year), month, day))
        --day;
    return ComposeDateTime(EncodeDate(static_cast<int>(year), month, day), TimeOf(t));
}

TDateTime NextOccurrence(int frequency, int interval, TDateTime t) {
    if (frequency < kDaily || frequency > kYearly)
        return t;
    if (!IsSupported(t))
        return kNoLaterOccurrence;
    // An interval below 1 can only come from a damaged file; stepping by nothing (or
    // backwards) would never reach a later date.
    const int n = std::max(interval, 1);
    switch (frequency) {
    case kDaily:
    case kWeekly: {
        const TDateTime day =
            DateOf(t) + static_cast<TDateTime>(n) * (frequency == kWeekly ? 7 : 1);
        if (day > kLastDay)
            return kNoLaterOccurrence;
        return ComposeDateTime(day, TimeOf(t));
    }
    case kMonthly:
        return AddMonthsOrYears(t, n, false);
    default:
        return AddMonthsOrYears(t, n, true);
    }
}

namespace {

// Whether stepping `months` at a time from a month keeps day D in every month of the
// cycle (February counted with 28 days, as most years have it).
bool CycleKeepsDay(int month, int months, int day) {
    if (day <= 28)
        return true;
    for (int j = 0; j < 12; ++j) {
        const int m =
            static_cast<int>((month - 1 + static_cast<std::int64_t>(j) * months) % 12) + 1;
        if (DaysInMonth(2001, m) < day)
            return false;
    }
    return true;
}

} // namespace

TDateTime FastForward(int frequency, int interval, TDateTime d, TDateTime target) {
    if (frequency < kDaily || frequency > kYearly || !IsSupported(d) || !IsSupported(target))
        return d;
    const std::int64_t n = std::max(interval, 1);
    const std::int64_t gap = static_cast<std::int64_t>(DateOf(target) - DateOf(d));
    if (frequency == kDaily || frequency == kWeekly) {
        const std::int64_t step = frequency == kWeekly ? 7 * n : n;
        if (gap <= step)
            return d;
        const std::int64_t k = (gap - 1) / step;
        return ComposeDateTime(DateOf(d) + static_cast<TDateTime>(k * step), TimeOf(d));
    }
    const std::int64_t months = frequency == kYearly ? 12 * n : n;
    const TDateParts from = DecodeDate(d);
    const TDateParts to = DecodeDate(target);
    if (!CycleKeepsDay(from.Month, static_cast<int>(months % 12), from.Day))
        return d;
    const std::int64_t start = static_cast<std::int64_t>(from.Year) * 12 + (from.Month - 1);
    const std::int64_t diff = static_cast<std::int64_t>(to.Year) * 12 + (to.Month - 1) - start;
    if (diff <= months)
        return d;
    // The last step whose month is before the target's month: its day is earlier.
    const std::int64_t k = (diff - 1) / months;
    const std::int64_t index = start + k * months;
    const std::int64_t year = index / 12;
    const int month = static_cast<int>(index % 12) + 1;
    if (year > kLastYear || !IsValidDate(static_cast<int>(year), month, from.Day))
        return d;
    return ComposeDateTime(EncodeDate(static_cast<int>(year), month, from.Day), TimeOf(d));
}

std::string RecurrenceText(int frequency, int interval, TDateTime until,
                           const TFormatSettings& fs) {
    std::string text;
    switch (frequency) {
    case kNoteOnly:
        return "Note Only";
    case kOnceOnly:
        return "Once Only";
    case kDaily:
        text = interval == 1 ? "Every Day" : WithCount("Every %d Days", interval);
        break;
    case kWeekly:
        text = interval == 1 ? "Every Week" : WithCount("Every %d Weeks", interval);
        break;
    case kMonthly:
        text = interval == 1 ? "Every Month" : WithCount("Every %d Months", interval);
        break;
    case kYearly:
        text = interval == 1 ? "Every Year" : WithCount("Every %d Years", interval);
        break;
    default:
        return std::string();
    }
    return text + FormatDateTime(" \"until\" ddddd", until, fs);
}

std::string IntervalText(int frequency, int interval) {
    switch (frequency) {
    case kDaily:
        return WithCount("%d Day(s)", interval);
    case kWeekly:
        return WithCount("%d Week(s)", interval);
    case kMonthly:
        return WithCount("%d Month(s)", interval);
    case kYearly:
        return WithCount("%d Year(s)", interval);
    default:
        return std::string();
    }
}

std::string FrequencyName(int frequency) {
    static const char* const kNames[] = {"Note", "Once", "Daily", "Weekly", "Monthly", "Yearly"};
    if (frequency < kNoteOnly || frequency > kYearly)
        return std::string();
    return kNames[frequency];
}

} // namespace tessaly
