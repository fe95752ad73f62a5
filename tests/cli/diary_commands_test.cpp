// check, dump and load of diaries; the agenda, due and ical commands, the last one
// expanded again with libical's own recurrence iterator.

#include "cli/agenda_commands.h"
#include "cli/book_json.h"
#include "cli/commands.h"
#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <set>
#include <sstream>

namespace tessaly {
namespace {

using clitest::TRun;
using testing::NoDefaultsFile;
using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0) {
    return EncodeDate(y, m, d) + EncodeTime(hour, minute, 0);
}

TReminders* Add(TRemindersList& list, const std::string& description, TDateTime when,
                int frequency = kOnceOnly, int interval = 1, TDateTime until = 0,
                bool noTime = false) {
    auto e = std::make_unique<TReminders>();
    e->When = when;
    e->Until = until > when ? until : when;
    e->AlarmTime = when;
    e->Frequency = static_cast<std::int16_t>(frequency);
    e->Interval = static_cast<std::int16_t>(interval);
    e->NoTime = noTime ? 1 : 0;
    e->SetDescription(description);
    return list.Add(std::move(e));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class DiaryCommands : public ::testing::Test {
protected:
    void SetUp() override {
        diaryPath = dir.File("Plans.tdy");
        bookPath = dir.File("People.ADR");
        auto diary = NewDiary(diaryPath);
        TRemindersList& events = diary->Events;
        Add(events, "Rent", At(2023, 10, 31, 10), kMonthly, 1, At(2027, 6, 30));
        Add(events, "Bins", At(2023, 11, 15, 7, 5), kMonthly, 2, At(2030, 1, 1));
        Add(events, "Leap party", At(2024, 2, 29, 20), kYearly, 1, At(2029, 12, 31));
        Add(events, "Olympic leap", At(2024, 2, 29), kYearly, 4, At(2040, 1, 1), true);
        Add(events, "Pills", At(2023, 12, 30), kDaily, 3, At(2024, 2, 10), true);
        Add(events, "Choir \xE9t\xE9", At(2022, 5, 3, 18, 30), kWeekly, 2, At(2028, 12, 31));
        Add(events, "Anniversary", At(2020, 1, 30, 12), kMonthly, 12, At(2035, 1, 1));
        Add(events, "Finished", At(2024, 6, 1, 9), kDaily, 1, At(2024, 6, 9))->Completed = 1;
        Add(events, "Note", At(2025, 7, 4), kNoteOnly, 1, 0, true);
        Add(events, "Dentist", At(2026, 3, 3, 9, 15))->AlarmSet = 1;
        Add(events, "Old series", At(2020, 1, 1), kDaily, 1, At(2023, 12, 31), true);
        Add(events, "New year", At(2023, 12, 31, 23, 59), kYearly, 1, At(2040, 1, 1));
        Add(events, "Last day", At(2028, 12, 31, 8));
        Add(events, "Pay day", At(2025, 8, 31), kMonthly, 1, At(2026, 12, 31), true);
        ASSERT_TRUE(SaveDiary(*diary, false, TStoreSettings()).Ok);

        auto book = NewBook(bookPath, NoDefaultsFile());
        auto entry = std::make_unique<TRecord>();
        Add(entry->Reminders, "Ann's birthday", At(1980, 8, 31), kMonthly, 12, At(2099, 1, 1),
            true);
        TReminders* call = Add(entry->Reminders, "Call Ann", At(2026, 3, 3, 9, 15));
        call->AlarmSet = 1;
        book->Entries.Add(std::move(entry));
        ASSERT_TRUE(SaveBook(*book, false, NoDefaultsFile()).Ok);
    }

    TScratchDir dir;
    std::string diaryPath;
    std::string bookPath;
};

TEST_F(DiaryCommands, ADiaryChecksDumpsAndLoadsBackToTheSameBytes) {
    TRun check;
    EXPECT_EQ(CommandCheck(diaryPath, check.Streams()), 0);
    EXPECT_EQ(check.Out.str(), "OK\n");
    TRun dump;
    ASSERT_EQ(CommandDump(diaryPath, dump.Streams()), 0) << dump.Err.str();
    const TJson json = ParseJsonText(dump.Out.str());
    std::vector<std::string> keys;
    for (const auto& item : json.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"Version", "WindowState", "WindowBounds", "ShowCompleted",
                                        "ShowRecurring", "ShowNotes", "SortOrder", "Created",
                                        "LastUpdated", "ColumnWidths", "Events"}));
    EXPECT_EQ(json["Events"][5]["Description"], "Choir \u00e9t\u00e9");

