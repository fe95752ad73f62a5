#include "core/diary/alarms.h"

#include "core/diary/diary_state.h"

#include <algorithm>

namespace tessaly {

bool IsAlarmDue(const TReminders& r, TDateTime now) {
    return r.AlarmSet && !r.Completed && CalendarMs(now) >= CalendarMs(r.When);
}

void TAlarmList::Collect(const TEventSource& source, TDateTime now) {
    const int order = OwnerSortOrder(source);
    ForEachEvent(source, [&](const TEventRef& ref, const TReminders& event) {
        if (IsAlarmDue(event, now))
            items_.push_back(TAlarm{ref, SortKey(event, order)});
    });
}

void TAlarmList::Finish(int keepRow) {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const TAlarm& a, const TAlarm& b) { return a.Key < b.Key; });
    selected_ = ClampedRow(std::max(keepRow, 0), Count());
}

void TAlarmList::Scan(const std::vector<TEventSource>& sources, const IClock& clock) {
    const int keep = selected_;
    items_.clear();
    const TDateTime now = clock.Now();
    for (const auto& source : sources)
        Collect(source, now);
    Finish(keep);
}

void TAlarmList::Rescan(const TEventSource& source, const IClock& clock) {
    const int keep = selected_;
    Remove(source.Owner);
    Collect(source, clock.Now());
    Finish(keep);
}

void TAlarmList::Remove(const void* owner) {
    std::erase_if(items_, [owner](const TAlarm& a) { return a.Ref.Owner == owner; });
    selected_ = ClampedRow(selected_, Count());
}

const TAlarm* TAlarmList::At(int i) const {
    return i >= 0 && i < Count() ? &items_[static_cast<std::size_t>(i)] : nullptr;
}

void TAlarmList::Select(int row) {
    selected_ = ClampedRow(row, Count());
}

std::string TAlarmList::Title() const {
    if (Count() == 1)
        return "1 Outstanding Reminder";
    return std::to_string(Count()) + " Outstanding Reminders";
}

} // namespace tessaly
