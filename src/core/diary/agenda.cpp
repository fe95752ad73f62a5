#include "core/diary/agenda.h"

#include "core/diary/alarms.h"
#include "core/diary/occurrences.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {

namespace {

int EventMinutes(const TReminders& e) {
    if (e.NoTime)
        return -1;
    const TTimeParts t = DecodeTime(e.When);
    return t.Hour * 60 + t.Minute;
}

void SortLines(std::vector<TAgendaLine>& lines) {
    // Stable: lines that agree on all three keep the order of the files and events.
    std::stable_sort(lines.begin(), lines.end(), [](const TAgendaLine& a, const TAgendaLine& b) {
        if (a.Day != b.Day)
            return a.Day < b.Day;
        if (a.Minutes != b.Minutes)
            return a.Minutes < b.Minutes;
        // std::string compares its bytes as unsigned characters.
        return TextValue(a.Event->Description) < TextValue(b.Event->Description);
    });
}

} // namespace

std::vector<TAgendaLine> AgendaLines(const std::vector<TEventSource>& sources, TDateTime first,
                                     TDateTime last) {
    TOccurrenceRange range;
    range.First = DateOf(first);
    range.Last = DateOf(last);
    std::vector<TAgendaLine> lines;
    for (const auto& source : sources)
        ForEachEvent(source, [&](const TEventRef& ref, const TReminders& event) {
            const int minutes = EventMinutes(event);
            ForEachOccurrence(event, range, [&](TDateTime day, bool) {
                lines.push_back(TAgendaLine{day, minutes, &event, ref});
            });
        });
    SortLines(lines);
    return lines;
}

std::vector<TAgendaLine> DueLines(const std::vector<TEventSource>& sources, TDateTime now) {
    std::vector<TAgendaLine> lines;
    for (const auto& source : sources)
        ForEachEvent(source, [&](const TEventRef& ref, const TReminders& event) {
            if (IsAlarmDue(event, now))
                lines.push_back(TAgendaLine{DateOf(event.When), EventMinutes(event), &event, ref});
        });
    SortLines(lines);
    return lines;
}

std::string FormatAgendaLine(const TAgendaLine& line) {
    const TDateParts d = DecodeDate(line.Day);
    char buf[48];
    if (line.Minutes < 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d\t--:--\t", d.Year, d.Month, d.Day);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d\t%02d:%02d\t", d.Year, d.Month, d.Day,
                      line.Minutes / 60, line.Minutes % 60);
    std::string text = buf;
    if (line.Event)
        text += TextValue(line.Event->Description);
    return text;
}

} // namespace tessaly
