#pragma once
// The create and edit dialog of a reminder: "Add Reminder to %s" for a new one,
// "Edit Reminder in %s" otherwise. The boxes are filled from the record; OK checks
// them (every failure is a message, and the dialog stays open on the offending box)
// and stores them into the record; Cancel leaves the record as it was.

#include "app/reminders/reminder_owner.h"
#include "core/diary/reminder_form.h"
#include "core/system/clock.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace tessaly {

struct TSettings;
class TDateBox;
class IFrame;

class TReminderDlg : public QDialog {
    Q_OBJECT
public:
    // `suggestions`: descriptions offered besides "Birthday", "Anniversary" and
    // "Holiday" (those of every open book and diary).
    TReminderDlg(TReminders& reminder, const TReminderOwner& owner, bool isNew,
                 const TSettings& settings, const IClock& clock,
                 const QStringList& suggestions = {}, QWidget* parent = nullptr);

    void accept() override;

    TDateBox* DateBox() const { return date_; }
    QLineEdit* TimeBox() const { return time_; }
    QCheckBox* NoTimeBox() const { return noTime_; }
    QCheckBox* AlarmBox() const { return alarm_; }
    TDateBox* AlarmDateBox() const { return alarmDate_; }
    QLineEdit* AlarmTimeBox() const { return alarmTime_; }
    QRadioButton* FrequencyButton(int frequency) const { return frequency_[frequency]; }
    QGroupBox* RecurrenceGroup() const { return recurrence_; }
    QSpinBox* IntervalBox() const { return interval_; }
    QLabel* UnitLabel() const { return unit_; }
    TDateBox* UntilBox() const { return until_; }
    QCheckBox* AdvanceBox() const { return advance_; }
    QSpinBox* AdvanceDaysBox() const { return advanceDays_; }
    QComboBox* DescriptionBox() const { return description_; }
    QSpinBox* PriorityBox() const { return priority_; }
    QPlainTextEdit* NotesBox() const { return notes_; }

private:
    void Fill(const TReminderForm& form);
    TReminderForm Read() const;
    // The enabling rules, on every change of the frequency and the check boxes.
    void ApplyRules();
    QWidget* BoxOf(TFormField field) const;

    TReminders& reminder_;
    const TSettings& settings_;
    const IClock& clock_;
    bool applying_ = false;

    TDateBox* date_ = nullptr;
    QLineEdit* time_ = nullptr;
    QCheckBox* noTime_ = nullptr;
    QCheckBox* alarm_ = nullptr;
    TDateBox* alarmDate_ = nullptr;
    QLineEdit* alarmTime_ = nullptr;
    QRadioButton* frequency_[6] = {};
    QGroupBox* frequencyGroup_ = nullptr;
    QGroupBox* recurrence_ = nullptr;
    QSpinBox* interval_ = nullptr;
    QLabel* unit_ = nullptr;
    TDateBox* until_ = nullptr;
    QCheckBox* advance_ = nullptr;
    QSpinBox* advanceDays_ = nullptr;
    QComboBox* description_ = nullptr;
    QSpinBox* priority_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

// EditReminder: shows the dialog; true when OK stored it into the record.
bool EditReminderDialog(TReminders& reminder, const TReminderOwner& owner, bool isNew,
                        const TSettings& settings, const IClock& clock,
                        const QStringList& suggestions, QWidget* parent);

// The descriptions of every reminder of every book and diary window open in the
// frame, for the description box's suggestions.
QStringList OpenReminderDescriptions(const IFrame& frame);

} // namespace tessaly
