#pragma once
// "View Reminder Event in %s": the date, the alarm, the description, the recurrence,
// the status, the priority and the notes of one reminder, read only.

#include "app/reminders/reminder_owner.h"
#include "core/diary/reminder_form.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace tessaly {

class TViewEventDlg : public QDialog {
    Q_OBJECT
public:
    // `today` decides the status ("Overdue", "Due Today", "Pending").
    TViewEventDlg(const TReminders& reminder, const TReminderOwner& owner, TDateTime today,
                  const TFormatSettings& fs, QWidget* parent = nullptr);

    const TReminderView& View() const { return view_; }
    // The value label beside a caption ("Date:", "Alarm:", ...); null for none.
    QLabel* Value(const QString& caption) const;

private:
    TReminderView view_;
};

// ViewReminder: shows the dialog.
void ViewReminderDialog(const TReminders& reminder, const TReminderOwner& owner, TDateTime today,
                        const TFormatSettings& fs, QWidget* parent);

} // namespace tessaly
