// The printing catalogues on disk: the factory paper list when no valid paper file
// exists, the consistency pass between papers, layouts, quick reports and links, and
// what a damaged or unwritable catalogue must never set off.

#include "core/printing/catalogues.h"
#include "core/settings/settings.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/memory_settings_store.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::ReadBytes;
using testing::TFaultFileSystem;
using testing::TScratchDir;
using testing::WriteBytes;

// Two listings and one envelope; a label sheet the library declines to deliver.
class TFakeLibrary final : public IPaperLibrary {
public:
    int LastPaperIndex(int category) override {
        return category == kCategoryListings ? 1 : category == kCategoryEnvelopes ? 0 : 0;
    }
    bool GetPaper(int category, int index, TLibraryPaper& out) override {
        ++asked;
        if (category == kCategoryLabels)
            return false;
        out = TLibraryPaper();
        out.Name = category == kCategoryEnvelopes ? "DL" : index == 0 ? "Letter" : "A4";
        out.SystemCode = category == kCategoryEnvelopes ? 27 : index == 0 ? 1 : 9;
        out.Width = 100 + index;
        return true;
    }
    int asked = 0;
};

class Catalogues : public ::testing::Test {
protected:
    TStoreSettings Place() const {
        TStoreSettings s;
        s.ConfigDirectory = dir_.Path();
        return s;
    }
    // Papers 0 and 1; layouts 0 (paper 0), 1 and 2 (paper 9, gone), each with its
    // object file; reports on layouts 0 and 1.
    void WriteUsersFiles() {
        TPrintCatalogues c(Place());
        TFakeLibrary library;
        ASSERT_TRUE(c.LoadPapers(&library));
        c.LoadLayouts("");
        c.LoadReports();
        ASSERT_EQ(c.Papers.Count(), 3);
        for (auto [name, paper] : {std::pair{"Kept", 0}, {"Gone", 9}, {"Also gone", 9}}) {
            TLayout* l = c.CreateLayout(name, kSourceEntries, paper);
            ASSERT_TRUE(l);
            ASSERT_TRUE(c.WriteObjects(l->Number, TLayoutObjects()).Ok);
        }
        c.Reports.Create("On kept")->LayoutNumber = 0;
        c.Reports.Create("On gone")->LayoutNumber = 1;
        ASSERT_TRUE(c.SaveLayouts().Ok);
        ASSERT_TRUE(c.SaveReports().Ok);
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir_.File(name)); }

    TScratchDir dir_;
};

TEST_F(Catalogues, WithoutAPaperFileTheFactoryListIsBuiltAndSaved) {
    TPrintCatalogues c(Place());
    TFakeLibrary library;
    ASSERT_TRUE(c.LoadPapers(&library));
    EXPECT_EQ(c.PapersState, TCatalogueState::Missing);
    // Listings first, then envelopes; a paper the library does not deliver is skipped.
    ASSERT_EQ(c.Papers.Count(), 3);
    EXPECT_EQ(c.Papers.At(0)->Name, "Letter");
    EXPECT_EQ(c.Papers.At(0)->Type, kPaperListing);
    EXPECT_EQ(c.Papers.At(1)->Width, 101);
    EXPECT_EQ(c.Papers.At(2)->Name, "DL");
    EXPECT_EQ(c.Papers.At(2)->Type, kPaperEnvelope);
    EXPECT_EQ(c.Papers.At(2)->Number, 2);
    EXPECT_EQ(c.Papers.At(2)->EnvelopeFeed, 4);
    EXPECT_EQ(c.Papers.NextNumber, 3);
    EXPECT_EQ(library.asked, 4);

    TPaperList saved;
    ASSERT_TRUE(ParsePapersImage(ReadBytes(c.PapersPath()), saved));
    EXPECT_EQ(saved, c.Papers);

    // The next load reads the file and asks the library nothing.
    TPrintCatalogues again(Place());
    TFakeLibrary unused;
    ASSERT_TRUE(again.LoadPapers(&unused));
    EXPECT_EQ(again.PapersState, TCatalogueState::Valid);
    EXPECT_EQ(unused.asked, 0);
}

TEST_F(Catalogues, APaperFileOfNoPapersIsReplacedAndNoLibraryIsString449) {
    TPaperList empty;
    empty.NextNumber = 40;
    WriteBytes(Place().ConfigFile(".TPP"), WritePapersImage(empty));
    TPrintCatalogues c(Place());
    TFakeLibrary library;
    ASSERT_TRUE(c.LoadPapers(&library));
    EXPECT_EQ(c.Papers.Count(), 3);
    EXPECT_FALSE(Exists("TESSALY.TPP.BAD"));

    std::filesystem::remove(c.PapersPath());
    TPrintCatalogues none(Place());
    EXPECT_FALSE(none.LoadPapers(nullptr));
    EXPECT_TRUE(none.Papers.Empty());
    ASSERT_FALSE(none.Errors().empty());
    EXPECT_EQ(none.Errors().back(), kPaperLibraryMissing);
}

