// tessaly-cli add, delete and tag, run in process on books in a scratch folder.

#include "cli/book_json.h"
#include "cli/edit_commands.h"
#include "core/store/book_file.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using clitest::TRun;
using testing::ReadBytes;
using testing::TScratchDir;

class CliEdit : public ::testing::Test {
protected:
    CliEdit() : path(dir.File("EDIT.ADR")) {
        FakeClock clock(45000);
        auto book = NewBook(path, testing::NoDefaultsFile(), clock);
        book->Categories.At(1)->Default = 1;
        for (const char* surname : {"Adams", "Baker", "Clark"}) {
            TRecord e;
            e.SetNameField(kFieldSurname, surname);
            book->Entries.AddEntryCopy(e, clock);
        }
        EXPECT_TRUE(SaveBook(*book, false, TStoreSettings()).Ok);
    }
    std::unique_ptr<TBookData> Reload() const {
        TLoadResult r = LoadBook(path, TStoreSettings());
        EXPECT_TRUE(r.Book) << r.Message;
        return std::move(r.Book);
    }

    TScratchDir dir;
    std::string path;
};

TEST_F(CliEdit, AddTakesTheGivenFieldsAndANewEntrysDefaults) {
    TRun add(R"({"NameFields": ["Ms", "Zo\u00eb", "Young", "", "", "", "", "", "", "Met in 2024"],
                 "Tagged": 1})");
    ASSERT_EQ(CommandAdd(path, add.Streams()), 0) << add.Err.str();
    auto book = Reload();
    ASSERT_EQ(book->Entries.Count(), 4);
    const TRecord& e = *book->Entries.At(3);
    EXPECT_EQ(e.NameField(kFieldFirstName), "Zo\xEB"); // stored in Windows-1252
    EXPECT_EQ(e.Notes(), "Met in 2024");
    EXPECT_EQ(e.Tagged, 1);
    // Left out: the book's default category, its keys, one address, Created now.
    ASSERT_EQ(e.CategoriesInUse.Count(), 1);
    EXPECT_EQ(e.CategoriesInUse.Membership(0), 1);
    EXPECT_EQ(e.Keys, book->IndexKeys);
    EXPECT_EQ(e.Addresses.Count(), 1);
    EXPECT_GT(e.Created, 45000);
    EXPECT_EQ(book->ChangeCount, 0); // saved
    // What was printed is the stored entry (its Created as exact as the file keeps it).
    TJson printed = ParseJsonText(add.Out.str());
    EXPECT_NEAR(printed["Created"].get<double>(), e.Created, 1e-9);
    printed["Created"] = e.Created;
    EXPECT_EQ(printed, EntryToJson(e));
}

TEST_F(CliEdit, AddNeverDuplicatesAStamp) {
    const double taken = Reload()->Entries.StampAt(0);
    TRun add(R"({"Stamp": )" + EntryToJson(*Reload()->Entries.At(0))["Stamp"].dump() + "}");
    ASSERT_EQ(CommandAdd(path, add.Streams()), 0) << add.Err.str();
    auto book = Reload();
    ASSERT_EQ(book->Entries.Count(), 4);
    EXPECT_EQ(book->Entries.StampAt(0), taken);
    EXPECT_NE(book->Entries.StampAt(3), taken);
}

TEST_F(CliEdit, BadEntryJsonLeavesTheFileAsItWas) {
    const auto before = ReadBytes(path);
    const std::pair<const char*, const char*> cases[] = {
        {"[1, 2]", "entry: expected an object"},
        {R"({"Surname": "Smith"})", "entry.Surname: is not a stored field"},
        {R"({"Tagged": 256})", "entry.Tagged: 256 is out of range"},
        {R"({"NameFields": ["only one"]})", "entry.NameFields: expected an array of 10"},
        {R"({"Stamp": 1, "Stamp": 2})", "appears twice"},
        {"{", "not valid JSON"},
    };
    for (const auto& [json, message] : cases) {
        TRun add(json);
        EXPECT_EQ(CommandAdd(path, add.Streams()), 1) << json;
        EXPECT_NE(add.Err.str().find(message), std::string::npos) << add.Err.str();
        EXPECT_NE(add.Err.str().find("EDIT.ADR was not changed"), std::string::npos);
        EXPECT_TRUE(add.Out.str().empty());
    }
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(CliEdit, DeleteByIndexOrStamp) {
    const double clark = Reload()->Entries.StampAt(2);
    TRun byIndex;
    ASSERT_EQ(CommandDelete(path, TEntrySelector{0, std::nullopt, false}, byIndex.Streams()), 0)
        << byIndex.Err.str();
    TRun byStamp;
    ASSERT_EQ(CommandDelete(path, TEntrySelector{std::nullopt, clark, false}, byStamp.Streams()), 0)
        << byStamp.Err.str();
    auto book = Reload();
    ASSERT_EQ(book->Entries.Count(), 1);
    EXPECT_EQ(book->Entries.At(0)->NameField(kFieldSurname), "Baker");

    const auto before = ReadBytes(path);
    TRun missing;
    EXPECT_EQ(CommandDelete(path, TEntrySelector{1, std::nullopt, false}, missing.Streams()), 1);
    EXPECT_EQ(missing.Err.str(), "EDIT.ADR has no entry 1 (it has 1)\n");
    TRun gone;
    EXPECT_EQ(CommandDelete(path, TEntrySelector{std::nullopt, clark, false}, gone.Streams()), 1);
    EXPECT_NE(gone.Err.str().find("has no entry with the stamp"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(CliEdit, TagOneOrAllAndClear) {
    const auto tag = [this](TEntrySelector which, bool on) {
        TRun run;
        return CommandTag(path, which, on, run.Streams());
    };
    ASSERT_EQ(tag({1, std::nullopt, false}, true), 0);
    EXPECT_EQ(Reload()->Entries.TaggedAt(1), 1);
    ASSERT_EQ(tag({std::nullopt, std::nullopt, true}, true), 0);
    EXPECT_EQ(Reload()->Entries.CountTagged(), 3);
    ASSERT_EQ(tag({2, std::nullopt, false}, false), 0);
    EXPECT_EQ(Reload()->Entries.CountTagged(), 2);
    EXPECT_EQ(tag({-1, std::nullopt, false}, true), 1);
}

TEST_F(CliEdit, ADamagedOrMissingBookIsReported) {
    TRun missing;
    EXPECT_EQ(CommandDelete(dir.File("NONE.ADR"), TEntrySelector{0, std::nullopt, false},
                            missing.Streams()),
              1);
    // The same one line as check and dump give for a missing book.
    EXPECT_EQ(missing.Err.str(),
              "Address Book " + dir.File("NONE.ADR") + " could not be located\n");
    TRun check;
    EXPECT_EQ(CommandCheck(dir.File("NONE.ADR"), check.Streams()), 1);
    EXPECT_EQ(check.Out.str(), missing.Err.str());
    auto bytes = ReadBytes(path);
    bytes.back() ^= 0xFF;
    testing::WriteBytes(path, bytes);
    TRun damaged("{}");
    EXPECT_EQ(CommandAdd(path, damaged.Streams()), 1);
    EXPECT_EQ(damaged.Err.str(),
              "EDIT.ADR Address Book File is Corrupt - Recover File from Backup Copy\n");
    EXPECT_EQ(ReadBytes(path), bytes);
}

} // namespace
} // namespace tessaly
