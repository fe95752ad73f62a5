// Reading a file once into an image, giving back what a parser has read, and a large
// book loaded through it while its bytes are given back.

#include "core/store/book_file.h"
#include "core/system/file_image.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;
using testing::TScratchDir;
using testing::WriteBytes;

constexpr std::size_t kBlock = TFileImage::kReleaseBlock;

// Bytes that differ from block to block and from their neighbours.
std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 4093) & 0xFF);
    return bytes;
}

std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(FileImage, ReadsFilesOfEverySizeWhole) {
    TScratchDir dir;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, kBlock - 1, kBlock, 2 * kBlock + 12345}) {
        const std::string path = dir.File("f" + std::to_string(size));
        const auto bytes = Pattern(size);
        WriteBytes(path, bytes);
        TFileImage image;
        const TIoResult io = image.Read(path);
        ASSERT_TRUE(io.Ok) << io.Error;
        EXPECT_EQ(image.Size(), size);
        EXPECT_EQ(Copy(image.Bytes()), bytes) << size;
    }
}

TEST(FileImage, FilesThatTellNoSizeAreReadToTheirEnd) {
    // The system's files tell a size of 0 and still have bytes to read.
    TFileImage image;
    ASSERT_TRUE(image.Read("/proc/self/maps").Ok);
    EXPECT_GT(image.Size(), 0u);
    const std::string text(image.Bytes().begin(), image.Bytes().end());
    EXPECT_NE(text.find('\n'), std::string::npos);
}

TEST(FileImage, MissingFilesAndFoldersAreErrorsThatSayWhy) {
    TScratchDir dir;
    TFileImage image;
    const TIoResult missing = image.Read(dir.File("none.ADR"));
    EXPECT_FALSE(missing.Ok);
    EXPECT_NE(missing.Error.find("none.ADR"), std::string::npos);
    EXPECT_EQ(image.Size(), 0u);
    const TIoResult folder = image.Read(dir.Path());
    EXPECT_FALSE(folder.Ok);
    EXPECT_NE(folder.Error.find("directory"), std::string::npos) << folder.Error;
}

TEST(FileImage, GivesBackWholeBlocksBeforeTheOffsetOnlyAndMovesWithTheImage) {
    TScratchDir dir;
    const std::string path = dir.File("big");
    const auto bytes = Pattern(3 * kBlock + 100);
    WriteBytes(path, bytes);
    TFileImage image;
    ASSERT_TRUE(image.Read(path).Ok);

    image.ReleaseBefore(kBlock - 1); // not a whole block yet
    EXPECT_EQ(image.Released(), 0u);
    image.ReleaseBefore(2 * kBlock + kBlock / 2);
    EXPECT_EQ(image.Released(), 2 * kBlock);
    image.ReleaseBefore(kBlock); // never goes back
    EXPECT_EQ(image.Released(), 2 * kBlock);
    // What follows the blocks given back is untouched.
    const auto rest = image.Bytes().subspan(2 * kBlock);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), bytes.begin() + 2 * kBlock));

    TFileImage moved = std::move(image);
    EXPECT_EQ(image.Size(), 0u);
    EXPECT_EQ(moved.Released(), 2 * kBlock);
    moved.ReleaseBefore(SIZE_MAX); // past the end: up to the last whole block
    EXPECT_EQ(moved.Released(), 3 * kBlock);
    EXPECT_EQ(moved.Bytes()[3 * kBlock + 99], bytes[3 * kBlock + 99]);
}

TEST(StreamProgress, ReportsEachStepAndRefusesToSeekBackIntoWhatItReported) {
    const std::vector<std::uint8_t> bytes(100, 1);
    TStreamReader r(bytes);
    std::vector<std::size_t> reported;
    r.OnProgress([&](std::size_t position) { reported.push_back(position); }, 10);
    for (int i = 0; i < 50; ++i) {
        r.ReadByte();
        r.Checkpoint();
    }
    EXPECT_EQ(reported, (std::vector<std::size_t>{10, 20, 30, 40, 50}));
    r.Seek(60); // forward is fine
    EXPECT_THROW(r.Seek(49), StreamError);
    r.Seek(50); // the last position reported is still there
    EXPECT_EQ(r.Position(), 50u);
}

// A book of several release blocks: loading it from its file gives back the bytes
// behind the parser as it goes, and must build exactly the book the image holds.
TEST(FileImage, LargeBookLoadsAsItsImageParsesWhileItsBytesAreGivenBack) {
    auto book = MakeEveryKindBook();
    const TRecord model = *book->Entries.At(0);
    while (book->Entries.Count() < 10000) {
        auto entry = std::make_unique<TRecord>(model);
        entry->SetNotes(std::string(150 + book->Entries.Count() % 200, 'n') +
                        std::to_string(book->Entries.Count()));
        entry->Stamp = 1000 + book->Entries.Count();
        book->Entries.Add(std::move(entry));
    }
    const auto image = WriteBookImage(*book);
    ASSERT_GT(image.size(), 3 * kBlock);

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

    // A body cut short under an intact trailer is found damaged only at its end, after
    // most of its bytes are gone.
    std::vector<std::uint8_t> cut(image.begin(), image.end() - 1006);
    cut.insert(cut.end(), image.end() - 6, image.end());
    WriteBytes(path, cut);
    const TLoadResult damaged = LoadBook(path, NoDefaultsFile());
    EXPECT_FALSE(damaged.Book);
    EXPECT_EQ(damaged.Code, kCodeInvalid);
}

} // namespace
} // namespace tessaly
