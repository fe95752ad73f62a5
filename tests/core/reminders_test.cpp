#include "core/diary/reminders.h"
#include "tests/support/fake_clock.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0) {
    return EncodeDate(y, m, d) + EncodeTime(hour, minute, 0);
}

TReminders Open(TDateTime when, int priority = 5, const char* description = "Dentist") {
    TReminders r;
    r.When = when;
    r.Until = when;
    r.Frequency = kDaily;
    r.Priority = static_cast<std::int16_t>(priority);
    r.Description = description;
    return r;
}

// The fields of an old record, without NoTime and AlarmTime (and, below version 1,
// without notes and priority).
std::vector<std::uint8_t> OldRecord(int version, TDateTime when, TDateTime until, bool alarm) {
    TStreamWriter w;
    w.WriteDateTime(when);
    w.WriteDateTime(until);
    w.WriteByte(0);
    w.WriteInt16(kWeekly);
    w.WriteInt16(2);
    w.WriteInt16(3);
    w.WriteByte(alarm ? 1 : 0);
    w.WriteText(std::string("Old"));
    if (version >= 1) {
        w.WriteText(std::string("notes"));
        w.WriteInt16(7);
    }
    return w.TakeBytes();
}

TEST(ReminderStream, OlderRecordsAndUntilBeforeWhen) {
    // Times that are exact binary fractions survive the stored offset unchanged.
    const TDateTime when = At(2001, 5, 6, 12);
    for (const bool alarm : {false, true}) {
        const auto bytes = OldRecord(12, when, At(2001, 6, 1), alarm);
        TStreamReader r(bytes);
        const auto e = TReminders::Read(r, 12);
        EXPECT_TRUE(r.AtEnd());
        EXPECT_EQ(e->NoTime, alarm ? 0 : 1);
        EXPECT_EQ(e->AlarmTime, when);
        EXPECT_EQ(e->Priority, 7);
        EXPECT_EQ(e->Interval, 2);
        EXPECT_EQ(e->AdvanceDays, 3);
        // The writer uses the current layout; it reads back unchanged as version 13.
        TStreamWriter w;
        e->Write(w, 12);
        EXPECT_EQ(w.Size(), bytes.size() + 9);
        TStreamReader again(w.Bytes());
        EXPECT_EQ(*TReminders::Read(again, 13), *e);
    }
    const auto v0 = OldRecord(0, when, At(2001, 5, 5, 18), false);
    TStreamReader r0(v0);
    const auto e0 = TReminders::Read(r0, 0);
    EXPECT_EQ(e0->Until, when); // an until day before the event's day becomes the event
    EXPECT_EQ(TextValue(e0->Notes), "");
    EXPECT_EQ(e0->Priority, 0);
    // The same day with an earlier time is kept as stored.
    const auto sameDay = OldRecord(12, when, At(2001, 5, 6, 6), false);
    TStreamReader r1(sameDay);
    EXPECT_EQ(TReminders::Read(r1, 12)->Until, At(2001, 5, 6, 6));
    // A record cut short throws, for the file reader to report a damaged file.
    TStreamReader cut(std::span<const std::uint8_t>(sameDay.data(), 20));
    EXPECT_THROW(TReminders::Read(cut, 12), StreamError);
}

TEST(ReminderStatus, AdvanceWarningBoundaries) {
    TReminders r = Open(At(2024, 3, 10, 23, 59));
    r.AdvanceDays = 2;
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 7, 12)), 2);
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 8)), 1);
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 9, 23, 59)), 1);
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 10, 0, 1)), 0);
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 11)), -1);
    r.AdvanceDays = 0;
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 9)), 2);
    r.Frequency = kNoteOnly;
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 11)), 2);
    r.Frequency = kOnceOnly;
    r.Completed = 1;
    EXPECT_EQ(ReminderStatus(r, At(2024, 3, 11)), 2);
}

TEST(SortKey, FieldsArePaddedToTwoCharacters) {
    TReminders r = Open(At(2024, 3, 5, 9, 30));
    EXPECT_EQ(SortKey(r, 1), " 52024 3 5 996Dentist");
    EXPECT_EQ(SortKey(r, 2), "2024 3 5 996 5Dentist");
    EXPECT_EQ(SortKey(r, 3), "Dentist2024 3 5 5 996");
    EXPECT_EQ(SortKey(r, 4), "2024 3 5 5 996Dentist");
    EXPECT_EQ(SortKey(r, 0), SortKey(r, 1));
    r.NoTime = 1;
    r.Frequency = kNoteOnly;
    EXPECT_EQ(SortKey(r, 2), "2024 3 5 097 5Dentist");
    r.Completed = 1;
    EXPECT_EQ(SortKey(r, 2), "2024 3 5999710Dentist");
    r.Description = std::string(300, 'x');
    EXPECT_EQ(SortKey(r, 3).size(), 255u);
}

