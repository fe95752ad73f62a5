// "tessaly-cli sync" of diaries and of a book's reminders against a Radicale server the
// test starts: two diaries meeting through a calendar, and the reminders of a book
// appearing as events of a calendar of their own.

#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/reminder_sync.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace tessaly {
namespace {

using testing::TRadicaleServer;
using testing::TScratchDir;

struct TCommand {
    int Status = -1;
    std::string Output;
};

TCommand Sync(const std::string& file, const std::string& more) {
    const std::string command = std::string("env -u DBUS_SESSION_BUS_ADDRESS "
                                            "XDG_RUNTIME_DIR=/nonexistent ") +
                                TESSALY_CLI + " sync " + file + " --user ann " + more + " 2>&1";
    TCommand run;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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

// The texts of the objects the server keeps in the collection shown as `name`.
std::vector<std::string> StoredObjects(const std::string& root, const std::string& name) {
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().filename() != ".Radicale.props")
            continue;
        std::stringstream props;
        props << std::ifstream(entry.path()).rdbuf();
        if (props.str().find("\"" + name + "\"") == std::string::npos)
            continue;
        for (const auto& item : std::filesystem::directory_iterator(entry.path().parent_path()))
            if (item.path().extension() == ".ics") {
                std::stringstream text;
                text << std::ifstream(item.path()).rdbuf();
                out.push_back(text.str());
            }
    }
    return out;
}

class CalendarSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TRadicaleServer::Installed())
            GTEST_SKIP() << "radicale is not installed: no server to sync with";
        server_ = std::make_unique<TRadicaleServer>(dir_.File("server"));
        ASSERT_TRUE(server_->Running()) << server_->Problem();
    }

    std::string Diary(const std::string& folder, const std::vector<TReminders>& events) {
        std::filesystem::create_directories(dir_.File(folder));
        const std::string path = dir_.File(folder + "/Family.TDY");
        auto diary = NewDiary(path);
        for (const auto& e : events)
            diary->Events.Add(std::make_unique<TReminders>(e));
        EXPECT_TRUE(SaveDiary(*diary, false, TStoreSettings()).Ok);
        return path;
    }

    TScratchDir dir_;
    std::unique_ptr<TRadicaleServer> server_;
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

} // namespace
} // namespace tessaly
