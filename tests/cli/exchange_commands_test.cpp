// import and export from the command line: the default and named templates, what is
// refused (a missing input, a read-only book, a template of another kind), saving,
// the selections and address choices, and standard output.

#include "cli/exchange_commands.h"
#include "core/diary/diary.h"
#include "core/exchange/export_template.h"
#include "core/exchange/import_template.h"
#include "core/store/book_file.h"
#include "core/system/file_attributes.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using clitest::TRun;
using testing::NoDefaultsFile;
using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

class ExchangeCommands : public ::testing::Test {
protected:
    void SetUp() override {
        book = dir.File("B.ADR");
        auto b = NewBook(book, NoDefaultsFile());
        ASSERT_TRUE(SaveBook(*b, false, TStoreSettings()).Ok);
        csv = dir.File("in.csv");
        Write(csv, "Title,First,Surname\r\nDr,Ann,Smith\r\nMr,Bob,\"O'Neil, Jr\"\r\n");
    }
    static void Write(const std::string& path, const std::string& text) {
        WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    static std::string Read(const std::string& path) {
        const auto b = ReadBytes(path);
        return std::string(b.begin(), b.end());
    }
    int Import(TRun& run, const std::string& target, const std::string& input,
               std::optional<std::string> tpl = std::nullopt) {
        return CommandImport(target, input, tpl, dir.Path(), run.Streams());
    }
    int Export(TRun& run, TExportRequest r) {
        r.ConfigDir = dir.Path();
        return CommandExport(r, run.Streams());
    }

    TScratchDir dir;
    std::string book;
    std::string csv;
};

TEST_F(ExchangeCommands, ImportSavesTheBookAndExportWritesItBack) {
    TRun run;
    ASSERT_EQ(Import(run, book, csv), 0) << run.Err.str();
    EXPECT_EQ(run.Out.str(), "2\n");
    const TLoadResult loaded = LoadBook(book, TStoreSettings());
    ASSERT_TRUE(loaded.Book);
    ASSERT_EQ(loaded.Book->Entries.Count(), 2);
    EXPECT_EQ(loaded.Book->Entries.At(1)->NameField(kFieldSurname), "O'Neil, Jr");

    TRun out;
    TExportRequest r;
    r.Path = book;
    r.Output = "-";
    ASSERT_EQ(Export(out, r), 0) << out.Err.str();
    const std::string text = out.Out.str();
    EXPECT_TRUE(text.starts_with("\"Title\",\"First Name\",\"Surname\",")) << text;
    EXPECT_NE(text.find("\r\n\"Dr\",\"Ann\",\"Smith\","), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n\"Mr\",\"Bob\",\"O'Neil, Jr\","), std::string::npos);

    TRun toFile;
    r.Output = dir.File("out.csv");
    ASSERT_EQ(Export(toFile, r), 0);
    EXPECT_EQ(toFile.Out.str(), "2\n");
    EXPECT_EQ(Read(r.Output), text);
}

TEST_F(ExchangeCommands, RefusalsLeaveTheBookAsItWas) {
    const auto before = ReadBytes(book);
    TRun missing;
    EXPECT_EQ(Import(missing, book, dir.File("none.csv")), 1);
    EXPECT_EQ(missing.Err.str(), "File: " + dir.File("none.csv") +
                                     " \n\nUnable to Process File due to an Unknown Error\n");
    TRun wrongKind;
    EXPECT_EQ(Import(wrongKind, book, csv, std::string(kDefaultDiaryImport)), 1);
    EXPECT_NE(wrongKind.Err.str().find("not for this kind"), std::string::npos);
    TRun unknown;
    EXPECT_EQ(Import(unknown, book, csv, std::string("Nope")), 1);
    EXPECT_EQ(unknown.Err.str(), "No template is named \"Nope\"\n");

    ASSERT_TRUE(SetFileReadOnly(book, true).Ok);
    TRun locked;
    EXPECT_EQ(Import(locked, book, csv), 1);
    EXPECT_NE(locked.Err.str().find("read-only"), std::string::npos) << locked.Err.str();
    SetFileReadOnly(book, false);
    EXPECT_EQ(ReadBytes(book), before);

    TRun badExport;
    TExportRequest r;
    r.Path = book;
    r.Output = dir.File("nofolder/out.csv");
    EXPECT_EQ(Export(badExport, r), 1);
    EXPECT_EQ(badExport.Err.str(),
              "File: " + r.Output + " \n\nUnable to Write File due to an Unknown Error\n");
}

