// Diaries and a book's reminders synced through a CalDAV server held in memory: every
// kind of event there and back, changes both ways, conflicts, deletions against
// changes, what a diary cannot hold kept on the server, and the reminders pushed.

#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/calendar_state.h"
#include "core/sync/diary_sync.h"
#include "core/sync/reminder_sync.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_dav_server.h"
#include "tests/support/scratch_dir.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TFakeDavServer;
using testing::TScratchDir;

const TCalendarCodec kCodec{&tessaly_write_icalendar, &tessaly_read_icalendar};

TReminders Event(TDateTime when, int frequency, const std::string& description) {
    TReminders e;
    e.When = when;
    e.Until = when;
    e.Frequency = static_cast<std::int16_t>(frequency);
    e.SetDescription(description);
    return e;
}

// One event of every kind a diary holds.
std::vector<TReminders> EveryKindOfEvent() {
    std::vector<TReminders> events;
    events.push_back(
        Event(ComposeDateTime(EncodeDate(2027, 3, 4), EncodeTime(9, 30, 0)), kOnceOnly, "Dentist"));
    events.back().SetNotes("Bring the forms");
    events.back().Priority = 2;
    events.push_back(Event(EncodeDate(2027, 3, 5), kNoteOnly, "Plain note"));
    events.back().NoTime = 1;
    TReminders weekly =
        Event(ComposeDateTime(EncodeDate(2027, 3, 1), EncodeTime(18, 0, 0)), kWeekly, "Choir");
    weekly.Interval = 2;
    weekly.Until = ComposeDateTime(EncodeDate(2027, 6, 28), EncodeTime(18, 0, 0));
    weekly.AlarmSet = 1;
    weekly.AlarmTime = ComposeDateTime(EncodeDate(2027, 3, 1), EncodeTime(17, 45, 0));
    weekly.AdvanceDays = 3;
    events.push_back(weekly);
    // The 31st of each month: the standard's rule skips short months, the diary's
    // moves to their last day and keeps it, so its days go as RDATEs.
    TReminders monthly = Event(EncodeDate(2027, 1, 31), kMonthly, "Month end");
    monthly.NoTime = 1;
    monthly.Until = EncodeDate(2027, 7, 31);
    events.push_back(monthly);
    TReminders done =
        Event(ComposeDateTime(EncodeDate(2027, 2, 2), EncodeTime(8, 0, 0)), kOnceOnly, "Paid");
    done.Completed = 1;
    events.push_back(done);
    TReminders yearly = Event(EncodeDate(2027, 5, 9), kYearly, "Anniversary");
    yearly.NoTime = 1;
    yearly.Until = EncodeDate(2040, 5, 9);
    yearly.Priority = 7;
    events.push_back(yearly);
    return events;
}

class SyncCalendarTest : public ::testing::Test {
protected:
    std::string MakeDiary(const std::string& folder, const std::vector<TReminders>& events) {
        std::filesystem::create_directories(dir.File(folder));
        const std::string path = dir.File(folder + "/Home.TDY");
        auto diary = NewDiary(path);
        for (const auto& e : events)
            diary->Events.Add(std::make_unique<TReminders>(e));
        EXPECT_TRUE(SaveDiary(*diary, false, testing::NoDefaultsFile()).Ok);
        return path;
    }

    static std::vector<TReminders> EventsOf(const std::string& path) {
        auto loaded = LoadDiary(path);
        EXPECT_TRUE(loaded.Diary) << loaded.Message;
        std::vector<TReminders> out;
        for (int i = 0; loaded.Diary && i < loaded.Diary->Events.Count(); ++i)
            out.push_back(*loaded.Diary->Events.At(i));
        return out;
    }

    template <class F> void Edit(const std::string& path, F change) {
        auto loaded = LoadDiary(path);
        ASSERT_TRUE(loaded.Diary);
        change(*loaded.Diary);
        ASSERT_TRUE(SaveDiary(*loaded.Diary, false, testing::NoDefaultsFile()).Ok);
    }

    static const TReminders* Find(const std::vector<TReminders>& events, const std::string& d) {
        for (const auto& e : events)
            if (TextValue(e.Description) == d)
                return &e;
        return nullptr;
    }

    TSyncResult Sync(const std::string& path, const std::string& server = std::string()) {
        TSyncOptions options;
        options.Server = server;
        options.Settings = testing::NoDefaultsFile();
        return SyncDiary(path, options, kCodec, dav);
    }

