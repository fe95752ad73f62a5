// A book changed on its way from its file back into it, one entry at a time: the file
// must get exactly the bytes of a whole load, the same change and a save, and a book
// that does not read, or a new file that cannot be written, must leave the old file.

#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/old_book_images.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;
using testing::OldBookImage;
using testing::ReadBytes;
using testing::TFaultFileSystem;
using testing::TScratchDir;
using testing::WriteBytes;

constexpr double kStampedAt = 46000.5;

// Tags every second entry and stamps the header: a change that touches both stretches.
TBookRewrite TagEverySecond() {
    TBookRewrite change;
    change.Head = [](TBookData& book) { book.LastUpdated = kStampedAt; };
    auto n = std::make_shared<int>(0);
    change.Entry = [n](TRecord& entry) { entry.Tagged = (*n)++ % 2 ? 1 : 0; };
    return change;
}

// Sets every entry's tag and stamps the header: the change whose entries are copied.
TBookRewrite TagAll(std::uint8_t tag) {
    TBookRewrite change;
    change.Head = [](TBookData& book) { book.LastUpdated = kStampedAt; };
    change.Tag = tag;
    return change;
}

// The two kinds of change: entries built and written, and entries copied.
std::vector<std::pair<const char*, std::function<TBookRewrite()>>> Changes() {
    return {{"every second tagged", TagEverySecond}, {"all tagged", [] { return TagAll(1); }}};
}

// What a whole load, the same change and a save write.
std::vector<std::uint8_t> ExpectedImage(const std::string& path, const TStoreSettings& settings,
                                        const TBookRewrite& change = TagEverySecond()) {
    TLoadResult loaded = LoadBook(path, settings);
    EXPECT_TRUE(loaded.Book) << loaded.Message;
    if (!loaded.Book)
        return {};
    change.Head(*loaded.Book);
    for (auto& entry : loaded.Book->Entries) {
        if (change.Entry)
            change.Entry(*entry);
        if (change.Tag)
            entry->Tagged = *change.Tag;
    }
    return WriteBookImage(*loaded.Book);
}

