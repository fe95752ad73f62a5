#include "cli/book_json.h"
#include "cli/commands.h"
#include "core/store/book_file.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/scratch_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using clitest::TRun;
using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

const char* const kCorrupt = "Address Book File is Corrupt - Recover File from Backup Copy";

class CliCommands : public ::testing::Test {
protected:
    TScratchDir dir;
    std::string NoConfig() const { return dir.File("no-config"); }
};

TEST_F(CliCommands, NewBookChecksOkAndReadsBackWithTheDefaults) {
    const std::string path = dir.File("NEW.ADR");
    TRun make;
    ASSERT_EQ(CommandNew(path, NoConfig(), false, make.Streams()), 0) << make.Err.str();
    TRun check;
    EXPECT_EQ(CommandCheck(path, check.Streams()), 0);
    EXPECT_EQ(check.Out.str(), "OK\n");
    TLoadResult loaded = LoadBook(path, TStoreSettings());
    ASSERT_TRUE(loaded.Book);
    EXPECT_EQ(loaded.Book->Categories.CategoryName(0), "Business");
    EXPECT_EQ(loaded.Book->Templates.TemplateName(1), "Address 1");
    EXPECT_GT(loaded.Book->Created, 40000.0); // stamped with the real clock
}

TEST_F(CliCommands, NewBookTakesTheDefaultsFileOfTheConfigFolder) {
    // A defaults file made from a book with its own categories, captions and template.
    const std::string source = dir.File("SOURCE.ADR");
    auto book = testing::MakeEveryKindBook();
    book->FileName = source;
    ASSERT_TRUE(SaveBook(*book, false, TStoreSettings()).Ok);
    const std::string config = dir.File("config/nested");
    TRun defaults;
    ASSERT_EQ(CommandDefaults(source, config, defaults.Streams()), 0) << defaults.Err.str();
    EXPECT_TRUE(std::filesystem::exists(config + "/TESSALY.DEF"));

    const std::string path = dir.File("FROMDEF.ADR");
    TRun make;
    ASSERT_EQ(CommandNew(path, config, false, make.Streams()), 0) << make.Err.str();
    TLoadResult loaded = LoadBook(path, TStoreSettings());
    ASSERT_TRUE(loaded.Book);
    EXPECT_EQ(loaded.Book->Categories.CategoryName(2), "Caf\xE9 Society");
    EXPECT_EQ(loaded.Book->Templates.TemplateName(2), "Holiday");
    EXPECT_EQ(loaded.Book->PageCaptions[0], std::string("&Adresse \x80"));
    EXPECT_FALSE(loaded.Book->PageCaptions[3].has_value());
    EXPECT_EQ(loaded.Book->LabelPhoneFields, 255);
    // What the defaults file does not hold is new: no entries, the default header.
    EXPECT_EQ(loaded.Book->Entries.Count(), 0);
    EXPECT_EQ(loaded.Book->ListWidth, 170);
}

TEST_F(CliCommands, DamagedDefaultsFileFallsBackToTheBuiltInDefaults) {
    const std::string config = dir.File("config");
    std::filesystem::create_directories(config);
    WriteBytes(config + "/TESSALY.DEF", {5, 'T', 'S', '-', 'V', '3', 1, 2, 3});
    const std::string path = dir.File("B.ADR");
    TRun make;
    ASSERT_EQ(CommandNew(path, config, false, make.Streams()), 0);
    TLoadResult loaded = LoadBook(path, TStoreSettings());
    ASSERT_TRUE(loaded.Book);
    EXPECT_EQ(loaded.Book->Categories.Count(), 2);
    EXPECT_EQ(loaded.Book->Templates.TemplateName(1), "Address 1");
}

TEST_F(CliCommands, NewAndSampleKeepAnExistingFileUnlessForced) {
    const std::string path = dir.File("keep.adr");
    const std::vector<std::uint8_t> precious = {'m', 'i', 'n', 'e'};
    WriteBytes(path, precious);
    TRun make;
    EXPECT_EQ(CommandNew(path, NoConfig(), false, make.Streams()), 1);
    EXPECT_EQ(make.Err.str(), "KEEP.ADR already exists - give --force to replace it\n");
    TRun sample;
    EXPECT_EQ(CommandSample(path, false, sample.Streams()), 1);
    EXPECT_EQ(ReadBytes(path), precious);

    TRun forced;
    EXPECT_EQ(CommandNew(path, NoConfig(), true, forced.Streams()), 0);
    TRun check;
    EXPECT_EQ(CommandCheck(path, check.Streams()), 0);
}

