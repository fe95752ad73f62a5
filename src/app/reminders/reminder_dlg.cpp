#include "app/reminders/reminder_dlg.h"

#include "app/reminders/event_sources.h"
#include "app/widgets/date_box.h"
#include "app/widgets/message_dialog.h"
#include "core/settings/settings.h"
#include "platform/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int kMaxNotes = 255;

QSpinBox* SpinBox(int low, int high) {
    auto* s = new QSpinBox;
    s->setRange(low, high);
    return s;
}

} // namespace

TReminderDlg::TReminderDlg(TReminders& reminder, const TReminderOwner& owner, bool isNew,
                           const TSettings& settings, const IClock& clock,
                           const QStringList& suggestions, QWidget* parent)
    : QDialog(parent), reminder_(reminder), settings_(settings), clock_(clock) {
    setObjectName("TReminderDlg");
    setWindowTitle(ToQString(EditCaption(FromQString(owner.Name), isNew)));
    const TFormatSettings& fs = settings.FormatSettings;

    // When, with its time and "No Time"; the alarm below it.
    auto* timing = new QGridLayout;
    date_ = new TDateBox(fs, clock);
    time_ = new QLineEdit;
    time_->setMaxLength(8);
    noTime_ = new QCheckBox("No &Time");
    auto* whenLabel = new QLabel("&When");
    whenLabel->setBuddy(date_->Edit());
    timing->addWidget(whenLabel, 0, 0);
    timing->addWidget(date_, 0, 1);
    timing->addWidget(time_, 0, 2);
    timing->addWidget(noTime_, 0, 3);
    alarm_ = new QCheckBox("Set &Alarm for");
    alarmDate_ = new TDateBox(fs, clock);
    alarmTime_ = new QLineEdit;
    alarmTime_->setMaxLength(8);
    timing->addWidget(alarm_, 1, 0);
    timing->addWidget(alarmDate_, 1, 1);
    timing->addWidget(alarmTime_, 1, 2);
    advance_ = new QCheckBox("Ad&vance Warning at");
    advanceDays_ = SpinBox(1, 99);
    timing->addWidget(advance_, 2, 0);
    timing->addWidget(advanceDays_, 2, 1);
    timing->addWidget(new QLabel("Day(s)"), 2, 2);
    timing->setColumnStretch(4, 1);

    // The frequency buttons and, for a recurring event, its schedule beside them.
    frequencyGroup_ = new QGroupBox("Frequency");
    auto* freq = new QGridLayout(frequencyGroup_);
    auto* buttons = new QButtonGroup(this);
    const char* captions[] = {"&Note Only", "&Once Only", "&Daily",
                              "&Weekly",    "&Monthly",   "&Yearly"};
    for (int f = 0; f < 6; ++f) {
        frequency_[f] = new QRadioButton(captions[f]);
        buttons->addButton(frequency_[f], f);
        freq->addWidget(frequency_[f], f % 3, f / 3);
    }
    recurrence_ = new QGroupBox;
    auto* rec = new QGridLayout(recurrence_);
    interval_ = SpinBox(1, 99);
    unit_ = new QLabel;
    until_ = new TDateBox(fs, clock);
    auto* everyLabel = new QLabel("Schedule &Every");
    everyLabel->setBuddy(interval_);
    auto* untilLabel = new QLabel("Repeat &Until");
    untilLabel->setBuddy(until_->Edit());
    rec->addWidget(everyLabel, 0, 0);
    rec->addWidget(interval_, 0, 1);
    rec->addWidget(unit_, 0, 2);
    rec->addWidget(untilLabel, 1, 0);
    rec->addWidget(until_, 1, 1, 1, 2);
    auto* schedule = new QHBoxLayout;
    schedule->addWidget(frequencyGroup_, 1);
    schedule->addWidget(recurrence_, 1);

    // Description, priority and notes.
    auto* texts = new QGridLayout;
    description_ = new QComboBox;
    description_->setEditable(true);
    description_->setInsertPolicy(QComboBox::NoInsert);
    description_->lineEdit()->setMaxLength(255);
    QStringList offered = {"Birthday", "Anniversary", "Holiday"};
    for (const QString& s : suggestions)
        if (!s.trimmed().isEmpty() && !offered.contains(s))
            offered.append(s);
    offered.sort(Qt::CaseInsensitive);
    description_->addItems(offered);
    priority_ = SpinBox(1, 9);
    auto* descriptionLabel = new QLabel("Des&cription:");
    descriptionLabel->setBuddy(description_);
    auto* priorityLabel = new QLabel("P&riority:");
    priorityLabel->setBuddy(priority_);
    texts->addWidget(descriptionLabel, 0, 0);
    texts->addWidget(description_, 0, 1);
    texts->addWidget(priorityLabel, 0, 2);
    texts->addWidget(priority_, 0, 3);
    texts->setColumnStretch(1, 1);
    notes_ = new QPlainTextEdit;
    notes_->setObjectName("Notes");
    notes_->setTabChangesFocus(true);
    notes_->setFixedHeight(notes_->fontMetrics().lineSpacing() * 4 + 12);
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
        // The notes hold at most 255 characters.
        const QString text = notes_->toPlainText();
        if (text.size() > kMaxNotes) {
            QTextCursor c = notes_->textCursor();
            notes_->setPlainText(text.left(kMaxNotes));
            c.setPosition(kMaxNotes);
            notes_->setTextCursor(c);
        }
    });

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &TReminderDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &TReminderDlg::reject);

    auto* v = new QVBoxLayout(this);
    v->addLayout(timing);
    v->addLayout(schedule);
    v->addLayout(texts);
    v->addWidget(notes_);
    v->addWidget(box);

    Fill(FillReminderForm(reminder, settings.AdvanceWarning, clock.Now(), fs));
    connect(buttons, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            ApplyRules();
    });
    for (QCheckBox* c : {noTime_, alarm_, advance_})
        connect(c, &QCheckBox::toggled, this, [this] { ApplyRules(); });
    ApplyRules();
    description_->setFocus();
}