// Where a run of bytes first stands in an image.
std::size_t Find(const std::vector<std::uint8_t>& image, std::string_view bytes) {
    const auto at =
        std::search(image.begin(), image.end(), bytes.begin(), bytes.end(),
                    [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
    EXPECT_NE(at, image.end()) << bytes;
    return static_cast<std::size_t>(at - image.begin());
}

void PutDouble(std::vector<std::uint8_t>& image, std::size_t at, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < 8; ++i)
        image[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::string DoubleBytes(double value) {
    std::vector<std::uint8_t> b(8);
    PutDouble(b, 0, value);
    return std::string(b.begin(), b.end());
}

std::unique_ptr<TBookData> BookOfSeveralEntries() {
    auto book = MakeEveryKindBook();
    for (const char* name : {"Ames", "Brook", "Cole", "Dunn", "Eyre"}) {
        TRecord entry;
        entry.SetNameField(2, name);
        entry.SetNotes(std::string(70000, name[0]));
        book->Entries.AddEntryCopy(entry, SystemClock::Instance());
    }
    return book;
}

class StoreRewrite : public ::testing::Test {
protected:
    TScratchDir dir_;
    std::string path_ = dir_.File("people.ADR");
    TStoreSettings settings_ = NoDefaultsFile();
};

TEST_F(StoreRewrite, GivesTheBytesOfALoadChangeAndSave) {
    auto book = BookOfSeveralEntries();
    // Header values a read brings into range before the entries are reached.
    book->ActivePage = 3;
    book->SortOrder = 4;
    WriteBytes(path_, WriteBookImage(*book));
    for (bool lockTab : {true, false}) {
        SCOPED_TRACE(lockTab ? "tab kept" : "tab not kept");
        settings_.LockTab = lockTab;
        const auto expected = ExpectedImage(path_, settings_);
        const auto before = ReadBytes(path_);
        const TRewriteResult r = RewriteBook(path_, settings_, TagEverySecond());
        ASSERT_TRUE(r.Ok) << r.Load.Message << r.SaveError;
        EXPECT_EQ(ReadBytes(path_), expected);
        EXPECT_NE(ReadBytes(path_), before);
        WriteBytes(path_, before);
    }
}

TEST_F(StoreRewrite, WritesAnOlderLayoutAsTheCurrentOne) {
    for (const auto& [name, change] : Changes())
        for (int version : {2, 9, 10, 13}) {
            SCOPED_TRACE(std::string(name) + ", version " + std::to_string(version));
            WriteBytes(path_, OldBookImage(version));
            const auto expected = ExpectedImage(path_, settings_, change());
            ASSERT_FALSE(expected.empty());
            const TRewriteResult r = RewriteBook(path_, settings_, change());
            ASSERT_TRUE(r.Ok) << r.Load.Message << r.SaveError;
            EXPECT_EQ(ReadBytes(path_), expected);
        }
}

TEST_F(StoreRewrite, CopiedEntriesGiveTheBytesOfALoadTagAndSave) {
    auto book = BookOfSeveralEntries(); // notes long enough to reach past a read window
    book->Entries.At(1)->Tagged = 1;
    // An entry of keys of its own: its tag byte stands further in.
    TRecord& own = *book->Entries.At(2);
    own.UseDefaultKeys = 0;
    own.Keys.AddKey(kAddressKeyBase + 2, true);
    own.Keys.AddKey(9, false);
    // Entries a read changes, found by their marks in the image, after entries copied.
    const auto odd = [&](const std::string& surname) -> TRecord& {
        TRecord entry;
        entry.SetNameField(2, surname);
        entry.SetNotes("note of " + surname);
        return *book->Entries.At(book->Entries.AddEntryCopy(entry, SystemClock::Instance()));
    };
    odd("NulInside").SetNotes("ab|cd");
    odd("NoNulAtEnd").SetNotes("ZZEND");
    odd("NotFinite").Stamp = 777.25;
    odd("NoExactDate").LastCalled = 12345.678;
    auto early = std::make_unique<TReminders>();
    early->When = 46000;
    early->Until = 45990; // before When: read as When
    odd("UntilBeforeWhen").Reminders.Add(std::move(early));
    TRecord& dial = odd("DialCopies");
    dial.Addresses.AddAddress(1);
    dial.Addresses.At(0)->Prefix[0] = std::string("PFX0");
    TRecord& count = odd("NegativeCount");
    count.Attachments.AppendAttachment("doc", "QQFILE", true);
    odd("Plain after them all").Tagged = 1;

    std::vector<std::uint8_t> image = WriteBookImage(*book);
    image[Find(image, "ab|cd") + 2] = 0;
    image[Find(image, "ZZEND") + 5] = 'x';
    PutDouble(image, Find(image, DoubleBytes(777.25)), std::numeric_limits<double>::quiet_NaN());
    PutDouble(image, Find(image, DoubleBytes(12345.678 + kBookDateOffset)), 1e-300);
    // The first of the four copies of the dialling settings differs from the last.
    image[Find(image, "PFX0") - 2 - 16] ^= 1;
    // The call logs' count of 0, after the attachment's file name and kind, as -1.
    const std::size_t logs = Find(image, "QQFILE") + 7 + 1;
    image[logs] = image[logs + 1] = 0xFF;
    WriteBytes(path_, image);
    // A save writes those entries otherwise than the file holds them.
    TLoadResult plain = LoadBook(path_, settings_);
    ASSERT_TRUE(plain.Book);
    ASSERT_EQ(plain.Book->Entries.Count(), book->Entries.Count());
    EXPECT_NE(WriteBookImage(*plain.Book).size(), image.size());

    for (const std::uint8_t tag : {1, 0, 1}) {
        SCOPED_TRACE("tag " + std::to_string(tag));
        const auto expected = ExpectedImage(path_, settings_, TagAll(tag));
        const TRewriteResult r = RewriteBook(path_, settings_, TagAll(tag));
        ASSERT_TRUE(r.Ok) << r.Load.Message << r.SaveError;
        EXPECT_TRUE(ReadBytes(path_) == expected);
    }
}

TEST_F(StoreRewrite, ABookThatDoesNotReadIsLeftAsItWas) {
    auto image = WriteBookImage(*BookOfSeveralEntries());
    // Cut inside the last entry's notes, and with the trailer put back: the damage is
    // found only after most of the new file was written.
    std::vector<std::uint8_t> cut(image.begin(), image.end() - 40000);
    cut.insert(cut.end(), image.end() - kSignatureSize, image.end());
    WriteBytes(path_, cut);
    const TRewriteResult copied = RewriteBook(path_, settings_, TagAll(1));
    EXPECT_FALSE(copied.Ok);
    EXPECT_EQ(copied.Load.Code, LoadBook(path_, settings_).Code);
    EXPECT_EQ(ReadBytes(path_), cut);
    const TRewriteResult r = RewriteBook(path_, settings_, TagEverySecond());
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.SaveError.empty());
    EXPECT_EQ(r.Load.Code, LoadBook(path_, settings_).Code);
    EXPECT_NE(r.Load.Code, kCodeValid);
    EXPECT_EQ(r.Load.Message, LoadBook(path_, settings_).Message);
    EXPECT_EQ(ReadBytes(path_), cut);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                            std::filesystem::directory_iterator()),
              1);

    const TRewriteResult missing = RewriteBook(dir_.File("none.ADR"), settings_, TagEverySecond());
    EXPECT_FALSE(missing.Ok);
    EXPECT_EQ(missing.Load.Code, kCodeUnreadable);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("none.ADR")));
}

