#include "core/ical/ical_events.h"

#include "core/common/codepage.h"
#include "core/diary/occurrences.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace tessaly {

TICalTime ICalDate(TDateTime day) {
    const TDateParts d = DecodeDate(day);
    TICalTime t;
    t.Year = d.Year;
    t.Month = d.Month;
    t.Day = d.Day;
    t.IsDate = true;
    return t;
}

// A floating local date-time (no time zone), as the program keeps its times.
TICalTime ICalDateTime(TDateTime at) {
    TICalTime t = ICalDate(at);
    const TTimeParts p = DecodeTime(at);
    t.IsDate = false;
    t.Hour = p.Hour;
    t.Minute = p.Minute;
    t.Second = p.Second;
    return t;
}

TDateTime UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    return EncodeDate(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday) +
           EncodeTime(utc.tm_hour, utc.tm_min, utc.tm_sec);
}

TDateTime DateTimeOfICal(const TICalTime& t) {
    const TDateTime day = EncodeDate(t.Year, t.Month, t.Day);
    return t.IsDate ? day : ComposeDateTime(day, EncodeTime(t.Hour, t.Minute, t.Second));
}

namespace {

TICalTime StartOf(const TReminders& e, TDateTime day) {
    return e.NoTime ? ICalDate(day) : ICalDateTime(ComposeDateTime(day, TimeOf(e.When)));
}

// The series' own rule expands to the same days when the day of the month is never
// lowered on the way: every later occurrence keeps the event's own day.
bool KeepsDayOfMonth(const TReminders& e, TDateTime until) {
    if (e.Frequency == kDaily || e.Frequency == kWeekly)
        return true;
    const int day = DecodeDate(e.When).Day;
    if (day <= 28)
        return true;
    bool keeps = true;
    TOccurrenceRange range;
    range.Last = until;
    ForEachOccurrence(e, range, [&](TDateTime d, bool later) {
        if (later && DecodeDate(d).Day != day)
            keeps = false;
    });
    return keeps;
}

void AddRecurrence(TICalEvent& event, const TReminders& e, const TICalRange& options) {
    if (e.Completed || e.Frequency < kDaily || e.Frequency > kYearly)
        return;
    TDateTime until = DateOf(e.Until);
    if (options.To)
        until = std::min(until, DateOf(*options.To));
    std::vector<TDateTime> later;
    TOccurrenceRange range;
    range.Last = until;
    if (options.From)
        range.First = DateOf(*options.From);
    ForEachOccurrence(e, range, [&](TDateTime d, bool isLater) {
        if (isLater)
            later.push_back(d);
    });
    if (later.empty())
        return;
    if (KeepsDayOfMonth(e, until)) {
        static const TICalFrequency kFrequencies[] = {TICalFrequency::Daily, TICalFrequency::Weekly,
                                                      TICalFrequency::Monthly,
                                                      TICalFrequency::Yearly};
        TICalRule rule;
        rule.Frequency = kFrequencies[e.Frequency - kDaily];
        rule.Interval = static_cast<short>(std::max<int>(e.Interval, 1));
        // Without a time the rule ends on its last day; with one, at that day's last
        // second, so the last day counts whatever the time.
        rule.Until = e.NoTime ? ICalDate(until) : ICalDateTime(until + EncodeTime(23, 59, 59));
        event.Rule = rule;
        return;
    }
    for (const TDateTime day : later)
        event.Dates.push_back(StartOf(e, day));
}

} // namespace

TICalEvent ICalEventOf(const TReminders& e, const std::string& uid, const TICalRange& options) {
    TICalEvent event;
    event.Uid = uid;
    event.Start = StartOf(e, DateOf(e.When));
    event.Summary = Cp1252ToUtf8(TextValue(e.Description));
    event.Description = Cp1252ToUtf8(TextValue(e.Notes));
    event.Priority = e.Priority >= 1 && e.Priority <= 9 ? e.Priority : 0;
    event.Completed = e.Completed != 0;
    AddRecurrence(event, e, options);
    if (e.AlarmSet) {
        event.Alarm = true;
        const long long ms = CalendarMs(e.AlarmTime) - CalendarMs(e.When);
        event.AlarmSeconds = static_cast<int>(ms / 1000);
    }
    return event;
}

} // namespace tessaly