TEST_F(CliCommands, SampleBookIsValidAndFilled) {
    const std::string path = dir.File("SAMPLE.ADR");
    TRun sample;
    ASSERT_EQ(CommandSample(path, false, sample.Streams()), 0) << sample.Err.str();
    TLoadResult loaded = LoadBook(path, TStoreSettings());
    ASSERT_TRUE(loaded.Book) << loaded.Message;
    const TBookData& book = *loaded.Book;
    EXPECT_EQ(book.Entries.Count(), 12);
    int reminders = 0, attachments = 0, logs = 0, workAddresses = 0;
    for (const auto& e : book.Entries) {
        EXPECT_GE(e->Addresses.Count(), 1);
        EXPECT_GE(e->CategoriesInUse.Count(), 1);
        EXPECT_FALSE(TextValue(e->NameFields[2]).empty());
        for (const auto& a : e->Addresses)
            EXPECT_GE(book.Templates.FindTemplateById(a->TemplateId), 1) << "template exists";
        for (const auto& c : e->CategoriesInUse)
            EXPECT_GE(book.Categories.FindCategoryById(c->CategoryId), 0) << "category exists";
        reminders += e->Reminders.Count();
        attachments += e->Attachments.Count();
        logs += e->CallLogs.Count();
        workAddresses += e->Addresses.FindAddress(2) >= 0 ? 1 : 0;
    }
    EXPECT_GE(reminders, 2);
    EXPECT_GE(attachments, 1);
    EXPECT_GE(logs, 1);
    EXPECT_GE(workAddresses, 2);
    // Stamps identify entries: no two alike.
    for (int i = 0; i < book.Entries.Count(); ++i)
        EXPECT_EQ(book.Entries.FindStamp(book.Entries.StampAt(i)), i);
}

TEST_F(CliCommands, CheckGivesTheStoreMessageForDamagedAndOlderFiles) {
    const std::string good = dir.File("good.adr");
    TRun make;
    ASSERT_EQ(CommandNew(good, NoConfig(), false, make.Streams()), 0);
    const auto image = ReadBytes(good);

    struct TCase {
        const char* Name;
        std::vector<std::uint8_t> Bytes;
        std::string Message;
    };
    auto trailer = image;
    trailer[trailer.size() - 1] = 'X';
    auto extra = image;
    extra.push_back(0);
    auto truncated = image;
    truncated.resize(image.size() - 7);
    auto newer = image;
    newer[6] = 14;
    const std::vector<TCase> cases = {
        {"trailer.adr", trailer, std::string("TRAILER.ADR ") + kCorrupt},
        {"extra.adr", extra, std::string("EXTRA.ADR ") + kCorrupt},
        {"Short.Adr", truncated, std::string("SHORT.ADR ") + kCorrupt},
        {"newer.adr", newer, "NEWER.ADR is not a Valid Tessaly Version 3 File"},
        {"v20.adr", {6, 0, 1, 2, 3, 4, 5, 6}, "V20.ADR is a Version 2.0 Tessaly File"},
        {"v25.adr", {8, 0, 1, 2, 3, 4, 5, 6}, "V25.ADR is a Version 2.5 Tessaly File"},
        {"v12.adr", {0xF5, 0x01, 9, 9, 9, 9, 9, 9}, "V12.ADR is a Version 1.2 Tessaly File."},
        {"other.adr", {3, 0, 1, 2, 3, 4, 5, 6}, "OTHER.ADR is not a Valid Tessaly Version 3 File"},
        {"empty.adr", {}, "EMPTY.ADR is not a Valid Tessaly Version 3 File"},
    };
    for (const TCase& c : cases) {
        const std::string path = dir.File(c.Name);
        WriteBytes(path, c.Bytes);
        TRun check;
        EXPECT_EQ(CommandCheck(path, check.Streams()), 1) << c.Name;
        EXPECT_EQ(check.Out.str(), c.Message + "\n") << c.Name;
        // dump refuses the same files with the same words.
        TRun dump;
        EXPECT_EQ(CommandDump(path, dump.Streams()), 1) << c.Name;
        EXPECT_EQ(dump.Out.str(), "");
        EXPECT_EQ(dump.Err.str(), c.Message + "\n") << c.Name;
    }
}

