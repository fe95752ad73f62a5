// Recurrence across month ends, leap years and long intervals; the calendar index
// and its day lists; the agenda and due lines; the alarm list.

#include "core/diary/agenda.h"
#include "core/diary/alarms.h"
#include "core/diary/event_index.h"
#include "core/diary/occurrences.h"
#include "tests/support/fake_clock.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string_view>
#include <vector>

namespace tessaly {
namespace {

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0) {
    return EncodeDate(y, m, d) + EncodeTime(hour, minute, 0);
}

std::unique_ptr<TReminders> Event(const std::string& description, TDateTime when,
                                  int frequency = kOnceOnly, int interval = 1,
                                  TDateTime until = 0) {
    auto e = std::make_unique<TReminders>();
    e->When = when;
    e->Until = until > when ? until : when;
    e->AlarmTime = when;
    e->Frequency = static_cast<std::int16_t>(frequency);
    e->Interval = static_cast<std::int16_t>(interval);
    e->SetDescription(description);
    return e;
}

std::vector<TDateTime> Days(const TReminders& r, TDateTime first, TDateTime last,
                            bool laterOnly = true) {
    TOccurrenceRange range;
    range.First = first;
    range.Last = last;
    std::vector<TDateTime> days;
    ForEachOccurrence(r, range, [&](TDateTime day, bool later) {
        if (later || !laterOnly)
            days.push_back(day);
    });
    return days;
}

// The series stepped one occurrence at a time, as the rules state it.
std::vector<TDateTime> NaiveDays(const TReminders& r, TDateTime first, TDateTime last) {
    std::vector<TDateTime> days;
    if (r.Completed || r.Frequency < kDaily || r.Frequency > kYearly)
        return days;
    for (TDateTime d = NextOccurrence(r.Frequency, r.Interval, r.When);
         d < kNoLaterOccurrence && DateOf(d) <= DateOf(r.Until) && DateOf(d) <= last;
         d = NextOccurrence(r.Frequency, r.Interval, d))
        if (DateOf(d) >= first)
            days.push_back(DateOf(d));
    return days;
}

TEST(Recurrence, MonthEndsAreLoweredAndStayLowered) {
    auto e = Event("Rent", At(2023, 1, 31, 9), kMonthly, 1, At(2023, 12, 31));
    EXPECT_EQ(Days(*e, At(2023, 1, 1), At(2023, 6, 30)),
              (std::vector<TDateTime>{At(2023, 2, 28), At(2023, 3, 28), At(2023, 4, 28),
                                      At(2023, 5, 28), At(2023, 6, 28)}));
    EXPECT_TRUE(OccursOn(*e, At(2023, 3, 28, 17)));
    EXPECT_FALSE(OccursOn(*e, At(2023, 3, 31)));
    EXPECT_FALSE(OccursOn(*e, At(2023, 1, 31))); // its own day is not a later occurrence
    // From the 30th with interval 2 the series never meets a short month until April.
    auto even = Event("Every other", At(2023, 8, 31), kMonthly, 2, At(2024, 6, 30));
    EXPECT_EQ(Days(*even, At(2023, 1, 1), At(2024, 6, 30)),
              (std::vector<TDateTime>{At(2023, 10, 31), At(2023, 12, 31), At(2024, 2, 29),
                                      At(2024, 4, 29), At(2024, 6, 29)}));
    // Daily and weekly steps run over month and year ends.
    auto weekly = Event("Club", At(2023, 12, 27, 19), kWeekly, 1, At(2024, 1, 10));
    EXPECT_EQ(Days(*weekly, 0, At(2030, 1, 1)),
              (std::vector<TDateTime>{At(2024, 1, 3), At(2024, 1, 10)}));
}

TEST(Recurrence, LeapYearsFollowTheGregorianRules) {
    // 2000 is a leap year, 2100 is not.
    auto jan = Event("Month end", At(2000, 1, 31), kMonthly, 1, At(2000, 3, 31));
    EXPECT_EQ(Days(*jan, 0, At(2001, 1, 1)),
              (std::vector<TDateTime>{At(2000, 2, 29), At(2000, 3, 29)}));
    auto jan2100 = Event("Month end", At(2100, 1, 31), kMonthly, 1, At(2100, 3, 31));
    EXPECT_EQ(Days(*jan2100, 0, At(2101, 1, 1)),
              (std::vector<TDateTime>{At(2100, 2, 28), At(2100, 3, 28)}));
    auto daily = Event("Daily", At(2100, 2, 27), kDaily, 1, At(2100, 3, 1));
    EXPECT_EQ(Days(*daily, 0, At(2101, 1, 1)),
              (std::vector<TDateTime>{At(2100, 2, 28), At(2100, 3, 1)}));
    // A leap day every four years holds in 2000 and drops to the 28th in 2100.
    auto leap = Event("Leap day", At(1996, 2, 29), kYearly, 4, At(2110, 12, 31));
    const auto days = Days(*leap, At(1999, 1, 1), At(2110, 12, 31));
    ASSERT_GE(days.size(), 3u);
    EXPECT_EQ(days.front(), At(2000, 2, 29));
    EXPECT_TRUE(OccursOn(*leap, At(2096, 2, 29)));
    EXPECT_FALSE(OccursOn(*leap, At(2100, 2, 29 - 1) + 1)); // 1 March 2100
    EXPECT_TRUE(OccursOn(*leap, At(2100, 2, 28)));
    EXPECT_TRUE(OccursOn(*leap, At(2104, 2, 28)));
    EXPECT_FALSE(OccursOn(*leap, At(2104, 2, 29)));
    auto yearly = Event("Leap birthday", At(2000, 2, 29), kYearly, 1, At(2005, 12, 31));
    EXPECT_EQ(Days(*yearly, 0, At(2010, 1, 1)),
              (std::vector<TDateTime>{At(2001, 2, 28), At(2002, 2, 28), At(2003, 2, 28),
                                      At(2004, 2, 28), At(2005, 2, 28)}));
}

TEST(Recurrence, LongIntervalsAndDamagedSeriesEndQuickly) {
    auto big = Event("Far", At(2024, 1, 15), kDaily, 32767, At(9999, 12, 31));
    EXPECT_EQ(Days(*big, 0, At(9999, 12, 31)).size(),
              static_cast<std::size_t>((At(9999, 12, 31) - At(2024, 1, 15)) / 32767));
    auto centuries = Event("Centuries", At(1900, 6, 30), kYearly, 99, At(9999, 12, 31));
    EXPECT_TRUE(OccursOn(*centuries, At(9820, 6, 30)));
    EXPECT_FALSE(OccursOn(*centuries, At(9821, 6, 30)));
    // A monthly event from the first year to the last, queried at the far end: the
    // query jumps instead of stepping a hundred thousand months.
    auto ancient = Event("Ancient", At(1, 1, 31), kMonthly, 1, At(9999, 12, 31));
    EXPECT_TRUE(OccursOn(*ancient, At(9999, 12, 28)));
    EXPECT_FALSE(OccursOn(*ancient, At(9999, 12, 31)));
    // An interval below 1 from a damaged file counts as 1.
    auto zero = Event("Zero", At(2024, 1, 1), kWeekly, 0, At(2024, 1, 31));
    EXPECT_EQ(Days(*zero, 0, At(2025, 1, 1)).size(), 4u);
    auto odd = Event("Odd", At(2024, 1, 1), 9, 1, At(2024, 1, 31));
    EXPECT_TRUE(Days(*odd, 0, At(2025, 1, 1)).empty());
    auto end = Event("End", At(9999, 12, 30), kDaily, 1, At(9999, 12, 31));
    EXPECT_EQ(Days(*end, 0, 1e7).size(), 1u);
}

TEST(Recurrence, DailyEveryThirdDayUntilTheTenth) {
    auto e = Event("Pills", At(2024, 5, 1, 9), kDaily, 3, At(2024, 5, 10, 9));
    for (int day : {4, 7, 10})
        EXPECT_TRUE(OccursOn(*e, At(2024, 5, day))) << day;
    for (int day : {1, 2, 13})
        EXPECT_FALSE(OccursOn(*e, At(2024, 5, day))) << day;
    e->Completed = 1;
    EXPECT_FALSE(OccursOn(*e, At(2024, 5, 4)));
}

TEST(Recurrence, JumpingAheadFindsTheSameDaysAsSteppingOneByOne) {
    std::mt19937 random(1234);
    const int frequencies[] = {kDaily, kWeekly, kMonthly, kYearly};
    const int intervals[] = {1, 2, 3, 5, 6, 7, 11, 12, 13, 24, 48};
    for (int i = 0; i < 1500; ++i) {
        const int frequency = frequencies[random() % 4];
        const int interval = intervals[random() % std::size(intervals)];
        const int year = 1890 + static_cast<int>(random() % 200);
        const int month = 1 + static_cast<int>(random() % 12);
        const int day = 1 + static_cast<int>(random() % DaysInMonth(year, month));
        auto e = Event("x", At(year, month, day, 10), frequency, interval,
                       At(year + 1 + static_cast<int>(random() % 300), 12, 31));
        const TDateTime first =
            At(1900 + static_cast<int>(random() % 250), 1, 1) + static_cast<int>(random() % 365);
        const TDateTime last = first + static_cast<int>(random() % 800);
        ASSERT_EQ(Days(*e, first, last), NaiveDays(*e, first, last))
            << "frequency " << frequency << " interval " << interval << " from " << year << "-"
            << month << "-" << day;
    }
}

class Calendar : public ::testing::Test {
protected:
    void SetUp() override {
        diary.Events.Add(Event("Standup", At(2024, 3, 4, 9, 30), kDaily, 1, At(2024, 3, 8)));
        auto done = Event("Filed taxes", At(2024, 3, 5, 11));
        done->Completed = 1;
        diary.Events.Add(std::move(done));
        auto note = Event("Quiet week", At(2024, 3, 5), kNoteOnly);
        note->NoTime = 1;
        diary.Events.Add(std::move(note));
        diary.Events.Add(Event("Audit", At(2024, 3, 5, 9, 45)));

        auto entry = std::make_unique<TRecord>();
        entry->Reminders.Add(Event("Call Ann", At(2024, 3, 5, 8)));
        entry->Reminders.Add(Event("Ann's birthday", At(1990, 3, 5), kYearly, 1, At(2100, 1, 1)))
            ->NoTime = 1;
        book.Entries.Add(std::move(entry));
        book.SortOrder = 2;
        sources = {TEventSource{&book, &book, nullptr}, TEventSource{&diary, nullptr, &diary}};
    }

