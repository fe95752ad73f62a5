#pragma once
// The data side of the reminder dialogs: the defaults of a new reminder, the edit
// dialog's boxes filled from a record, its enabling rules, its checks (with the exact
// messages) and how it is stored back; the texts of the view dialog.

#include "core/common/date_format.h"
#include "core/diary/reminders.h"

#include <memory>
#include <string>

namespace tessaly {

constexpr const char* kMsgDescriptionRequired =
    "A Suitable Description for this Event is Required.\n\nPlease specify before continuing";
constexpr const char* kMsgDateOutOfRange =
    "Date Entered is Outside the Supported Date Range \n\nPlease Enter a Date the falls between "
    "the years 1900 and 2100";
constexpr const char* kMsgUntilBeforeWhen =
    "The \"Schedule Until\" Date may not be before the \"Reminder\" Date\n\nNote: If entering "
    "dates that cross centuries, Windows needs to be configured to use four year digits (yyyy). "
    "Use Windows Control Panel to change its date formats";
constexpr const char* kMsgAlarmAfterWhen =
    "The \"Alarm Time\" may not be after the \"Reminder Date\"\n\nNote: If entering dates that "
    "cross centuries, Windows needs to be configured to use four year digits (yyyy). Use Windows "
    "Control Panel to change its date formats";
// %s: the short date format in upper case.
constexpr const char* kMsgDateInvalid =
    "Date Entered is Invalid \n\nPlease Re-specify in the Format %s";

// A new reminder: on `date` (the selected calendar day of a diary, today in a book)
// at the current time, without a time for a diary event; Until a week later,
// priority 5, the "Advance Warning" setting, once only, no alarm, empty texts.
std::unique_ptr<TReminders> NewReminder(TDateTime date, TDateTime now, int advanceDays,
                                        bool diaryEvent);
// Whether a reminder list may take one more: its file count holds at most 32,767.
bool HasRoomForReminder(const TRemindersList& list);

// The boxes of the edit dialog, as texts where the user types them.
struct TReminderForm {
    std::string Date;
    std::string Time;
    bool NoTime = false;
    bool AlarmSet = false;
    std::string AlarmDate;
    std::string AlarmTime;
    int Frequency = kOnceOnly;
    int Interval = 1;
    std::string Until;
    bool AdvanceOn = false;
    int AdvanceDays = 0;
    std::string Description;
    int Priority = 5;
    std::string Notes;
};

// The dialog filled from a record; `now` is what a disabled time box shows.
TReminderForm FillReminderForm(const TReminders& r, int defaultAdvanceDays, TDateTime now,
                               const TFormatSettings& fs = DefaultFormatSettings());

// Which boxes are shown and enabled for the form's frequency and check boxes.
struct TReminderFormState {
    bool RecurrenceShown = false;
    std::string RecurrenceTitle; // "Daily" ... "Yearly"
    std::string UnitLabel;       // "Day(s)" ... "Year(s)"
    bool AdvanceEnabled = true;
    bool NoTimeEnabled = true;
    bool AlarmEnabled = true;
    bool PriorityEnabled = true;
    bool TimeBoxEnabled = true;
    bool AlarmBoxesEnabled = false;
    bool AdvanceDaysEnabled = false;
};
// The rules applied on every change of the frequency: a note unchecks "No Time" and
// "Set Alarm for", which is why the form is changed.
TReminderFormState ApplyFormRules(TReminderForm& form);

enum class TFormField { None, Description, Date, Time, Until, AlarmDate, AlarmTime };
struct TFormCheck {
    bool Ok = true;
    std::string Message;
    TFormField Focus = TFormField::None;
};
// The checks of OK, in the dialog's order; the first failure gives its message and
// the box to focus. Trims the description and the notes.
TFormCheck CheckReminderForm(TReminderForm& form, TDateTime today,
                             const TFormatSettings& fs = DefaultFormatSettings());
// Stores a checked form into the record. Until takes the alarm time when an alarm is
// set and otherwise the event's own time (00:00 without a time).
void StoreReminderForm(const TReminderForm& form, TReminders& r, TDateTime today,
                       const TFormatSettings& fs = DefaultFormatSettings());

// "Add Reminder to %s" or "Edit Reminder in %s".
std::string EditCaption(const std::string& owner, bool isNew);

struct TReminderView {
    std::string Caption; // "View Reminder Event in %s"
    std::string Date;    // "dddddd", or "dddddd "at" t" with a time
    std::string Alarm;   // "dddddd "at" t" of AlarmTime, or "Not Set"
    std::string Description;
    std::string Recurrence;
    std::string Status; // "Completed", "Overdue", "Due Today" or "Pending"
    std::string Priority;
    std::string Notes;
};
TReminderView ViewReminder(const TReminders& r, const std::string& owner, TDateTime today,
                           const TFormatSettings& fs = DefaultFormatSettings());
// The date line of the view, acknowledge and delete dialogs.
std::string EventDateText(const TReminders& r, const TFormatSettings& fs = DefaultFormatSettings());

} // namespace tessaly
