// Book and defaults files kept under tests/data/store, loaded from disk. They were
// made by this program's writer: run the suite once with TESSALY_WRITE_STORE_DATA=1
// to make them again after a deliberate change of the format.

#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "tests/support/fake_clock.h"
#include "tests/support/test_books.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::BuiltInSettings;

const fs::path kDataDir = fs::path(TESSALY_TEST_DATA_DIR) / "store";

std::vector<std::uint8_t> WithVersionWord(std::vector<std::uint8_t> image, int word) {
    image[6] = static_cast<std::uint8_t>(word & 0xFF);
    image[7] = static_cast<std::uint8_t>(word >> 8);
    return image;
}

// Every file kept, and how it is made.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Generated() {
    FakeClock clock(45292.5);
    auto fresh = NewBook("new.ADR", BuiltInSettings(), clock);
    const auto full = WriteBookImage(*testing::MakeFullBook());
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

TEST(StoreDataFiles, KeptFilesLoadAsExpected) {
    if (std::getenv("TESSALY_WRITE_STORE_DATA")) {
        fs::create_directories(kDataDir);
        for (const auto& [name, bytes] : Generated())
            ASSERT_TRUE(WriteFileAtomically((kDataDir / name).string(), bytes).Ok) << name;
    }
    const TStoreSettings settings = BuiltInSettings();
    auto load = [&](const char* name) { return LoadBook((kDataDir / name).string(), settings); };

    // Valid books load and write back the very bytes they were read from.
    for (const char* name : {"new.ADR", "full.ADR"}) {
        SCOPED_TRACE(name);
        TLoadResult loaded = load(name);
        ASSERT_TRUE(loaded.Book) << loaded.Message;
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile((kDataDir / name).string(), bytes).Ok);
        EXPECT_EQ(WriteBookImage(*loaded.Book), bytes);
    }
    TLoadResult fresh = load("new.ADR");
    EXPECT_EQ(fresh.Book->Created, 45292.5);
    EXPECT_EQ(fresh.Book->Templates, TTemplateList::Defaults());
    EXPECT_EQ(load("full.ADR").Book->Entries.Count(), 2);

    TLoadResult v9 = load("version9.ADR");
    ASSERT_TRUE(v9.Book);
    EXPECT_EQ(v9.Book->PageCaptions[5], std::optional<std::string>("&Categories"));
    TLoadResult v1 = load("version1.ADR");
    ASSERT_TRUE(v1.Book);
    EXPECT_EQ(v1.Book->Searches.ActiveName, std::optional<std::string>("<Untitled>"));

    const std::string corrupt = "Address Book File is Corrupt - Recover File from Backup Copy";
    EXPECT_EQ(load("damaged_trailer.ADR").Message, "DAMAGED_TRAILER.ADR " + corrupt);
    EXPECT_EQ(load("truncated.ADR").Message, "TRUNCATED.ADR " + corrupt);
    EXPECT_EQ(load("version14.ADR").Message, "VERSION14.ADR is not a Valid Tessaly Version 3 File");
    TLoadResult older = load("version2_0.ADR");
    EXPECT_EQ(older.Code, 20);
    EXPECT_EQ(older.Message, "VERSION2_0.ADR is a Version 2.0 Tessaly File");

    std::vector<std::uint8_t> defaults;
    ASSERT_TRUE(ReadWholeFile((kDataDir / "defaults.DEF").string(), defaults).Ok);
    TBookData seeded;
    EXPECT_TRUE(ParseDefaultsImage(seeded, defaults));
    EXPECT_EQ(WriteDefaultsImage(seeded), defaults);
}

} // namespace
} // namespace tessaly