    TBookData book;
    TDiaryData diary;
    std::vector<TEventSource> sources;
};

TEST_F(Calendar, TheIndexHoldsOwnDaysAndLaterOccurrencesWithTheShowOptions) {
    TEventIndex index;
    index.Build(sources, CalendarViewRange(2024, true, true));
    // Birthday 1990 and its occurrences 1991-2025 (up to 1 March 2025: the 2025 one
    // falls after it), call, standup and four repeats, taxes, note, audit.
    EXPECT_EQ(index.EventCount(), 1 + 34 + 1 + 5 + 1 + 1 + 1);
    EXPECT_TRUE(index.HasEvents(At(2024, 3, 8, 12)));
    EXPECT_FALSE(index.HasEvents(At(2024, 3, 9)));
    EXPECT_FALSE(index.HasEvents(At(2025, 3, 5)));

    const auto rows = index.DayRows(At(2024, 3, 5), sources, 2);
    std::vector<std::string> order;
    for (const auto& row : rows)
        order.push_back(ResolveEvent(sources, row.Item.Ref)->Description.str());
    // By date and hour; the completed one after the open ones; later occurrences last.
    EXPECT_EQ(order, (std::vector<std::string>{"Quiet week", "Call Ann", "Audit", "Filed taxes",
                                               "Ann's birthday", "Standup"}));
    EXPECT_TRUE(rows[4].Key.starts_with("X"));

    index.Build(sources, CalendarViewRange(2024, false, false));
    EXPECT_EQ(index.ItemsOn(At(2024, 3, 5)).size(), 3u); // call, note, audit
    EXPECT_EQ(index.DayCount(), 3);                      // 1990-03-05, 2024-03-04, 2024-03-05

    // A change to one owner is redone without the others.
    diary.Events.Delete(3);
    index.Rebuild(sources[1], true);
    EXPECT_EQ(index.ItemsOn(At(2024, 3, 5)).size(), 2u);
    index.Rebuild(sources[1], false);
    EXPECT_EQ(index.ItemsOn(At(2024, 3, 5)).size(), 1u);
    EXPECT_EQ(DayCountText(0, At(2024, 3, 9)), " No Events for Saturday, 9 March 2024");
    EXPECT_EQ(DayCountText(1, At(2024, 3, 9)), " 1 Event for Saturday, 9 March 2024");
    EXPECT_EQ(DayCountText(12, At(2024, 3, 9)), " 12 Events for Saturday, 9 March 2024");
    EXPECT_EQ(EntriesForDateText(3), "Entries for this Date: 3");
}

TEST_F(Calendar, IconsOfRowsAndMonthCells) {
    TReminders& standup = *diary.Events.At(0);
    const TDateTime day = At(2024, 3, 4);
    EXPECT_EQ(RowIcon(standup, false, day - 1, 22), ""); // no advance warning
    standup.AdvanceDays = 2;
    EXPECT_EQ(RowIcon(standup, false, day - 2, 22), "Alert3");
    EXPECT_EQ(RowIcon(standup, false, day - 3, 22), "");
    EXPECT_EQ(RowIcon(standup, false, day, 22), "Alert2");
    EXPECT_EQ(RowIcon(standup, false, day + 1, 22), "Alert1");
    EXPECT_EQ(RowIcon(standup, false, day + 1, 20), "");
    EXPECT_EQ(RowIcon(standup, true, day + 1, 22), "RecurBMP");
    EXPECT_EQ(RowIcon(*diary.Events.At(1), false, day, 22), "ActedBMP");
    EXPECT_EQ(RowIcon(*diary.Events.At(2), false, day, 22), "NoteBMP");
    EXPECT_EQ(RowIcon(*book.Entries.At(0)->Reminders.At(0), false, day - 20, 22), "");
    diary.Events.At(3)->AlarmSet = 1;
    EXPECT_TRUE(RowShowsAlarm(*diary.Events.At(3)));
    EXPECT_FALSE(RowShowsAlarm(*diary.Events.At(1)));

    TEventIndex index;
    index.Build(sources, CalendarViewRange(2024, true, true));
    EXPECT_EQ(MonthCellIcons(index.ItemsOn(At(2024, 3, 5)), sources),
              (std::vector<std::string>{"Alert", "AlarmBMP", "NoteBMP", "ActedBMP", "RecurBMP"}));
    EXPECT_EQ(MonthCellIcons(index.ItemsOn(At(2024, 3, 6)), sources),
              (std::vector<std::string>{"Alert", "RecurBMP"}));
    EXPECT_TRUE(MonthCellIcons(index.ItemsOn(At(2024, 3, 9)), sources).empty());
}

TEST_F(Calendar, RowsOfEventsThatAreGoneAreLeftOutNotRead) {
    TEventIndex index;
    TOccurrenceRange range = DiaryDayRange(diary, At(2024, 3, 5));
    index.Build(sources, range);
    EXPECT_EQ(index.ItemsOn(At(2024, 3, 5)).size(), 6u);
    // The diary is replaced (a refresh) before the index is rebuilt.
    diary.Events.Clear();
    EXPECT_EQ(index.DayRows(At(2024, 3, 5), sources, 1).size(), 2u); // the book's two
    diary.ShowCompleted = 0;
    diary.ShowRecurring = 0;
    range = DiaryDayRange(diary, At(2024, 3, 5));
    EXPECT_FALSE(range.IncludeCompleted);
    EXPECT_FALSE(range.IncludeRecurring);
}

TEST_F(Calendar, DiaryDayListAndMarkedDaysFollowTheDiaryOptions) {
    std::vector<std::string> listed;
    auto list = [&](TDateTime day) {
        listed.clear();
        for (const auto& row : DiaryDayRows(diary, &diary, day))
            listed.push_back(diary.Events.At(row.Item.Ref.Event)->Description.str());
        return listed;
    };
    // Priority order (all 5): by date and hour; the completed one counts as priority
    // 10; the daily standup of the 4th stands on the 5th as a later occurrence, last.
    EXPECT_EQ(list(At(2024, 3, 5)),
              (std::vector<std::string>{"Quiet week", "Audit", "Filed taxes", "Standup"}));
    diary.SortOrder = 3;
    EXPECT_EQ(list(At(2024, 3, 5)),
              (std::vector<std::string>{"Audit", "Filed taxes", "Quiet week", "Standup"}));
    diary.ShowCompleted = 0;
    diary.ShowRecurring = 0;
    EXPECT_EQ(list(At(2024, 3, 5)), (std::vector<std::string>{"Audit", "Quiet week"}));
    EXPECT_TRUE(list(At(2024, 3, 6)).empty());
    diary.ShowRecurring = 1;
    EXPECT_EQ(list(At(2024, 3, 8)), (std::vector<std::string>{"Standup"}));
    EXPECT_TRUE(list(At(2024, 3, 9)).empty()); // past its until day

    // Only an event's own day is marked, never a later occurrence.
    EXPECT_EQ(DaysWithEvents(diary.Events, 2024, 3), (std::vector<int>{4, 5}));
    diary.Events.Add(Event("Leap", At(2024, 2, 29, 23, 59)));
    diary.Events.Add(Event("Next month", At(2024, 4, 1)));
    EXPECT_EQ(DaysWithEvents(diary.Events, 2024, 2), (std::vector<int>{29}));
    EXPECT_EQ(DaysWithEvents(diary.Events, 2024, 4), (std::vector<int>{1}));
    EXPECT_TRUE(DaysWithEvents(diary.Events, 2024, 13).empty());
    EXPECT_EQ(DistinctDescriptions(sources).front(), "Ann's birthday");
    EXPECT_EQ(DistinctDescriptions(sources).size(), 8u);
}

TEST_F(Calendar, YearlyEventsAreIndexedToTheFirstOfMarchAfterTheYearShown) {
    TDiaryData d;
    d.Events.Add(Event("Founders", At(1995, 6, 1), kYearly, 1, At(2010, 6, 1)));
    d.Events.Add(Event("New year", At(1995, 1, 15), kYearly, 1, At(2010, 6, 1)));
    const std::vector<TEventSource> one{TEventSource{&d, nullptr, &d}};
    TEventIndex index;
    index.Build(one, CalendarViewRange(1998, true, true));
    EXPECT_TRUE(index.HasEvents(At(1998, 6, 1)));
    EXPECT_FALSE(index.HasEvents(At(1999, 6, 1)));
    EXPECT_TRUE(index.HasEvents(At(1999, 1, 15)));
    index.Build(one, CalendarViewRange(1999, true, true));
    EXPECT_TRUE(index.HasEvents(At(1999, 6, 1)));
    EXPECT_TRUE(index.HasEvents(At(2000, 1, 15)));
    EXPECT_FALSE(index.HasEvents(At(2000, 6, 1)));
}

TEST_F(Calendar, AgendaLinesAreOrderedByDateTimeDescriptionAndFile) {
    diary.Events.Add(Event("\xE9t\xE9", At(2024, 3, 5, 9, 45)));            // bytes above 'z'
    diary.Events.Add(Event("Audit", At(2024, 3, 5, 9, 45) + 20.0 / 86400)); // same minute
    const auto lines = AgendaLines(sources, At(2024, 3, 5), At(2024, 3, 6));
    std::vector<std::string> text;
    for (const auto& line : lines)
        text.push_back(FormatAgendaLine(line));
    EXPECT_EQ(text, (std::vector<std::string>{
                        "2024-03-05\t--:--\tAnn's birthday",
                        "2024-03-05\t--:--\tQuiet week",
                        "2024-03-05\t08:00\tCall Ann",
                        "2024-03-05\t09:30\tStandup",
                        "2024-03-05\t09:45\tAudit",
                        "2024-03-05\t09:45\tAudit",
                        "2024-03-05\t09:45\t\xE9t\xE9",
                        "2024-03-05\t11:00\tFiled taxes",
                        "2024-03-06\t09:30\tStandup",
                    }));
    std::string all;
    AppendAgendaLines(all, lines);
    std::string joined;
    for (const auto& t : text)
        joined += t + "\n";
    EXPECT_EQ(all, joined);
    // File order breaks the tie between the two audits.
    EXPECT_EQ(lines[4].Ref.Event, 3);
    EXPECT_EQ(lines[5].Ref.Event, 5);
    // The birthday's time is ignored: it has none.
    EXPECT_TRUE(AgendaLines(sources, At(2024, 3, 10), At(2024, 3, 9)).empty());
}

// The order the agenda sorts and merges into, stated plainly: day, time (none first),
// description bytes as unsigned characters, file order.
bool PlainlyBefore(const TAgendaLine& a, const TAgendaLine& b) {
    if (a.Day != b.Day)
        return a.Day < b.Day;
    if (a.Minutes != b.Minutes)
        return a.Minutes < b.Minutes;
    const std::string_view x = TextValue(a.Event->Description);
    const std::string_view y = TextValue(b.Event->Description);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
        return static_cast<unsigned char>(c) < static_cast<unsigned char>(d);
    });
}

