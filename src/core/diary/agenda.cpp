#include "core/diary/agenda.h"

#include "core/diary/alarms.h"
#include "core/diary/occurrences.h"

#include <algorithm>

namespace tessaly {

namespace {

int EventMinutes(const TReminders& e) {
    if (e.NoTime)
        return -1;
    const TTimeParts t = DecodeTime(e.When);
    return t.Hour * 60 + t.Minute;
}

std::size_t CountEvents(const std::vector<TEventSource>& sources) {
    std::size_t count = 0;
    for (const auto& source : sources) {
        if (source.Diary)
            count += static_cast<std::size_t>(source.Diary->Events.Count());
        if (source.Book)
            for (const auto& entry : source.Book->Entries)
                if (entry)
                    count += static_cast<std::size_t>(entry->Reminders.Count());
    }
    return count;
}

void SortLines(std::vector<TAgendaLine>& lines) {
    // Sorted through a compact order of keys and positions: the day and the minute in
    // one number, the description only where those agree, the position (file order)
    // last, which also keeps the sort stable.
    struct TKey {
        std::int64_t When;
        std::uint32_t Index;
    };
    std::vector<TKey> keys(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        keys[i] = TKey{static_cast<std::int64_t>(lines[i].Day) * 2048 + lines[i].Minutes + 1,
                       static_cast<std::uint32_t>(i)};
    std::sort(keys.begin(), keys.end(), [&lines](const TKey& a, const TKey& b) {
        if (a.When != b.When)
            return a.When < b.When;
        // std::string compares its bytes as unsigned characters.
        const int c = TextValue(lines[a.Index].Event->Description)
                          .compare(TextValue(lines[b.Index].Event->Description));
        return c != 0 ? c < 0 : a.Index < b.Index;
    });
    std::vector<TAgendaLine> sorted;
    sorted.reserve(lines.size());
    for (const TKey& k : keys)
        sorted.push_back(lines[k.Index]);
    lines = std::move(sorted);
}

} // namespace

std::vector<TAgendaLine> AgendaLines(const std::vector<TEventSource>& sources, TDateTime first,
                                     TDateTime last) {
    TOccurrenceRange range;
    range.First = DateOf(first);
    range.Last = DateOf(last);
    std::vector<TAgendaLine> lines;
    lines.reserve(2 * CountEvents(sources));
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

namespace {

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<std::size_t>(width));
}

void AppendDate(std::string& out, TDateTime day) {
    const TDateParts d = DecodeDate(day);
    AppendDigits(out, d.Year, 4);
    out += '-';
    AppendDigits(out, d.Month, 2);
    out += '-';
    AppendDigits(out, d.Day, 2);
    out += '\t';
}

// The time and the description.
void AppendRest(std::string& out, const TAgendaLine& line) {
    if (line.Minutes < 0) {
        out += "--:--";
    } else {
        AppendDigits(out, line.Minutes / 60, 2);
        out += ':';
        AppendDigits(out, line.Minutes % 60, 2);
    }
    out += '\t';
    if (line.Event)
        out += TextValue(line.Event->Description);
}

} // namespace

std::string FormatAgendaLine(const TAgendaLine& line) {
    std::string text;
    AppendDate(text, line.Day);
    AppendRest(text, line);
    return text;
}

void AppendAgendaLines(std::string& out, const std::vector<TAgendaLine>& lines) {
    out.reserve(out.size() + lines.size() * 40);
    // Lines come by day: each day's date is written out once and copied after.
    std::string date;
    TDateTime day = -1e9;
    for (const auto& line : lines) {
        if (line.Day != day) {
            day = line.Day;
            date.clear();
            AppendDate(date, day);
        }
        out += date;
        AppendRest(out, line);
        out += '\n';
    }
}

} // namespace tessaly