    const std::string copy = dir.File("Copy.TDY");
    TRun load(dump.Out.str());
    ASSERT_EQ(CommandLoad(copy, load.Streams()), 0) << load.Err.str();
    EXPECT_EQ(ReadBytes(copy), ReadBytes(diaryPath));

    TRun bad(R"({"Version": 13})");
    EXPECT_EQ(CommandLoad(dir.File("Bad.tdy"), bad.Streams()), 1);
    EXPECT_NE(bad.Err.str().find("WindowState: is missing"), std::string::npos) << bad.Err.str();

    auto bytes = ReadBytes(diaryPath);
    bytes.back() = 0;
    WriteBytes(dir.File("Broken.TDY"), bytes);
    TRun broken;
    EXPECT_EQ(CommandCheck(dir.File("Broken.TDY"), broken.Streams()), 1);
    EXPECT_EQ(broken.Out.str(),
              "BROKEN.TDY Diary File is Corrupt - Recover File from Backup Copy\n");
    TRun missing;
    EXPECT_EQ(CommandCheck(dir.File("None.TDY"), missing.Streams()), 1);
    EXPECT_EQ(missing.Out.str(), "Diary " + dir.File("None.TDY") + " could not be located\n");
}

TEST_F(DiaryCommands, NewMakesADiaryForADiaryName) {
    // A .TDY made by new must read as a diary, not be a book under a diary's name.
    const std::string path = dir.File("Fresh.TDY");
    TRun make;
    ASSERT_EQ(CommandNew(path, dir.File("no-config"), false, make.Streams()), 0) << make.Err.str();
    const TDiaryLoad loaded = LoadDiary(path);
    ASSERT_TRUE(loaded.Diary) << loaded.Message;
    EXPECT_EQ(loaded.Diary->Events.Count(), 0);
    TRun again;
    EXPECT_EQ(CommandNew(path, dir.File("no-config"), false, again.Streams()), 1);
}

TEST_F(DiaryCommands, AgendaAndDueReadBooksAndDiariesInTheOrderGiven) {
    TRun agenda;
    ASSERT_EQ(CommandAgenda({bookPath, diaryPath}, "2026-03-01", "2026-03-03", agenda.Streams()), 0)
        << agenda.Err.str();
    EXPECT_EQ(Lines(agenda.Out.str()), (std::vector<std::string>{
                                           "2026-03-03\t09:15\tCall Ann",
                                           "2026-03-03\t09:15\tDentist",
                                           "2026-03-03\t18:30\tChoir \u00e9t\u00e9",
                                       }));
    TRun month;
    ASSERT_EQ(CommandAgenda({diaryPath}, "2024-02-26", "2024-03-01", month.Streams()), 0);
    EXPECT_EQ(Lines(month.Out.str()), (std::vector<std::string>{
                                          // 31 October, 30 November... lowered to the 29th.
                                          "2024-02-29\t--:--\tOlympic leap",
                                          "2024-02-29\t10:00\tRent",
                                          "2024-02-29\t20:00\tLeap party",
                                      }));

    TRun due;
    ASSERT_EQ(CommandDue({diaryPath, bookPath}, "2026-03-03 09:15", due.Streams()), 0);
    EXPECT_EQ(Lines(due.Out.str()), (std::vector<std::string>{
                                        "2026-03-03\t09:15\tCall Ann",
                                        "2026-03-03\t09:15\tDentist",
                                    }));
    TRun early;
    ASSERT_EQ(CommandDue({diaryPath, bookPath}, "2026-03-03 09:14", early.Streams()), 0);
    EXPECT_EQ(early.Out.str(), "");

    TRun badDate;
    EXPECT_EQ(CommandAgenda({diaryPath}, "2024-02-30", "2024-03-01", badDate.Streams()), 1);
    EXPECT_EQ(badDate.Err.str(), "--from \"2024-02-30\" is not a date of the form YYYY-MM-DD\n");
    TRun backwards;
    EXPECT_EQ(CommandAgenda({diaryPath}, "2024-03-02", "2024-03-01", backwards.Streams()), 1);
    TRun badNow;
    EXPECT_EQ(CommandDue({diaryPath}, "2026-03-03 24:00", badNow.Streams()), 1);
    TRun missing;
    EXPECT_EQ(CommandAgenda({diaryPath, dir.File("gone.tdy")}, "2024-03-01", "2024-03-01",
                            missing.Streams()),
              1);
    EXPECT_EQ(missing.Out.str(), "");
}