TEST_F(Catalogues, ThePassDeletesWhatLostItsPaperOrLayoutAndResetsLinks) {
    WriteUsersFiles();
    ASSERT_TRUE(Exists("00000001.TPL"));
    TPrintCatalogues c(Place());
    TFakeLibrary library;
    TReportLinks links{"on GONE", "On kept", "Never there"};
    const TConsistencyResult r = c.LoadAll(&library, "", links);
    EXPECT_FALSE(r.DeletionsHeld);
    EXPECT_EQ(r.LayoutsDeleted, 2);
    EXPECT_EQ(r.ReportsDeleted, 1);
    EXPECT_EQ(r.LinksReset, 2);
    EXPECT_EQ(library.asked, 0);
    ASSERT_EQ(c.Layouts.Count(), 1);
    EXPECT_EQ(c.Layouts.At(0)->Name, "Kept");
    EXPECT_TRUE(Exists("00000000.TPL"));
    EXPECT_FALSE(Exists("00000001.TPL"));
    EXPECT_FALSE(Exists("00000002.TPL"));
    ASSERT_EQ(c.Reports.Count(), 1);
    EXPECT_EQ(c.Reports.At(0)->Name, "On kept");
    EXPECT_EQ(links, (TReportLinks{kNoLinkedReport, "On kept", kNoLinkedReport}));

    // Both lists were saved as they now stand.
    TLayoutList layouts;
    ASSERT_TRUE(ParseLayoutsImage(ReadBytes(c.LayoutsPath()), layouts));
    EXPECT_EQ(layouts, c.Layouts);
    EXPECT_EQ(layouts.NextNumber, 3); // numbers are not reused
    TQReportList reports;
    ASSERT_TRUE(ParseReportsImage(ReadBytes(c.ReportsPath()), reports));
    EXPECT_EQ(reports, c.Reports);
}

TEST_F(Catalogues, ADamagedCatalogueIsKeptAsideAndSetsOffNoDeletion) {
    for (const char* damagedFile : {"TESSALY.TPP", "TESSALY.TPL", "TESSALY.TPQ"}) {
        SCOPED_TRACE(damagedFile);
        WriteUsersFiles();
        auto bytes = ReadBytes(dir_.File(damagedFile));
        bytes.pop_back(); // a trailer cut short
        WriteBytes(dir_.File(damagedFile), bytes);

        TPrintCatalogues c(Place());
        TFakeLibrary library;
        TReportLinks links{"On gone", "On kept", kNoLinkedReport};
        const TConsistencyResult r = c.LoadAll(&library, "Return", links);
        EXPECT_TRUE(r.DeletionsHeld);
        EXPECT_EQ(r.LayoutsDeleted + r.ReportsDeleted + r.LinksReset, 0);
        EXPECT_EQ(ReadBytes(dir_.File(std::string(damagedFile) + ".BAD")), bytes);
        EXPECT_TRUE(Exists("00000001.TPL"));
        EXPECT_TRUE(Exists("00000002.TPL"));
        EXPECT_EQ(links[0], "On gone");
        if (std::string(damagedFile) == "TESSALY.TPL") {
            EXPECT_EQ(c.Layouts.ReturnAddress, "Return");
            // The empty list's counter stays above the object files on disk.
            EXPECT_EQ(c.Layouts.NextNumber, 3);
            EXPECT_EQ(c.CreateLayout("New", kSourceEntries, 0)->Number, 3);
        } else {
            EXPECT_EQ(c.Layouts.Count(), 3);
        }
        std::filesystem::remove_all(dir_.Path());
        std::filesystem::create_directories(dir_.Path());
    }
}