TEST_F(StoreRewrite, FailsCleanlyAtEveryCallUpToTheRename) {
    const auto original = WriteBookImage(*BookOfSeveralEntries());
    for (const auto& [name, change] : Changes()) {
        SCOPED_TRACE(name);
        WriteBytes(path_, original);
        TFaultFileSystem counter;
        TSaveOptions counted;
        counted.FileSystem = &counter;
        ASSERT_TRUE(RewriteBook(path_, settings_, change(), counted).Ok);
        const auto changed = ReadBytes(path_);
        const auto& calls = counter.Log();
        const auto rename = std::find(calls.begin(), calls.end(), "rename");
        ASSERT_NE(rename, calls.end());
        ASSERT_GE(std::count(calls.begin(), calls.end(), "write"), 2);
        const int commit = static_cast<int>(rename - calls.begin()) + 1;
        for (int n = 1; n <= commit; ++n) {
            SCOPED_TRACE("call " + std::to_string(n) + " " + calls[n - 1]);
            WriteBytes(path_, original);
            TFaultFileSystem faulty;
            faulty.FailAt(n, EIO);
            TSaveOptions options;
            options.FileSystem = &faulty;
            const TRewriteResult r = RewriteBook(path_, settings_, change(), options);
            EXPECT_FALSE(r.Ok);
            const std::string& error = r.SaveError.empty() ? r.Load.Message : r.SaveError;
            EXPECT_NE(error.find(std::strerror(EIO)), std::string::npos) << error;
            EXPECT_EQ(ReadBytes(path_), original);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                                    std::filesystem::directory_iterator()),
                      1);
        }
        WriteBytes(path_, original);
        ASSERT_TRUE(RewriteBook(path_, settings_, change()).Ok);
        EXPECT_EQ(ReadBytes(path_), changed);
    }
}

TEST_F(StoreRewrite, AFileReplacedByAnotherWriterIsRefusedUnlessForced) {
    const auto original = WriteBookImage(*BookOfSeveralEntries());
    auto other = BookOfSeveralEntries();
    other->Entries.At(0)->SetNameField(2, "Theirs");
    const auto theirs = WriteBookImage(*other);
    for (bool force : {false, true}) {
        SCOPED_TRACE(force ? "forced" : "not forced");
        WriteBytes(path_, original);
        // Replaced as a save replaces it: a new file renamed over the old name.
        TFaultFileSystem files;
        files.Before("stat", [&] {
            WriteBytes(path_ + ".new", theirs);
            std::filesystem::rename(path_ + ".new", path_);
        });
        TSaveOptions options;
        options.FileSystem = &files;
        options.Force = force;
        const TRewriteResult r = RewriteBook(path_, settings_, TagEverySecond(), options);
        EXPECT_EQ(r.Ok, force);
        EXPECT_EQ(r.ChangedOnDisk, !force);
        if (force) {
            // The other writer's book is the one changed, not the one first opened.
            WriteBytes(path_ + ".check", theirs);
            EXPECT_EQ(ReadBytes(path_), ExpectedImage(path_ + ".check", settings_));
            std::filesystem::remove(path_ + ".check");
        } else {
            EXPECT_EQ(ReadBytes(path_), theirs);
        }
    }
}

} // namespace
} // namespace tessaly