    const TFakeDavServer::TCollection& Calendar(const std::string& name = "Home") {
        return dav.Collections.at(std::string(TFakeDavServer::kHome) + name + "/");
    }

    TScratchDir dir;
    TFakeDavServer dav;
};

TEST_F(SyncCalendarTest, EveryKindOfEventReachesAnotherDiaryUnchanged) {
    const auto events = EveryKindOfEvent();
    const std::string a = MakeDiary("a", events);
    const std::string b = MakeDiary("b", {});
    // Found through the well-known address and the home set; made, as none is there.
    const TSyncResult first = Sync(a, std::string(TFakeDavServer::kOrigin) + "/");
    ASSERT_TRUE(first.Ok) << first.Failure;
    EXPECT_TRUE(first.CreatedCollection);
    EXPECT_TRUE(Calendar().Calendar);
    EXPECT_EQ(first.Uploaded, static_cast<int>(events.size()));
    ASSERT_EQ(Calendar().Members.size(), events.size());
    std::string monthEnd;
    for (const auto& [path, m] : Calendar().Members)
        if (m.Data.find("Month end") != std::string::npos)
            monthEnd = m.Data;
    EXPECT_NE(monthEnd.find("RDATE;VALUE=DATE:20270228"), std::string::npos) << monthEnd;
    EXPECT_EQ(monthEnd.find("RRULE"), std::string::npos) << monthEnd;

    const TSyncResult second = Sync(b, std::string(TFakeDavServer::kOrigin) + "/");
    ASSERT_TRUE(second.Ok) << second.Failure;
    EXPECT_FALSE(second.CreatedCollection);
    EXPECT_EQ(second.Downloaded, static_cast<int>(events.size()));
    EXPECT_EQ(second.Uploaded, 0);
    const auto got = EventsOf(b);
    ASSERT_EQ(got.size(), events.size());
    for (const auto& e : EventsOf(a)) {
        const TReminders* same = Find(got, std::string(TextValue(e.Description)));
        ASSERT_TRUE(same) << TextValue(e.Description);
        EXPECT_EQ(*same, e) << TextValue(e.Description);
    }
    // Nothing changed: further rounds send and bring nothing.
    for (const std::string& path : {a, b}) {
        const TSyncResult again = Sync(path);
        EXPECT_TRUE(again.Ok);
        EXPECT_EQ(again.Uploaded + again.Downloaded + again.Conflicts, 0) << path;
    }
}

TEST_F(SyncCalendarTest, ChangesDeletionsAndConflictsBetweenTwoDiaries) {
    const std::string a = MakeDiary("a", EveryKindOfEvent());
    const std::string b = MakeDiary("b", {});
    ASSERT_TRUE(Sync(a, std::string(TFakeDavServer::kOrigin) + "/").Ok);
    ASSERT_TRUE(Sync(b, std::string(TFakeDavServer::kOrigin) + "/").Ok);

    const auto editEvent = [&](const std::string& path, const std::string& d, auto change) {
        Edit(path, [&](TDiaryData& diary) {
            for (int i = 0; i < diary.Events.Count(); ++i)
                if (TextValue(diary.Events.At(i)->Description) == d)
                    change(*diary.Events.At(i), i, diary);
        });
    };
    // Both change the dentist; A moves choir; B deletes the note; A changes the paid
    // event that B deletes.
    editEvent(a, "Dentist", [](TReminders& e, int, TDiaryData&) { e.SetNotes("Forms from A"); });
    editEvent(b, "Dentist", [](TReminders& e, int, TDiaryData&) { e.SetNotes("Forms from B"); });
    editEvent(a, "Choir", [](TReminders& e, int, TDiaryData&) { e.When += 1; });
    editEvent(b, "Plain note", [](TReminders&, int i, TDiaryData& d) { d.Events.Delete(i); });
    editEvent(a, "Paid", [](TReminders& e, int, TDiaryData&) { e.SetNotes("Receipt filed"); });
    editEvent(b, "Paid", [](TReminders&, int i, TDiaryData& d) { d.Events.Delete(i); });

    const TSyncResult ra = Sync(a);
    ASSERT_TRUE(ra.Ok) << ra.Failure;
    const TSyncResult rb = Sync(b);
    ASSERT_TRUE(rb.Ok) << rb.Failure;
    EXPECT_EQ(rb.Conflicts, 1);
    ASSERT_TRUE(Sync(a).Ok);

    for (const std::string& path : {a, b}) {
        const auto events = EventsOf(path);
        SCOPED_TRACE(path);
        ASSERT_TRUE(Find(events, "Dentist"));
        EXPECT_EQ(TextValue(Find(events, "Dentist")->Notes), "Forms from A");
        const TReminders* kept = Find(events, std::string(kDiaryConflictMark) + "Dentist");
        ASSERT_TRUE(kept);
        EXPECT_EQ(TextValue(kept->Notes), "Forms from B");
        ASSERT_TRUE(Find(events, "Choir"));
        EXPECT_EQ(CalendarMs(Find(events, "Choir")->When),
                  CalendarMs(ComposeDateTime(EncodeDate(2027, 3, 2), EncodeTime(18, 0, 0))));
        EXPECT_FALSE(Find(events, "Plain note"));
        ASSERT_TRUE(Find(events, "Paid")); // changed on one side, deleted on the other
        EXPECT_EQ(TextValue(Find(events, "Paid")->Notes), "Receipt filed");
        EXPECT_EQ(events.size(), 6u);
    }
    EXPECT_EQ(Calendar().Members.size(), 6u);
}