TEST_F(Catalogues, ANewLayoutNeverTakesTheNumberOfAnObjectFileOnDisk) {
    TPrintCatalogues c(Place());
    WriteBytes(dir_.File("00000007.TPL"), {1, 2, 3});
    WriteBytes(dir_.File("00000009.tpl.old"), {1});
    c.LoadLayouts("");
    EXPECT_EQ(c.Layouts.NextNumber, 8);
    TLayout* l = c.CreateLayout("First", kSourceDiary, 0);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Number, 8);
    // A file appearing after the load is stepped over as well.
    WriteBytes(dir_.File("00000009.TPL"), {1});
    EXPECT_EQ(c.CreateLayout("Second", kSourceDiary, 0)->Number, 10);
    EXPECT_EQ(ReadBytes(dir_.File("00000007.TPL")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(Catalogues, ObjectsReadBackAndADamagedObjectFileOpensNothing) {
    TPrintCatalogues c(Place());
    TLayoutObjects objects;
    TLayoutBox box;
    box.Kind = kBoxDatePrinted;
    box.Format = "ddddd";
    box.Height = 8.5;
    objects.Footer.push_back(box);
    ASSERT_TRUE(c.WriteObjects(4, objects).Ok);
    TLayoutObjects back;
    ASSERT_TRUE(c.ReadObjects(4, back));
    EXPECT_EQ(back, objects);
    EXPECT_FALSE(c.ReadObjects(-1, back));
    EXPECT_FALSE(c.ReadObjects(5, back));
    auto bytes = ReadBytes(c.ObjectFilePath(4));
    bytes[8] = 0x80; // the header count far below -1
    WriteBytes(c.ObjectFilePath(4), bytes);
    EXPECT_FALSE(c.ReadObjects(4, back));
}

// Every call a catalogue save makes is made to fail in turn: up to the rename that puts
// the new file in place the save must fail, say so, and leave the old file byte for byte.
TEST_F(Catalogues, AFailedSaveIsReportedAndLeavesTheOldFile) {
    WriteUsersFiles();
    const auto before = ReadBytes(Place().ConfigFile(".TPL"));
    TFaultFileSystem counter;
    {
        TPrintCatalogues c(Place(), counter);
        c.LoadLayouts("");
    }
    const int loadCalls = counter.Calls();
    int saveCalls = 0;
    {
        TFaultFileSystem count;
        TPrintCatalogues c(Place(), count);
        c.LoadLayouts("");
        c.Layouts.At(0)->SetName("Renamed");
        ASSERT_TRUE(c.SaveLayouts().Ok);
        const auto& log = count.Log();
        const auto rename = std::find(log.begin() + loadCalls, log.end(), "rename");
        ASSERT_NE(rename, log.end());
        saveCalls = static_cast<int>(rename - log.begin()) + 1 - loadCalls;
    }
    WriteBytes(Place().ConfigFile(".TPL"), before);
    for (int n = 1; n <= saveCalls; ++n) {
        SCOPED_TRACE(n);
        TFaultFileSystem faulty;
        TPrintCatalogues c(Place(), faulty);
        c.LoadLayouts("");
        c.Layouts.At(0)->SetName("Renamed");
        faulty.FailAt(loadCalls + n);
        const TIoResult r = c.SaveLayouts();
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.empty());
        EXPECT_FALSE(c.Errors().empty());
        EXPECT_EQ(ReadBytes(Place().ConfigFile(".TPL")), before);
    }
}

TEST_F(Catalogues, ADamagedFileThatCannotBeKeptAsideIsNotWrittenOver) {
    const std::vector<std::uint8_t> junk{5, 'T', 'S', '-', 'V', '3', 13, 0, 1};
    WriteBytes(Place().ConfigFile(".TPQ"), junk);
    TFaultFileSystem faulty;
    TPrintCatalogues c(Place(), faulty);
    faulty.Before("rename", [&] { faulty.FailAt(faulty.Calls() + 1); });
    c.LoadReports();
    EXPECT_EQ(c.ReportsState, TCatalogueState::Damaged);
    c.Reports.Create("New");
    EXPECT_FALSE(c.SaveReports().Ok);
    EXPECT_EQ(ReadBytes(Place().ConfigFile(".TPQ")), junk);
}

TEST(ReportLinks, TheTwoBookLinksNeverNameTheSameReport) {
    TReportLinks links{"B", "A", kNoLinkedReport};
    LinkReport(links, kFirstBookLink, "A");
    EXPECT_EQ(links, (TReportLinks{"A", "B", kNoLinkedReport}));
    LinkReport(links, kSecondBookLink, "a");
    EXPECT_EQ(links, (TReportLinks{"B", "a", kNoLinkedReport}));
    LinkReport(links, kDiaryLink, "B");
    EXPECT_EQ(links, (TReportLinks{"B", "a", "B"}));
    // Unlinking one never copies the unused text into the other's place wrongly.
    TReportLinks unused{kNoLinkedReport, kNoLinkedReport, kNoLinkedReport};
    LinkReport(unused, kFirstBookLink, "C");
    EXPECT_EQ(unused[1], kNoLinkedReport);
    EXPECT_EQ(ReportLinkHint(1, "C"), "Print Second Linked Quick Report|Quick Report:  C");
    EXPECT_EQ(ReportLinkHint(3, "C"), "");
}

TEST(ReturnAddress, TrimmedLinesWithoutTheEmptyOnesJoinedByCrLf) {
    MemorySettingsStore store;
    TSettingsAccess access(store);
    access.WriteString("General", "Return Address 1", "  Ames & Co ");
    access.WriteString("General", "Return Address 2", "   ");
    access.WriteString("General", "Return Address 4", "High Street");
    access.WriteString("General", "Return Address 6", "Leeds");
    access.WriteString("General", "Return Address 7", "never read");
    EXPECT_EQ(ReturnAddressFromSettings(access), "Ames & Co\r\nHigh Street\r\nLeeds");
}

} // namespace
} // namespace tessaly
