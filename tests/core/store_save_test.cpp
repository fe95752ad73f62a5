// Saving and loading through the file system: the atomic write, the ".BAK" copy, the
// defaults file and merging categories from another book.

#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "core/system/file_lock.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fault_file_system.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;

class StoreSave : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessaly-store-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        settings_ = NoDefaultsFile();
        settings_.ConfigDirectory = (dir_ / "config").string();
        fs::create_directory(settings_.ConfigDirectory);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::vector<std::uint8_t> Contents(const std::string& path) {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes).Ok) << path;
        return bytes;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static void WriteRaw(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
    TStoreSettings settings_;
};

TEST_F(StoreSave, SaveWritesTheImageAndClearsTheChangeState) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("people.ADR");
    FakeClock clock(44100.5);
    EXPECT_EQ(MarkChanged(*book, clock), 1);
    EXPECT_EQ(MarkChanged(*book, clock), 2);
    EXPECT_EQ(book->LastUpdated, 44100.5);
    EXPECT_EQ(book->Modified, 1);

    TSaveResult saved = SaveBook(*book, false, settings_);
    ASSERT_TRUE(saved.Ok) << saved.Error;
    EXPECT_EQ(book->Modified, 0);
    EXPECT_EQ(book->ChangeCount, 0);
    EXPECT_EQ(Contents(book->FileName), WriteBookImage(*book));

    TLoadResult loaded = LoadBook(book->FileName, settings_);
    ASSERT_TRUE(loaded.Book) << loaded.Message;
    EXPECT_EQ(WriteBookImage(*loaded.Book), WriteBookImage(*book));
    EXPECT_EQ(loaded.Book->Entries.Count(), book->Entries.Count());
    EXPECT_EQ(loaded.Book->FileName, book->FileName);
    EXPECT_EQ(Names(), (std::vector<std::string>{"config", "people.ADR"}));
}

TEST_F(StoreSave, BackupCopyOnlyWhenClosingWithBackupOnAndNeverOfABackup) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("people.adr");
    const std::string bak = Path("people.BAK");

    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    EXPECT_FALSE(fs::exists(bak)); // not closing

    settings_.Backup = false;
    ASSERT_TRUE(SaveBook(*book, true, settings_).Ok);
    EXPECT_FALSE(fs::exists(bak)); // backup off

    settings_.Backup = true;
    TSaveResult closing = SaveBook(*book, true, settings_);
    ASSERT_TRUE(closing.Ok);
    EXPECT_FALSE(closing.BackupFailed);
    ASSERT_TRUE(fs::exists(bak));
    EXPECT_EQ(Contents(bak), Contents(book->FileName));

    // A book that is itself a back-up copy (any case) is never copied again.
    for (const char* name : {"old.BAK", "old.bak", "old.Bak"}) {
        SCOPED_TRACE(name);
        fs::path folder = dir_ / (std::string("d-") + name);
        fs::create_directory(folder);
        book->FileName = (folder / name).string();
        ASSERT_TRUE(SaveBook(*book, true, settings_).Ok);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

TEST_F(StoreSave, FailedBackupCopyStillSavesTheBook) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("people.ADR");
    fs::create_directory(Path("people.BAK")); // cannot be replaced by a file
    TSaveResult result = SaveBook(*book, true, settings_);
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.BackupFailed);
    EXPECT_EQ(Contents(book->FileName), WriteBookImage(*book));
}

