// The calendar view's settings and grids, and what the alarm window shows and does
// when a scan finds due reminders.

#include "core/diary/alarm_view.h"
#include "core/diary/calendar_grid.h"
#include "core/diary/calendar_settings.h"
#include "core/frame/frame_schedule.h"
#include "core/store/book_file.h"
#include "tests/support/fake_clock.h"
#include "tests/support/memory_settings_store.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

TDateTime Day(int y, int m, int d) {
    return EncodeDate(y, m, d);
}

TEST(CalendarSettings, DefaultsRoundTripAndOutOfRangeValues) {
    MemorySettingsStore store;
    TSettingsAccess access(store);
    EXPECT_EQ(LoadCalendarSettings(access), TCalendarSettings{});

    TCalendarSettings s;
    s.ShowNotes = false;
    s.ShowAll = false;
    s.ShowRecurring = true;
    s.Sort = 3;
    s.View = 2;
    SaveCalendarOptions(access, s);
    SaveCalendarHeaders(access, {30, 40, 50, 160});
    s.Headers = {30, 40, 50, 160};
    EXPECT_EQ(LoadCalendarSettings(access), s);
    EXPECT_EQ(store.Read("Calendar", "Show Recurring"), "1");
    EXPECT_EQ(store.Read("Calendar", "Header3"), "160");

    // A sort order or tab the view does not have takes the default.
    store.Write("Calendar", "Sort", "4");
    store.Write("Calendar", "View", "-1");
    EXPECT_EQ(LoadCalendarSettings(access).Sort, 1);
    EXPECT_EQ(LoadCalendarSettings(access).View, 0);
}

TEST(CalendarGrid, YearGridPlacesEveryDayOnceAndCellsMapBack) {
    // 1 January 1998 was a Thursday: weekday 5, so the 1st stands in row 5.
    EXPECT_EQ(YearGridCell(Day(1998, 1, 1)), (TGridPoint{1, 5}));
    EXPECT_EQ(YearGridDay(1998, 1, 5), Day(1998, 1, 1));
    EXPECT_EQ(YearGridDay(1998, 1, 4), 0);
    EXPECT_EQ(YearGridDay(1998, 2, 0), 0);  // the header row
    EXPECT_EQ(YearGridDay(1998, 0, 10), 0); // the weekday column
    EXPECT_EQ(YearGridWeekday(1), "S");
    EXPECT_EQ(YearGridWeekday(5), "T");
    EXPECT_EQ(YearGridWeekday(42), "S");
    for (int year : {1900, 1998, 2000, 2024, 2100}) {
        int days = 0;
        for (int column = 0; column < kYearGridColumns; ++column)
            for (int row = 0; row < kYearGridRows; ++row) {
                const TDateTime d = YearGridDay(year, column, row);
                if (d == 0)
                    continue;
                ++days;
                EXPECT_EQ(YearGridCell(d), (TGridPoint{column, row}));
                // The row's weekday initial is the day's.
                EXPECT_EQ(YearGridWeekday(row), std::string(1, "SMTWTFS"[DayOfWeek(d) - 1]));
            }
        EXPECT_EQ(days, IsLeapYear(year) ? 366 : 365) << year;
    }
}

TEST(CalendarGrid, MonthGridDayOfYearAndSteps) {
    // May 2024 starts on a Wednesday; its grid starts on Sunday 28 April.
    EXPECT_EQ(MonthGridFirstDay(2024, 5), Day(2024, 4, 28));
    EXPECT_EQ(MonthGridFirstDay(2023, 10), Day(2023, 10, 1)); // a Sunday itself
    EXPECT_EQ(DayOfYear(Day(2024, 1, 1)), 1);
    EXPECT_EQ(DayOfYear(Day(2024, 12, 31) + 0.75), 366);
    EXPECT_EQ(DayOfYearText(Day(2023, 3, 1)), "Day: 60");

    EXPECT_EQ(AddMonthsClamped(Day(2024, 3, 31), -1), Day(2024, 2, 29));
    EXPECT_EQ(AddMonthsClamped(Day(2023, 3, 31), -1), Day(2023, 2, 28));
    EXPECT_EQ(AddMonthsClamped(Day(2024, 1, 15), -1), Day(2023, 12, 15));
    EXPECT_EQ(AddMonthsClamped(Day(2023, 12, 31), 1), Day(2024, 1, 31));
    EXPECT_EQ(AddMonthsClamped(Day(2023, 1, 31), 13), Day(2024, 2, 29));
}

