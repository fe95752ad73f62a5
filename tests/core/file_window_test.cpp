// Reading a file through a window: every byte as it is, errors that say why, a read
// that fails half-way, and a large book loaded through it.

#include "core/store/book_file.h"
#include "core/store/file_window.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;
using testing::TScratchDir;
using testing::WriteBytes;

constexpr std::size_t kWindow = TFileWindow::kWindow;

// Bytes that differ from window to window and from their neighbours.
std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 4093) & 0xFF);
    return bytes;
}

TEST(FileWindow, ReadsFilesOfEverySizeByteForByteWhateverTheReadsAsk) {
    TScratchDir dir;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, kWindow - 1, kWindow, 2 * kWindow + 12345}) {
        const std::string path = dir.File("f" + std::to_string(size));
        const auto bytes = Pattern(size);
        WriteBytes(path, bytes);
        TFileWindow file;
        const TIoResult io = file.Open(path);
        ASSERT_TRUE(io.Ok) << io.Error;
        ASSERT_EQ(file.Size(), size);
        // Small and large reads, across the windows' edges, a seek back and a step
        // over more than a window.
        TStreamReader r(file);
        std::vector<std::uint8_t> got;
        std::size_t step = 1;
        while (r.Remaining() > 0) {
            const std::size_t n = std::min({step, r.Remaining(), 3 * kWindow});
            std::vector<std::uint8_t> piece(n);
            r.ReadBytes(piece.data(), n);
            got.insert(got.end(), piece.begin(), piece.end());
            step = step * 3 + 1;
        }
        EXPECT_EQ(got, bytes) << size;
        if (size > kWindow + 10) {
            r.Seek(5);
            EXPECT_EQ(r.ReadByte(), bytes[5]);
            r.Seek(kWindow + 7);
            EXPECT_EQ(r.ReadByte(), bytes[kWindow + 7]);
        }
        r.Seek(size);
        EXPECT_THROW(r.ReadByte(), StreamError);
        EXPECT_TRUE(file.ReadError().Ok);
    }
}

TEST(FileWindow, MissingFilesFoldersAndDevicesAreErrorsThatSayWhy) {
    TScratchDir dir;
    TFileWindow missing;
    const TIoResult none = missing.Open(dir.File("none.ADR"));
    EXPECT_FALSE(none.Ok);
    EXPECT_NE(none.Error.find("none.ADR"), std::string::npos);
    TFileWindow folder;
    const TIoResult isFolder = folder.Open(dir.Path());
    EXPECT_FALSE(isFolder.Ok);
    EXPECT_NE(isFolder.Error.find("directory"), std::string::npos) << isFolder.Error;
    // A device may never end.
    TFileWindow device;
    EXPECT_FALSE(device.Open("/dev/zero").Ok);
}

// A book several windows long: read through the window it builds exactly the book its
// image holds.
std::vector<std::uint8_t> LargeBookImage() {
    auto book = MakeEveryKindBook();
    const TRecord model = *book->Entries.At(0);
    while (book->Entries.Count() < 10000) {
        auto entry = std::make_unique<TRecord>(model);
        entry->SetNotes(std::string(150 + book->Entries.Count() % 200, 'n') +
                        std::to_string(book->Entries.Count()));
        entry->Stamp = 1000 + book->Entries.Count();
        book->Entries.Add(std::move(entry));
    }
    return WriteBookImage(*book);
}

TEST(FileWindow, ABookThatFailsToBeReadHalfWayIsUnreadableNotDamaged) {
    const auto image = LargeBookImage();
    TScratchDir dir;
    const std::string path = dir.File("LARGE.ADR");
    WriteBytes(path, image);
    // The first read fetches the head, the second the trailer; fail a later one.
    testing::TFaultFileSystem fs;
    fs.FailAt(1 + 1 + 1 + 4, EIO); // open, fstat, then the fifth read
    const TLoadResult failed = LoadBook(path, NoDefaultsFile(), fs);
    ASSERT_TRUE(fs.Injected());
    EXPECT_EQ(fs.Log()[6], "read");
    EXPECT_FALSE(failed.Book);
    EXPECT_EQ(failed.Code, kCodeUnreadable);
    EXPECT_NE(failed.Message.find("LARGE.ADR"), std::string::npos) << failed.Message;
    EXPECT_NE(failed.Message.find("Input/output error"), std::string::npos) << failed.Message;

    // A file cut short after its size was taken ends where it now ends: the bytes
    // beyond are not there to be read, never zeros or stale bytes.
    TFileWindow file;
    ASSERT_TRUE(file.Open(path).Ok);
    TStreamReader r(file);
    std::vector<std::uint8_t> head(100);
    r.ReadBytes(head.data(), head.size());
    std::filesystem::resize_file(path, 3 * kWindow);
    r.Seek(3 * kWindow - 1);
    EXPECT_EQ(r.ReadByte(), image[3 * kWindow - 1]);
    EXPECT_THROW(r.ReadByte(), StreamError);
    EXPECT_EQ(r.Size(), image.size());
}

TEST(FileWindow, ALargeBookLoadsAsItsImageParses) {
    const auto image = LargeBookImage();
    ASSERT_GT(image.size(), 3 * kWindow);

    TScratchDir dir;
    const std::string path = dir.File("LARGE.ADR");
    WriteBytes(path, image);
    TLoadResult loaded = LoadBook(path, NoDefaultsFile());
    ASSERT_TRUE(loaded.Book) << loaded.Message;
    TLoadResult parsed = ParseBookImage(image, NoDefaultsFile(), path);
    ASSERT_TRUE(parsed.Book);
    EXPECT_EQ(*loaded.Book, *parsed.Book);
    EXPECT_EQ(WriteBookImage(*loaded.Book), image);
    EXPECT_EQ(loaded.Book->Entries.At(7999)->Stamp, 1000 + 7999);
    // Read for its events, the texts stepped over cross the windows' edges too.
    TLoadResult events = LoadBookEvents(path, NoDefaultsFile());
    ASSERT_TRUE(events.Book) << events.Message;
    ASSERT_EQ(events.Book->Entries.Count(), parsed.Book->Entries.Count());
    ASSERT_GT(parsed.Book->Entries.At(9999)->Reminders.Count(), 0);
    for (int i = 0; i < parsed.Book->Entries.Count(); ++i)
        ASSERT_EQ(events.Book->Entries.At(i)->Reminders, parsed.Book->Entries.At(i)->Reminders)
            << i;

    // A body cut short under an intact trailer is found damaged only at its end.
    std::vector<std::uint8_t> cut(image.begin(), image.end() - 1006);
    cut.insert(cut.end(), image.end() - 6, image.end());
    WriteBytes(path, cut);
    const TLoadResult damaged = LoadBook(path, NoDefaultsFile());
    EXPECT_FALSE(damaged.Book);
    EXPECT_EQ(damaged.Code, kCodeInvalid);
}

} // namespace
} // namespace tessaly