TEST_F(ExchangeCommands, NamedTemplatesSelectionsAndAddresses) {
    // A template of the configuration folder: semicolons, surname and first name only.
    TImportList imports;
    auto t = std::make_unique<TImport>();
    t->SetName("Semicolons");
    t->Separator = ';';
    t->HeaderLine = 0;
    t->Mappings[2].AddField(0);
    t->Mappings[1].AddField(1);
    imports.Add(std::move(t));
    ASSERT_TRUE(SaveImportTemplates(dir.File("TESSALY.TPI"), imports).Ok);
    Write(csv, "Young;Cy\r\nadams;Al\r\nBrown;Bea\r\n");
    TRun run;
    ASSERT_EQ(Import(run, book, csv, std::string("semicolons")), 0) << run.Err.str();

    TExportList exports;
    auto e = std::make_unique<TExport>();
    e->SetName("Names");
    e->Columns[0] = 2;
    e->Columns[1] = 3;
    e->HeaderLine = 0;
    e->Quote = 0;
    exports.Add(std::move(e));
    ASSERT_TRUE(SaveExportTemplates(dir.File("TESSALY.TPE"), exports).Ok);

    TExportRequest r;
    r.Path = book;
    r.Output = "-";
    r.Template = "Names";
    TRun all;
    ASSERT_EQ(Export(all, r), 0) << all.Err.str();
    // In the order of the entry list: Al adams, Bea Brown, Cy Young.
    EXPECT_EQ(all.Out.str(), "adams,\r\nBrown,\r\nYoung,\r\n");
    r.Selection = "entry";
    r.Entry = "0";
    TRun one;
    ASSERT_EQ(Export(one, r), 0);
    EXPECT_EQ(one.Out.str(), "Young,\r\n");
    r.Entry = "3";
    TRun outside;
    EXPECT_EQ(Export(outside, r), 1);
    r.Selection = "tagged";
    TRun none;
    ASSERT_EQ(Export(none, r), 0);
    EXPECT_EQ(none.Out.str(), "");
    r.Selection = "all";
    r.Addresses = "Nowhere";
    TRun badAddress;
    EXPECT_EQ(Export(badAddress, r), 1);
    r.Addresses = "Address 1";
    TRun byTemplate;
    ASSERT_EQ(Export(byTemplate, r), 0) << byTemplate.Err.str();
    EXPECT_EQ(byTemplate.Out.str(), all.Out.str());
    r.From = "2026-01-01";
    TRun notForBooks;
    EXPECT_EQ(Export(notForBooks, r), 1);
}

TEST_F(ExchangeCommands, DiaryImportAndRangedExport) {
    const std::string diaryPath = dir.File("D.TDY");
    auto d = NewDiary(diaryPath);
    ASSERT_TRUE(SaveDiary(*d, false, TStoreSettings()).Ok);
    Write(csv, "Date,Time,Priority,Description\r\n02/03/2026,09:00,2,Early\r\n"
               "20/03/2026,,1,Late\r\nnever,,,Skipped\r\n");
    TRun run;
    ASSERT_EQ(Import(run, diaryPath, csv), 0) << run.Err.str();
    EXPECT_EQ(run.Out.str(), "2\n");
    ASSERT_EQ(LoadDiary(diaryPath).Diary->Events.Count(), 2);

    TExportRequest r;
    r.Path = diaryPath;
    r.Output = "-";
    r.From = "2026-03-01";
    r.To = "2026-03-10";
    TRun out;
    ASSERT_EQ(Export(out, r), 0) << out.Err.str();
    // A line without a frequency column counts as daily (until its own day).
    EXPECT_EQ(out.Out.str(), "\"Date\",\"Time\",\"Priority\",\"Description\",\"Frequency\","
                             "\"Frequency Period\",\"Until\",\"Days in Advance\",\"State\","
                             "\"Notes\"\r\n\"02/03/2026\",\"09:00\",\"2\",\"Early\",\"Daily\",\"1\","
                             "\"02/03/2026\",\"2\",\"Outstanding\",\"\"\r\n");
    r.To.reset();
    TRun half;
    EXPECT_EQ(Export(half, r), 1);
}

} // namespace
} // namespace tessaly