TEST_F(SyncCalendarTest, WhatADiaryCannotHoldStaysOnTheServer) {
    const std::string a = MakeDiary("a", {});
    const std::string url = dav.AddCalendar("Home") + "meeting.ics";
    dav.PutDirect(url, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n"
                       "BEGIN:VEVENT\r\nUID:meeting-1\r\nDTSTAMP:20270101T000000Z\r\n"
                       "DTSTART:20270301T100000\r\nDTEND:20270301T113000\r\n"
                       "RRULE:FREQ=WEEKLY;BYDAY=MO,WE\r\n"
                       "SUMMARY:Caf\xc3\xa9 \xe2\x98\x95 meeting\r\n"
                       "ATTENDEE;CN=Ann:mailto:ann@example.org\r\n"
                       "END:VEVENT\r\nEND:VCALENDAR\r\n");
    const TSyncResult first = Sync(a, dav.AddCalendar("Home"));
    ASSERT_TRUE(first.Ok) << first.Failure;
    auto events = EventsOf(a);
    ASSERT_EQ(events.size(), 1u);
    // Held as far as the diary can: the first day, the text with "?" for what
    // Windows-1252 lacks.
    EXPECT_EQ(events[0].Frequency, kOnceOnly);
    EXPECT_EQ(CalendarMs(events[0].When),
              CalendarMs(ComposeDateTime(EncodeDate(2027, 3, 1), EncodeTime(10, 0, 0))));
    EXPECT_EQ(TextValue(events[0].Description), "Caf\xe9 ? meeting");

    Edit(a, [](TDiaryData& d) { d.Events.At(0)->SetNotes("Room 4"); });
    const TSyncResult second = Sync(a);
    ASSERT_TRUE(second.Ok) << second.Failure;
    EXPECT_EQ(second.Uploaded, 1);
    const std::string& sent =
        Calendar().Members.at(url.substr(std::strlen(TFakeDavServer::kOrigin))).Data;
    EXPECT_NE(sent.find("RRULE:FREQ=WEEKLY;BYDAY=MO,WE"), std::string::npos) << sent;
    EXPECT_NE(sent.find("ATTENDEE;CN=Ann:mailto:ann@example.org"), std::string::npos) << sent;
    EXPECT_NE(sent.find("DURATION:PT1H30M"), std::string::npos) << sent;
    EXPECT_NE(sent.find("Caf\xc3\xa9 \xe2\x98\x95 meeting"), std::string::npos) << sent;
    EXPECT_NE(sent.find("DESCRIPTION:Room 4"), std::string::npos) << sent;
    EXPECT_NE(sent.find("UID:meeting-1"), std::string::npos) << sent;

    // Moved here to another weekday: the server's own rule no longer applies.
    Edit(a, [](TDiaryData& d) {
        d.Events.At(0)->When += 1;
        d.Events.At(0)->Frequency = kDaily;
        d.Events.At(0)->Until = EncodeDate(2027, 3, 10);
    });
    ASSERT_TRUE(Sync(a).Ok);
    const std::string& moved = Calendar().Members.begin()->second.Data;
    EXPECT_EQ(moved.find("BYDAY"), std::string::npos) << moved;
    EXPECT_NE(moved.find("RRULE:FREQ=DAILY;UNTIL=20270310"), std::string::npos) << moved;
}

