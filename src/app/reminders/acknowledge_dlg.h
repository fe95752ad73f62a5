#pragma once
// "Acknowledge Reminder in %s": the reminder's date, description and recurrence, what
// the acknowledgement will do (move a recurring reminder to its next date, or complete
// it), and the option to delete a reminder that is completed instead.

#include "app/reminders/reminder_owner.h"
#include "core/diary/reminder_actions.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace tessaly {

class TAcknowledgeDlg : public QDialog {
    Q_OBJECT
public:
    // The plan comes from PlanAcknowledge; a NotAllowed plan is never shown.
    TAcknowledgeDlg(const TAcknowledgePlan& plan, QWidget* parent = nullptr);

    QCheckBox* DeleteOption() const { return delete_; }
    QLabel* ActionText() const { return action_; }
    QLabel* NextDate() const { return next_; }

private:
    QCheckBox* delete_ = nullptr;
    QLabel* action_ = nullptr;
    QLabel* next_ = nullptr;
};

struct TAcknowledgeResult {
    bool Done = false;   // the record was acknowledged (or is to be deleted)
    bool Delete = false; // the caller deletes the record
};

// AcknowledgeReminder: a completed reminder or a note only beeps. With `ask` (the
// "Confirm"/"Reminders" setting) the dialog decides; without it the acknowledgement
// acts at once, without deleting. On OK the record is changed as the plan says.
TAcknowledgeResult AcknowledgeReminderDialog(TReminders& reminder, const TReminderOwner& owner,
                                             bool ask, const TFormatSettings& fs, QWidget* parent);

} // namespace tessaly
