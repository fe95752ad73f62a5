// tessaly-cli vcard export and import, run in process on books in a scratch folder.

#include "cli/vcard_commands.h"
#include "core/exchange/vcard_format.h"
#include "core/exchange/vcard_kept.h"
#include "core/store/book_file.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scratch_dir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace tessaly {
namespace {

using clitest::TRun;
using testing::ReadBytes;
using testing::TScratchDir;

class CliVCard : public ::testing::Test {
protected:
    CliVCard() : path(dir.File("CARDS.ADR")) {
        FakeClock clock(45000);
        auto book = NewBook(path, testing::NoDefaultsFile(), clock);
        for (const char* surname : {"Adams", "Baker", "Clark"}) {
            TRecord e;
            e.SetNameField(kFieldSurname, surname);
            e.Addresses.AddAddress(1);
            e.Addresses.SetFieldOf(0, 3, std::string("0123 ") + surname);
            e.Tagged = surname[0] == 'B';
            book->Entries.AddEntryCopy(e, clock);
        }
        EXPECT_TRUE(SaveBook(*book, false, TStoreSettings()).Ok);
    }
    std::unique_ptr<TBookData> Reload() const {
        TLoadResult r = LoadBook(path, TStoreSettings());
        EXPECT_TRUE(r.Book) << r.Message;
        return std::move(r.Book);
    }
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string file = dir.File(name);
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    std::vector<std::string> Surnames(const std::string& cards) const {
        std::vector<std::string> out;
        for (const auto& card : ReadVCards(cards).Cards)
            for (const auto& p : card.Properties)
                if (p.Is("N"))
                    out.push_back(SplitStructured(p.Value)[0][0]);
        return out;
    }

