// The reminder dialogs' data rules: new-reminder defaults, the edit form's checks and
// storing, acknowledging (stepping, completing) and deleting, and the view texts.

#include "core/diary/reminder_actions.h"
#include "core/diary/reminder_form.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0) {
    return EncodeDate(y, m, d) + EncodeTime(hour, minute, 0);
}

const TDateTime kToday = At(2024, 5, 1, 14, 20);

TReminderForm ValidForm() {
    TReminderForm f;
    f.Date = "10/05/2024";
    f.Time = "09:30";
    f.AlarmDate = "10/05/2024";
    f.AlarmTime = "09:00";
    f.Until = "20/05/2024";
    f.Description = "  Team lunch ";
    f.Notes = " bring cake \r\n";
    f.Frequency = kWeekly;
    f.Interval = 2;
    f.Priority = 3;
    return f;
}

TEST(ReminderForm, NewRemindersTakeTheirDefaults) {
    auto diary = NewReminder(At(2024, 6, 3), kToday, 2, true);
    EXPECT_EQ(diary->When, At(2024, 6, 3));
    EXPECT_EQ(diary->NoTime, 1);
    EXPECT_EQ(diary->Until, At(2024, 6, 10));
    EXPECT_EQ(diary->Priority, 5);
    EXPECT_EQ(diary->AdvanceDays, 2);
    EXPECT_EQ(diary->Frequency, kOnceOnly);
    EXPECT_EQ(diary->Interval, 1);
    EXPECT_EQ(diary->AlarmSet, 0);
    EXPECT_EQ(TextValue(diary->Description), "");
    auto book = NewReminder(kToday, kToday, 0, false);
    EXPECT_EQ(book->When, kToday);
    EXPECT_EQ(book->NoTime, 0);
    EXPECT_EQ(book->Until, kToday + 7);

    TRemindersList list;
    for (int i = 0; i < kMaxListCount; ++i)
        list.Add(std::make_unique<TReminders>());
    EXPECT_FALSE(HasRoomForReminder(list));
    list.Delete(0);
    EXPECT_TRUE(HasRoomForReminder(list));
}

TEST(ReminderForm, FillingShowsTheRecordAndTheRulesEnableTheBoxes) {
    TReminders r = *NewReminder(At(2024, 6, 3), kToday, 0, true);
    r.Frequency = kMonthly;
    r.Interval = 3;
    r.SetDescription("Rent");
    TReminderForm f = FillReminderForm(r, 4, kToday);
    EXPECT_EQ(f.Date, "03/06/2024");
    EXPECT_EQ(f.Time, "14:20"); // no time: the disabled box shows the current time
    EXPECT_EQ(f.AlarmDate, "03/06/2024");
    EXPECT_EQ(f.AlarmTime, "00:00");
    EXPECT_EQ(f.Until, "10/06/2024");
    EXPECT_FALSE(f.AdvanceOn);
    EXPECT_EQ(f.AdvanceDays, 4); // the default offered
    TReminderFormState s = ApplyFormRules(f);
    EXPECT_TRUE(s.RecurrenceShown);
    EXPECT_EQ(s.RecurrenceTitle, "Monthly");
    EXPECT_EQ(s.UnitLabel, "Month(s)");
    EXPECT_FALSE(s.TimeBoxEnabled);
    EXPECT_FALSE(s.AlarmBoxesEnabled);
    EXPECT_FALSE(s.AdvanceDaysEnabled);

    f.NoTime = false;
    f.AlarmSet = true;
    f.Frequency = kNoteOnly;
    s = ApplyFormRules(f);
    EXPECT_FALSE(s.RecurrenceShown);
    EXPECT_FALSE(s.NoTimeEnabled || s.AlarmEnabled || s.PriorityEnabled || s.AdvanceEnabled);
    EXPECT_FALSE(f.AlarmSet);
    EXPECT_FALSE(f.NoTime);
    EXPECT_TRUE(s.TimeBoxEnabled == false);
}

