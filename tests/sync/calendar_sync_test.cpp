// "tessaly-cli sync" of diaries and of a book's reminders against a Radicale server the
// test starts: two diaries meeting through a calendar, the reminders of a book
// appearing as events of a calendar of their own, and both finishing what a killed
// round or a line that drops left undone.

#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/reminder_sync.h"
#include "tests/support/dropping_proxy.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/shell_run.h"
#include "tests/sync/radicale_test.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <thread>

namespace tessaly {
namespace {

using testing::TRadicaleServer;
using testing::TScratchDir;

using TCommand = testing::TShellRun;

std::string SyncCommand(const std::string& file, const std::string& more) {
    return testing::WithoutSecretService(TESSALY_CLI) + " sync " + file + " --user ann " + more;
}

TCommand Sync(const std::string& file, const std::string& more) {
    return testing::RunShell(SyncCommand(file, more));
}

TReminders Event(TDateTime when, int frequency, const std::string& description) {
    TReminders e;
    e.When = when;
    e.Until = when;
    e.Frequency = static_cast<std::int16_t>(frequency);
    e.SetDescription(description);
    return e;
}

std::vector<TReminders> EventsOf(const std::string& path) {
    auto loaded = LoadDiary(path);
    EXPECT_TRUE(loaded.Diary) << loaded.Message;
    std::vector<TReminders> out;
    for (int i = 0; loaded.Diary && i < loaded.Diary->Events.Count(); ++i)
        out.push_back(*loaded.Diary->Events.At(i));
    std::sort(out.begin(), out.end(), [](const TReminders& x, const TReminders& y) {
        return TextValue(x.Description) < TextValue(y.Description);
    });
    return out;
}

// The texts of the objects the server keeps in the collection shown as `name`. The
// server may still be finishing a request of a client killed mid-round, its files
// coming and going as they are read: the folder is read again until one reading of it
// goes through whole.
std::vector<std::string> StoredObjects(const std::string& root, const std::string& name) {
    namespace fs = std::filesystem;
    for (int attempt = 0;; ++attempt) {
        std::vector<std::string> out;
        std::error_code error;
        for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().filename() != ".Radicale.props")
                continue;
            std::stringstream props;
            props << std::ifstream(it->path()).rdbuf();
            if (props.str().find("\"" + name + "\"") == std::string::npos)
                continue;
            for (fs::directory_iterator item(it->path().parent_path(), error), last;
                 !error && item != last; item.increment(error))
                if (item->path().extension() == ".ics") {
                    std::stringstream text;
                    text << std::ifstream(item->path()).rdbuf();
                    out.push_back(text.str());
                }
        }
        if (!error || attempt == 100)
            return out;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// `count` one-off events of their own dates and descriptions.
std::vector<TReminders> ManyEvents(int count) {
    std::vector<TReminders> out;
    for (int i = 0; i < count; ++i)
        out.push_back(Event(ComposeDateTime(EncodeDate(2027, 1, 1) + i, EncodeTime(9, i % 60, 0)),
                            kOnceOnly, "Meeting " + std::to_string(i)));
    return out;
}

// Each UID of the objects the server keeps in the collection shown as `name`, with how
// many objects carry it.
std::map<std::string, int> StoredUids(const std::string& root, const std::string& name) {
    std::map<std::string, int> out;
    for (const auto& text : StoredObjects(root, name)) {
        const std::size_t at = text.find("\nUID:");
        if (at == std::string::npos)
            continue;
        const std::size_t from = at + 5;
        ++out[text.substr(from, text.find_first_of("\r\n", from) - from)];
    }
    return out;
}

// A book of `cards` people, each with a birthday: as many reminders.
std::string BookOfBirthdays(const TScratchDir& dir, const std::string& name, int cards) {
    const std::string book = dir.File(name + ".ADR");
    EXPECT_EQ(testing::RunShell(std::string(TESSALY_CLI) + " new " + book).Status, 0);
    const std::string vcf = dir.File(name + ".vcf");
    {
        std::ofstream out(vcf, std::ios::binary);
        for (int i = 0; i < cards; ++i)
            out << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Person" << i << ";Ann;;;\r\nFN:Ann Person" << i
                << "\r\nBDAY:19" << 50 + i % 40 << "-0" << 1 + i % 9 << "-1" << i % 10
                << "\r\nEND:VCARD\r\n";
    }
    const TCommand imported =
        testing::RunShell(std::string(TESSALY_CLI) + " vcard import " + book + " " + vcf);
    EXPECT_EQ(imported.Status, 0) << imported.Output;
    return book;
}

// The book's reminders by UID, each with its description.
std::map<std::string, std::string> RemindersOf(const std::string& book) {
    std::map<std::string, std::string> out;
    auto loaded = LoadBook(book, TStoreSettings());
    EXPECT_TRUE(loaded.Book) << loaded.Message;
    for (int i = 0; loaded.Book && i < loaded.Book->Entries.Count(); ++i)
        for (int r = 0; r < loaded.Book->Entries.At(i)->Reminders.Count(); ++r)
            out[ReminderUid(*loaded.Book->Entries.At(i), r + 1)] =
                TextValue(loaded.Book->Entries.At(i)->Reminders.At(r)->Description);
    return out;
}

// Every reminder's description made its own, saved as the program saves the book.
void RenameReminders(const std::string& book) {
    auto loaded = LoadBook(book, TStoreSettings());
    ASSERT_TRUE(loaded.Book) << loaded.Message;
    for (int i = 0; i < loaded.Book->Entries.Count(); ++i)
        for (int r = 0; r < loaded.Book->Entries.At(i)->Reminders.Count(); ++r)
            loaded.Book->Entries.At(i)->Reminders.At(r)->SetDescription("Party " +
                                                                        std::to_string(i));
    ASSERT_TRUE(SaveBook(*loaded.Book, false, TStoreSettings()).Ok);
}

// Whether the server holds each of the book's reminders once, saying what the book says.
void ExpectServerHoldsReminders(const std::string& root, const std::string& book) {
    const auto reminders = RemindersOf(book);
    ASSERT_FALSE(reminders.empty());
    std::map<std::string, std::string> summaries;
    for (const auto& text : StoredObjects(root, "Office Reminders"))
        for (const auto& [uid, description] : reminders)
            if (text.find("UID:" + uid + "\r\n") != std::string::npos)
                summaries[uid] += text.find("SUMMARY:" + description + "\r\n") != std::string::npos
                                      ? description
                                      : "(other)";
    EXPECT_EQ(StoredUids(root, "Office Reminders").size(), reminders.size());
    EXPECT_EQ(summaries, reminders);
}

class CalendarSyncTest : public testing::TRadicaleTest {
protected:
    std::string Diary(const std::string& folder, const std::vector<TReminders>& events) {
        std::filesystem::create_directories(dir_.File(folder));
        const std::string path = dir_.File(folder + "/Family.TDY");
        auto diary = NewDiary(path);
        for (const auto& e : events)
            diary->Events.Add(std::make_unique<TReminders>(e));
        EXPECT_TRUE(SaveDiary(*diary, false, TStoreSettings()).Ok);
        return path;
    }
};

TEST_F(CalendarSyncTest, TwoDiariesMeetThroughTheServer) {
    TReminders weekly =
        Event(ComposeDateTime(EncodeDate(2027, 3, 1), EncodeTime(18, 0, 0)), kWeekly, "Choir");
    weekly.Until = ComposeDateTime(EncodeDate(2027, 6, 28), EncodeTime(18, 0, 0));
    weekly.AlarmSet = 1;
    weekly.AlarmTime = ComposeDateTime(EncodeDate(2027, 3, 1), EncodeTime(17, 45, 0));
    TReminders monthEnd = Event(EncodeDate(2027, 1, 31), kMonthly, "Month end");
    monthEnd.NoTime = 1;
    monthEnd.Until = EncodeDate(2027, 12, 31);
    TReminders note = Event(EncodeDate(2027, 2, 14), kNoteOnly, "Plain note");
    note.NoTime = 1;
    note.SetNotes("Flowers, and a card");
    const std::string a = Diary("a", {weekly, monthEnd, note});
    const std::string b = Diary("b", {});

    const TCommand first = Sync(a, "--server " + server_->Url());
    ASSERT_EQ(first.Status, 0) << first.Output;
    EXPECT_NE(first.Output.find("Made the calendar"), std::string::npos) << first.Output;
    EXPECT_NE(first.Output.find("Uploaded 3,"), std::string::npos) << first.Output;
    const TCommand joined = Sync(b, "--server " + server_->Url());
    ASSERT_EQ(joined.Status, 0) << joined.Output;
    EXPECT_NE(joined.Output.find("downloaded 3,"), std::string::npos) << joined.Output;
    EXPECT_EQ(EventsOf(a), EventsOf(b));

    // Both change the note: the server's version wins on the later side, its own is kept.
    const auto editNote = [](const std::string& path, const std::string& notes) {
        auto loaded = LoadDiary(path);
        ASSERT_TRUE(loaded.Diary);
        for (int i = 0; i < loaded.Diary->Events.Count(); ++i)
            if (TextValue(loaded.Diary->Events.At(i)->Description) == "Plain note")
                loaded.Diary->Events.At(i)->SetNotes(notes);
        ASSERT_TRUE(SaveDiary(*loaded.Diary, false, TStoreSettings()).Ok);
    };
    editNote(a, "Roses");
    editNote(b, "Tulips");
    ASSERT_EQ(Sync(a, "").Status, 0);
    const TCommand met = Sync(b, "");
    ASSERT_EQ(met.Status, 0) << met.Output;
    EXPECT_NE(met.Output.find("conflicts 1"), std::string::npos) << met.Output;
    const TCommand back = Sync(a, "");
    ASSERT_EQ(back.Status, 0) << back.Output;
    const auto events = EventsOf(a);
    EXPECT_EQ(events, EventsOf(b));
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(TextValue(events[2].Notes), "Roses");
    EXPECT_EQ(TextValue(events[3].Description), "Sync Conflict: Plain note");
    EXPECT_EQ(TextValue(events[3].Notes), "Tulips");
    const TCommand quiet = Sync(b, "");
    EXPECT_NE(quiet.Output.find("Uploaded 0, downloaded 0"), std::string::npos) << quiet.Output;
}

TEST_F(CalendarSyncTest, ABooksRemindersBecomeEventsOfTheirOwnCalendar) {
    const std::string book = dir_.File("Office.ADR");
    ASSERT_EQ(std::system((std::string(TESSALY_CLI) + " sample " + book).c_str()), 0);
    auto loaded = LoadBook(book, TStoreSettings());
    ASSERT_TRUE(loaded.Book);
    std::vector<std::string> uids;
    for (int i = 0; i < loaded.Book->Entries.Count(); ++i)
        for (int r = 0; r < loaded.Book->Entries.At(i)->Reminders.Count(); ++r)
            uids.push_back(ReminderUid(*loaded.Book->Entries.At(i), r + 1));
    ASSERT_FALSE(uids.empty());

    const TCommand first = Sync(book, "--server " + server_->Url());
    ASSERT_EQ(first.Status, 0) << first.Output;
    EXPECT_NE(first.Output.find("Reminders in "), std::string::npos) << first.Output;
    EXPECT_NE(first.Output.find("uploaded " + std::to_string(uids.size())), std::string::npos)
        << first.Output;
    const auto objects = StoredObjects(dir_.File("server"), "Office Reminders");
    ASSERT_EQ(objects.size(), uids.size());
    for (const auto& uid : uids) {
        int found = 0;
        for (const auto& text : objects)
            found += text.find("BEGIN:VEVENT") != std::string::npos &&
                     text.find("UID:" + uid) != std::string::npos;
        EXPECT_EQ(found, 1) << uid;
    }
    const TCommand quiet = Sync(book, "");
    ASSERT_EQ(quiet.Status, 0) << quiet.Output;
    EXPECT_NE(quiet.Output.find("uploaded 0,"), std::string::npos) << quiet.Output;
}

// A round cut short leaves events on the server that the state does not know; the
// next round pairs them with the diary's, and nothing is lost or sent twice.
TEST_F(CalendarSyncTest, ADiarySyncKilledMidRoundIsFinishedByTheNext) {
    const std::string a = Diary("a", ManyEvents(60));
    const auto before = EventsOf(a);
    const std::string command = SyncCommand(a, "--server " + server_->Url());
    EXPECT_TRUE(testing::KillOnceFilesAppear(command, dir_.File("server"), ".ics", 10))
        << "the first round ended before it could be killed";
    EXPECT_LT(StoredObjects(dir_.File("server"), "Family").size(), before.size());

    const TCommand again = testing::RunShell(command);
    ASSERT_EQ(again.Status, 0) << again.Output;
    EXPECT_EQ(EventsOf(a), before) << again.Output;
    const auto uids = StoredUids(dir_.File("server"), "Family");
    EXPECT_EQ(uids.size(), before.size());
    for (const auto& [uid, count] : uids)
        EXPECT_EQ(count, 1) << uid;

    const std::string b = Diary("b", {});
    const TCommand copy = Sync(b, "--server " + server_->Url());
    ASSERT_EQ(copy.Status, 0) << copy.Output;
    EXPECT_EQ(EventsOf(b), before) << copy.Output;
    const TCommand quiet = Sync(a, "");
    EXPECT_NE(quiet.Output.find("Uploaded 0, downloaded 0"), std::string::npos) << quiet.Output;
}

// Requests cut before the server saw them and answers cut after it acted: new, changed
// and deleted events all arrive once, and the diary keeps every one of its own.
TEST_F(CalendarSyncTest, ADiaryOverALineThatDropsLosesNothing) {
    const std::string a = Diary("a", ManyEvents(60));
    const auto before = EventsOf(a);
    testing::TDroppingProxy proxy(server_->Port(), 0.2, 7);
    const auto syncThroughProxy = [&](const std::string& more) {
        return testing::RunShellUntilDone(SyncCommand(a, more), 40);
    };
    const TCommand first = syncThroughProxy("--server " + proxy.Url());
    ASSERT_EQ(first.Status, 0) << first.Output;
    EXPECT_EQ(EventsOf(a), before) << first.Output;

    {
        auto loaded = LoadDiary(a);
        ASSERT_TRUE(loaded.Diary);
        for (int i = 0; i < 10; ++i)
            loaded.Diary->Events.At(i)->SetNotes("Bring the minutes " + std::to_string(i));
        for (int i = 0; i < 5; ++i)
            loaded.Diary->Events.Delete(loaded.Diary->Events.Count() - 1);
        const auto more = ManyEvents(65);
        for (std::size_t i = 60; i < more.size(); ++i)
            loaded.Diary->Events.Add(std::make_unique<TReminders>(more[i]));
        ASSERT_TRUE(SaveDiary(*loaded.Diary, false, TStoreSettings()).Ok);
    }
    const auto edited = EventsOf(a);
    const TCommand second = syncThroughProxy("");
    ASSERT_EQ(second.Status, 0) << second.Output;
    EXPECT_GT(proxy.CutBeforeServer() + proxy.CutAfterServer(), 0);
    EXPECT_EQ(EventsOf(a), edited) << second.Output;

    const std::string b = Diary("b", {});
    const TCommand copy = Sync(b, "--server " + server_->Url());
    ASSERT_EQ(copy.Status, 0) << copy.Output;
    EXPECT_EQ(EventsOf(b), edited) << copy.Output;
}

// The reminders go up after the cards; killed while they go, the next run sends the
// rest, and a later change of every reminder reaches every event.
TEST_F(CalendarSyncTest, ARemindersSyncKilledMidRoundIsFinishedByTheNext) {
    const std::string book = BookOfBirthdays(dir_, "Office", 40);
    const std::string command = SyncCommand(book, "--server " + server_->Url());
    EXPECT_TRUE(testing::KillOnceFilesAppear(command, dir_.File("server"), ".ics", 10))
        << "the first round ended before it could be killed";
    EXPECT_LT(StoredObjects(dir_.File("server"), "Office Reminders").size(), 40u);

    const TCommand again = testing::RunShell(command);
    ASSERT_EQ(again.Status, 0) << again.Output;
    ExpectServerHoldsReminders(dir_.File("server"), book);

    RenameReminders(book);
    const TCommand renamed = Sync(book, "");
    ASSERT_EQ(renamed.Status, 0) << renamed.Output;
    EXPECT_NE(renamed.Output.find("uploaded 40,"), std::string::npos) << renamed.Output;
    ExpectServerHoldsReminders(dir_.File("server"), book);
}

TEST_F(CalendarSyncTest, RemindersOverALineThatDropsLoseNothing) {
    const std::string book = BookOfBirthdays(dir_, "Office", 20);
    testing::TDroppingProxy proxy(server_->Port(), 0.2, 5);
    const auto syncThroughProxy = [&](const std::string& more) {
        return testing::RunShellUntilDone(SyncCommand(book, more), 40);
    };
    const TCommand first = syncThroughProxy("--server " + proxy.Url());
    ASSERT_EQ(first.Status, 0) << first.Output;
    ExpectServerHoldsReminders(dir_.File("server"), book);

    RenameReminders(book);
    const TCommand renamed = syncThroughProxy("");
    ASSERT_EQ(renamed.Status, 0) << renamed.Output;
    EXPECT_GT(proxy.CutBeforeServer() + proxy.CutAfterServer(), 0);
    ExpectServerHoldsReminders(dir_.File("server"), book);
}

} // namespace
} // namespace tessaly
