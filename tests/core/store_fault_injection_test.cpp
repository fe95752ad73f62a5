// Saves under injected faults: every call a save makes to the file system is made to
// fail in turn (and the disk to fill up after every so many bytes). A failed save
// must leave the old file byte for byte, no temporary beside it, the system's reason
// in its error, and the book still modified.

#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fault_file_system.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;
using testing::TFaultFileSystem;

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessaly-fault-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_directory(dir_ / "books");
        fs::create_directory(dir_ / "config");
        settings_ = NoDefaultsFile();
        settings_.ConfigDirectory = (dir_ / "config").string();
        path_ = (dir_ / "books" / "people.ADR").string();

        // A book of a few entries on disk: the state every round starts from.
        auto book = MakeEveryKindBook();
        for (const char* name : {"Ames", "Brook", "Cole"}) {
            TRecord entry;
            entry.SetNameField(2, name);
            book->Entries.AddEntryCopy(entry, SystemClock::Instance());
        }
        book->FileName = path_;
        original_ = WriteBookImage(*book);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::vector<std::uint8_t> Contents(const std::string& path) {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes).Ok) << path;
        return bytes;
    }
    static std::vector<std::string> Names(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Puts the original file back and loads it, then changes the loaded book.
    std::unique_ptr<TBookData> LoadedAndChanged() {
        EXPECT_TRUE(WriteFileAtomically(path_, original_).Ok);
        TLoadResult loaded = LoadBook(path_, settings_);
        EXPECT_TRUE(loaded.Book) << loaded.Message;
        if (!loaded.Book)
            return nullptr;
        loaded.Book->Entries.At(1)->Tagged = 1;
        MarkChanged(*loaded.Book);
        return std::move(loaded.Book);
    }

    // The calls a save of a changed book makes when nothing fails.
    std::vector<std::string> CallsOfACleanSave(bool closing, bool noUnnamed) {
        auto book = LoadedAndChanged();
        TFaultFileSystem counter;
        if (noUnnamed)
            counter.RefuseUnnamedFiles();
        TSaveOptions options;
        options.FileSystem = &counter;
        EXPECT_TRUE(SaveBook(*book, closing, settings_, options).Ok);
        return counter.Log();
    }

    // Fails each call of a book save in turn. Calls up to the rename that puts the new
    // file in place must fail the save and keep the old file; the calls after it
    // (syncing the folder, tidying old temporaries) cannot undo a save that is done.
    void SweepBookSave(bool noUnnamed) {
        const std::vector<std::string> calls = CallsOfACleanSave(false, noUnnamed);
        const auto rename = std::find(calls.begin(), calls.end(), "rename");
        ASSERT_NE(rename, calls.end());
        const int commit = static_cast<int>(rename - calls.begin()) + 1;
        std::cout << "[ points   ] book save (" << (noUnnamed ? "named" : "unnamed")
                  << " temporary): " << calls.size() << " calls, " << commit
                  << " of them up to the rename:";
        for (const auto& call : calls)
            std::cout << ' ' << call;
        std::cout << '\n';

        for (int n = 1; n <= static_cast<int>(calls.size()) + 1; ++n) {
            SCOPED_TRACE("call " + std::to_string(n));
            auto book = LoadedAndChanged();
            ASSERT_TRUE(book);
            const auto changedImage = WriteBookImage(*book);
            TFaultFileSystem faulty;
            if (noUnnamed)
                faulty.RefuseUnnamedFiles();
            faulty.FailAt(n, EIO);
            TSaveOptions options;
            options.FileSystem = &faulty;
            const TSaveResult r = SaveBook(*book, false, settings_, options);
            EXPECT_EQ(Names(dir_ / "books"), std::vector<std::string>{"people.ADR"});
            if (n <= commit) {
                ASSERT_TRUE(faulty.Injected());
                EXPECT_FALSE(r.Ok) << faulty.Log()[n - 1];
                EXPECT_NE(r.Error.find(std::strerror(EIO)), std::string::npos) << r.Error;
                EXPECT_EQ(Contents(path_), original_);
                EXPECT_EQ(book->Modified, 1);
                EXPECT_GT(book->ChangeCount, 0);
            } else {
                EXPECT_EQ(faulty.Injected(), n <= static_cast<int>(calls.size()));
                EXPECT_TRUE(r.Ok) << r.Error;
                EXPECT_EQ(Contents(path_), changedImage);
                EXPECT_EQ(book->Modified, 0);
            }
        }
    }

    // A book several times the piece a save writes at once, so that a save makes
    // several writes and any of them can fail.
    static std::unique_ptr<TBookData> LargeBook() {
        auto book = MakeEveryKindBook();
        for (int i = 0; i < 12; ++i) {
            TRecord entry;
            entry.SetNameField(2, "Entry " + std::to_string(i));
            entry.SetNotes(std::string(60000, static_cast<char>('a' + i)));
            book->Entries.AddEntryCopy(entry, SystemClock::Instance());
        }
        return book;
    }
    void UseLargeBook() {
        auto book = LargeBook();
        book->FileName = path_;
        original_ = WriteBookImage(*book);
    }

    fs::path dir_;
    std::string path_;
    TStoreSettings settings_;
    std::vector<std::uint8_t> original_;
};

