#include "app/reminders/delete_reminder_dlg.h"

#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace tessaly {

TDeleteReminderDlg::TDeleteReminderDlg(const TReminders& reminder, const TReminderOwner& owner,
                                       const TFormatSettings& fs, QWidget* parent)
    : QDialog(parent),
      texts_(DeleteReminderTexts(reminder, FromQString(owner.Name), owner.Diary, fs)) {
    setObjectName("TDeleteReminderDlg");
    setWindowTitle(ToQString(texts_.Caption));
    auto* action = new QLabel(ToQString(texts_.Action));
    action->setObjectName("Action");
    action->setWordWrap(true);
    auto* form = new QFormLayout;
    const std::pair<const char*, const std::string*> rows[] = {
        {"Date:", &texts_.Date},
        {"Description:", &texts_.Description},
        {"Frequency:", &texts_.Recurrence}};
    for (const auto& [caption, value] : rows) {
        auto* label = new QLabel(ToQString(*value));
        label->setObjectName(caption);
        form->addRow(caption, label);
    }
    auto* question = new QLabel(ToQString(texts_.Question));
    question->setObjectName("Question");
    auto* box = new QDialogButtonBox;
    yes_ = box->addButton("Yes", QDialogButtonBox::YesRole);
    no_ = box->addButton("No", QDialogButtonBox::NoRole);
    yes_->setDefault(true);
    connect(yes_, &QPushButton::clicked, this, &QDialog::accept);
    connect(no_, &QPushButton::clicked, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addWidget(action);
    v->addLayout(form);
    v->addWidget(question);
    v->addWidget(box);
    setMinimumWidth(420);
}

bool DeleteReminderDialog(const TReminders& reminder, const TReminderOwner& owner, bool ask,
                          const TFormatSettings& fs, QWidget* parent) {
    if (!ask)
        return true;
    return TDeleteReminderDlg(reminder, owner, fs, parent).exec() == QDialog::Accepted;
}

} // namespace tessaly
