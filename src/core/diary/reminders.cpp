#include "core/diary/reminders.h"

#include "core/diary/occurrences.h"

#include <cmath>
#include <cstdio>

namespace tessaly {

void TReminders::SetDescription(const std::string& s) {
    Description = CutShort(s);
}

void TReminders::SetNotes(const std::string& s) {
    Notes = CutShort(s);
}

std::unique_ptr<TReminders> TReminders::Create(const TReminderValues& v, const TFormatSettings& fs,
                                               TDateTime today) {
    const auto when = ParseDateTime(v.DateText + " " + v.TimeText, fs, today);
    const auto until = ParseDateTime(v.UntilText + " " + v.TimeText, fs, today);
    if (!when || !until)
        return nullptr;
    std::optional<TDateTime> alarm = 0.0;
    if (v.AlarmSet)
        alarm = ParseDateTime(v.AlarmDateText + " " + v.AlarmTimeText, fs, today);
    if (!alarm)
        return nullptr;
    auto e = std::make_unique<TReminders>();
    e->When = *when;
    e->Until = *until;
    e->AlarmTime = *alarm;
    e->Completed = 0;
    e->AlarmSet = v.AlarmSet ? 1 : 0;
    e->NoTime = v.NoTime ? 1 : 0;
    e->Frequency = static_cast<std::int16_t>(v.Frequency);
    e->Interval = static_cast<std::int16_t>(v.Interval);
    e->AdvanceDays = static_cast<std::int16_t>(v.AdvanceDays);
    e->Priority = static_cast<std::int16_t>(v.Priority);
    e->SetDescription(v.Description);
    e->SetNotes(v.Notes);
    return e;
}

void TReminders::KeepUntilInRange() {
    const auto throughFile = [](TDateTime t) { return (t + kBookDateOffset) - kBookDateOffset; };
    if (DateOf(Until) < DateOf(When) || DateOf(throughFile(Until)) < DateOf(throughFile(When)))
        Until = When;
}

std::unique_ptr<TReminders> TReminders::Read(TStreamReader& r, int version) {
    auto e = std::make_unique<TReminders>();
    e->When = r.ReadDateTime();
    e->Until = r.ReadDateTime();
    const TDateTime until = e->Until;
    e->KeepUntilInRange();
    if (e->Until != until)
        r.NoteAlteredRead();
    e->Completed = r.ReadByte();
    e->Frequency = r.ReadInt16();
    e->Interval = r.ReadInt16();
    e->AdvanceDays = r.ReadInt16();
    e->AlarmSet = r.ReadByte();
    if (version >= 13) {
        e->NoTime = r.ReadByte();
        e->AlarmTime = r.ReadDateTime();
    } else {
        e->NoTime = e->AlarmSet ? 0 : 1;
        e->AlarmTime = e->When;
    }
    // An event's texts are kept by a reader that wants only a book's events.
    const TKeepTexts keep(r);
    r.ReadTextInto(e->Description);
    if (version >= 1) {
        r.ReadTextInto(e->Notes);
        e->Priority = r.ReadInt16();
    } else {
        e->Notes = std::string();
        e->Priority = 0;
    }
    return e;
}

void TReminders::Write(TStreamWriter& w, int /*version*/) const {
    // Always the current layout, whatever version the record was read with.
    w.WriteDateTime(When);
    w.WriteDateTime(Until);
    w.WriteByte(Completed);
    w.WriteInt16(Frequency);
    w.WriteInt16(Interval);
    w.WriteInt16(AdvanceDays);
    w.WriteByte(AlarmSet);
    w.WriteByte(NoTime);
    w.WriteDateTime(AlarmTime);
    w.WriteText(Description);
    w.WriteText(Notes);
    w.WriteInt16(Priority);
}

int ReminderStatus(const TReminders& r, TDateTime today) {
    if (r.Completed || r.Frequency == kNoteOnly)
        return 2;
    const TDateTime day = DateOf(r.When);
    const TDateTime now = DateOf(today);
    if (day < now)
        return -1;
    if (day == now)
        return 0;
    if (now + r.AdvanceDays >= day)
        return 1;
    return 2;
}

std::string SortKey(const TReminders& r, int order) {
    const TDateParts d = DecodeDate(r.When);
    const int p = r.Completed ? 10 : r.Priority;
    const int h = r.Completed ? 99 : r.NoTime ? 0 : DecodeTime(r.When).Hour;
    const int f = r.Frequency >= kOnceOnly ? 96 : 97;
    const std::string_view description = TextValue(r.Description);
    char buf[80];
    std::string key;
    switch (order) {
    case 2:
        std::snprintf(buf, sizeof buf, "%2d%2d%2d%2d%2d%2d", d.Year, d.Month, d.Day, h, f, p);
        key.assign(buf).append(description);
        break;
    case 3:
        std::snprintf(buf, sizeof buf, "%2d%2d%2d%2d%2d%2d", d.Year, d.Month, d.Day, p, h, f);
        key.assign(description).append(buf);
        break;
    case 4:
        std::snprintf(buf, sizeof buf, "%2d%2d%2d%2d%2d%2d", d.Year, d.Month, d.Day, p, h, f);
        key.assign(buf).append(description);
        break;
    default:
        // Order 1, and any order a damaged file may name.
        std::snprintf(buf, sizeof buf, "%2d%2d%2d%2d%2d%2d", p, d.Year, d.Month, d.Day, h, f);
        key.assign(buf).append(description);
        break;
    }
    return CutShort(key);
}

bool OccursOn(const TReminders& r, TDateTime day) {
    TOccurrenceRange range;
    range.First = range.Last = DateOf(day);
    bool found = false;
    ForEachOccurrence(r, range, [&found](TDateTime, bool later) { found = found || later; });
    return found;
}

bool InDateRange(const TReminders& r, bool allDates, bool includeCompleted, TDateTime first,
                 TDateTime last) {
    if (!allDates) {
        const TDateTime day = DateOf(r.When);
        if (day < DateOf(first) || day > DateOf(last))
            return false;
    }
    return includeCompleted || !r.Completed;
}

std::string IntervalText(const TReminders& r) {
    return IntervalText(r.Frequency, r.Interval);
}

TReminders* TRemindersList::Add(const TReminderValues& v, const TFormatSettings& fs,
                                TDateTime today) {
    auto e = TReminders::Create(v, fs, today);
    return e ? Add(std::move(e)) : nullptr;
}

std::string TRemindersList::Description(int i) const {
    const TReminders* e = At(i);
    return e ? e->Description.str() : std::string();
}

std::string TRemindersList::Notes(int i) const {
    const TReminders* e = At(i);
    return e ? e->Notes.str() : std::string();
}

bool TRemindersList::Completed(int i) const {
    const TReminders* e = At(i);
    return e && e->Completed;
}

bool TRemindersList::AlarmSet(int i) const {
    const TReminders* e = At(i);
    return e && e->AlarmSet;
}

bool TRemindersList::NoTime(int i) const {
    const TReminders* e = At(i);
    return e && e->NoTime;
}

int TRemindersList::Interval(int i) const {
    const TReminders* e = At(i);
    return e ? e->Interval : -1;
}

int TRemindersList::Priority(int i) const {
    const TReminders* e = At(i);
    return e ? e->Priority : -1;
}

int TRemindersList::Frequency(int i) const {
    const TReminders* e = At(i);
    return e ? e->Frequency : -1;
}

TDateTime TRemindersList::When(int i, const IClock& clock) const {
    const TReminders* e = At(i);
    return e ? e->When : clock.Now();
}

TDateTime TRemindersList::Until(int i, const IClock& clock) const {
    const TReminders* e = At(i);
    return e ? e->Until : clock.Now();
}

int TRemindersList::ReminderStatus(int i, TDateTime today) const {
    const TReminders* e = At(i);
    return e ? tessaly::ReminderStatus(*e, today) : 2;
}

int TRemindersList::IndexOfDay(TDateTime day) const {
    const TDateTime target = DateOf(day);
    for (int i = 0; i < Count(); ++i)
        if (const TReminders* e = At(i); e && DateOf(e->When) == target)
            return i;
    return -1;
}

} // namespace tessaly