TEST_F(FaultInjection, BookSaveFailsCleanlyAtEveryCallThroughAnUnnamedFile) {
    SweepBookSave(false);
}

TEST_F(FaultInjection, BookSaveFailsCleanlyAtEveryCallThroughANamedTemporary) {
    SweepBookSave(true);
}

TEST_F(FaultInjection, LargeBookSaveFailsCleanlyAtEveryWrite) {
    UseLargeBook();
    const std::vector<std::string> calls = CallsOfACleanSave(false, false);
    EXPECT_GE(std::count(calls.begin(), calls.end(), "write"), 3);
    SweepBookSave(false);
    SweepBookSave(true);
}

TEST_F(FaultInjection, BookTheFileCannotHoldIsRefusedAfterPartOfItWasWritten) {
    for (bool noUnnamed : {false, true}) {
        SCOPED_TRACE(noUnnamed ? "named temporary" : "unnamed file");
        ASSERT_TRUE(WriteFileAtomically(path_, original_).Ok);
        auto book = LargeBook();
        book->FileName = path_;
        // The last entry's notes are one byte too long: most of the book has been
        // written to the new file by the time this is found.
        book->Entries.At(book->Entries.Count() - 1)->NameFields[kFieldNotes] =
            std::string(kMaxTextLength + 1, 'z');
        TFaultFileSystem fs;
        if (noUnnamed)
            fs.RefuseUnnamedFiles();
        TSaveOptions options;
        options.FileSystem = &fs;
        options.Force = true;
        const TSaveResult r = SaveBook(*book, false, settings_, options);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Error.find("too long"), std::string::npos) << r.Error;
        EXPECT_GE(std::count(fs.Log().begin(), fs.Log().end(), "write"), 2);
        EXPECT_EQ(Contents(path_), original_);
        EXPECT_EQ(Names(dir_ / "books"), std::vector<std::string>{"people.ADR"});
    }
}

TEST_F(FaultInjection, BookSaveOnAFullDiskKeepsTheOldFile) {
    for (bool noUnnamed : {false, true}) {
        for (std::int64_t room :
             {std::int64_t{0}, std::int64_t{1}, std::int64_t{6}, std::int64_t{100},
              static_cast<std::int64_t>(original_.size()) / 2,
              static_cast<std::int64_t>(original_.size())}) {
            SCOPED_TRACE(std::to_string(room) + " bytes free");
            auto book = LoadedAndChanged();
            ASSERT_TRUE(book);
            book->Entries.At(0)->SetNotes(std::string(500, 'n')); // longer than before
            TFaultFileSystem full;
            if (noUnnamed)
                full.RefuseUnnamedFiles();
            full.DiskFullAfter(room);
            TSaveOptions options;
            options.FileSystem = &full;
            const TSaveResult r = SaveBook(*book, false, settings_, options);
            EXPECT_FALSE(r.Ok);
            EXPECT_NE(r.Error.find(std::strerror(ENOSPC)), std::string::npos) << r.Error;
            EXPECT_EQ(Contents(path_), original_);
            EXPECT_EQ(book->Modified, 1);
            EXPECT_EQ(Names(dir_ / "books"), std::vector<std::string>{"people.ADR"});
        }
    }
}

