#pragma once
// TReminders: one diary event or one reminder of an address-book entry, with its
// owning list. The same bytes stand in diary files and inside book files.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/common/text.h"
#include "core/diary/recurrence.h"
#include "core/store/my_list.h"
#include "core/system/clock.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tessaly {

// The values a new event is made from, as the user typed them: dates in the short
// date format, times in the time format.
struct TReminderValues {
    std::string DateText;
    std::string TimeText;
    std::string UntilText;
    int Priority = 5;
    int AdvanceDays = 0;
    int Frequency = kOnceOnly;
    int Interval = 1;
    bool NoTime = false;
    bool AlarmSet = false;
    std::string AlarmDateText;
    std::string AlarmTimeText;
    std::string Description;
    std::string Notes;
};

class TReminders {
public:
    TDateTime AlarmTime = 0;
    TDateTime When = 0;
    TDateTime Until = 0;
    std::uint8_t Completed = 0;
    std::uint8_t AlarmSet = 0;
    std::uint8_t NoTime = 0;
    std::int16_t Frequency = 0; // 0 note only, 1 once, 2 daily, 3 weekly, 4 monthly, 5 yearly
    std::int16_t Interval = 1;
    std::int16_t AdvanceDays = 0;
    std::int16_t Priority = 5;
    Text Description = std::string();
    Text Notes = std::string();

    // Descriptions and notes hold at most 255 characters.
    void SetDescription(const std::string& s);
    void SetNotes(const std::string& s);

    // An event made from typed values: `When` is the date and time texts, `Until` the
    // until date with the same time, `AlarmTime` the alarm date and time when the alarm
    // is set (else 0). Nothing when any of these texts is not a date or time.
    static std::unique_ptr<TReminders> Create(const TReminderValues& v, const TFormatSettings& fs,
                                              TDateTime today);

    // A repeat-until day before the event's own day means "until the event": Until
    // becomes When. The days are compared both as held and as a file gives them back,
    // so that an event brought into range reads back unchanged.
    void KeepUntilInRange();

    static std::unique_ptr<TReminders> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;

    bool operator==(const TReminders&) const = default;
};

// Urgency of one reminder on `today` (whole days): -1 overdue, 0 due today,
// 1 inside its advance warning, 2 otherwise (and always for completed events and notes).
int ReminderStatus(const TReminders& r, TDateTime today);

// The key events are sorted by in event lists: order 1 priority, 2 date and time,
// 3 description, 4 date, priority and time. Completed events sort after the open ones
// of their day whenever the order starts with the date.
std::string SortKey(const TReminders& r, int order);

// Whether a later occurrence of a recurring event falls on `day`; the event's own day
// does not count.
bool OccursOn(const TReminders& r, TDateTime day);

// The selection of prints: the event's day within first..last (unless allDates), and
// not completed (unless includeCompleted).
bool InDateRange(const TReminders& r, bool allDates, bool includeCompleted, TDateTime first,
                 TDateTime last);

// The event's interval with its unit, "2 Week(s)"; empty for notes and once-only events.
std::string IntervalText(const TReminders& r);

class TRemindersList : public TMyList<TReminders> {
public:
    using TMyList<TReminders>::Add;
    // Appends an event made from typed values; nothing (and no change) when a text
    // does not parse.
    TReminders* Add(const TReminderValues& v, const TFormatSettings& fs, TDateTime today);

    // Readers by index. Out of range they give a neutral value instead of failing.
    TReminders* Item(int i) const { return At(i); }
    std::string Description(int i) const;
    std::string Notes(int i) const;
    bool Completed(int i) const;
    bool AlarmSet(int i) const;
    bool NoTime(int i) const;
    int Interval(int i) const;
    int Priority(int i) const;
    int Frequency(int i) const;
    // The current date and time when out of range.
    TDateTime When(int i, const IClock& clock) const;
    TDateTime Until(int i, const IClock& clock) const;
    // 2 (nothing to warn about) when out of range.
    int ReminderStatus(int i, TDateTime today) const;

    // The first event whose `When` falls on `day`, or -1.
    int IndexOfDay(TDateTime day) const;
};

} // namespace tessaly