TEST_F(StoreSave, FailedSaveKeepsTheChangesAndTheOldFile) {
    // A folder that cannot exist: its parent is a regular file.
    WriteRaw(Path("plain"), {1, 2, 3});
    auto book = MakeEveryKindBook();
    book->FileName = Path("plain") + "/people.ADR";
    MarkChanged(*book);
    TSaveResult failed = SaveBook(*book, false, settings_);
    EXPECT_FALSE(failed.Ok);
    EXPECT_FALSE(failed.Error.empty());
    EXPECT_EQ(book->Modified, 1);
    EXPECT_EQ(book->ChangeCount, 1);

    // An existing book whose temporary file cannot be made beside it (its name is
    // already as long as a name may be) stays as it was, and nothing is left over.
    const std::string longName = Path(std::string(250, 'b') + ".ADR");
    book->FileName = longName;
    WriteRaw(longName, WriteBookImage(*book));
    const auto before = Contents(longName);
    const auto namesBefore = Names();
    book->Entries.Delete(0);
    MarkChanged(*book);
    TSaveResult second = SaveBook(*book, false, settings_);
    EXPECT_FALSE(second.Ok);
    EXPECT_EQ(book->Modified, 1);
    EXPECT_EQ(Contents(longName), before);
    EXPECT_EQ(Names(), namesBefore);
}

TEST_F(StoreSave, TooLongAListMakesTheSaveFailWithoutTouchingTheFile) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("people.ADR");
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    const auto before = Contents(book->FileName);

    // AddCategory stops at the last number, so the items are put in directly.
    for (int i = 0; i < 32767; ++i)
        book->Categories.Add(std::make_unique<TCategory>("c" + std::to_string(i), i, false));
    MarkChanged(*book);
    TSaveResult result = SaveBook(*book, true, settings_);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.empty());
    EXPECT_EQ(book->Modified, 1);
    EXPECT_EQ(Contents(book->FileName), before);
    EXPECT_FALSE(fs::exists(Path("people.BAK")));
}