TEST(ReminderForm, ChecksGiveTheExactMessagesInOrder) {
    TReminderForm f = ValidForm();
    f.AlarmSet = true;
    EXPECT_TRUE(CheckReminderForm(f, kToday).Ok);
    EXPECT_EQ(f.Description, "Team lunch");
    EXPECT_EQ(f.Notes, "bring cake");

    struct Case {
        void (*change)(TReminderForm&);
        const char* message;
        TFormField focus;
    };
    const std::string invalid =
        "Date Entered is Invalid \n\nPlease Re-specify in the Format DD/MM/YYYY";
    const Case cases[] = {
        {[](TReminderForm& f) { f.Description = " \t "; }, kMsgDescriptionRequired,
         TFormField::Description},
        {[](TReminderForm& f) { f.Date = "31/02/2024"; }, invalid.c_str(), TFormField::Date},
        {[](TReminderForm& f) { f.Date = "31/12/1899"; }, kMsgDateOutOfRange, TFormField::Date},
        {[](TReminderForm& f) { f.Date = "01/01/2101"; }, kMsgDateOutOfRange, TFormField::Date},
        {[](TReminderForm& f) { f.Time = "25:00"; }, invalid.c_str(), TFormField::Time},
        {[](TReminderForm& f) { f.Until = "09/05/2024"; }, kMsgUntilBeforeWhen, TFormField::Until},
        {[](TReminderForm& f) { f.Until = "1/1/2200"; }, kMsgDateOutOfRange, TFormField::Until},
        {[](TReminderForm& f) { f.AlarmTime = "09:31"; }, kMsgAlarmAfterWhen,
         TFormField::AlarmDate},
        {[](TReminderForm& f) { f.AlarmDate = "x"; }, invalid.c_str(), TFormField::AlarmDate},
        {[](TReminderForm& f) { f.AlarmTime = "nine"; }, invalid.c_str(), TFormField::AlarmTime},
    };
    for (const Case& c : cases) {
        TReminderForm bad = ValidForm();
        bad.AlarmSet = true;
        c.change(bad);
        const TFormCheck check = CheckReminderForm(bad, kToday);
        EXPECT_FALSE(check.Ok) << c.message;
        EXPECT_EQ(check.Message, c.message);
        EXPECT_EQ(check.Focus, c.focus);
    }
    // Boxes that are disabled are not read: a once-only event ignores its until date,
    // an event without time its time box, one without alarm the alarm boxes.
    TReminderForm quiet = ValidForm();
    quiet.Frequency = kOnceOnly;
    quiet.Until = "nonsense";
    quiet.NoTime = true;
    quiet.Time = "";
    quiet.AlarmDate = "";
    EXPECT_TRUE(CheckReminderForm(quiet, kToday).Ok);
    // The alarm is compared with the event at 00:00 when it has no time.
    TReminderForm early = ValidForm();
    early.NoTime = true;
    early.AlarmSet = true;
    EXPECT_EQ(CheckReminderForm(early, kToday).Message, kMsgAlarmAfterWhen);
}