TEST_F(FaultInjection, ClosingSaveKeepsTheOldBackupWhenItsCopyFails) {
    const std::string bak = (dir_ / "books" / "people.BAK").string();
    const std::vector<std::uint8_t> oldBackup = {1, 2, 3};
    ASSERT_TRUE(WriteFileAtomically(bak, oldBackup).Ok);
    const std::vector<std::string> calls = CallsOfACleanSave(true, false);
    // The book's write ends with its rename; the back-up's starts with a stat of the
    // ".BAK" file and ends with the next rename.
    const auto bookRename = std::find(calls.begin(), calls.end(), "rename");
    const auto backupStat = std::find(bookRename, calls.end(), "stat");
    const auto backupRename = std::find(backupStat, calls.end(), "rename");
    ASSERT_NE(backupRename, calls.end());
    const int bookDone = static_cast<int>(bookRename - calls.begin()) + 1;
    const int backupFrom = static_cast<int>(backupStat - calls.begin()) + 1;
    const int backupDone = static_cast<int>(backupRename - calls.begin()) + 1;
    std::cout << "[ points   ] closing save with back-up: " << calls.size() << " calls, "
              << bookDone << " up to the book's rename, " << backupDone - backupFrom + 1
              << " in the back-up's write up to its rename\n";

    for (int n = 1; n <= static_cast<int>(calls.size()); ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " " + calls[n - 1]);
        ASSERT_TRUE(WriteFileAtomically(bak, oldBackup).Ok);
        auto book = LoadedAndChanged();
        ASSERT_TRUE(book);
        TFaultFileSystem faulty;
        faulty.FailAt(n, EIO);
        TSaveOptions options;
        options.FileSystem = &faulty;
        const TSaveResult r = SaveBook(*book, true, settings_, options);
        EXPECT_EQ(Names(dir_ / "books"), (std::vector<std::string>{"people.ADR", "people.BAK"}));
        if (n <= bookDone) {
            EXPECT_FALSE(r.Ok);
            EXPECT_EQ(Contents(path_), original_);
            EXPECT_EQ(Contents(bak), oldBackup);
            EXPECT_EQ(book->Modified, 1);
            continue;
        }
        EXPECT_TRUE(r.Ok) << r.Error;
        EXPECT_EQ(book->Modified, 0);
        if (n >= backupFrom && n <= backupDone) {
            // A call of the back-up copy: the book is saved, the old back-up stays.
            EXPECT_TRUE(r.BackupFailed);
            EXPECT_NE(r.BackupError.find(std::strerror(EIO)), std::string::npos);
            EXPECT_EQ(Contents(bak), oldBackup);
        } else {
            EXPECT_FALSE(r.BackupFailed);
            EXPECT_EQ(Contents(bak), Contents(path_));
        }
    }
}

TEST_F(FaultInjection, DefaultsSaveFailsCleanlyAtEveryCall) {
    const std::string path = settings_.ConfigFile(".DEF");
    auto seed = MakeEveryKindBook();
    const std::vector<std::uint8_t> before = WriteDefaultsImage(*seed);
    ASSERT_TRUE(WriteFileAtomically(path, before).Ok);
    seed->Categories.AddCategory("Suppliers", false);
    const std::vector<std::uint8_t> after = WriteDefaultsImage(*seed);

    TFaultFileSystem counter;
    ASSERT_TRUE(SaveDefaults(*seed, settings_, counter).Ok);
    const int calls = counter.Calls();
    const int commit = counter.FirstCall("rename");
    std::cout << "[ points   ] defaults save: " << calls << " calls, " << commit
              << " of them up to the rename\n";

    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        ASSERT_TRUE(WriteFileAtomically(path, before).Ok);
        TFaultFileSystem faulty;
        faulty.FailAt(n, EIO);
        const TSaveResult r = SaveDefaults(*seed, settings_, faulty);
        EXPECT_EQ(Names(dir_ / "config"), std::vector<std::string>{"TESSALY.DEF"});
        if (n <= commit) {
            EXPECT_FALSE(r.Ok);
            EXPECT_NE(r.Error.find(std::strerror(EIO)), std::string::npos) << r.Error;
            EXPECT_EQ(Contents(path), before);
        } else {
            EXPECT_TRUE(r.Ok);
            EXPECT_EQ(Contents(path), after);
        }
    }
    for (std::int64_t room : {std::int64_t{0}, std::int64_t{10}, std::int64_t{200}}) {
        ASSERT_TRUE(WriteFileAtomically(path, before).Ok);
        TFaultFileSystem full;
        full.DiskFullAfter(room);
        const TSaveResult r = SaveDefaults(*seed, settings_, full);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Error.find(std::strerror(ENOSPC)), std::string::npos) << r.Error;
        EXPECT_EQ(Contents(path), before);
        EXPECT_EQ(Names(dir_ / "config"), std::vector<std::string>{"TESSALY.DEF"});
    }
}

