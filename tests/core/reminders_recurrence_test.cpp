#include "core/diary/recurrence.h"
#include "core/diary/reminders.h"

#include <gtest/gtest.h>
#include <set>

namespace tessaly {
namespace {

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0) {
    return EncodeDate(y, m, d) + EncodeTime(hour, minute, 0);
}

TReminders Event(int frequency, int interval, TDateTime when, TDateTime until) {
    TReminders r;
    r.Frequency = static_cast<std::int16_t>(frequency);
    r.Interval = static_cast<std::int16_t>(interval);
    r.When = when;
    r.Until = until;
    return r;
}

TEST(NextOccurrence, MonthsAndYearsKeepTheDayWhereItExists) {
    const TDateTime jan31 = At(2023, 1, 31, 9, 30);
    const TDateTime feb = NextOccurrence(kMonthly, 1, jan31);
    EXPECT_EQ(feb, At(2023, 2, 28, 9, 30));
    EXPECT_EQ(NextOccurrence(kMonthly, 1, feb), At(2023, 3, 28, 9, 30)); // not 31 March
    EXPECT_EQ(NextOccurrence(kMonthly, 1, At(2024, 1, 31)), At(2024, 2, 29));
    EXPECT_EQ(NextOccurrence(kMonthly, 2, jan31), At(2023, 3, 31, 9, 30));
    EXPECT_EQ(NextOccurrence(kMonthly, 12, At(2023, 12, 10)), At(2024, 12, 10));
    EXPECT_EQ(NextOccurrence(kMonthly, 14, At(2023, 11, 10)), At(2025, 1, 10));
    EXPECT_EQ(NextOccurrence(kMonthly, 1, At(2023, 12, 31)), At(2024, 1, 31));
    EXPECT_EQ(NextOccurrence(kYearly, 1, At(2024, 2, 29, 8)), At(2025, 2, 28, 8));
    EXPECT_EQ(NextOccurrence(kYearly, 4, At(2024, 2, 29)), At(2028, 2, 29));
}

TEST(NextOccurrence, DaysAndWeeksKeepTheTimeOfDay) {
    EXPECT_EQ(NextOccurrence(kDaily, 3, At(2024, 2, 27, 9)), At(2024, 3, 1, 9));
    EXPECT_EQ(NextOccurrence(kWeekly, 2, At(1998, 12, 24, 18)), At(1999, 1, 7, 18));
    // Before 1900 the fraction counts forward from the day's midnight.
    EXPECT_DOUBLE_EQ(NextOccurrence(kDaily, 1, -1.25), 0.25);
    EXPECT_DOUBLE_EQ(NextOccurrence(kDaily, 2, -1.25), 1.25);
    for (const int frequency : {kNoteOnly, kOnceOnly, 6, -1, 32767})
        EXPECT_EQ(NextOccurrence(frequency, 1, At(2024, 5, 5, 5)), At(2024, 5, 5, 5));
}

TEST(NextOccurrence, DamagedIntervalsAndDatesStaySound) {
    // Intervals below 1 step as 1: the event still moves forward.
    EXPECT_EQ(NextOccurrence(kDaily, 0, At(2024, 1, 1)), At(2024, 1, 2));
    EXPECT_EQ(NextOccurrence(kMonthly, -5, At(2024, 1, 1)), At(2024, 2, 1));
    EXPECT_EQ(NextOccurrence(kMonthly, 32767, At(2024, 1, 15)), At(4754, 8, 15));
    EXPECT_EQ(NextOccurrence(kYearly, 32767, At(2024, 1, 15)), kNoLaterOccurrence);
    EXPECT_EQ(NextOccurrence(kDaily, 1, At(9999, 12, 31, 12)), kNoLaterOccurrence);
    EXPECT_EQ(NextOccurrence(kWeekly, 32767, At(9500, 1, 1)), kNoLaterOccurrence);
    EXPECT_EQ(NextOccurrence(kDaily, 1, 1e300), kNoLaterOccurrence);
    EXPECT_EQ(NextOccurrence(kMonthly, 1, -1e7), kNoLaterOccurrence);
    EXPECT_EQ(AddMonthsOrYears(At(2024, 3, 31), -1, false), At(2024, 2, 29));
}

TEST(RecurrenceText, EveryFrequencyAndCount) {
    const TDateTime until = At(1998, 12, 31, 23, 59);
    EXPECT_EQ(RecurrenceText(kWeekly, 2, until), "Every 2 Weeks until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kDaily, 1, until), "Every Day until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kDaily, 10, until), "Every 10 Days until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kWeekly, 1, until), "Every Week until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kMonthly, 1, until), "Every Month until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kMonthly, 3, until), "Every 3 Months until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kYearly, 1, until), "Every Year until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kYearly, 5, until), "Every 5 Years until 31/12/1998");
    EXPECT_EQ(RecurrenceText(kNoteOnly, 2, until), "Note Only");
    EXPECT_EQ(RecurrenceText(kOnceOnly, 2, until), "Once Only");
    EXPECT_EQ(RecurrenceText(6, 1, until), "");
    TFormatSettings us;
    us.ShortDateFormat = "m/d/yy";
    EXPECT_EQ(RecurrenceText(kYearly, 1, until, us), "Every Year until 12/31/98");

    const std::string units[] = {"", "", "3 Day(s)", "3 Week(s)", "3 Month(s)", "3 Year(s)"};
    const std::string names[] = {"Note", "Once", "Daily", "Weekly", "Monthly", "Yearly"};
    for (int f = 0; f <= 5; ++f) {
        EXPECT_EQ(IntervalText(Event(f, 3, 0, 0)), units[f]);
        EXPECT_EQ(FrequencyName(f), names[f]);
    }
    EXPECT_EQ(FrequencyName(6), "");
    EXPECT_EQ(FrequencyName(-1), "");
}

