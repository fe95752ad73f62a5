#pragma once
// "Delete Reminder from %s": the reminder's date, description and recurrence (or
// "Completed") under what the deletion does, and the question answered with "Yes" or
// "No".

#include "app/reminders/reminder_owner.h"
#include "core/diary/reminder_actions.h"

#include <QDialog>

class QPushButton;

namespace tessaly {

class TDeleteReminderDlg : public QDialog {
    Q_OBJECT
public:
    TDeleteReminderDlg(const TReminders& reminder, const TReminderOwner& owner,
                       const TFormatSettings& fs, QWidget* parent = nullptr);

    const TDeleteTexts& Texts() const { return texts_; }
    QPushButton* YesButton() const { return yes_; }
    QPushButton* NoButton() const { return no_; }

private:
    TDeleteTexts texts_;
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
};

// DeleteReminder: true when the user confirmed (at once without `ask`, the
// "Confirm"/"Delete Reminders" setting). The caller removes the record.
bool DeleteReminderDialog(const TReminders& reminder, const TReminderOwner& owner, bool ask,
                          const TFormatSettings& fs, QWidget* parent);

} // namespace tessaly