void TReminderDlg::Fill(const TReminderForm& f) {
    date_->SetText(ToQString(f.Date));
    time_->setText(ToQString(f.Time));
    noTime_->setChecked(f.NoTime);
    alarm_->setChecked(f.AlarmSet);
    alarmDate_->SetText(ToQString(f.AlarmDate));
    alarmTime_->setText(ToQString(f.AlarmTime));
    frequency_[f.Frequency]->setChecked(true);
    interval_->setValue(f.Interval);
    until_->SetText(ToQString(f.Until));
    advance_->setChecked(f.AdvanceOn);
    advanceDays_->setValue(f.AdvanceDays);
    description_->setEditText(ToQString(f.Description));
    priority_->setValue(f.Priority);
    notes_->setPlainText(ToQString(f.Notes));
}

TReminderForm TReminderDlg::Read() const {
    TReminderForm f;
    f.Date = FromQString(date_->Text());
    f.Time = FromQString(time_->text());
    f.NoTime = noTime_->isChecked();
    f.AlarmSet = alarm_->isChecked();
    f.AlarmDate = FromQString(alarmDate_->Text());
    f.AlarmTime = FromQString(alarmTime_->text());
    for (int i = 0; i < 6; ++i)
        if (frequency_[i]->isChecked())
            f.Frequency = i;
    f.Interval = interval_->value();
    f.Until = FromQString(until_->Text());
    f.AdvanceOn = advance_->isChecked();
    f.AdvanceDays = advanceDays_->value();
    f.Description = FromQString(description_->currentText());
    f.Priority = priority_->value();
    f.Notes = FromQString(notes_->toPlainText());
    return f;
}

void TReminderDlg::ApplyRules() {
    if (applying_)
        return;
    applying_ = true;
    TReminderForm f = Read();
    const TReminderFormState s = ApplyFormRules(f);
    noTime_->setChecked(f.NoTime);
    alarm_->setChecked(f.AlarmSet);
    recurrence_->setVisible(s.RecurrenceShown);
    recurrence_->setTitle(ToQString(s.RecurrenceTitle));
    unit_->setText(ToQString(s.UnitLabel));
    advance_->setEnabled(s.AdvanceEnabled);
    noTime_->setEnabled(s.NoTimeEnabled);
    alarm_->setEnabled(s.AlarmEnabled);
    priority_->setEnabled(s.PriorityEnabled);
    time_->setEnabled(s.TimeBoxEnabled);
    alarmDate_->setEnabled(s.AlarmBoxesEnabled);
    alarmTime_->setEnabled(s.AlarmBoxesEnabled);
    advanceDays_->setEnabled(s.AdvanceDaysEnabled);
    applying_ = false;
}

QWidget* TReminderDlg::BoxOf(TFormField field) const {
    switch (field) {
    case TFormField::Description:
        return description_;
    case TFormField::Date:
        return date_->Edit();
    case TFormField::Time:
        return time_;
    case TFormField::Until:
        return until_->Edit();
    case TFormField::AlarmDate:
        return alarmDate_->Edit();
    case TFormField::AlarmTime:
        return alarmTime_;
    case TFormField::None:
        break;
    }
    return nullptr;
}

void TReminderDlg::accept() {
    TReminderForm form = Read();
    const TDateTime today = DateOf(clock_.Now());
    const TFormatSettings& fs = settings_.FormatSettings;
    const TFormCheck check = CheckReminderForm(form, today, fs);
    if (!check.Ok) {
        ShowMessage(mtValidationFailed, ToQString(check.Message), mkWarning, mbOk);
        if (QWidget* w = BoxOf(check.Focus))
            w->setFocus();
        return;
    }
    StoreReminderForm(form, reminder_, today, fs);
    QDialog::accept();
}

bool EditReminderDialog(TReminders& reminder, const TReminderOwner& owner, bool isNew,
                        const TSettings& settings, const IClock& clock,
                        const QStringList& suggestions, QWidget* parent) {
    TReminderDlg dialog(reminder, owner, isNew, settings, clock, suggestions, parent);
    return dialog.exec() == QDialog::Accepted;
}

QStringList OpenReminderDescriptions(const IFrame& frame) {
    QStringList out;
    for (const std::string& d : DistinctDescriptions(OpenEventSources(frame)))
        out.append(ToQString(d));
    return out;
}

} // namespace tessaly
