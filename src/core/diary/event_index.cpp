#include "core/diary/event_index.h"

#include <algorithm>

namespace tessaly {

void TEventIndex::Build(const std::vector<TEventSource>& sources, const TOccurrenceRange& range) {
    items_.clear();
    range_ = range;
    for (const auto& source : sources)
        Add(source);
    SortByDay();
}

void TEventIndex::Remove(const void* owner) {
    std::erase_if(items_, [owner](const TDayItem& i) { return i.Ref.Owner == owner; });
}

void TEventIndex::Rebuild(const TEventSource& source, bool include) {
    Remove(source.Owner);
    if (!include)
        return;
    Add(source);
    SortByDay();
}

void TEventIndex::Add(const TEventSource& source) {
    ForEachEvent(source, [this](const TEventRef& ref, const TReminders& event) {
        ForEachOccurrence(event, range_, [&](TDateTime day, bool later) {
            items_.push_back(TDayItem{day, ref, later});
        });
    });
}

void TEventIndex::SortByDay() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const TDayItem& a, const TDayItem& b) { return a.Day < b.Day; });
}

int TEventIndex::DayCount() const {
    int days = 0;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (i == 0 || items_[i].Day != items_[i - 1].Day)
            ++days;
    return days;
}

bool TEventIndex::HasEvents(TDateTime day) const {
    const TDateTime d = DateOf(day);
    const auto it = std::lower_bound(items_.begin(), items_.end(), d,
                                     [](const TDayItem& i, TDateTime v) { return i.Day < v; });
    return it != items_.end() && it->Day == d;
}

std::vector<TDayItem> TEventIndex::ItemsOn(TDateTime day) const {
    const TDateTime d = DateOf(day);
    const auto [first, last] =
        std::equal_range(items_.begin(), items_.end(), TDayItem{d, {}, false},
                         [](const TDayItem& a, const TDayItem& b) { return a.Day < b.Day; });
    return std::vector<TDayItem>(first, last);
}

std::vector<TDayRow> TEventIndex::DayRows(TDateTime day, const std::vector<TEventSource>& sources,
                                          int order) const {
    std::vector<TDayRow> rows;
    for (const TDayItem& item : ItemsOn(day)) {
        const TReminders* event = ResolveEvent(sources, item.Ref);
        if (!event)
            continue;
        const std::string key = SortKey(*event, order);
        rows.push_back(TDayRow{item, item.Later ? "X" + key : key});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TDayRow& a, const TDayRow& b) { return a.Key < b.Key; });
    return rows;
}

TOccurrenceRange CalendarViewRange(int year, bool showCompleted, bool showRecurring) {
    TOccurrenceRange range;
    range.LaterLast = EncodeDate(std::clamp(year + 1, 1, 9999), 3, 1);
    range.IncludeCompleted = showCompleted;
    range.IncludeRecurring = showRecurring;
    return range;
}

TOccurrenceRange DiaryDayRange(const TDiaryData& diary, TDateTime day) {
    TOccurrenceRange range;
    range.First = range.Last = DateOf(day);
    range.IncludeCompleted = diary.ShowCompleted != 0;
    range.IncludeRecurring = diary.ShowRecurring != 0;
    return range;
}

std::vector<int> DaysWithEvents(const TRemindersList& events, int year, int month) {
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        return {};
    const TDateTime first = EncodeDate(year, month, 1);
    const TDateTime last = first + DaysInMonth(year, month) - 1;
    std::vector<bool> marked(32, false);
    for (int i = 0; i < events.Count(); ++i) {
        const TDateTime day = DateOf(events.At(i)->When);
        if (day >= first && day <= last)
            marked[static_cast<std::size_t>(day - first) + 1] = true;
    }
    std::vector<int> days;
    for (int d = 1; d <= 31; ++d)
        if (marked[static_cast<std::size_t>(d)])
            days.push_back(d);
    return days;
}

std::vector<TDayRow> DiaryDayRows(const TDiaryData& diary, const void* owner, TDateTime day) {
    const std::vector<TEventSource> sources{TEventSource{owner, nullptr, &diary}};
    TEventIndex index;
    index.Build(sources, DiaryDayRange(diary, day));
    return index.DayRows(day, sources, diary.SortOrder);
}

std::string RowIcon(const TReminders& event, bool later, TDateTime today, int iconColumnWidth) {
    if (event.Completed)
        return "ActedBMP";
    if (event.Frequency == kNoteOnly)
        return "NoteBMP";
    if (later)
        return "RecurBMP";
    if (iconColumnWidth <= 20)
        return std::string();
    switch (ReminderStatus(event, today)) {
    case -1:
        return "Alert1";
    case 0:
        return "Alert2";
    case 1:
        return "Alert3";
    default:
        return std::string();
    }
}

bool RowShowsAlarm(const TReminders& event) {
    return event.AlarmSet && !event.Completed;
}

std::vector<std::string> MonthCellIcons(const std::vector<TDayItem>& items,
                                        const std::vector<TEventSource>& sources) {
    bool alert = false, alarm = false, note = false, acted = false, recur = false;
    for (const TDayItem& item : items) {
        const TReminders* e = ResolveEvent(sources, item.Ref);
        if (!e)
            continue;
        if (item.Later)
            recur = true;
        if (e->Completed)
            acted = true;
        else if (e->Frequency == kNoteOnly)
            note = true;
        else if (e->AlarmSet)
            alarm = true;
        else
            alert = true;
    }
    std::vector<std::string> icons;
    if (alert)
        icons.emplace_back("Alert");
    if (alarm)
        icons.emplace_back("AlarmBMP");
    if (note)
        icons.emplace_back("NoteBMP");
    if (acted)
        icons.emplace_back("ActedBMP");
    if (recur)
        icons.emplace_back("RecurBMP");
    return icons;
}

std::string DayCountText(int count, TDateTime day, const TFormatSettings& fs) {
    std::string text;
    if (count == 0)
        text = " No Events for ";
    else if (count == 1)
        text = " 1 Event for ";
    else
        text = " " + std::to_string(count) + " Events for ";
    return text + FormatDateTime("dddddd", day, fs);
}

std::string EntriesForDateText(int count) {
    return "Entries for this Date: " + std::to_string(count);
}

} // namespace tessaly