TEST_F(SyncCalendarTest, ServersWithoutTheReportOrTheETagAndCutRounds) {
    dav.RefuseSyncCollection = true;
    dav.PutWithoutETag = true;
    const std::string a = MakeDiary("a", EveryKindOfEvent());
    const std::string b = MakeDiary("b", {});
    ASSERT_TRUE(Sync(a, dav.AddCalendar("Home")).Ok);
    TCalendarState state;
    std::string why;
    ASSERT_EQ(ReadCalendarState(CalendarStatePath(a), state, why), TCalendarStateRead::Read);
    ASSERT_EQ(state.Events.size(), 6u);
    for (const auto& [uid, record] : state.Events)
        EXPECT_FALSE(record.ETag.empty()) << uid; // fetched again after the PUT

    // B's first round is cut in the middle of its uploads; the next one finishes it
    // without doubling an event.
    Edit(b, [](TDiaryData& d) {
        d.Events.Add(std::make_unique<TReminders>(Event(EncodeDate(2027, 4, 1), kOnceOnly, "X")));
        d.Events.Add(std::make_unique<TReminders>(Event(EncodeDate(2027, 4, 2), kOnceOnly, "Y")));
    });
    dav.PutWithoutETag = false;
    int puts = 0;
    dav.BeforeAnswer = [&](const THttpRequest& r) {
        if (r.Method == "PUT" && ++puts == 2)
            dav.DropRequest(0, true); // this PUT: carried out, its answer lost
    };
    EXPECT_FALSE(Sync(b, dav.AddCalendar("Home")).Ok);
    dav.BeforeAnswer = nullptr;
    const TSyncResult again = Sync(b);
    ASSERT_TRUE(again.Ok) << again.Failure;
    EXPECT_EQ(EventsOf(b).size(), 8u);
    EXPECT_EQ(Calendar().Members.size(), 8u);
    ASSERT_TRUE(Sync(a).Ok);
    EXPECT_EQ(EventsOf(a).size(), 8u);
}

TEST_F(SyncCalendarTest, BookRemindersArePushedAndPutBack) {
    const std::string path = dir.File("Office.ADR");
    auto book = NewBook(path, testing::NoDefaultsFile());
    auto entry = std::make_unique<TRecord>();
    entry->SetNameField(kFieldSurname, "Ames");
    entry->Reminders.Add(std::make_unique<TReminders>(Event(
        ComposeDateTime(EncodeDate(2027, 6, 1), EncodeTime(11, 0, 0)), kOnceOnly, "Call back")));
    TReminders birthday = Event(EncodeDate(1990, 8, 12), kYearly, "Birthday");
    birthday.NoTime = 1;
    birthday.Until = EncodeDate(2090, 8, 12);
    entry->Reminders.Add(std::make_unique<TReminders>(birthday));
    TRecord& ames = *book->Entries.Add(std::move(entry));
    const std::string firstUid = ReminderUid(ames, 1);
    ASSERT_TRUE(SaveBook(*book, false, testing::NoDefaultsFile()).Ok);

    TSyncOptions options;
    options.Server = std::string(TFakeDavServer::kOrigin) + "/";
    options.Settings = testing::NoDefaultsFile();
    options.ICalWriter = &tessaly_write_icalendar;
    const TSyncResult first = SyncBook(path, options, dav);
    ASSERT_TRUE(first.Ok) << first.Failure;
    EXPECT_EQ(first.RemindersUploaded, 2);
    const auto& calendar = Calendar("Office%20Reminders");
    EXPECT_TRUE(calendar.Calendar);
    ASSERT_EQ(calendar.Members.size(), 2u);
    const std::string callPath =
        std::string(TFakeDavServer::kHome) + "Office%20Reminders/" + firstUid + ".ics";
    ASSERT_TRUE(calendar.Members.count(callPath)) << callPath;
    EXPECT_NE(calendar.Members.at(callPath).Data.find("UID:" + firstUid), std::string::npos);

    // Changed on the server: the book's version goes back, and a note says so.
    dav.PutDirect(TFakeDavServer::kOrigin + callPath,
                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:" + firstUid +
                      "\r\nDTSTART:20270601T120000\r\nSUMMARY:Other\r\nEND:VEVENT\r\n"
                      "END:VCALENDAR\r\n");
    options.Server.clear();
    const TSyncResult second = SyncBook(path, options, dav);
    ASSERT_TRUE(second.Ok) << second.Failure;
    EXPECT_EQ(second.RemindersUploaded, 1);
    EXPECT_NE(calendar.Members.at(callPath).Data.find("SUMMARY:Call back"), std::string::npos);
    bool noted = false;
    for (const auto& note : second.Notes)
        noted = noted || note.find("put back") != std::string::npos;
    EXPECT_TRUE(noted);

    // A reminder deleted in the book goes from the server.
    auto loaded = LoadBook(path, testing::NoDefaultsFile());
    ASSERT_TRUE(loaded.Book);
    loaded.Book->Entries.At(0)->Reminders.Delete(1);
    ASSERT_TRUE(SaveBook(*loaded.Book, false, testing::NoDefaultsFile()).Ok);
    const TSyncResult third = SyncBook(path, options, dav);
    ASSERT_TRUE(third.Ok) << third.Failure;
    EXPECT_EQ(third.RemindersDeleted, 1);
    EXPECT_EQ(calendar.Members.size(), 1u);
}