// "YYYY-MM-DD<TAB>HH:MM" of an iCalendar value, "--:--" for a DATE.
std::string Slot(const icaltimetype& t) {
    char buf[32];
    if (t.is_date)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d\t--:--", t.year, t.month, t.day);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d\t%02d:%02d", t.year, t.month, t.day, t.hour,
                      t.minute);
    return buf;
}

// Every instance of every VEVENT from `first` to `last` (dates as "YYYY-MM-DD"), by
// libical's expansion of DTSTART, RRULE and RDATE.
std::multiset<std::string> Expand(const std::string& text, const std::string& first,
                                  const std::string& last, std::map<std::string, int>& kinds) {
    std::multiset<std::string> found;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    if (!calendar)
        return found;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const std::string summary = icalcomponent_get_summary(event);
        const icaltimetype start = icalcomponent_get_dtstart(event);
        std::set<std::string> slots{Slot(start)};
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            ++kinds["RRULE"];
            icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(p), start);
            for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
                 t = icalrecur_iterator_next(it)) {
                if (Slot(t).substr(0, 10) > last)
                    break;
                slots.insert(Slot(t));
            }
            icalrecur_iterator_free(it);
        }
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            ++kinds["RDATE"];
            slots.insert(Slot(icalproperty_get_rdate(p).time));
        }
        for (const auto& slot : slots) {
            const std::string day = slot.substr(0, 10);
            if (day >= first && day <= last)
                found.insert(slot + "\t" + summary);
        }
    }
    icalcomponent_free(calendar);
    return found;
}

TEST_F(DiaryCommands, TheICalendarExpandsToExactlyTheDaysOfTheAgendaOverFiveYears) {
    TRun agenda;
    ASSERT_EQ(CommandAgenda({diaryPath, bookPath}, "2024-01-01", "2028-12-31", agenda.Streams()),
              0);
    const auto lines = Lines(agenda.Out.str());
    const std::multiset<std::string> listed(lines.begin(), lines.end());
    ASSERT_GT(listed.size(), 200u);

    TRun ical;
    ASSERT_EQ(CommandICal({diaryPath, bookPath}, std::nullopt, std::nullopt, ical.Streams(),
                          tessaly_write_icalendar),
              0)
        << ical.Err.str();
    std::map<std::string, int> kinds;
    const auto expanded = Expand(ical.Out.str(), "2024-01-01", "2028-12-31", kinds);
    EXPECT_EQ(expanded, listed);
    // Both forms were exercised: rules where they agree, dates where they do not.
    EXPECT_GE(kinds["RRULE"], 5);
    EXPECT_GE(kinds["RDATE"], 10);

    // With a range only the events standing in it are written, and they still agree.
    TRun ranged;
    ASSERT_EQ(CommandICal({diaryPath, bookPath}, "2026-01-01", "2026-12-31", ranged.Streams(),
                          tessaly_write_icalendar),
              0);
    TRun year;
    ASSERT_EQ(CommandAgenda({diaryPath, bookPath}, "2026-01-01", "2026-12-31", year.Streams()), 0);
    const auto yearLines = Lines(year.Out.str());
    EXPECT_EQ(Expand(ranged.Out.str(), "2026-01-01", "2026-12-31", kinds),
              std::multiset<std::string>(yearLines.begin(), yearLines.end()));
    EXPECT_EQ(ranged.Out.str().find("Old series"), std::string::npos);

    const std::string text = ical.Out.str();
    EXPECT_NE(text.find("STATUS:COMPLETED"), std::string::npos);
    EXPECT_NE(text.find("TRIGGER:PT0S"), std::string::npos);
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20240229"), std::string::npos);
    EXPECT_NE(text.find("RDATE;VALUE=DATE:20250930"), std::string::npos);
    EXPECT_NE(text.find("SUMMARY:Choir \u00e9t\u00e9"), std::string::npos);
}

} // namespace
} // namespace tessaly