TEST_F(StoreSave, SaveKeepsTheFilePermissions) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("people.ADR");
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    ASSERT_EQ(::chmod(book->FileName.c_str(), 0640), 0);
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    struct stat st {};
    ASSERT_EQ(::stat(book->FileName.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(StoreSave, UnreadableFileIsNotACorruptBook) {
    TLoadResult missing = LoadBook(Path("absent.ADR"), settings_);
    EXPECT_FALSE(missing.Book);
    EXPECT_EQ(missing.Code, kCodeUnreadable);
    EXPECT_FALSE(missing.Message.empty());

    WriteRaw(Path("old.ADR"), {0xF5, 0x01, 0, 0, 0, 0, 0, 0});
    TLoadResult old = LoadBook(Path("old.ADR"), settings_);
    EXPECT_EQ(old.Code, 12);
    EXPECT_EQ(old.Message, "OLD.ADR is a Version 1.2 Tessaly File.");
}

TEST_F(StoreSave, DefaultsFileSeedsNewBooksAndFallsBackWhenDamaged) {
    const std::string defaults = settings_.ConfigFile(".DEF");
    auto seed = NewBook(Path("seed.ADR"), settings_);
    EXPECT_EQ(seed->Categories.Count(), 2); // no file yet: the built-in defaults
    seed->Categories.AddCategory("Clients", true);
    seed->PageCaptions[0] = std::string("&Where");
    seed->IndexKeys.SetKeySortBy(0, false);
    seed->InsertBlankFields = 1;
    ASSERT_TRUE(SaveDefaults(*seed, settings_).Ok);
    EXPECT_EQ(Contents(defaults), WriteDefaultsImage(*seed));
    // Signature, the lists and the captions, and the signature again: no version word.
    EXPECT_EQ(Contents(defaults)[6], 2); // templates' NextId follows the signature

    auto fresh = NewBook(Path("fresh.ADR"), settings_);
    EXPECT_EQ(fresh->Categories, seed->Categories);
    EXPECT_EQ(fresh->IndexKeys, seed->IndexKeys);
    EXPECT_EQ(fresh->PageCaptions, seed->PageCaptions);
    EXPECT_EQ(fresh->InsertBlankFields, 1);
    EXPECT_EQ(fresh->Templates, seed->Templates);

    // Damaged in several ways: each gives the built-in defaults, nothing half-read.
    const auto good = Contents(defaults);
    std::vector<std::vector<std::uint8_t>> damaged;
    damaged.emplace_back(good.begin(), good.end() - 1);    // trailer cut
    damaged.emplace_back(good.begin(), good.begin() + 40); // body cut
    damaged.push_back(good);
    damaged.back().push_back(0); // bytes after the trailer
    damaged.push_back(good);
    damaged.back()[0] = 6; // no head signature
    for (const auto& bytes : damaged) {
        TBookData book;
        EXPECT_FALSE(ParseDefaultsImage(book, bytes));
        EXPECT_EQ(book.Categories, TCategoryList::Defaults());
        EXPECT_EQ(book.Templates, TTemplateList::Defaults());
        EXPECT_EQ(book.PageCaptions[0], std::optional<std::string>("&Address"));
        EXPECT_EQ(book.InsertFields.Count(), 6);
    }
    TBookData parsed;
    EXPECT_TRUE(ParseDefaultsImage(parsed, good));
    EXPECT_EQ(parsed.Categories.Count(), 3);
}

TEST_F(StoreSave, MergeAddsOnlyNewCategoryNamesFromAWholeValidBook) {
    auto source = NewBook(Path("source.ADR"), settings_);
    source->Categories.AddCategory("business", false); // differs only in case
    source->Categories.AddCategory("Family", true);
    source->Categories.AddCategory("Club", false);
    ASSERT_TRUE(SaveBook(*source, false, settings_).Ok);

    auto book = NewBook(Path("target.ADR"), settings_);
    book->Categories.NextId = 10;
    TMergeResult merged = MergeCategoriesFromBook(*book, source->FileName, settings_);
    ASSERT_TRUE(merged.Ok) << merged.Message;
    EXPECT_EQ(merged.Added, 2);
    ASSERT_EQ(book->Categories.Count(), 4);
    EXPECT_EQ(book->Categories.CategoryName(2), "Family");
    EXPECT_EQ(book->Categories.CategoryId(2), 10);
    EXPECT_EQ(book->Categories.CategoryDefault(2), 1);
    EXPECT_EQ(book->Categories.CategoryName(3), "Club");
    EXPECT_EQ(book->Categories.CategoryId(3), 11);
    EXPECT_EQ(book->Categories.NextId, 12);

    // The book's own file (any case) does nothing.
    book->FileName = source->FileName;
    std::string upper = source->FileName;
    upper.replace(upper.size() - 10, 10, "SOURCE.ADR");
    EXPECT_TRUE(MergeCategoriesFromBook(*book, upper, settings_).Ok);
    EXPECT_EQ(book->Categories.Count(), 4);

    // A source whose trailer is damaged adds nothing, even categories it could read.
    auto bytes = Contents(source->FileName);
    bytes.back() ^= 1;
    WriteRaw(Path("broken.ADR"), bytes);
    auto other = NewBook(Path("other.ADR"), settings_);
    TMergeResult broken = MergeCategoriesFromBook(*other, Path("broken.ADR"), settings_);
    EXPECT_FALSE(broken.Ok);
    EXPECT_EQ(broken.Message,
              "BROKEN.ADR Address Book File is Corrupt - Recover File from Backup Copy");
    EXPECT_EQ(other->Categories.Count(), 2);
}

TEST_F(StoreSave, AtomicWriteReplacesThroughALinkAndCopies) {
    const std::string real = Path("real.bin");
    WriteRaw(real, {1});
    fs::create_symlink(real, Path("link.bin"));
    const std::vector<std::uint8_t> data{7, 8, 9};
    ASSERT_TRUE(WriteFileAtomically(Path("link.bin"), data).Ok);
    EXPECT_TRUE(fs::is_symlink(Path("link.bin")));
    EXPECT_EQ(Contents(real), data);

    ASSERT_TRUE(CopyFileAtomically(real, Path("copy.bin")).Ok);
    EXPECT_EQ(Contents(Path("copy.bin")), data);
    EXPECT_FALSE(CopyFileAtomically(Path("absent"), Path("copy.bin")).Ok);
    EXPECT_EQ(Contents(Path("copy.bin")), data);
    EXPECT_FALSE(WriteFileAtomically(dir_.string(), data).Ok); // a folder
}

TEST_F(StoreSave, ALargeWriteSendsEachStretchToTheDiskAsItGoes) {
    // 20 pieces of 1 MB and a short one: the first two 8 MB stretches are started on
    // their way while the rest is still being written; the sync at the end takes the rest.
    std::vector<std::uint8_t> piece(std::size_t{1} << 20);
    for (std::size_t i = 0; i < piece.size(); ++i)
        piece[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::uint8_t> tail{1, 2, 3};
    testing::TFaultFileSystem files;
    const std::string path = Path("large.bin");
    ASSERT_TRUE(WriteFileAtomically(
                    path,
                    [&](const TByteSink& put) {
                        for (int i = 0; i < 20; ++i)
                            if (!put(piece))
                                return false;
                        return put(tail);
                    },
                    files)
                    .Ok);
    const std::int64_t stretch = std::int64_t{8} << 20;
    EXPECT_EQ(files.Writebacks(), (std::vector<std::pair<std::int64_t, std::int64_t>>{
                                      {0, stretch}, {stretch, stretch}}));
    const std::vector<std::uint8_t> written = Contents(path);
    ASSERT_EQ(written.size(), 20 * piece.size() + tail.size());
    EXPECT_TRUE(std::equal(piece.begin(), piece.end(), written.begin() + 19 * piece.size()));
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), written.end() - 3));
}