// Times of other programs' events: UTC and named zones become this machine's local
// time; a changed occurrence and the zone itself are kept beside the events.
TEST(ICalendarReaderTest, TimesInUtcAndInNamedZonesBecomeLocalTimes) {
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::string text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n"
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\n"
        "DTSTART:19701025T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\nBEGIN:DAYLIGHT\r\n"
        "DTSTART:19700329T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
        "BEGIN:VEVENT\r\nUID:berlin\r\nDTSTART;TZID=Europe/Berlin:20270115T100000\r\n"
        "RRULE:FREQ=DAILY;INTERVAL=2;UNTIL=20270130T090000Z\r\nSUMMARY:Call\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:berlin\r\nRECURRENCE-ID;TZID=Europe/Berlin:20270117T100000\r\n"
        "DTSTART;TZID=Europe/Berlin:20270117T110000\r\nSUMMARY:Call later\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:utc\r\nDTSTART:20270115T100000Z\r\nSUMMARY:Review\r\n"
        "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT30M\r\nDESCRIPTION:x\r\nEND:VALARM\r\n"
        "BEGIN:VALARM\r\nACTION:EMAIL\r\nTRIGGER:-P1D\r\nEND:VALARM\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n";
    TICalCalendar calendar;
    std::string error;
    ASSERT_TRUE(tessaly_read_icalendar(&text, &calendar, &error)) << error;
    ASSERT_EQ(calendar.Events.size(), 2u);
    EXPECT_EQ(calendar.Extra.size(), 2u); // the zone and the changed occurrence
    const TICalEvent& berlin = calendar.Events[0];
    EXPECT_EQ(berlin.Start.Hour, 9);
    ASSERT_TRUE(berlin.Rule);
    EXPECT_EQ(berlin.Rule->Interval, 2);
    EXPECT_EQ(berlin.Rule->Until.Day, 30);
    const TICalEvent& utc = calendar.Events[1];
    EXPECT_EQ(utc.Start.Hour, 10);
    EXPECT_TRUE(utc.Alarm);
    EXPECT_EQ(utc.AlarmSeconds, -1800);
    EXPECT_EQ(utc.ExtraComponents.size(), 1u); // the mail alarm, kept

    TICalCalendar one = calendar;
    one.Events.erase(one.Events.begin() + 1);
    const TImportedEvent imported = ImportEvent(one);
    ASSERT_TRUE(imported.Event);
    EXPECT_EQ(imported.Event->Frequency, kDaily);
    EXPECT_EQ(imported.Event->Interval, 2);
    EXPECT_EQ(DateOf(imported.Event->Until), EncodeDate(2027, 1, 30));
    // Written back unchanged, the changed occurrence goes with it.
    std::string written;
    const TICalCalendar back = EventCalendar(*imported.Event, imported.Uid, imported.Kept, 0);
    tessaly_write_icalendar(&back, &written);
    EXPECT_NE(written.find("Call later"), std::string::npos) << written;
    EXPECT_NE(written.find("TZID:Europe/Berlin"), std::string::npos) << written;
    if (oldTz)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

} // namespace
} // namespace tessaly