TEST(OccursOn, LaterOccurrencesOnly) {
    const TReminders every3 = Event(kDaily, 3, At(2024, 5, 1, 9), At(2024, 5, 10, 9));
    for (const int day : {4, 7, 10})
        EXPECT_TRUE(OccursOn(every3, At(2024, 5, day, 15))) << day;
    for (const int day : {1, 2, 5, 13, 31})
        EXPECT_FALSE(OccursOn(every3, At(2024, 5, day))) << day;

    TReminders done = every3;
    done.Completed = 1;
    EXPECT_FALSE(OccursOn(done, At(2024, 5, 4)));
    EXPECT_FALSE(OccursOn(Event(kOnceOnly, 1, At(2024, 5, 1), At(2024, 6, 1)), At(2024, 5, 2)));

    const TReminders monthly = Event(kMonthly, 1, At(2023, 1, 31), At(2023, 12, 31));
    EXPECT_TRUE(OccursOn(monthly, At(2023, 2, 28)));
    EXPECT_TRUE(OccursOn(monthly, At(2023, 3, 28)));
    EXPECT_FALSE(OccursOn(monthly, At(2023, 3, 31)));
    // The lowered day is not remembered: 29 February falls back to the 28th for good.
    const TReminders leap = Event(kYearly, 1, At(2020, 2, 29), At(2030, 1, 1));
    EXPECT_TRUE(OccursOn(leap, At(2024, 2, 28)));
    EXPECT_FALSE(OccursOn(leap, At(2024, 2, 29)));
}

TEST(OccursOn, DamagedRecordsEndQuickly) {
    const TDateTime forever = At(9999, 12, 31);
    EXPECT_TRUE(OccursOn(Event(kDaily, 0, At(2024, 1, 1), forever), At(2024, 1, 2)));
    EXPECT_TRUE(OccursOn(Event(kDaily, -3, At(2024, 1, 1), forever), At(2024, 1, 3)));
    EXPECT_FALSE(OccursOn(Event(kYearly, 32767, At(2024, 1, 1), forever), At(9999, 1, 1)));
    EXPECT_FALSE(OccursOn(Event(kMonthly, 1, 1e300, forever), At(2024, 1, 1)));
    EXPECT_FALSE(OccursOn(Event(9, 1, At(2024, 1, 1), forever), At(2024, 1, 1)));
    EXPECT_TRUE(OccursOn(Event(kMonthly, 1, At(1, 1, 1), forever), At(9999, 12, 1)));
    EXPECT_TRUE(OccursOn(Event(kDaily, 1, At(1, 1, 1), forever), forever));
}

TEST(OccursOn, AgreesWithSteppingDayByDay) {
    // Daily and weekly events are answered without stepping; compare with the steps.
    for (const int frequency : {kDaily, kWeekly})
        for (const int interval : {1, 2, 5}) {
            const TReminders r = Event(frequency, interval, At(2024, 2, 20, 22), At(2024, 6, 3));
            std::set<TDateTime> days;
            for (TDateTime d = NextOccurrence(frequency, interval, r.When);
                 DateOf(d) <= DateOf(r.Until); d = NextOccurrence(frequency, interval, d))
                days.insert(DateOf(d));
            for (TDateTime day = At(2024, 2, 1); day < At(2024, 7, 1); day += 1)
                ASSERT_EQ(OccursOn(r, day), days.count(day) == 1)
                    << frequency << " " << interval << " " << FormatDateTime("ddddd", day);
        }
}

} // namespace
} // namespace tessaly