TEST_F(CliCommands, MissingFileIsNamed) {
    const std::string path = dir.File("absent.adr");
    TRun check;
    EXPECT_EQ(CommandCheck(path, check.Streams()), 1);
    EXPECT_EQ(check.Out.str(), "Address Book " + path + " could not be located\n");
    TRun dump;
    EXPECT_EQ(CommandDump(path, dump.Streams()), 1);
    EXPECT_EQ(dump.Err.str(), "Address Book " + path + " could not be located\n");
}

TEST_F(CliCommands, DumpThenLoadWritesTheSameBytes) {
    const std::string source = dir.File("SOURCE.ADR");
    auto book = testing::MakeEveryKindBook();
    book->FileName = source;
    ASSERT_TRUE(SaveBook(*book, false, TStoreSettings()).Ok);
    TRun dump;
    ASSERT_EQ(CommandDump(source, dump.Streams()), 0);
    const std::string copy = dir.File("COPY.ADR");
    TRun load(dump.Out.str());
    ASSERT_EQ(CommandLoad(copy, load.Streams()), 0) << load.Err.str();
    EXPECT_EQ(ReadBytes(copy), ReadBytes(source));
}

TEST_F(CliCommands, RefusedJsonWritesNothing) {
    const std::string path = dir.File("KEEP.ADR");
    TRun make;
    ASSERT_EQ(CommandNew(path, NoConfig(), false, make.Streams()), 0);
    const auto before = ReadBytes(path);
    TRun dump;
    ASSERT_EQ(CommandDump(path, dump.Streams()), 0);
    TJson j = TJson::parse(dump.Out.str());
    j["Templates"]["Items"][1]["Id"] = 40000;

    for (const std::string& input : {j.dump(), std::string("{\"Version\": 13"), std::string()}) {
        TRun load(input);
        EXPECT_EQ(CommandLoad(path, load.Streams()), 1);
        EXPECT_TRUE(load.Err.str().starts_with("KEEP.ADR was not written. The JSON is refused: "))
            << load.Err.str();
        EXPECT_EQ(ReadBytes(path), before);
        const std::string fresh = dir.File("FRESH.ADR");
        TRun loadFresh(input);
        EXPECT_EQ(CommandLoad(fresh, loadFresh.Streams()), 1);
        EXPECT_FALSE(std::filesystem::exists(fresh));
    }
    TRun load(j.dump());
    CommandLoad(path, load.Streams());
    EXPECT_EQ(load.Err.str(), "KEEP.ADR was not written. The JSON is refused: "
                              "Templates.Items[1].Id: 40000 is out of range (-32768 to 32767)\n");
    // Nothing but the book itself is left in the folder: no temporary files.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(CliCommands, LoadReportsAFolderThatCannotBeWritten) {
    TRun dump;
    const std::string path = dir.File("A.ADR");
    TRun make;
    ASSERT_EQ(CommandNew(path, NoConfig(), false, make.Streams()), 0);
    ASSERT_EQ(CommandDump(path, dump.Streams()), 0);
    TRun load(dump.Out.str());
    EXPECT_EQ(CommandLoad(dir.File("no/such/folder/B.ADR"), load.Streams()), 1);
    EXPECT_TRUE(load.Err.str().starts_with("B.ADR could not be written: ")) << load.Err.str();
}

TEST(CliConfigFolder, FollowsTheEnvironment) {
    struct TEnv {
        const char* Name;
        std::string Old;
        bool Had;
    };
    std::vector<TEnv> saved;
    for (const char* name : {"TESSALY_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        saved.push_back({name, v ? v : "", v != nullptr});
    }
    ::unsetenv("TESSALY_CONFIG_DIR");
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(DefaultConfigDirectory(), "/xdg/Marrowby/Tessaly");
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    EXPECT_EQ(DefaultConfigDirectory(), "/home/u/.config/Marrowby/Tessaly");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultConfigDirectory(), "/home/u/.config/Marrowby/Tessaly");
    ::setenv("TESSALY_CONFIG_DIR", "/cfg", 1);
    EXPECT_EQ(DefaultConfigDirectory(), "/cfg");
    for (const TEnv& e : saved) {
        if (e.Had)
            ::setenv(e.Name, e.Old.c_str(), 1);
        else
            ::unsetenv(e.Name);
    }
}

} // namespace
} // namespace tessaly