// Another writer changes the file between this book's read and its save.
TEST_F(StoreSave, ASaveRefusesAFileChangedSinceItWasReadUnlessForced) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("people.ADR");
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    EXPECT_TRUE(book->DiskIdentity.Known);
    EXPECT_FALSE(BookChangedOnDisk(*book));
    // Saved again and again: the book knows the file it wrote last.
    MarkChanged(*book);
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);

    TLoadResult loaded = LoadBook(book->FileName, settings_);
    ASSERT_TRUE(loaded.Book);
    const auto mine = Contents(book->FileName);
    // Rewritten in place with bytes of the same length: only the time tells.
    auto theirs = mine;
    theirs[theirs.size() - 10] ^= 1;
    ::usleep(20000);
    WriteRaw(book->FileName, theirs);
    EXPECT_TRUE(BookChangedOnDisk(*loaded.Book));
    MarkChanged(*loaded.Book);
    TSaveResult refused = SaveBook(*loaded.Book, false, settings_);
    EXPECT_FALSE(refused.Ok);
    EXPECT_TRUE(refused.ChangedOnDisk);
    EXPECT_EQ(refused.Error, "the file was changed by another user or program since it was read");
    EXPECT_EQ(Contents(book->FileName), theirs);
    EXPECT_EQ(loaded.Book->Modified, 1);

    // Replaced by another file: the same.
    ASSERT_TRUE(WriteFileAtomically(book->FileName, mine).Ok);
    EXPECT_FALSE(SaveBook(*loaded.Book, false, settings_).Ok);

    TSaveOptions force;
    force.Force = true;
    ASSERT_TRUE(SaveBook(*loaded.Book, false, settings_, force).Ok);
    EXPECT_FALSE(BookChangedOnDisk(*loaded.Book));
    // A file that is gone is written again.
    fs::remove(book->FileName);
    EXPECT_FALSE(BookChangedOnDisk(*loaded.Book));
    EXPECT_TRUE(SaveBook(*loaded.Book, false, settings_).Ok);
}