std::vector<int> Order(const std::vector<TAgendaLine>& lines) {
    std::vector<int> order;
    for (const auto& line : lines)
        order.push_back(line.Ref.Event);
    return order;
}

TEST(AgendaOrder, TiesGoToNoTimeThenDescriptionBytesThenFileOrder) {
    // Texts that agree in their first 8 bytes, are prefixes of each other, hold bytes
    // above 0x7F (signed as char) or a NUL, as a Windows-1252 diary may.
    const std::vector<std::string> texts = {"Quarterly report 9",
                                            "Quarterly report 10",
                                            "\x80uro",
                                            "zoo",
                                            "Zebra",
                                            "Audit",
                                            "Audit 2",
                                            std::string("ab\0", 3),
                                            "ab",
                                            "",
                                            "\xE9t\xE9",
                                            "Quarterly report 10",
                                            "Quarterly",
                                            "Quarterl",
                                            std::string("Quarterl\0", 9)};
    std::vector<std::unique_ptr<TReminders>> events;
    std::vector<TAgendaLine> lines;
    const TDateTime day = At(2024, 3, 5);
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        events.push_back(Event(texts[i], day));
        // Every text at 09:00 and without a time; later ones on the day before too.
        for (const int minutes : {9 * 60, -1})
            lines.push_back(
                MakeAgendaLine(day, minutes, *events.back(), TEventRef{nullptr, -1, i}));
        if (i % 3 == 0)
            lines.push_back(MakeAgendaLine(day - 1, 0, *events.back(), TEventRef{nullptr, -1, i}));
    }
    auto sorted = lines;
    SortAgendaLines(sorted);
    auto expected = lines;
    std::stable_sort(expected.begin(), expected.end(), PlainlyBefore);
    EXPECT_EQ(Order(sorted), Order(expected));
    std::vector<std::string> firstOfDay;
    for (const auto& line : sorted)
        if (line.Day == day && line.Minutes == -1)
            firstOfDay.emplace_back(TextValue(line.Event->Description));
    EXPECT_EQ(firstOfDay,
              (std::vector<std::string>{
                  "", "Audit", "Audit 2", "Quarterl", std::string("Quarterl\0", 9), "Quarterly",
                  "Quarterly report 10", "Quarterly report 10", "Quarterly report 9", "Zebra", "ab",
                  std::string("ab\0", 3), "zoo", "\x80uro", "\xE9t\xE9"}));
    // The two equal reports keep their file order.
    const auto report = std::find_if(sorted.begin(), sorted.end(), [](const TAgendaLine& l) {
        return l.Minutes == 9 * 60 && TextValue(l.Event->Description) == "Quarterly report 10";
    });
    ASSERT_NE(report, sorted.end());
    EXPECT_EQ(report[0].Ref.Event, 1);
    EXPECT_EQ(report[1].Ref.Event, 11);
}

