#pragma once
// The calendar index: the events of every open book and diary laid out by day, with
// the later occurrences of recurring events, and the day lists built from it for the
// calendar view and the diary window.

#include "core/common/date_format.h"
#include "core/diary/event_source.h"
#include "core/diary/occurrences.h"

#include <string>
#include <vector>

namespace tessaly {

// One item of the index: an event standing on a day, on its own day or as a later
// occurrence.
struct TDayItem {
    TDateTime Day = 0;
    TEventRef Ref;
    bool Later = false;
};

// A row of a day list: the item and the key it is listed under (the event's SortKey,
// with "X" in front for a later occurrence so that these follow the real events of
// the day when the order starts with the date).
struct TDayRow {
    TDayItem Item;
    std::string Key;
};

class TEventIndex {
public:
    // Rebuilds the index from the sources, in their order. The options: "Show
    // Completed" (completed events on their own day), "Show Recurring" (later
    // occurrences) and the range of days.
    void Build(const std::vector<TEventSource>& sources, const TOccurrenceRange& range);
    // Removes the items of one owner; with `include`, adds that owner's items again
    // (after a change to its events). The range is the one of the last Build.
    void Rebuild(const TEventSource& source, bool include);
    void Remove(const void* owner);

    int EventCount() const { return static_cast<int>(items_.size()); }
    // How many distinct days hold at least one item.
    int DayCount() const;
    bool HasEvents(TDateTime day) const;
    // The items of one day, in index order.
    std::vector<TDayItem> ItemsOn(TDateTime day) const;
    // The day list: the items of one day sorted by their keys in `order` (1 priority,
    // 2 time, 3 description); items whose event is gone are left out.
    std::vector<TDayRow> DayRows(TDateTime day, const std::vector<TEventSource>& sources,
                                 int order) const;
    // Every item, ordered by day (within a day in source, entry and event order).
    const std::vector<TDayItem>& Items() const { return items_; }

private:
    void Add(const TEventSource& source);
    void SortByDay();

    std::vector<TDayItem> items_;
    TOccurrenceRange range_;
};

// The range the calendar view indexes while it shows `year`: every event's own day,
// and later occurrences up to 1 March of the following year.
TOccurrenceRange CalendarViewRange(int year, bool showCompleted, bool showRecurring);
// The range of the diary window's list for one day.
TOccurrenceRange DiaryDayRange(const TDiaryData& diary, TDateTime day);

// The days of a month (1 to 31, ascending) on which at least one event falls by its
// own date: the days the diary window's month calendar marks.
std::vector<int> DaysWithEvents(const TRemindersList& events, int year, int month);
// The diary window's list for one day: the diary's events on that day (completed ones
// only with ShowCompleted) and, with ShowRecurring, the later occurrences falling on
// it, sorted by the diary's SortOrder. `owner` names the window in the rows' refs.
std::vector<TDayRow> DiaryDayRows(const TDiaryData& diary, const void* owner, TDateTime day);

// The bitmap of a row's icon column: "ActedBMP" for a completed event; for a
// scheduled event on its own day by ReminderStatus on `today` ("Alert1" overdue,
// "Alert2" due today, "Alert3" pending; none otherwise or when the column is 20
// pixels wide or narrower); "RecurBMP" for a later occurrence; "NoteBMP" for a note.
std::string RowIcon(const TReminders& event, bool later, TDateTime today, int iconColumnWidth);
// "AlarmBMP" at the right end of a row whose alarm is set and which is not completed.
bool RowShowsAlarm(const TReminders& event);
// The small icons of a month-tab cell, in their order: "Alert" (a scheduled event
// without alarm), "AlarmBMP" (an event with an alarm), "NoteBMP", "ActedBMP" and
// "RecurBMP" (a later occurrence), each once when the day holds such an item.
std::vector<std::string> MonthCellIcons(const std::vector<TDayItem>& items,
                                        const std::vector<TEventSource>& sources);

// " No Events for ", " 1 Event for " or " %d Events for ", then the long date.
std::string DayCountText(int count, TDateTime day,
                         const TFormatSettings& fs = DefaultFormatSettings());
// "Entries for this Date: %d".
std::string EntriesForDateText(int count);

} // namespace tessaly