TEST(CalendarGrid, MonthIconsAndDropDownPlacement) {
    // Two icons to a row, right to left, the next row 18 pixels lower.
    EXPECT_EQ(MonthIconPosition(100, 10, 0), (TGridPoint{82, 11}));
    EXPECT_EQ(MonthIconPosition(100, 10, 1), (TGridPoint{64, 11}));
    EXPECT_EQ(MonthIconPosition(100, 10, 2), (TGridPoint{82, 29}));
    EXPECT_TRUE(MonthCellShowsIcons(57, 37));
    EXPECT_FALSE(MonthCellShowsIcons(56, 100));
    EXPECT_FALSE(MonthCellShowsIcons(100, 36));

    EXPECT_EQ(DropDownPosition({500, 400}, 1279, 899), (TGridPoint{500, 400}));
    EXPECT_EQ(DropDownPosition({1200, 400}, 1279, 899), (TGridPoint{1100, 400}));
    EXPECT_EQ(DropDownPosition({1200, 850}, 1279, 899), (TGridPoint{1100, 750}));
}

TEST(AlarmRaise, ShownOnTopOnlyWithSomethingDueAndNotifiedWhenOutOfSight) {
    TAlarmRaiseState s;
    s.ListEmpty = true;
    EXPECT_FALSE(PlanAlarmRaise(s).Show);

    s.ListEmpty = false;
    s.AppActive = true;
    TAlarmRaise r = PlanAlarmRaise(s);
    EXPECT_TRUE(r.Show);
    EXPECT_TRUE(r.GoToEnabled);
    EXPECT_FALSE(r.MinimiseApp);
    EXPECT_FALSE(r.Notify);

    // Another program is active: the program gets out of the way, the desktop is told.
    s.AppActive = false;
    r = PlanAlarmRaise(s);
    EXPECT_TRUE(r.MinimiseApp);
    EXPECT_TRUE(r.Notify);

    // Already minimised: not minimised again, but still told.
    s.FrameMinimised = true;
    r = PlanAlarmRaise(s);
    EXPECT_FALSE(r.MinimiseApp);
    EXPECT_TRUE(r.Notify);

    s.AppActive = true;
    s.PreviewOrDesignerOpen = true;
    r = PlanAlarmRaise(s);
    EXPECT_FALSE(r.GoToEnabled);
    EXPECT_TRUE(r.Notify); // the frame is minimised
}

TEST(AlarmRaise, ScanComesDueOnTheMinuteItWasSetFor) {
    // A minute added to 09:59 is a hair off 10:00 in floating point; the scan is still
    // due at 10:00, not one tick later.
    TSettings settings;
    settings.ScanReminders = 1;
    TTickState state;
    state.FocusAllowsScan = true;
    for (int minute = 0; minute < 24 * 60; ++minute) {
        TFrameSchedule schedule;
        const TDateTime start = Day(2024, 5, 6) + EncodeTime(minute / 60, minute % 60, 0);
        const TDateTime next = Day(2024, 5, 6) +
                               EncodeTime((minute + 1) / 60 % 24, (minute + 1) % 60, 0) +
                               (minute + 1 == 24 * 60 ? 1 : 0);
        EXPECT_FALSE(schedule.Tick(start, settings, state).ScanReminders);
        EXPECT_TRUE(schedule.Tick(next, settings, state).ScanReminders) << minute;
    }
}

class AlarmViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        book_ = NewBook("/data/friends.adr", TStoreSettings());
        auto entry = std::make_unique<TRecord>();
        entry->SetNameField(kFieldSurname, "Brown");
        entry_ = book_->Entries.Add(std::move(entry));
        diary_ = NewDiary("/data/work.tdy");
    }
    TReminders* Add(TRemindersList& list, const std::string& description, TDateTime when,
                    bool noTime = false) {
        auto r = std::make_unique<TReminders>();
        r->When = r->Until = r->AlarmTime = when;
        r->AlarmSet = 1;
        r->NoTime = noTime ? 1 : 0;
        r->Frequency = kOnceOnly;
        r->SetDescription(description);
        return list.Add(std::move(r));
    }
    std::vector<TEventSource> Sources() const {
        return {TEventSource{&bookOwner_, book_.get(), nullptr},
                TEventSource{&diaryOwner_, nullptr, diary_.get()}};
    }

    std::unique_ptr<TBookData> book_;
    TRecord* entry_ = nullptr;
    std::unique_ptr<TDiaryData> diary_;
    int bookOwner_ = 0;
    int diaryOwner_ = 0;
};

TEST_F(AlarmViewTest, RowsOwnersAndTheNotification) {
    TFormatSettings fs = DefaultFormatSettings();
    const TDateTime when = Day(2024, 5, 6) + EncodeTime(9, 30, 0);
    Add(entry_->Reminders, "Call Brown", when);
    Add(diary_->Events, "Dentist", Day(2024, 5, 6), true);

    const TAlarmRowText timed = AlarmRowText(*entry_->Reminders.At(0), "ddd ddddd", fs);
    EXPECT_EQ(timed.Date, FormatDateTime("ddd ddddd", when, fs));
    EXPECT_EQ(timed.Time, FormatDateTime("t", when, fs));
    EXPECT_EQ(timed.Description, "Call Brown");
    EXPECT_EQ(AlarmRowText(*diary_->Events.At(0), "ddd ddddd", fs).Time, "");

    const TAlarmOwnerText bookOwner = AlarmOwnerText(Sources(), TEventRef{&bookOwner_, 0, 0});
    EXPECT_EQ(bookOwner.Label, "Address Book:");
    EXPECT_EQ(bookOwner.Name, "FRIENDS.ADR");
    EXPECT_TRUE(bookOwner.ShowEntry);
    EXPECT_NE(bookOwner.Entry.find("Brown"), std::string::npos);
    const TAlarmOwnerText diaryOwner = AlarmOwnerText(Sources(), TEventRef{&diaryOwner_, -1, 0});
    EXPECT_EQ(diaryOwner.Label, "Diary File:");
    EXPECT_EQ(diaryOwner.Name, "WORK.TDY");
    EXPECT_FALSE(diaryOwner.ShowEntry);
    // An owner that closed names nothing.
    EXPECT_EQ(AlarmOwnerText({}, TEventRef{&diaryOwner_, -1, 0}).Label, "");

    for (int i = 0; i < 6; ++i)
        Add(diary_->Events, "Extra " + std::to_string(i), Day(2024, 5, 1));
    TAlarmList list;
    FakeClock clock(Day(2024, 5, 6) + EncodeTime(10, 0, 0));
    list.Scan(Sources(), clock);
    ASSERT_EQ(list.Count(), 8);
    const TAlarmNotice n = AlarmNotification(list, Sources(), "ddddd", fs);
    EXPECT_EQ(n.Summary, "8 Outstanding Reminders");
    EXPECT_EQ(std::count(n.Body.begin(), n.Body.end(), '\n'), 5);
    EXPECT_NE(n.Body.find("and 3 more"), std::string::npos);
}

} // namespace
} // namespace tessaly
