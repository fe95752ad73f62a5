// The four reminder dialogs driven with the mouse and keys: the edit dialog's enabling
// rules as the frequency and check boxes change, its checks (each a message, the
// dialog staying open on the offending box) and what OK stores; acknowledging a
// monthly reminder from 31 January to the end of February and completing a once-only
// one; the delete and view dialogs' texts and answers.

#include "app/reminders/acknowledge_dlg.h"
#include "app/reminders/delete_reminder_dlg.h"
#include "app/reminders/reminder_dlg.h"
#include "app/reminders/view_event_dlg.h"
#include "app/widgets/date_box.h"
#include "core/diary/reminder_form.h"
#include "core/settings/settings.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace tessaly;

namespace {

TDateTime At(int y, int m, int d, int h = 0, int min = 0) {
    return EncodeDate(y, m, d) + EncodeTime(h, min, 0);
}

void ClickOk(QDialog& d) {
    QTest::mouseClick(d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

void ClickBox(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

void TypeDescription(TReminderDlg& d, const QString& text) {
    ReplaceText(d.DescriptionBox()->lineEdit(), text);
}

} // namespace

class TReminderDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void EnablingFollowsTheFrequencyAndCheckBoxes();
    void EveryCheckShowsItsMessageAndKeepsTheDialogOpen();
    void OkStoresTheBoxesAndCancelLeavesTheRecord();
    void DropDownCalendarWritesThePickedDate();
    void AcknowledgeStepsMonthlyReminderToEndOfFebruary();
    void AcknowledgeCompletesOnceOnlyOrAsksToDelete();
    void DeleteAndViewDialogsShowTheReminder();

private:
    TSettings settings_;
    FakeClock clock_{At(2026, 1, 15, 10, 30)};
};

void TReminderDialogsTest::EnablingFollowsTheFrequencyAndCheckBoxes() {
    auto r = NewReminder(At(2026, 1, 20), clock_.Now(), 2, false);
    TReminderDlg d(*r, {"MY BOOK", false}, true, settings_, clock_);
    d.show();
    QCOMPARE(d.windowTitle(), QString("Add Reminder to MY BOOK"));
    QVERIFY(d.FrequencyButton(kOnceOnly)->isChecked());
    QVERIFY(!d.RecurrenceGroup()->isVisible());
    QVERIFY(d.TimeBox()->isEnabled());
    QVERIFY(!d.AlarmTimeBox()->isEnabled());
    // A new reminder takes the default advance warning.
    QVERIFY(d.AdvanceBox()->isChecked() && d.AdvanceDaysBox()->isEnabled());
    QCOMPARE(d.AdvanceDaysBox()->value(), 2);

    ClickBox(d.FrequencyButton(kWeekly));
    QVERIFY(d.RecurrenceGroup()->isVisible());
    QCOMPARE(d.RecurrenceGroup()->title(), QString("Weekly"));
    QCOMPARE(d.UnitLabel()->text(), QString("Week(s)"));
    ClickBox(d.FrequencyButton(kMonthly));
    QCOMPARE(d.RecurrenceGroup()->title(), QString("Monthly"));
    QCOMPARE(d.UnitLabel()->text(), QString("Month(s)"));

    ClickBox(d.AlarmBox());
    QVERIFY(d.AlarmDateBox()->isEnabled() && d.AlarmTimeBox()->isEnabled());
    ClickBox(d.NoTimeBox());
    QVERIFY(!d.TimeBox()->isEnabled());
    ClickBox(d.AdvanceBox());
    QVERIFY(!d.AdvanceDaysBox()->isEnabled());
    ClickBox(d.AdvanceBox());
    QVERIFY(d.AdvanceDaysBox()->isEnabled());

    // A note has no time, alarm, advance warning or priority, and unticks them.
    ClickBox(d.FrequencyButton(kNoteOnly));
    QVERIFY(!d.RecurrenceGroup()->isVisible());
    QVERIFY(!d.NoTimeBox()->isEnabled() && !d.NoTimeBox()->isChecked());
    QVERIFY(!d.AlarmBox()->isEnabled() && !d.AlarmBox()->isChecked());
    QVERIFY(!d.AdvanceBox()->isEnabled() && !d.AdvanceDaysBox()->isEnabled());
    QVERIFY(!d.PriorityBox()->isEnabled());
    QVERIFY(!d.TimeBox()->isEnabled());
    QVERIFY(!d.AlarmDateBox()->isEnabled());
    ClickBox(d.FrequencyButton(kOnceOnly));
    QVERIFY(d.NoTimeBox()->isEnabled() && d.TimeBox()->isEnabled());
    QVERIFY(d.PriorityBox()->isEnabled());

    // The description box offers the three standing suggestions and those passed in.
    TReminderDlg e(*r, {"D.TDY", true}, false, settings_, clock_, {"Dentist", "Birthday"});
    QCOMPARE(e.windowTitle(), QString("Edit Reminder in D.TDY"));
    QStringList offered;
    for (int i = 0; i < e.DescriptionBox()->count(); ++i)
        offered << e.DescriptionBox()->itemText(i);
    QCOMPARE(offered, QStringList({"Anniversary", "Birthday", "Dentist", "Holiday"}));
}

void TReminderDialogsTest::EveryCheckShowsItsMessageAndKeepsTheDialogOpen() {
    TRecordingPresenter presenter;
    auto r = NewReminder(At(2026, 1, 20), clock_.Now(), 2, false);
    const TReminders before = *r;
    TReminderDlg d(*r, {"MY BOOK", false}, true, settings_, clock_);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto expect = [&](const char* message, QWidget* focused) {
        presenter.Requests.clear();
        ClickOk(d);
        QCOMPARE(presenter.Requests.size(), std::size_t(1));
        QCOMPARE(presenter.Requests[0].Text, ToQString(message));
        QCOMPARE(presenter.Requests[0].TitleNumber, int(mtValidationFailed));
        QVERIFY(d.isVisible());
        QCOMPARE(QApplication::focusWidget(), focused);
    };
    // Blanks only are no description.
    TypeDescription(d, "   ");
    expect(kMsgDescriptionRequired, d.DescriptionBox());
    TypeDescription(d, "Dentist");
    ReplaceText(d.DateBox()->Edit(), "31/12/1899");
    expect(kMsgDateOutOfRange, d.DateBox()->Edit());
    ReplaceText(d.DateBox()->Edit(), "32/13/2026");
    expect("Date Entered is Invalid \n\nPlease Re-specify in the Format DD/MM/YYYY",
           d.DateBox()->Edit());
    ReplaceText(d.DateBox()->Edit(), "20/01/2026");
    ReplaceText(d.TimeBox(), "25:99");
    expect("Date Entered is Invalid \n\nPlease Re-specify in the Format DD/MM/YYYY", d.TimeBox());
    ReplaceText(d.TimeBox(), "09:00");
    ClickBox(d.FrequencyButton(kWeekly));
    ReplaceText(d.UntilBox()->Edit(), "19/01/2026");
    expect(kMsgUntilBeforeWhen, d.UntilBox()->Edit());
    ReplaceText(d.UntilBox()->Edit(), "01/01/2101");
    expect(kMsgDateOutOfRange, d.UntilBox()->Edit());
    ReplaceText(d.UntilBox()->Edit(), "20/03/2026");
    ClickBox(d.AlarmBox());
    ReplaceText(d.AlarmDateBox()->Edit(), "20/01/2026");
    ReplaceText(d.AlarmTimeBox(), "09:01");
    expect(kMsgAlarmAfterWhen, d.AlarmDateBox()->Edit());
    // Nothing reached the record while the checks failed.
    QVERIFY(*r == before);
    ReplaceText(d.AlarmTimeBox(), "08:45");
    presenter.Requests.clear();
    ClickOk(d);
    QVERIFY(presenter.Requests.empty());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(TextValue(r->Description), std::string("Dentist"));
    QCOMPARE(r->When, At(2026, 1, 20, 9, 0));
    QCOMPARE(r->AlarmTime, At(2026, 1, 20, 8, 45));
    QCOMPARE(int(r->Frequency), kWeekly);
    QVERIFY(r->AlarmSet);
}

void TReminderDialogsTest::OkStoresTheBoxesAndCancelLeavesTheRecord() {
    TRecordingPresenter presenter;
    auto r = NewReminder(At(2026, 1, 20), clock_.Now(), 2, true);
    const TReminders before = *r;
    {
        OnModalDialog("Add Reminder to DIARY.TDY", [](QDialog* d) {
            auto* dlg = static_cast<TReminderDlg*>(d);
            ReplaceText(dlg->DescriptionBox()->lineEdit(), "Cancelled");
            QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        QVERIFY(!EditReminderDialog(*r, {"DIARY.TDY", true}, true, settings_, clock_, {}, nullptr));
        QVERIFY(*r == before);
    }
    OnModalDialog("Add Reminder to DIARY.TDY", [](QDialog* d) {
        auto* dlg = static_cast<TReminderDlg*>(d);
        ReplaceText(dlg->DescriptionBox()->lineEdit(), "  Pay the rent  ");
        ClickBox(dlg->FrequencyButton(kMonthly));
        QTest::mouseClick(dlg->IntervalBox(), Qt::LeftButton);
        QTest::keyClick(dlg->IntervalBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dlg->IntervalBox(), "2");
        ReplaceText(dlg->UntilBox()->Edit(), "20/12/2026");
        QTest::mouseClick(dlg->PriorityBox(), Qt::LeftButton);
        QTest::keyClick(dlg->PriorityBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dlg->PriorityBox(), "3");
        QTest::mouseClick(dlg->NotesBox()->viewport(), Qt::LeftButton);
        QTest::keyClicks(dlg->NotesBox(), QString(300, 'n'));
        ClickOk(*dlg);
    });
    QVERIFY(EditReminderDialog(*r, {"DIARY.TDY", true}, true, settings_, clock_, {}, nullptr));
    QCOMPARE(TextValue(r->Description), std::string("Pay the rent"));
    QCOMPARE(int(r->Frequency), kMonthly);
    QCOMPARE(int(r->Interval), 2);
    QCOMPARE(int(r->Priority), 3);
    QCOMPARE(int(r->AdvanceDays), 2);
    QVERIFY(r->NoTime);
    QCOMPARE(r->When, At(2026, 1, 20));
    QCOMPARE(r->AlarmTime, r->When);
    QCOMPARE(DateOf(r->Until), EncodeDate(2026, 12, 20));
    // The notes box holds at most 255 characters.
    QCOMPARE(TextValue(r->Notes).size(), std::size_t(255));
}

void TReminderDialogsTest::DropDownCalendarWritesThePickedDate() {
    TDateBox box(settings_.FormatSettings, clock_);
    box.show();
    box.SetText("14/02/2026");
    QTest::mouseClick(box.DropButton(), Qt::LeftButton);
    QCalendarWidget* cal = box.Calendar();
    QVERIFY(cal && cal->isVisible());
    QCOMPARE(cal->selectedDate(), QDate(2026, 2, 14));
    QCOMPARE(cal->minimumDate(), QDate(1900, 1, 1));
    QCOMPARE(cal->maximumDate(), QDate(2100, 12, 31));
    QVERIFY(ClickCalendarDay(cal, 15));
    QCOMPARE(box.Text(), QString("15/02/2026"));
    QTRY_VERIFY(!box.Calendar());
    // A box that is not a date opens on today.
    box.SetText("nonsense");
    QTest::mouseClick(box.DropButton(), Qt::LeftButton);
    QCOMPARE(box.Calendar()->selectedDate(), QDate(2026, 1, 15));
    box.Calendar()->close();
}

void TReminderDialogsTest::AcknowledgeStepsMonthlyReminderToEndOfFebruary() {
    TReminders r;
    r.Frequency = kMonthly;
    r.Interval = 1;
    r.When = At(2026, 1, 31, 9, 0);
    r.AlarmTime = At(2026, 1, 31, 8, 0);
    r.AlarmSet = 1;
    r.Until = At(2026, 12, 31, 8, 0);
    r.SetDescription("Rent");
    QString nextShown, actionShown;
    bool optionEnabled = true;
    OnModalDialog("Acknowledge Reminder in MY BOOK", [&](QDialog* d) {
        auto* dlg = static_cast<TAcknowledgeDlg*>(d);
        nextShown = dlg->NextDate() ? dlg->NextDate()->text() : QString();
        actionShown = dlg->ActionText()->text();
        optionEnabled = dlg->DeleteOption()->isEnabled();
        ClickOk(*dlg);
    });
    const TAcknowledgeResult res =
        AcknowledgeReminderDialog(r, {"MY BOOK", false}, true, settings_.FormatSettings, nullptr);
    QVERIFY(res.Done);
    QVERIFY(!res.Delete);
    QCOMPARE(nextShown, QString("Saturday, 28 February 2026"));
    QCOMPARE(
        actionShown,
        QString("This Event will be rescheduled for its next scheduled date as detailed above"));
    QVERIFY(!optionEnabled);
    QCOMPARE(r.When, At(2026, 2, 28, 9, 0));
    QCOMPARE(r.AlarmTime, At(2026, 2, 28, 8, 0));
    QVERIFY(!r.Completed);

    // Cancel changes nothing.
    const TReminders before = r;
    OnModalDialog("Acknowledge Reminder in MY BOOK", [](QDialog* d) { d->reject(); });
    QVERIFY(
        !AcknowledgeReminderDialog(r, {"MY BOOK", false}, true, settings_.FormatSettings, nullptr)
             .Done);
    QVERIFY(r == before);
}

void TReminderDialogsTest::AcknowledgeCompletesOnceOnlyOrAsksToDelete() {
    TReminders once;
    once.Frequency = kOnceOnly;
    once.When = At(2026, 1, 10, 9, 0);
    once.Until = once.When;
    once.SetDescription("Call back");
    TReminders other = once;
    // Without the confirmation it completes at once.
    TAcknowledgeResult res =
        AcknowledgeReminderDialog(once, {"D.TDY", true}, false, settings_.FormatSettings, nullptr);
    QVERIFY(res.Done && !res.Delete);
    QVERIFY(once.Completed);
    QCOMPARE(int(once.Frequency), kNoteOnly);
    // A note cannot be acknowledged: nothing happens and no dialog opens.
    res = AcknowledgeReminderDialog(once, {"D.TDY", true}, true, settings_.FormatSettings, nullptr);
    QVERIFY(!res.Done);

    // Ticking the delete option hands the record to the caller untouched.
    OnModalDialog("Acknowledge Reminder in D.TDY", [](QDialog* d) {
        auto* dlg = static_cast<TAcknowledgeDlg*>(d);
        QVERIFY(dlg->DeleteOption()->isEnabled());
        QVERIFY(!dlg->NextDate());
        ClickBox(dlg->DeleteOption());
        ClickOk(*dlg);
    });
    res =
        AcknowledgeReminderDialog(other, {"D.TDY", true}, true, settings_.FormatSettings, nullptr);
    QVERIFY(res.Done && res.Delete);
    QVERIFY(!other.Completed);
}

void TReminderDialogsTest::DeleteAndViewDialogsShowTheReminder() {
    TReminders r;
    r.Frequency = kWeekly;
    r.Interval = 2;
    r.When = At(2026, 1, 14, 18, 30);
    r.Until = At(2026, 6, 30, 18, 30);
    r.Priority = 4;
    r.SetDescription("Choir");
    r.SetNotes("Bring the scores");
    {
        TDeleteReminderDlg d(r, {"D.TDY", true}, settings_.FormatSettings);
        QCOMPARE(d.windowTitle(), QString("Delete Reminder from D.TDY"));
        QCOMPARE(d.findChild<QLabel*>("Action")->text(),
                 QString("The Above Event will be deleted from the Calendar File."));
        QCOMPARE(d.findChild<QLabel*>("Frequency:")->text(),
                 QString("Every 2 Weeks until 30/06/2026"));
        QCOMPARE(d.findChild<QLabel*>("Question")->text(),
                 QString("Are you Sure you wish to Delete this Reminder ?"));
    }
    OnModalDialog("Delete Reminder from MY BOOK", [](QDialog* d) {
        QCOMPARE(d->findChild<QLabel*>("Action")->text(),
                 QString("The Above Event will be deleted from the Reminders List for this "
                         "Entry."));
        ClickDialogButton(d, "No");
    });
    QVERIFY(!DeleteReminderDialog(r, {"MY BOOK", false}, true, settings_.FormatSettings, nullptr));
    OnModalDialog("Delete Reminder from MY BOOK", [](QDialog* d) { ClickDialogButton(d, "Yes"); });
    QVERIFY(DeleteReminderDialog(r, {"MY BOOK", false}, true, settings_.FormatSettings, nullptr));
    QVERIFY(DeleteReminderDialog(r, {"MY BOOK", false}, false, settings_.FormatSettings, nullptr));

    TViewEventDlg v(r, {"MY BOOK", false}, EncodeDate(2026, 1, 15), settings_.FormatSettings);
    QCOMPARE(v.windowTitle(), QString("View Reminder Event in MY BOOK"));
    QCOMPARE(v.Value("Date:")->text(), QString("Wednesday, 14 January 2026 at 18:30"));
    QCOMPARE(v.Value("Alarm:")->text(), QString("Not Set"));
    QCOMPARE(v.Value("Status:")->text(), QString("Overdue"));
    QCOMPARE(v.Value("Priority:")->text(), QString("4"));
    QCOMPARE(v.findChild<QPlainTextEdit*>("Notes")->toPlainText(), QString("Bring the scores"));
}

QTEST_MAIN(TReminderDialogsTest)
#include "reminder_dialogs_test.moc"
