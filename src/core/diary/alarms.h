#pragma once
// The alarm list: the reminders of every open book and diary whose alarm is due,
// sorted by their owners' sort keys, as the alarm window shows them.

#include "core/diary/event_source.h"
#include "core/system/clock.h"

#include <string>
#include <vector>

namespace tessaly {

// Due: the alarm is set, the reminder is not completed, and `now` is not before its
// When (compared to the millisecond).
bool IsAlarmDue(const TReminders& r, TDateTime now);

// One item of the alarm list; it refers to the reminder, it does not own it.
struct TAlarm {
    TEventRef Ref;
    std::string Key; // SortKey in the owner's reminder sort order
};

class TAlarmList {
public:
    // ScanAlarms: empties the list and collects the due reminders of every source at
    // the clock's time; the selected row is kept, clamped to the new list.
    void Scan(const std::vector<TEventSource>& sources, const IClock& clock);
    // RescanAlarms: the same for one owner, after removing its items.
    void Rescan(const TEventSource& source, const IClock& clock);
    // Drops the items of an owner (its window closed or its data was replaced).
    void Remove(const void* owner);

    int Count() const { return static_cast<int>(items_.size()); }
    const TAlarm* At(int i) const;
    // The selected row, -1 when the list is empty.
    int Selected() const { return selected_; }
    void Select(int row);
    // The alarm window is shown only while the list holds something.
    bool Visible() const { return !items_.empty(); }
    // "1 Outstanding Reminder" or "%d Outstanding Reminders".
    std::string Title() const;

private:
    void Collect(const TEventSource& source, TDateTime now);
    void Finish(int keepRow);

    std::vector<TAlarm> items_;
    int selected_ = -1;
};

} // namespace tessaly
