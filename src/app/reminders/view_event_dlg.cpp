#include "app/reminders/view_event_dlg.h"

#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <utility>

namespace tessaly {

TViewEventDlg::TViewEventDlg(const TReminders& reminder, const TReminderOwner& owner,
                             TDateTime today, const TFormatSettings& fs, QWidget* parent)
    : QDialog(parent), view_(ViewReminder(reminder, FromQString(owner.Name), today, fs)) {
    setObjectName("TViewEventDlg");
    setWindowTitle(ToQString(view_.Caption));
    auto* form = new QFormLayout;
    const std::pair<const char*, const std::string*> rows[] = {{"Date:", &view_.Date},
                                                               {"Alarm:", &view_.Alarm},
                                                               {"Description:", &view_.Description},
                                                               {"Frequency:", &view_.Recurrence},
                                                               {"Status:", &view_.Status},
                                                               {"Priority:", &view_.Priority}};
    for (const auto& [caption, value] : rows) {
        auto* label = new QLabel(ToQString(*value));
        label->setObjectName(caption);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, label);
    }
    auto* notes = new QPlainTextEdit(ToQString(view_.Notes));
    notes->setReadOnly(true);
    notes->setObjectName("Notes");
    notes->setFixedHeight(notes->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow("Notes:", notes);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(box);
    setMinimumWidth(380);
}

QLabel* TViewEventDlg::Value(const QString& caption) const {
    return findChild<QLabel*>(caption);
}

void ViewReminderDialog(const TReminders& reminder, const TReminderOwner& owner, TDateTime today,
                        const TFormatSettings& fs, QWidget* parent) {
    TViewEventDlg(reminder, owner, today, fs, parent).exec();
}

} // namespace tessaly
