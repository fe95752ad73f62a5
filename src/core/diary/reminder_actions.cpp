#include "core/diary/reminder_actions.h"

#include "core/common/fill_text.h"
#include "core/diary/diary_state.h"
#include "core/diary/reminder_form.h"

namespace tessaly {

TAcknowledgePlan PlanAcknowledge(const TReminders& r, const std::string& owner,
                                 const TFormatSettings& fs) {
    TAcknowledgePlan plan;
    if (r.Completed || r.Frequency == kNoteOnly)
        return plan;
    plan.Caption = FillText("Acknowledge Reminder in %s", {owner});
    plan.Date = EventDateText(r, fs);
    plan.Description = TextValue(r.Description);
    plan.Recurrence = RecurrenceText(r.Frequency, r.Interval, r.Until, fs);
    if (r.Frequency < kDaily || r.Frequency > kYearly) {
        plan.Kind = TAcknowledgeKind::Complete;
        plan.Action = "This Event will have its Frequency set to \"Note Only\" and will be marked "
                      "as completed";
        return plan;
    }
    plan.Next = NextOccurrence(r.Frequency, r.Interval, r.When);
    // Date and time: an until saved with an earlier alarm time ends the series on
    // its own day. Past year 9999 there is no next date at all.
    if (plan.Next >= kNoLaterOccurrence || CalendarMs(plan.Next) > CalendarMs(r.Until)) {
        plan.Kind = TAcknowledgeKind::CompletePastUntil;
        plan.Action = "This Event will have its Frequency set to \"Note Only\" and will be marked "
                      "as completed as it has passed it's Scheduled Until Date";
        return plan;
    }
    plan.Kind = TAcknowledgeKind::Reschedule;
    plan.NextDate = FormatDateTime("dddddd", plan.Next, fs);
    plan.Action = "This Event will be rescheduled for its next scheduled date as detailed above";
    plan.DeleteOptionEnabled = false;
    return plan;
}

bool ApplyAcknowledge(TReminders& r, const TAcknowledgePlan& plan, bool deleteChecked) {
    switch (plan.Kind) {
    case TAcknowledgeKind::NotAllowed:
        return false;
    case TAcknowledgeKind::Reschedule:
        r.When = NextOccurrence(r.Frequency, r.Interval, r.When);
        r.AlarmTime = NextOccurrence(r.Frequency, r.Interval, r.AlarmTime);
        return false;
    case TAcknowledgeKind::Complete:
    case TAcknowledgeKind::CompletePastUntil:
        if (deleteChecked)
            return true;
        r.Frequency = kNoteOnly;
        r.Completed = 1;
        return false;
    }
    return false;
}

TDeleteTexts DeleteReminderTexts(const TReminders& r, const std::string& owner, bool diaryEvent,
                                 const TFormatSettings& fs) {
    TDeleteTexts t;
    t.Caption = FillText("Delete Reminder from %s", {owner});
    t.Date = EventDateText(r, fs);
    t.Description = TextValue(r.Description);
    t.Recurrence = r.Completed ? "Completed" : RecurrenceText(r.Frequency, r.Interval, r.Until, fs);
    t.Action = diaryEvent
                   ? "The Above Event will be deleted from the Calendar File."
                   : "The Above Event will be deleted from the Reminders List for this Entry.";
    return t;
}

int DeleteReminderAt(TRemindersList& list, int index) {
    if (!list.InRange(index))
        return ClampedRow(index, list.Count());
    list.Delete(index);
    return ClampedRow(index, list.Count());
}

} // namespace tessaly