    TScratchDir dir;
    std::string path;
};

TEST_F(CliVCard, ExportPrintsTheSelectedEntries) {
    TRun all;
    ASSERT_EQ(CommandVCardExport(path, TVCardExportOptions(), all.Streams()), 0) << all.Err.str();
    EXPECT_EQ(Surnames(all.Out.str()), (std::vector<std::string>{"Adams", "Baker", "Clark"}));
    EXPECT_EQ(all.Out.str().rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);

    TVCardExportOptions tagged;
    tagged.Selection = "tagged";
    tagged.Version = "4";
    TRun t;
    ASSERT_EQ(CommandVCardExport(path, tagged, t.Streams()), 0);
    EXPECT_EQ(Surnames(t.Out.str()), std::vector<std::string>{"Baker"});
    EXPECT_NE(t.Out.str().find("VERSION:4.0\r\n"), std::string::npos);

    TVCardExportOptions one;
    one.Selection = "entry";
    one.Entry = "2";
    TRun e;
    ASSERT_EQ(CommandVCardExport(path, one, e.Streams()), 0);
    EXPECT_EQ(Surnames(e.Out.str()), std::vector<std::string>{"Clark"});
    EXPECT_NE(e.Out.str().find(":0123 Clark\r\n"), std::string::npos);

    // Refused, with nothing on standard output.
    const auto refused = [&](TVCardExportOptions o, const std::string& said) {
        TRun run;
        EXPECT_EQ(CommandVCardExport(path, o, run.Streams()), 1);
        EXPECT_EQ(run.Out.str(), "");
        EXPECT_EQ(run.Err.str(), said + "\n");
    };
    TVCardExportOptions o;
    o.Version = "2.1";
    refused(o, "--version must be 3 or 4, not \"2.1\"");
    o = TVCardExportOptions();
    o.Selection = "entry";
    refused(o, "--selection entry needs --entry N");
    o.Entry = "3";
    refused(o, "CARDS.ADR has no entry 3 (it has 3)");
    o.Entry = "-1";
    refused(o, "--entry must be a decimal entry number from 0 to 32767, not \"-1\"");
    o.Selection = "all";
    refused(o, "--entry goes with --selection entry");
    o = TVCardExportOptions();
    o.Selection = "some";
    refused(o, "--selection must be all, tagged or entry, not \"some\"");
}

TEST_F(CliVCard, ImportAddsEveryCardAndKeepsWhatTheEntryCannotHold) {
    const std::string file = Write(
        "in.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zo\xC3\xAB Young\r\nN:Young;Zo\xC3\xAB;;;\r\n"
                  "TEL;TYPE=home:555 0100\r\nX-PET;TYPE=cat:Tom \xE2\x98\x83\r\n"
                  "END:VCARD\r\n"
                  "BEGIN:VCARD\nVERSION:2.1\nN;ENCODING=QUOTED-PRINTABLE:D=C3=BCrer;Al=\nbrecht\n"
                  "END:VCARD\n");
    TRun run;
    ASSERT_EQ(CommandVCardImport(path, file, run.Streams()), 0) << run.Err.str();
    EXPECT_EQ(run.Out.str(), "2\n");
    auto book = Reload();
    ASSERT_EQ(book->Entries.Count(), 5);
    const TRecord& young = *book->Entries.At(3);
    EXPECT_EQ(young.NameField(kFieldFirstName), "Zo\xEB");
    EXPECT_EQ(young.Addresses.FieldOf(0, 3), "555 0100");
    EXPECT_EQ(book->Entries.At(4)->NameField(kFieldSurname), "D\xFCrer");
    EXPECT_EQ(book->Entries.At(4)->NameField(kFieldFirstName), "Albrecht");
    EXPECT_GT(young.Created, 45000); // Created now, as add does

    // The card's own line comes back from the saved book.
    TVCardExportOptions one;
    one.Selection = "entry";
    one.Entry = "3";
    one.Version = "4";
    TRun out;
    ASSERT_EQ(CommandVCardExport(path, one, out.Streams()), 0);
    EXPECT_NE(out.Out.str().find("\r\nX-PET;TYPE=cat:Tom \xE2\x98\x83\r\n"), std::string::npos);
}

TEST_F(CliVCard, ABookImportedIntoItselfGetsNewStamps) {
    TRun all;
    ASSERT_EQ(CommandVCardExport(path, TVCardExportOptions(), all.Streams()), 0);
    const std::string file = Write("self.vcf", all.Out.str());
    TRun run;
    ASSERT_EQ(CommandVCardImport(path, file, run.Streams()), 0) << run.Err.str();
    EXPECT_EQ(run.Out.str(), "3\n");
    auto book = Reload();
    ASSERT_EQ(book->Entries.Count(), 6);
    std::set<double> stamps;
    for (const auto& e : book->Entries)
        stamps.insert(e->Stamp);
    EXPECT_EQ(stamps.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        TRecord copy = *book->Entries.At(i + 3);
        const TRecord& first = *book->Entries.At(i);
        copy.Stamp = first.Stamp;
        copy.Created = first.Created;
        EXPECT_EQ(copy, first);
    }
}

TEST_F(CliVCard, AFileWithoutCardsLeavesTheBookAsItWas) {
    const auto before = ReadBytes(path);
    const std::pair<std::string, std::string> cases[] = {
        {Write("empty.vcf", "no cards here\r\n"), "holds no vCard. CARDS.ADR was not changed.\n"},
        {dir.File("missing.vcf"), "missing.vcf cannot be read: "},
        {dir.Path(), "cannot be read: "}, // a folder is refused unread
        {Write("unended.vcf", "BEGIN:VCARD\r\nFN:x\r\n"),
         "the last card has no END:VCARD and was left out\n"},
    };
    for (const auto& [file, said] : cases) {
        TRun run;
        EXPECT_EQ(CommandVCardImport(path, file, run.Streams()), 1);
        EXPECT_NE(run.Err.str().find(said), std::string::npos) << run.Err.str();
        EXPECT_EQ(run.Out.str(), "");
        EXPECT_EQ(ReadBytes(path), before);
    }
}

} // namespace
} // namespace tessaly
