#include "cli/ical_export.h"

#include "cli/commands.h"
#include "core/common/codepage.h"
#include "core/diary/occurrences.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

// Defined by the writer (ical/ical_writer.cpp) where it is linked in; null otherwise.
extern "C" void tessaly_write_icalendar(const tessaly::TICalCalendar* calendar, std::string* text)
    __attribute__((weak));

namespace tessaly {

namespace {

// Set for the program the ical command is handed over to.
constexpr const char* kHandedOver = "TESSALY_ICAL_HANDED_OVER";

TICalTime DateValue(TDateTime day) {
    const TDateParts d = DecodeDate(day);
    TICalTime t;
    t.Year = d.Year;
    t.Month = d.Month;
    t.Day = d.Day;
    t.IsDate = true;
    return t;
}

// A floating local date-time (no time zone), as the program keeps its times.
TICalTime DateTimeValue(TDateTime at) {
    TICalTime t = DateValue(at);
    const TTimeParts p = DecodeTime(at);
    t.IsDate = false;
    t.Hour = p.Hour;
    t.Minute = p.Minute;
    t.Second = p.Second;
    return t;
}

TICalTime StartOf(const TReminders& e, TDateTime day) {
    return e.NoTime ? DateValue(day) : DateTimeValue(ComposeDateTime(day, TimeOf(e.When)));
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

void AddRecurrence(TICalEvent& event, const TReminders& e, const TICalOptions& options) {
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
        rule.Until = e.NoTime ? DateValue(until) : DateTimeValue(until + EncodeTime(23, 59, 59));
        event.Rule = rule;
        return;
    }
    for (const TDateTime day : later)
        event.Dates.push_back(StartOf(e, day));
}

bool StandsInRange(const TReminders& e, const TICalOptions& options) {
    if (!options.From && !options.To)
        return true;
    TOccurrenceRange range;
    if (options.From)
        range.First = DateOf(*options.From);
    if (options.To)
        range.Last = DateOf(*options.To);
    bool found = false;
    ForEachOccurrence(e, range, [&found](TDateTime, bool) { found = true; });
    return found;
}

std::string Uid(std::size_t source, const TEventRef& ref) {
    return "tessaly-" + std::to_string(source) + "-" + std::to_string(ref.Entry + 1) + "-" +
           std::to_string(ref.Event) + "@localhost";
}

TICalEvent EventOf(const TReminders& e, const std::string& uid, const TICalOptions& options) {
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

} // namespace

TICalCalendar ICalendarOf(const std::vector<TEventSource>& sources, const TICalOptions& options) {
    TICalCalendar calendar;
    calendar.Stamp = DateTimeValue(options.Stamp);
    calendar.Stamp.Utc = true;
    for (std::size_t s = 0; s < sources.size(); ++s)
        ForEachEvent(sources[s], [&](const TEventRef& ref, const TReminders& e) {
            if (StandsInRange(e, options))
                calendar.Events.push_back(EventOf(e, Uid(s, ref), options));
        });
    return calendar;
}

TICalWriter LinkedICalWriter() {
    return &tessaly_write_icalendar;
}

std::string RunICalProgram(char** argv) {
    return RunProgramBeside(kICalProgramName, kHandedOver, argv);
}

} // namespace tessaly