TEST(SortKey, CompletedFollowsTheOpenEventsOfItsDay) {
    TReminders done = Open(At(2024, 3, 5, 0, 5), 1, "A");
    done.Completed = 1;
    const TReminders sameDay[] = {Open(At(2024, 3, 5, 23, 59), 9, "Z"),
                                  Open(At(2024, 3, 5, 0), 1, "A")};
    const TReminders nextDay = Open(At(2024, 3, 6, 0), 1, "A");
    for (const int order : {2, 4}) {
        for (const auto& open : sameDay)
            EXPECT_LT(SortKey(open, order), SortKey(done, order)) << order;
        EXPECT_LT(SortKey(done, order), SortKey(nextDay, order)) << order;
    }
}

TEST(ReminderCreate, FromTypedValues) {
    const TFormatSettings& fs = DefaultFormatSettings();
    const TDateTime today = At(2024, 1, 1);
    TReminderValues v;
    v.DateText = "31/12/1998";
    v.TimeText = "14:05";
    v.UntilText = "7/1/1999";
    v.Frequency = kWeekly;
    v.Interval = 2;
    v.AlarmDateText = "not a date";
    v.Description = std::string(300, 'd');
    TRemindersList list;
    TReminders* e = list.Add(v, fs, today);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->When, At(1998, 12, 31, 14, 5));
    EXPECT_EQ(e->Until, At(1999, 1, 7, 14, 5));
    EXPECT_EQ(e->AlarmTime, 0.0); // no alarm: the alarm texts are not read
    EXPECT_EQ(e->Completed, 0);
    EXPECT_EQ(TextValue(e->Description).size(), 255u);
    v.AlarmSet = true;
    EXPECT_EQ(list.Add(v, fs, today), nullptr);
    v.AlarmDateText = "30/12/1998";
    v.AlarmTimeText = "08:00";
    EXPECT_EQ(list.Add(v, fs, today)->AlarmTime, At(1998, 12, 30, 8));
    v.UntilText = "31/13/1998";
    EXPECT_EQ(list.Add(v, fs, today), nullptr);
    EXPECT_EQ(list.Count(), 2);
}

TEST(RemindersList, IndexedReadersAndDateRange) {
    const FakeClock clock(At(2024, 7, 1, 12));
    TRemindersList list;
    TReminders* a = list.Add(std::make_unique<TReminders>(Open(At(2024, 3, 5, 9), 3)));
    a->Notes = "n";
    a->AlarmSet = 1;
    a->Until = At(2024, 4, 1);
    TReminders* b = list.Add(std::make_unique<TReminders>(Open(At(2024, 3, 6, 9), 4)));
    b->Completed = 1;
    EXPECT_EQ(list.Description(0), "Dentist");
    EXPECT_EQ(list.Notes(0), "n");
    EXPECT_TRUE(list.AlarmSet(0));
    EXPECT_TRUE(list.Completed(1));
    EXPECT_EQ(list.Priority(1), 4);
    EXPECT_EQ(list.Until(0, clock), At(2024, 4, 1));
    EXPECT_EQ(list.ReminderStatus(0, At(2024, 3, 5)), 0);
    for (const int i : {-1, 2}) {
        EXPECT_EQ(list.Item(i), nullptr);
        EXPECT_EQ(list.Description(i), "");
        EXPECT_EQ(list.Notes(i), "");
        EXPECT_FALSE(list.Completed(i) || list.AlarmSet(i) || list.NoTime(i));
        EXPECT_EQ(list.Interval(i), -1);
        EXPECT_EQ(list.Priority(i), -1);
        EXPECT_EQ(list.Frequency(i), -1);
        EXPECT_EQ(list.When(i, clock), clock.Now());
        EXPECT_EQ(list.Until(i, clock), clock.Now());
        EXPECT_EQ(list.ReminderStatus(i, At(2024, 3, 5)), 2);
    }
    EXPECT_EQ(list.IndexOfDay(At(2024, 3, 6, 18)), 1);
    EXPECT_EQ(list.IndexOfDay(At(2024, 3, 7)), -1);

    // Printing's selection: whole days, both ends inclusive.
    EXPECT_TRUE(InDateRange(*a, false, false, At(2024, 3, 5, 23), At(2024, 3, 5)));
    EXPECT_FALSE(InDateRange(*a, false, false, At(2024, 3, 6), At(2024, 3, 9)));
    EXPECT_FALSE(InDateRange(*a, false, false, At(2024, 3, 1), At(2024, 3, 4, 23)));
    EXPECT_FALSE(InDateRange(*b, false, false, At(2024, 3, 1), At(2024, 3, 9)));
    EXPECT_TRUE(InDateRange(*b, false, true, At(2024, 3, 1), At(2024, 3, 6)));
    EXPECT_TRUE(InDateRange(*a, true, false, At(2030, 1, 1), At(2030, 1, 1)));
    EXPECT_FALSE(InDateRange(*b, true, false, 0, 0));

    // A copy of the list is deep.
    TRemindersList copy = list;
    copy.Item(0)->Description = "changed";
    EXPECT_EQ(list.Description(0), "Dentist");
}

} // namespace
} // namespace tessaly