TEST(ReminderForm, StoringTakesTheBoxesAndUntilTakesTheEventsOwnTime) {
    TReminders r;
    TReminderForm f = ValidForm();
    ASSERT_TRUE(CheckReminderForm(f, kToday).Ok);
    StoreReminderForm(f, r, kToday);
    EXPECT_EQ(r.When, At(2024, 5, 10, 9, 30));
    EXPECT_EQ(r.AlarmSet, 0);
    EXPECT_EQ(r.AlarmTime, r.When);
    // Without an alarm the until date takes 09:30, not the 09:00 of the idle alarm box.
    EXPECT_EQ(r.Until, At(2024, 5, 20, 9, 30));
    EXPECT_EQ(r.Frequency, kWeekly);
    EXPECT_EQ(r.Interval, 2);
    EXPECT_EQ(r.Priority, 3);
    EXPECT_EQ(r.AdvanceDays, 0);
    EXPECT_EQ(TextValue(r.Description), "Team lunch");
    EXPECT_EQ(TextValue(r.Notes), "bring cake");

    f.AlarmSet = true;
    f.AdvanceOn = true;
    f.AdvanceDays = 3;
    StoreReminderForm(f, r, kToday);
    EXPECT_EQ(r.AlarmTime, At(2024, 5, 10, 9));
    EXPECT_EQ(r.Until, At(2024, 5, 20, 9));
    EXPECT_EQ(r.AdvanceDays, 3);

    f.NoTime = true;
    f.AlarmSet = false;
    StoreReminderForm(f, r, kToday);
    EXPECT_EQ(r.When, At(2024, 5, 10));
    EXPECT_EQ(r.Until, At(2024, 5, 20));
    f.Frequency = kNoteOnly;
    f.AlarmSet = true;
    StoreReminderForm(f, r, kToday);
    EXPECT_EQ(r.NoTime, 0);
    EXPECT_EQ(r.AlarmSet, 0);
    EXPECT_EQ(EditCaption("WORK.TDY", true), "Add Reminder to WORK.TDY");
    EXPECT_EQ(EditCaption("Friends", false), "Edit Reminder in Friends");
}

TEST(Acknowledge, EveryThirdDayStepsToTheTenthThenCompletes) {
    TReminders r;
    r.When = At(2024, 5, 1, 9);
    r.AlarmTime = At(2024, 5, 1, 8, 45);
    r.Until = At(2024, 5, 10, 9);
    r.Frequency = kDaily;
    r.Interval = 3;
    for (int day : {4, 7, 10}) {
        const TAcknowledgePlan plan = PlanAcknowledge(r, "HOME.TDY");
        ASSERT_EQ(plan.Kind, TAcknowledgeKind::Reschedule) << day;
        EXPECT_FALSE(plan.DeleteOptionEnabled);
        EXPECT_EQ(plan.Action,
                  "This Event will be rescheduled for its next scheduled date as detailed above");
        EXPECT_FALSE(ApplyAcknowledge(r, plan, false));
        EXPECT_EQ(r.When, At(2024, 5, day, 9));
        EXPECT_EQ(r.AlarmTime, At(2024, 5, day, 8, 45));
        EXPECT_EQ(r.Completed, 0);
    }
    EXPECT_EQ(PlanAcknowledge(r, "HOME.TDY").Caption, "Acknowledge Reminder in HOME.TDY");
    const TAcknowledgePlan last = PlanAcknowledge(r, "HOME.TDY");
    EXPECT_EQ(last.Kind, TAcknowledgeKind::CompletePastUntil);
    EXPECT_EQ(last.Action, "This Event will have its Frequency set to \"Note Only\" and will be "
                           "marked as completed as it has passed it's Scheduled Until Date");
    EXPECT_FALSE(ApplyAcknowledge(r, last, false));
    EXPECT_EQ(r.Completed, 1);
    EXPECT_EQ(r.Frequency, kNoteOnly);
    // Now a completed note: the beep is the only response.
    EXPECT_EQ(PlanAcknowledge(r, "HOME.TDY").Kind, TAcknowledgeKind::NotAllowed);
    EXPECT_FALSE(ApplyAcknowledge(r, PlanAcknowledge(r, "HOME.TDY"), true));
}

