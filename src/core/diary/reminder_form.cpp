#include "core/diary/reminder_form.h"

#include "core/common/file_paths.h"
#include "core/common/fill_text.h"
#include "core/common/text.h"

#include <algorithm>
#include <optional>

namespace tessaly {

namespace {

const TDateTime kFirstSupported = EncodeDate(1900, 1, 1);
const TDateTime kLastSupported = EncodeDate(2100, 12, 31);

bool Recurs(int frequency) {
    return frequency >= kDaily && frequency <= kYearly;
}

TFormCheck Fail(const std::string& message, TFormField focus) {
    return TFormCheck{false, message, focus};
}

std::string InvalidDate(const TFormatSettings& fs) {
    return FillText(kMsgDateInvalid, {UpperCase(fs.ShortDateFormat)});
}

// Reads a date box and checks its range; a failure names the box.
std::optional<TDateTime> ReadDate(const std::string& text, TFormField field, TDateTime today,
                                  const TFormatSettings& fs, TFormCheck& check) {
    const auto date = ParseDate(text, fs, today);
    if (!date) {
        check = Fail(InvalidDate(fs), field);
        return std::nullopt;
    }
    if (*date < kFirstSupported || *date > kLastSupported) {
        check = Fail(kMsgDateOutOfRange, field);
        return std::nullopt;
    }
    return date;
}

std::optional<TDateTime> ReadTime(const std::string& text, TFormField field,
                                  const TFormatSettings& fs, TFormCheck& check) {
    const auto time = ParseTime(text, fs);
    if (!time)
        check = Fail(InvalidDate(fs), field);
    return time;
}

} // namespace

std::unique_ptr<TReminders> NewReminder(TDateTime date, TDateTime now, int advanceDays,
                                        bool diaryEvent) {
    auto r = std::make_unique<TReminders>();
    r->NoTime = diaryEvent ? 1 : 0;
    r->When = ComposeDateTime(DateOf(date), diaryEvent ? 0.0 : TimeOf(now));
    r->Until = NextOccurrence(kDaily, 7, r->When);
    r->AlarmTime = r->When;
    r->Priority = 5;
    r->AdvanceDays = static_cast<std::int16_t>(std::clamp(advanceDays, 0, 99));
    r->Frequency = kOnceOnly;
    r->Interval = 1;
    r->AlarmSet = 0;
    r->Completed = 0;
    r->Description = std::string();
    r->Notes = std::string();
    return r;
}

bool HasRoomForReminder(const TRemindersList& list) {
    return list.Count() < kMaxListCount;
}

TReminderForm FillReminderForm(const TReminders& r, int defaultAdvanceDays, TDateTime now,
                               const TFormatSettings& fs) {
    TReminderForm f;
    f.Date = FormatDateTime("ddddd", r.When, fs);
    f.NoTime = r.NoTime != 0;
    f.Time = FormatDateTime("t", r.NoTime ? now : r.When, fs);
    f.AlarmSet = r.AlarmSet != 0;
    const TDateTime alarm = r.AlarmSet ? r.AlarmTime : r.When;
    f.AlarmDate = FormatDateTime("ddddd", alarm, fs);
    f.AlarmTime = FormatDateTime("t", alarm, fs);
    f.Frequency = std::clamp<int>(r.Frequency, kNoteOnly, kYearly);
    f.Interval = std::clamp<int>(r.Interval, 1, 99);
    f.Until = FormatDateTime("ddddd", r.Until, fs);
    f.AdvanceOn = r.AdvanceDays != 0;
    f.AdvanceDays = std::clamp(r.AdvanceDays != 0 ? r.AdvanceDays : defaultAdvanceDays, 1, 99);
    f.Description = TextValue(r.Description);
    f.Priority = std::clamp<int>(r.Priority, 1, 9);
    f.Notes = TextValue(r.Notes);
    // A disabled time box shows the current time.
    if (!ApplyFormRules(f).TimeBoxEnabled)
        f.Time = FormatDateTime("t", now, fs);
    return f;
}

TReminderFormState ApplyFormRules(TReminderForm& form) {
    static const char* const kTitles[] = {"Daily", "Weekly", "Monthly", "Yearly"};
    static const char* const kUnits[] = {"Day(s)", "Week(s)", "Month(s)", "Year(s)"};
    TReminderFormState s;
    s.RecurrenceShown = Recurs(form.Frequency);
    if (s.RecurrenceShown) {
        s.RecurrenceTitle = kTitles[form.Frequency - kDaily];
        s.UnitLabel = kUnits[form.Frequency - kDaily];
    }
    if (form.Frequency == kNoteOnly) {
        s.AdvanceEnabled = s.NoTimeEnabled = s.AlarmEnabled = s.PriorityEnabled = false;
        form.NoTime = false;
        form.AlarmSet = false;
    }
    s.TimeBoxEnabled = s.NoTimeEnabled && !form.NoTime;
    s.AlarmBoxesEnabled = s.AlarmEnabled && form.AlarmSet;
    s.AdvanceDaysEnabled = s.AdvanceEnabled && form.AdvanceOn;
    return s;
}

TFormCheck CheckReminderForm(TReminderForm& form, TDateTime today, const TFormatSettings& fs) {
    form.Description = Trim(form.Description);
    form.Notes = Trim(form.Notes);
    const TReminderFormState state = ApplyFormRules(form);
    TFormCheck check;
    if (form.Description.empty())
        return Fail(kMsgDescriptionRequired, TFormField::Description);
    const auto when = ReadDate(form.Date, TFormField::Date, today, fs, check);
    if (!when)
        return check;
    TDateTime whenTime = 0;
    if (state.TimeBoxEnabled) {
        const auto time = ReadTime(form.Time, TFormField::Time, fs, check);
        if (!time)
            return check;
        whenTime = *time;
    }
    if (state.RecurrenceShown) {
        const auto until = ReadDate(form.Until, TFormField::Until, today, fs, check);
        if (!until)
            return check;
        if (*until < *when)
            return Fail(kMsgUntilBeforeWhen, TFormField::Until);
    }
    if (state.AlarmBoxesEnabled) {
        const auto date = ReadDate(form.AlarmDate, TFormField::AlarmDate, today, fs, check);
        if (!date)
            return check;
        const auto time = ReadTime(form.AlarmTime, TFormField::AlarmTime, fs, check);
        if (!time)
            return check;
        if (CalendarMs(ComposeDateTime(*date, *time)) >
            CalendarMs(ComposeDateTime(*when, whenTime)))
            return Fail(kMsgAlarmAfterWhen, TFormField::AlarmDate);
    }
    return check;
}

void StoreReminderForm(const TReminderForm& form, TReminders& r, TDateTime today,
                       const TFormatSettings& fs) {
    TReminderForm f = form;
    const TReminderFormState state = ApplyFormRules(f);
    r.Frequency = static_cast<std::int16_t>(f.Frequency);
    r.NoTime = f.NoTime ? 1 : 0;
    const TDateTime day = ParseDate(f.Date, fs, today).value_or(DateOf(r.When));
    const TDateTime time = f.NoTime ? 0.0 : ParseTime(f.Time, fs).value_or(0.0);
    r.When = ComposeDateTime(day, time);
    r.AlarmSet = state.AlarmBoxesEnabled ? 1 : 0;
    TDateTime alarmTime = time;
    if (r.AlarmSet) {
        const TDateTime alarmDay = ParseDate(f.AlarmDate, fs, today).value_or(day);
        alarmTime = ParseTime(f.AlarmTime, fs).value_or(time);
        r.AlarmTime = ComposeDateTime(alarmDay, alarmTime);
    } else {
        r.AlarmTime = r.When;
    }
    r.SetDescription(Trim(f.Description));
    r.Interval = static_cast<std::int16_t>(std::clamp(f.Interval, 1, 99));
    r.Priority = static_cast<std::int16_t>(std::clamp(f.Priority, 1, 9));
    r.SetNotes(Trim(f.Notes));
    r.AdvanceDays = static_cast<std::int16_t>(f.AdvanceOn ? std::clamp(f.AdvanceDays, 1, 99) : 0);
    // Without an alarm the event's own time ends the series, not whatever a disabled
    // alarm box happens to show.
    const TDateTime untilDay = ParseDate(f.Until, fs, today).value_or(day);
    r.Until = ComposeDateTime(std::max(untilDay, day), alarmTime);
}

std::string EditCaption(const std::string& owner, bool isNew) {
    return FillText(isNew ? "Add Reminder to %s" : "Edit Reminder in %s", {owner});
}

std::string EventDateText(const TReminders& r, const TFormatSettings& fs) {
    return FormatDateTime(r.NoTime ? "dddddd" : "dddddd \"at\" t", r.When, fs);
}

TReminderView ViewReminder(const TReminders& r, const std::string& owner, TDateTime today,
                           const TFormatSettings& fs) {
    TReminderView v;
    v.Caption = FillText("View Reminder Event in %s", {owner});
    v.Date = EventDateText(r, fs);
    v.Alarm = r.AlarmSet ? FormatDateTime("dddddd \"at\" t", r.AlarmTime, fs) : "Not Set";
    v.Description = TextValue(r.Description);
    v.Recurrence = RecurrenceText(r.Frequency, r.Interval, r.Until, fs);
    const TDateTime day = DateOf(r.When);
    if (r.Completed)
        v.Status = "Completed";
    else if (day < DateOf(today))
        v.Status = "Overdue";
    else if (day == DateOf(today))
        v.Status = "Due Today";
    else
        v.Status = "Pending";
    v.Priority = std::to_string(r.Priority);
    v.Notes = TextValue(r.Notes);
    return v;
}

} // namespace tessaly
