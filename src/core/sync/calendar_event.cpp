#include "core/sync/calendar_event.h"

#include "core/common/codepage.h"
#include "core/common/hash.h"
#include "core/diary/recurrence.h"
#include "core/ical/ical_events.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

namespace tessaly {

namespace {

constexpr const char* kOwnProperty = "X-TESSALY-EVENT";
// A series without an end runs to the last day the program counts.
constexpr TDateTime kEndless = kNoLaterOccurrence - 1;

std::string DayText(TDateTime day) {
    const TDateParts d = DecodeDate(day);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.Year, d.Month, d.Day);
    return buf;
}

std::string TimeText(const TICalTime& t) {
    char buf[32];
    if (t.IsDate)
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.Year, t.Month, t.Day);
    else
        std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d", t.Year, t.Month, t.Day, t.Hour,
                      t.Minute, t.Second);
    return buf;
}

// Times to the millisecond, as a diary file gives them back.
std::string Ms(TDateTime t) {
    return std::to_string(CalendarMs(t));
}

std::string SeriesOf(const TReminders& e) {
    return Ms(e.When) + '/' + std::to_string(e.Frequency) + '/' + std::to_string(e.Interval) + '/' +
           Ms(DateOf(e.Until));
}

bool IsSeriesLine(const std::string& line) {
    for (const char* name : {"RRULE", "RDATE", "EXDATE", "EXRULE"}) {
        const std::size_t n = std::char_traits<char>::length(name);
        if (line.compare(0, n, name) == 0 && line.size() > n && (line[n] == ':' || line[n] == ';'))
            return true;
    }
    return false;
}

bool StartsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

// The diary's text of a server's text: Windows-1252, at most 255 characters.
std::string DiaryText(const std::string& utf8) {
    TReminders probe;
    probe.SetDescription(Utf8ToCp1252(utf8));
    return std::string(TextValue(probe.Description));
}

// "FREQUENCY=4;INTERVAL=1" as a map of names to numbers.
std::map<std::string, long> OwnValues(const std::string& line) {
    std::map<std::string, long> out;
    std::size_t at = line.find(':');
    while (at != std::string::npos && at + 1 < line.size()) {
        const std::size_t from = at + 1;
        const std::size_t end = line.find(';', from);
        const std::string pair = line.substr(from, end == std::string::npos ? end : end - from);
        const std::size_t eq = pair.find('=');
        if (eq != std::string::npos) {
            long value = 0;
            const char* first = pair.data() + eq + 1;
            const auto r = std::from_chars(first, pair.data() + pair.size(), value);
            if (r.ec == std::errc())
                out[pair.substr(0, eq)] = value;
        }
        at = end;
    }
    return out;
}

TDateTime DayOfNumber(long yyyymmdd) {
    return EncodeDate(static_cast<int>(yyyymmdd / 10000), static_cast<int>(yyyymmdd / 100 % 100),
                      static_cast<int>(yyyymmdd % 100));
}

bool PlausibleDay(long yyyymmdd) {
    const long month = yyyymmdd / 100 % 100;
    const long day = yyyymmdd % 100;
    return yyyymmdd >= 1000101 && yyyymmdd <= 99991231 && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31;
}

// A date-time moved by whole seconds, kept to the millisecond as the program keeps it.
TDateTime AddSeconds(TDateTime at, long long seconds) {
    constexpr long long kDayMs = 86400000;
    const long long ms = CalendarMs(at) + seconds * 1000;
    long long day = ms / kDayMs;
    long long rest = ms % kDayMs;
    if (rest < 0) {
        rest += kDayMs;
        --day;
    }
    return ComposeDateTime(
        static_cast<TDateTime>(day),
        EncodeTime(static_cast<int>(rest / 3600000), static_cast<int>(rest / 60000 % 60),
                   static_cast<int>(rest / 1000 % 60), static_cast<int>(rest % 1000)));
}

} // namespace

TICalCalendar EventCalendar(const TReminders& e, const std::string& uid, const TKeptEvent& kept,
                            TDateTime stampUtc) {
    TICalCalendar calendar;
    calendar.Stamp = ICalDateTime(stampUtc);
    calendar.Stamp.Utc = true;
    TICalEvent event = ICalEventOf(e, uid);
    const std::string description(TextValue(e.Description));
    const std::string notes(TextValue(e.Notes));
    if (!kept.Summary.empty() && DiaryText(kept.Summary) == description)
        event.Summary = kept.Summary;
    if (!kept.Description.empty() && DiaryText(kept.Description) == notes)
        event.Description = kept.Description;
    std::string own = std::string(kOwnProperty) + ":FREQUENCY=" + std::to_string(e.Frequency) +
                      ";INTERVAL=" + std::to_string(e.Interval);
    if (e.Frequency >= kDaily && e.Frequency <= kYearly)
        own += ";UNTIL=" + DayText(DateOf(e.Until));
    own += ";ADVANCE=" + std::to_string(e.AdvanceDays) + ";PRIORITY=" + std::to_string(e.Priority);
    event.Extra.push_back(own);
    const bool sameSeries = kept.Series.empty() || kept.Series == SeriesOf(e);
    for (const std::string& line : kept.Lines)
        if (sameSeries || !IsSeriesLine(line))
            event.Extra.push_back(line);
    event.ExtraComponents = kept.Components;
    for (const std::string& outer : kept.Outer)
        if (sameSeries || outer.find("RECURRENCE-ID") == std::string::npos)
            calendar.Extra.push_back(outer);
    calendar.Events.push_back(std::move(event));
    return calendar;
}

