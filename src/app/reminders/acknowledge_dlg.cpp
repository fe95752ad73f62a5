#include "app/reminders/acknowledge_dlg.h"

#include "platform/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaly {

TAcknowledgeDlg::TAcknowledgeDlg(const TAcknowledgePlan& plan, QWidget* parent) : QDialog(parent) {
    setObjectName("TAcknowledgeDlg");
    setWindowTitle(ToQString(plan.Caption));
    auto* form = new QFormLayout;
    auto value = [form](const char* caption, const std::string& text) {
        auto* label = new QLabel(ToQString(text));
        label->setObjectName(caption);
        form->addRow(caption, label);
        return label;
    };
    value("Date:", plan.Date);
    value("Description:", plan.Description);
    value("Frequency:", plan.Recurrence);
    if (plan.Kind == TAcknowledgeKind::Reschedule)
        next_ = value("Next Date:", plan.NextDate);
    action_ = new QLabel(ToQString(plan.Action));
    action_->setObjectName("Action");
    action_->setWordWrap(true);
    delete_ = new QCheckBox(" &Delete Reminder Event from Entry after Acknowledging");
    delete_->setEnabled(plan.DeleteOptionEnabled);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(action_);
    v->addWidget(delete_);
    v->addWidget(box);
    setMinimumWidth(420);
}

TAcknowledgeResult AcknowledgeReminderDialog(TReminders& reminder, const TReminderOwner& owner,
                                             bool ask, const TFormatSettings& fs, QWidget* parent) {
    const TAcknowledgePlan plan = PlanAcknowledge(reminder, FromQString(owner.Name), fs);
    if (plan.Kind == TAcknowledgeKind::NotAllowed) {
        QApplication::beep();
        return {};
    }
    bool deleteChecked = false;
    if (ask) {
        TAcknowledgeDlg dialog(plan, parent);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        deleteChecked = dialog.DeleteOption()->isEnabled() && dialog.DeleteOption()->isChecked();
    }
    TAcknowledgeResult result;
    result.Done = true;
    result.Delete = ApplyAcknowledge(reminder, plan, deleteChecked);
    return result;
}

} // namespace tessaly