TEST(AgendaOrder, SortingAndMergingFilesAgreeWithThePlainOrder) {
    std::mt19937 random(20240305);
    const std::vector<std::string> texts = {
        "Birthday", "Birthday party", "Dentist",        "dentist", "Dentist 1",
        "\xC4rzte", "Site visit 17",  "Site visit 170", "",        std::string("\0x", 2)};
    std::vector<std::unique_ptr<TReminders>> events;
    for (const auto& text : texts)
        events.push_back(Event(text, 0));
    for (const bool wide : {false, true}) {
        // A year of days, or the whole calendar as the due list sees it, and once a
        // damaged day far outside it.
        std::vector<std::vector<TAgendaLine>> files(3);
        std::vector<TAgendaLine> all;
        for (int file = 0; file < 3; ++file)
            for (int i = 0; i < 3000; ++i) {
                const int span = wide ? 3000000 : 366;
                TDateTime day =
                    At(2024, 1, 1) - (wide ? 700000 : 0) + static_cast<int>(random() % span);
                if (i % 7 == 0)
                    day = At(2024, 6, 1); // many on one day
                if (wide && file == 2 && i == 5)
                    day = 1e15;
                const int minutes = static_cast<int>(random() % 5) == 0
                                        ? -1
                                        : static_cast<int>(random() % 4) * 15 + 9 * 60;
                const TAgendaLine line = MakeAgendaLine(
                    day, minutes, *events[random() % events.size()], TEventRef{nullptr, file, i});
                files[file].push_back(line);
                all.push_back(line);
            }
        auto expected = all;
        std::stable_sort(expected.begin(), expected.end(), PlainlyBefore);
        auto sorted = all;
        SortAgendaLines(sorted);
        auto order = [](const std::vector<TAgendaLine>& lines) {
            std::vector<std::pair<int, int>> o;
            for (const auto& line : lines)
                o.emplace_back(line.Ref.Entry, line.Ref.Event);
            return o;
        };
        EXPECT_EQ(order(sorted), order(expected)) << (wide ? "wide" : "one year");
        for (auto& file : files)
            SortAgendaLines(file);
        EXPECT_EQ(order(MergeAgendaLines(files)), order(expected)) << (wide ? "wide" : "one year");
    }
}