TImportedEvent ImportEvent(const TICalCalendar& calendar) {
    TImportedEvent out;
    if (calendar.Events.empty())
        return out;
    const TICalEvent& v = calendar.Events.front();
    out.Uid = v.Uid;
    TKeptEvent& kept = out.Kept;
    std::map<std::string, long> own;
    for (const std::string& line : v.Extra) {
        if (StartsWith(line, std::string(kOwnProperty) + ":"))
            own = OwnValues(line);
        else
            kept.Lines.push_back(line);
    }
    kept.Components = v.ExtraComponents;
    kept.Outer = calendar.Extra;
    const auto ownValue = [&](const char* name, long fallback) {
        const auto it = own.find(name);
        return it == own.end() ? fallback : it->second;
    };

    auto e = std::make_unique<TReminders>();
    e->When = DateTimeOfICal(v.Start);
    e->NoTime = v.Start.IsDate ? 1 : 0;
    e->SetDescription(Utf8ToCp1252(v.Summary));
    e->SetNotes(Utf8ToCp1252(v.Description));
    if (Cp1252ToUtf8(TextValue(e->Description)) != v.Summary)
        kept.Summary = v.Summary;
    if (Cp1252ToUtf8(TextValue(e->Notes)) != v.Description)
        kept.Description = v.Description;
    const long ownPriority = ownValue("PRIORITY", 5);
    e->Priority =
        static_cast<std::int16_t>(v.Priority >= 1 && v.Priority <= 9
                                      ? v.Priority
                                      : (ownPriority >= 0 && ownPriority <= 99 ? ownPriority : 5));
    e->Completed = v.Completed ? 1 : 0;
    const long advance = ownValue("ADVANCE", 0);
    e->AdvanceDays = static_cast<std::int16_t>(advance >= 0 && advance <= 9999 ? advance : 0);
    if (v.Alarm) {
        e->AlarmSet = 1;
        e->AlarmTime = AddSeconds(e->When, v.AlarmSeconds);
    }
    const long ownFrequency = ownValue("FREQUENCY", kOnceOnly);
    const long ownUntil = ownValue("UNTIL", 0);
    if (v.Rule) {
        e->Frequency = static_cast<std::int16_t>(kDaily + static_cast<int>(v.Rule->Frequency));
        e->Interval = static_cast<std::int16_t>(std::clamp(v.Rule->Interval, 1, 999));
        e->Until = v.Rule->Until.Year == 0 ? kEndless : DateOf(DateTimeOfICal(v.Rule->Until));
        // The rule's own RDATEs: days the series does not give, which the diary cannot hold.
        for (const TICalTime& day : v.Dates)
            kept.Lines.push_back(std::string("RDATE") + (day.IsDate ? ";VALUE=DATE:" : ":") +
                                 TimeText(day));
    } else if (!v.Dates.empty() && ownFrequency >= kDaily && ownFrequency <= kYearly &&
               PlausibleDay(ownUntil)) {
        // A series of ours whose later days went as RDATEs.
        e->Frequency = static_cast<std::int16_t>(ownFrequency);
        e->Interval = static_cast<std::int16_t>(std::clamp<long>(ownValue("INTERVAL", 1), 1, 999));
        e->Until = DayOfNumber(ownUntil);
    } else {
        e->Frequency =
            ownFrequency == kNoteOnly && v.Dates.empty() && !v.Rule ? kNoteOnly : kOnceOnly;
        for (const TICalTime& day : v.Dates)
            kept.Lines.push_back(std::string("RDATE") + (day.IsDate ? ";VALUE=DATE:" : ":") +
                                 TimeText(day));
    }
    // The series' last day at the event's time, as the diary's own events have it.
    e->Until = e->Frequency < kDaily ? e->When : ComposeDateTime(DateOf(e->Until), TimeOf(e->When));
    e->KeepUntilInRange();
    kept.Series = SeriesOf(*e);
    out.Event = std::move(e);
    return out;
}

std::string EventHash(const TReminders& e) {
    std::string text = Ms(e.When) + '|' + Ms(DateOf(e.Until)) + '|' + std::to_string(e.Frequency) +
                       '|' + std::to_string(e.Interval) + '|' + std::to_string(e.NoTime) +
                       std::to_string(e.Completed) + std::to_string(e.AlarmSet) + '|' +
                       (e.AlarmSet ? Ms(e.AlarmTime) : std::string()) + '|' +
                       std::to_string(e.AdvanceDays) + '|' + std::to_string(e.Priority) + '|';
    text += TextValue(e.Description);
    text += '|';
    text += TextValue(e.Notes);
    return Fnv1a64(text);
}

} // namespace tessaly