TEST_F(StoreSave, TheWritersLockFollowsAFileReplacedWhileWaiting) {
    const std::string path = Path("locked.ADR");
    WriteRaw(path, {1, 2, 3});
    TFileLock first;
    ASSERT_TRUE(first.Acquire(path, std::chrono::milliseconds(0)));
    ASSERT_TRUE(first.Held());
    TFileLock busy;
    EXPECT_FALSE(busy.Acquire(path, std::chrono::milliseconds(50)));

    // The second writer waits on the old file; the first replaces it and lets go.
    TFileLock second;
    bool got = false;
    std::thread waiter([&] { got = second.Acquire(path, std::chrono::seconds(5)); });
    ::usleep(100000);
    ASSERT_TRUE(WriteFileAtomically(path, std::vector<std::uint8_t>{4, 5, 6}).Ok);
    first.Release();
    waiter.join();
    EXPECT_TRUE(got);
    EXPECT_TRUE(second.Held());
    // What the second holds is the lock of the file now at the path.
    TFileLock third;
    EXPECT_FALSE(third.Acquire(path, std::chrono::milliseconds(0)));
    second.Release();
    EXPECT_TRUE(third.Acquire(path, std::chrono::milliseconds(0)));

    // Nothing to lock: no file, or a FIFO (which the save refuses anyway).
    TFileLock none;
    EXPECT_TRUE(none.Acquire(Path("absent.ADR"), std::chrono::milliseconds(0)));
    EXPECT_FALSE(none.Held());
    ASSERT_EQ(::mkfifo(Path("fifo.ADR").c_str(), 0644), 0);
    EXPECT_TRUE(none.Acquire(Path("fifo.ADR"), std::chrono::milliseconds(0)));
    EXPECT_FALSE(none.Held());
}

TEST_F(StoreSave, ABookReadForItsEventsKeepsThemAndIsNeverWritten) {
    auto book = MakeEveryKindBook();
    book->FileName = Path("events.ADR");
    ASSERT_TRUE(SaveBook(*book, false, settings_).Ok);
    const std::vector<std::uint8_t> before = Contents(book->FileName);
    TLoadResult full = LoadBook(book->FileName, settings_);
    TLoadResult events = LoadBookEvents(book->FileName, settings_);
    ASSERT_TRUE(full.Book && events.Book) << events.Message;
    EXPECT_FALSE(full.Book->EventsOnly);
    EXPECT_TRUE(events.Book->EventsOnly);

    // Every entry and every event is there, texts and all; the other texts are not.
    ASSERT_EQ(events.Book->Entries.Count(), full.Book->Entries.Count());
    int reminders = 0;
    for (int i = 0; i < full.Book->Entries.Count(); ++i) {
        const TRecord& whole = *full.Book->Entries.At(i);
        const TRecord& read = *events.Book->Entries.At(i);
        EXPECT_EQ(read.Stamp, whole.Stamp);
        ASSERT_EQ(read.Reminders.Count(), whole.Reminders.Count());
        for (int r = 0; r < whole.Reminders.Count(); ++r, ++reminders)
            EXPECT_EQ(*read.Reminders.At(r), *whole.Reminders.At(r));
        for (const Text& name : read.NameFields)
            EXPECT_FALSE(name.has_value());
        EXPECT_EQ(read.Addresses.Count(), whole.Addresses.Count());
    }
    EXPECT_GT(reminders, 0);

    // Written, it would lose every other text: refused, and the file is as it was.
    MarkChanged(*events.Book);
    const TSaveResult r = SaveBook(*events.Book, true, settings_);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error, "the book was read for its events only");
    EXPECT_EQ(Contents(book->FileName), before);
    EXPECT_EQ(Names(), std::vector<std::string>({"config", "events.ADR"}));

    // A damaged file is refused all the same.
    std::vector<std::uint8_t> cut = before;
    cut.resize(cut.size() - 40);
    WriteRaw(Path("cut.ADR"), cut);
    EXPECT_FALSE(LoadBookEvents(Path("cut.ADR"), settings_).Book);
}

} // namespace
} // namespace tessaly