TEST_F(Calendar, DueLinesAndTheAlarmListFollowTheAlarmRule) {
    auto* call = book.Entries.At(0)->Reminders.At(0);
    call->AlarmSet = 1;
    // Held a hair below 08:00: still due at 08:00 exactly.
    call->When = At(2024, 3, 5, 8) - 1e-10;
    auto* audit = diary.Events.At(3);
    audit->AlarmSet = 1;
    auto* taxes = diary.Events.At(1);
    taxes->AlarmSet = 1; // completed: never due

    EXPECT_TRUE(DueLines(sources, At(2024, 3, 5, 7, 59)).empty());
    auto due = DueLines(sources, At(2024, 3, 5, 8));
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(FormatAgendaLine(due[0]), "2024-03-05\t08:00\tCall Ann");
    due = DueLines(sources, At(2024, 4, 1, 0));
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(FormatAgendaLine(due[1]), "2024-03-05\t09:45\tAudit");

    FakeClock clock(At(2024, 3, 5, 9));
    TAlarmList alarms;
    alarms.Scan(sources, clock);
    EXPECT_EQ(alarms.Count(), 1);
    EXPECT_EQ(alarms.Title(), "1 Outstanding Reminder");
    EXPECT_EQ(alarms.Selected(), 0);
    clock.SetNow(At(2024, 3, 6));
    alarms.Rescan(sources[1], clock);
    EXPECT_EQ(alarms.Count(), 2);
    EXPECT_EQ(alarms.Title(), "2 Outstanding Reminders");
    // Sorted by each owner's order: the book by time, the diary by priority.
    EXPECT_EQ(alarms.At(0)->Key, SortKey(*audit, 1));
    alarms.Select(1);
    audit->Completed = 1;
    alarms.Rescan(sources[1], clock);
    EXPECT_EQ(alarms.Count(), 1);
    EXPECT_EQ(alarms.Selected(), 0); // clamped to the list
    alarms.Remove(&book);
    EXPECT_FALSE(alarms.Visible());
    EXPECT_EQ(alarms.Selected(), -1);
    EXPECT_EQ(alarms.At(0), nullptr);
}

} // namespace
} // namespace tessaly
