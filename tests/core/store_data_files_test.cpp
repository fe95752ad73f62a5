// Book and defaults files kept under tests/data/store, loaded from disk. They were
// made by this program's writer: run the suite once with TESSALY_WRITE_STORE_DATA=1
// to make them again after a deliberate change of the format.

#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/old_book_images.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::NoDefaultsFile;

const fs::path kDataDir = fs::path(TESSALY_TEST_DATA_DIR) / "store";

std::vector<std::uint8_t> WithVersionWord(std::vector<std::uint8_t> image, int word) {
    image[6] = static_cast<std::uint8_t>(word & 0xFF);
    image[7] = static_cast<std::uint8_t>(word >> 8);
    return image;
}

// Every file kept, and how it is made.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Generated() {
    FakeClock clock(45292.5);
    auto fresh = NewBook("new.ADR", NoDefaultsFile(), clock);
    const auto full = WriteBookImage(*testing::MakeEveryKindBook());
    auto damagedTrailer = full;
    damagedTrailer[damagedTrailer.size() - 3] = '?';
    std::vector<std::uint8_t> truncated(full.begin(), full.begin() + 300);
    truncated.insert(truncated.end(), full.end() - 6, full.end());
    std::vector<std::uint8_t> oldHead = {6, 0};
    oldHead.insert(oldHead.end(), full.begin() + 2, full.end());
    return {
        {"new.ADR", WriteBookImage(*fresh)},          {"full.ADR", full},
        {"version9.ADR", testing::OldBookImage(9)},   {"version1.ADR", testing::OldBookImage(1)},
        {"damaged_trailer.ADR", damagedTrailer},      {"truncated.ADR", truncated},
        {"version14.ADR", WithVersionWord(full, 14)}, {"version2_0.ADR", oldHead},
        {"defaults.DEF", WriteDefaultsImage(*fresh)},
    };
}

void WriteKeptFilesWhenAsked() {
    static const bool written = [] {
        if (std::getenv("TESSALY_WRITE_STORE_DATA")) {
            fs::create_directories(kDataDir);
            for (const auto& [name, bytes] : Generated())
                if (!WriteFileAtomically((kDataDir / name).string(), bytes).Ok)
                    ADD_FAILURE() << "cannot write " << name;
        }
        return true;
    }();
    (void)written;
}

std::vector<std::uint8_t> KeptBytes(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile((kDataDir / name).string(), bytes).Ok) << name;
    return bytes;
}

TLoadResult LoadKept(const std::string& name) {
    return LoadBook((kDataDir / name).string(), NoDefaultsFile());
}

const std::string kCorrupt = "Address Book File is Corrupt - Recover File from Backup Copy";

// What each kept file must give when it is read.
struct TKeptFile {
    std::string Name;
    void (*Check)(const std::string& name);
};

const std::vector<TKeptFile> kKeptFiles = {
    {"new.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         ASSERT_TRUE(loaded.Book) << loaded.Message;
         // A valid book writes back the very bytes it was read from.
         EXPECT_EQ(WriteBookImage(*loaded.Book), KeptBytes(name));
         EXPECT_EQ(loaded.Book->Created, 45292.5);
         EXPECT_EQ(loaded.Book->Templates, TTemplateList::Defaults());
     }},
    {"full.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         ASSERT_TRUE(loaded.Book) << loaded.Message;
         EXPECT_EQ(WriteBookImage(*loaded.Book), KeptBytes(name));
         EXPECT_EQ(loaded.Book->Entries.Count(), 2);
     }},
    {"version9.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         ASSERT_TRUE(loaded.Book) << loaded.Message;
         EXPECT_EQ(loaded.Book->PageCaptions[5], std::optional<std::string>("&Categories"));
     }},
    {"version1.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         ASSERT_TRUE(loaded.Book) << loaded.Message;
         EXPECT_EQ(loaded.Book->Searches.ActiveName, std::optional<std::string>("<Untitled>"));
     }},
    {"damaged_trailer.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         EXPECT_FALSE(loaded.Book);
         EXPECT_EQ(loaded.Message, "DAMAGED_TRAILER.ADR " + kCorrupt);
     }},
    {"truncated.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         EXPECT_FALSE(loaded.Book);
         EXPECT_EQ(loaded.Message, "TRUNCATED.ADR " + kCorrupt);
     }},
    {"version14.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         EXPECT_FALSE(loaded.Book);
         EXPECT_EQ(loaded.Message, "VERSION14.ADR is not a Valid Tessaly Version 3 File");
     }},
    {"version2_0.ADR",
     [](const std::string& name) {
         TLoadResult loaded = LoadKept(name);
         EXPECT_FALSE(loaded.Book);
         EXPECT_EQ(loaded.Code, 20);
         EXPECT_EQ(loaded.Message, "VERSION2_0.ADR is a Version 2.0 Tessaly File");
     }},
    {"defaults.DEF",
     [](const std::string& name) {
         const auto bytes = KeptBytes(name);
         TBookData seeded;
         EXPECT_TRUE(ParseDefaultsImage(seeded, bytes));
         EXPECT_EQ(WriteDefaultsImage(seeded), bytes);
     }},
};

class StoreDataFile : public ::testing::TestWithParam<TKeptFile> {};

TEST_P(StoreDataFile, ReadsAsExpected) {
    WriteKeptFilesWhenAsked();
    GetParam().Check(GetParam().Name);
}

INSTANTIATE_TEST_SUITE_P(Kept, StoreDataFile, ::testing::ValuesIn(kKeptFiles),
                         [](const ::testing::TestParamInfo<TKeptFile>& info) {
                             std::string name = info.param.Name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// A file added to the folder without saying what it must give would never be read.
TEST(StoreDataFiles, EveryKeptFileHasItsCase) {
    WriteKeptFilesWhenAsked();
    std::vector<std::string> onDisk, listed;
    for (const auto& entry : fs::directory_iterator(kDataDir))
        onDisk.push_back(entry.path().filename().string());
    for (const auto& kept : kKeptFiles)
        listed.push_back(kept.Name);
    std::sort(onDisk.begin(), onDisk.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(onDisk, listed);
}

} // namespace
} // namespace tessaly