// A pid no process has: a child that has already been reaped.
pid_t DeadPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_F(FaultInjection, DiarySaveFailsCleanlyAtEveryCall) {
    const std::string diaryPath = (dir_ / "books" / "plans.TDY").string();
    auto diary = NewDiary(diaryPath);
    for (int day = 0; day < 3; ++day) {
        auto event = std::make_unique<TReminders>();
        event->When = 45000 + day;
        event->SetDescription("Event " + std::to_string(day));
        diary->Events.Add(std::move(event));
    }
    ASSERT_TRUE(SaveDiary(*diary, false, settings_).Ok);
    const std::vector<std::uint8_t> before = Contents(diaryPath);
    diary->Events.At(0)->SetDescription("Changed");

    MarkChanged(*diary);
    TFaultFileSystem counter;
    ASSERT_TRUE(SaveDiary(*diary, false, settings_, counter).Ok);
    const std::vector<std::string> calls = counter.Log();
    const int commit =
        static_cast<int>(std::find(calls.begin(), calls.end(), "rename") - calls.begin()) + 1;
    ASSERT_LE(commit, static_cast<int>(calls.size()));
    std::cout << "[ points   ] diary save: " << calls.size() << " calls, " << commit
              << " of them up to the rename\n";
    ASSERT_TRUE(WriteFileAtomically(diaryPath, before).Ok);

    for (int n = 1; n <= commit; ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        MarkChanged(*diary);
        TFaultFileSystem faulty;
        faulty.FailAt(n, EIO);
        const TDiarySave r = SaveDiary(*diary, false, settings_, faulty);
        EXPECT_FALSE(r.Ok);
        EXPECT_NE(r.Error.find(std::strerror(EIO)), std::string::npos) << r.Error;
        EXPECT_EQ(Contents(diaryPath), before);
        EXPECT_EQ(diary->Modified, 1);
        EXPECT_EQ(Names(dir_ / "books"), std::vector<std::string>{"plans.TDY"});
    }
}

TEST_F(FaultInjection, NextSaveRemovesTheTemporariesOfDeadWritersOnly) {
    auto book = LoadedAndChanged();
    ASSERT_TRUE(book);
    const fs::path books = dir_ / "books";
    const std::string dead = "people.ADR.tmp" + std::to_string(DeadPid()) + "-3-77";
    const std::string mine = "people.ADR.tmp" + std::to_string(::getpid()) + "-9-1";
    const std::string living = "people.ADR.tmp1-2-3"; // pid 1 always runs
    const std::string other = "other.ADR.tmp" + std::to_string(DeadPid()) + "-1-1";
    for (const auto& name : {dead, mine, living, other})
        ASSERT_TRUE(WriteFileAtomically((books / name).string(), original_).Ok);
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    std::vector<std::string> kept{living, mine, other, "people.ADR"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(books), kept);
}

// Kills a process that saves a large book over and over at random moments: the book
// always loads, and after the next save nothing is left beside it.
TEST_F(FaultInjection, KilledSavesLeaveNoLitter) {
    auto book = LoadedAndChanged();
    ASSERT_TRUE(book);
    for (int i = 0; i < 3000; ++i) {
        TRecord entry;
        entry.SetNameField(2, "Name " + std::to_string(i));
        entry.SetNotes(std::string(300, 'x'));
        book->Entries.AddEntryCopy(entry, SystemClock::Instance());
    }
    TSaveOptions force;
    force.Force = true;
    ASSERT_TRUE(SaveBook(*book, false, settings_, force).Ok);
    for (int round = 0; round < 30; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                SaveBook(*book, false, settings_, force);
        }
        ::usleep(static_cast<useconds_t>(2000 + (round * 7919) % 30000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        TLoadResult loaded = LoadBook(path_, settings_);
        ASSERT_TRUE(loaded.Book) << "round " << round << ": " << loaded.Message;
    }
    ASSERT_TRUE(SaveBook(*book, false, settings_, force).Ok);
    EXPECT_EQ(Names(dir_ / "books"), std::vector<std::string>{"people.ADR"});
}

} // namespace
} // namespace tessaly