TEST(Acknowledge, UntilTimeMonthEndsOnceOnlyAndTheLastYear) {
    // The until date was stored with an alarm time before the event's time: the
    // acknowledgement on the until day itself completes.
    TReminders r;
    r.When = At(2024, 5, 7, 9);
    r.Until = At(2024, 5, 10, 8);
    r.Frequency = kDaily;
    r.Interval = 3;
    EXPECT_EQ(PlanAcknowledge(r, "x").Kind, TAcknowledgeKind::CompletePastUntil);

    TReminders month;
    month.When = month.AlarmTime = At(2024, 1, 31, 10);
    month.Until = At(2024, 12, 31);
    month.Frequency = kMonthly;
    month.Interval = 1;
    const TAcknowledgePlan feb = PlanAcknowledge(month, "x");
    EXPECT_EQ(feb.NextDate, "Thursday, 29 February 2024");
    ApplyAcknowledge(month, feb, false);
    ApplyAcknowledge(month, PlanAcknowledge(month, "x"), false);
    EXPECT_EQ(month.When, At(2024, 3, 29, 10));

    TReminders once;
    once.When = At(2024, 5, 7, 9);
    once.Frequency = kOnceOnly;
    const TAcknowledgePlan plan = PlanAcknowledge(once, "x");
    EXPECT_EQ(plan.Kind, TAcknowledgeKind::Complete);
    EXPECT_TRUE(plan.DeleteOptionEnabled);
    EXPECT_TRUE(ApplyAcknowledge(once, plan, true)); // the caller deletes it
    EXPECT_EQ(once.Completed, 0);

    // No step past the year 9999, whatever the until date says.
    TReminders end;
    end.When = At(9999, 12, 31, 9);
    end.Until = 3e6;
    end.Frequency = kDaily;
    EXPECT_EQ(PlanAcknowledge(end, "x").Kind, TAcknowledgeKind::CompletePastUntil);
}

TEST(DeleteAndView, TextsAndTheRowKept) {
    TReminders r;
    r.When = At(2024, 5, 7, 9, 5);
    r.Until = At(2024, 6, 7);
    r.Frequency = kWeekly;
    r.Interval = 2;
    r.AlarmSet = 1;
    r.AlarmTime = At(2024, 5, 7, 8, 50);
    r.Priority = 2;
    r.SetDescription("Choir");
    const TDeleteTexts diary = DeleteReminderTexts(r, "HOME.TDY", true);
    EXPECT_EQ(diary.Caption, "Delete Reminder from HOME.TDY");
    EXPECT_EQ(diary.Date, "Tuesday, 7 May 2024 at 09:05");
    EXPECT_EQ(diary.Recurrence, "Every 2 Weeks until 07/06/2024");
    EXPECT_EQ(diary.Action, "The Above Event will be deleted from the Calendar File.");
    EXPECT_EQ(DeleteReminderTexts(r, "Friends", false).Action,
              "The Above Event will be deleted from the Reminders List for this Entry.");

    const TReminderView view = ViewReminder(r, "HOME.TDY", At(2024, 5, 7, 23));
    EXPECT_EQ(view.Caption, "View Reminder Event in HOME.TDY");
    EXPECT_EQ(view.Alarm, "Tuesday, 7 May 2024 at 08:50");
    EXPECT_EQ(view.Status, "Due Today");
    EXPECT_EQ(view.Priority, "2");
    EXPECT_EQ(ViewReminder(r, "x", At(2024, 5, 8)).Status, "Overdue");
    EXPECT_EQ(ViewReminder(r, "x", At(2024, 5, 6)).Status, "Pending");
    r.Completed = 1;
    r.AlarmSet = 0;
    r.NoTime = 1;
    EXPECT_EQ(DeleteReminderTexts(r, "x", true).Recurrence, "Completed");
    EXPECT_EQ(ViewReminder(r, "x", At(2024, 5, 6)).Status, "Completed");
    EXPECT_EQ(ViewReminder(r, "x", At(2024, 5, 6)).Alarm, "Not Set");
    EXPECT_EQ(ViewReminder(r, "x", At(2024, 5, 6)).Date, "Tuesday, 7 May 2024");

    TRemindersList list;
    for (int i = 0; i < 3; ++i)
        list.Add(std::make_unique<TReminders>(r));
    EXPECT_EQ(DeleteReminderAt(list, 2), 1);
    EXPECT_EQ(DeleteReminderAt(list, 0), 0);
    EXPECT_EQ(DeleteReminderAt(list, 5), 0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(DeleteReminderAt(list, 0), -1);
}

} // namespace
} // namespace tessaly
