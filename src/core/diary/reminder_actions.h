#pragma once
// Acknowledging and deleting a reminder: what the dialogs show and what OK does to
// the record.

#include "core/common/date_format.h"
#include "core/diary/reminders.h"

#include <string>

namespace tessaly {

enum class TAcknowledgeKind {
    NotAllowed,        // completed or a note: the system beeps, nothing else
    Complete,          // once only: becomes a completed note
    CompletePastUntil, // recurring, the next date is past Until: becomes a completed note
    Reschedule,        // recurring: When and AlarmTime step to their next occurrence
};

struct TAcknowledgePlan {
    TAcknowledgeKind Kind = TAcknowledgeKind::NotAllowed;
    std::string Caption; // "Acknowledge Reminder in %s"
    std::string Date;
    std::string Description;
    std::string Recurrence;
    std::string NextDate; // "dddddd" of the next date, for a reschedule
    std::string Action;
    bool DeleteOptionEnabled = true;
    TDateTime Next = 0;
};

TAcknowledgePlan PlanAcknowledge(const TReminders& r, const std::string& owner,
                                 const TFormatSettings& fs = DefaultFormatSettings());
// OK of the acknowledge dialog (or no dialog, when acknowledgements are not
// confirmed: `deleteChecked` false). Returns true when the caller is to delete the
// record instead.
bool ApplyAcknowledge(TReminders& r, const TAcknowledgePlan& plan, bool deleteChecked);

struct TDeleteTexts {
    std::string Caption; // "Delete Reminder from %s"
    std::string Date;
    std::string Description;
    std::string Recurrence; // RecurrenceText, or "Completed"
    std::string Action;
    std::string Question = "Are you Sure you wish to Delete this Reminder ?";
};
TDeleteTexts DeleteReminderTexts(const TReminders& r, const std::string& owner, bool diaryEvent,
                                 const TFormatSettings& fs = DefaultFormatSettings());
// Removes and frees the record at `index`; gives the row to select afterwards (the
// same number clamped to the list, -1 when it is empty). Out of range does nothing.
int DeleteReminderAt(TRemindersList& list, int index);

} // namespace tessaly
