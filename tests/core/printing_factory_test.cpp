// The factory paper list: the standard sheets and envelopes, the built-in label
// sheets, the label-template database read as data, and the starter layouts made
// for a new user.

#include "core/common/same_text.h"
#include "core/printing/catalogues.h"
#include "core/printing/factory_papers.h"
#include "core/printing/label_templates.h"
#include "core/printing/starter_layouts.h"
#include "core/printing/xml_tags.h"
#include "core/settings/settings.h"
#include "tests/support/scratch_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace tessaly {
namespace {

using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

// Whether the grid of a label sheet lies on its page (with 0.1 mm of slack).
::testing::AssertionResult GridFitsPage(const TPaper& p) {
    const double right = p.LeftMarginMm() + p.LabelsAcross * p.LabelWidthMm() +
                         (p.LabelsAcross - 1) * p.HorizontalGapMm();
    const double bottom =
        p.TopMarginMm() + p.LabelsDown * p.LabelHeightMm() + (p.LabelsDown - 1) * p.VerticalGapMm();
    if (p.LabelsAcross < 1 || p.LabelsDown < 1 || right > p.WidthMm() + 0.1 ||
        bottom > p.HeightMm() + 0.1)
        return ::testing::AssertionFailure()
               << p.NameText() << ": grid to " << right << " x " << bottom << " on " << p.WidthMm()
               << " x " << p.HeightMm();
    return ::testing::AssertionSuccess();
}

TEST(FactoryPapers, StandardSheetsEnvelopesAndBuiltInLabelsInListOrder) {
    TFactoryPapers library("");
    const TPaperList papers = BuildFactoryPapers(library);
    ASSERT_GT(papers.Count(), 30);

    // The two listings the layout dialog preselects, named in Windows-1252 bytes.
    EXPECT_EQ(std::string(kLetterListingName), std::string("Letter, 8\xBD x 11 in."));
    EXPECT_EQ(std::string(kLetterListingName).size(), 19u);
    const TPaper* letter = papers.ByName(DefaultListingName(1));
    const TPaper* a4 = papers.ByName(DefaultListingName(44));
    ASSERT_TRUE(letter && a4);
    EXPECT_EQ(letter->Type, kPaperListing);
    EXPECT_EQ(letter->SystemCode, 1);
    EXPECT_DOUBLE_EQ(letter->WidthMm(), 215.9);
    EXPECT_DOUBLE_EQ(letter->HeightMm(), 279.4);
    EXPECT_EQ(a4->SystemCode, 9);
    EXPECT_EQ(a4->HeightMm(), 297);
    EXPECT_EQ(DefaultListingName(2), kLetterListingName);
    EXPECT_EQ(DefaultPaperCode(2), 1);
    EXPECT_EQ(DefaultPaperCode(49), 9);

    const TPaper* dl = papers.ByName("Envelope DL, 110 x 220 mm");
    const TPaper* ten = papers.ByName("Envelope #10, 4 1/8 x 9\xBD in.");
    ASSERT_TRUE(dl && ten);
    EXPECT_EQ(dl->SystemCode, 27);
    EXPECT_EQ(ten->SystemCode, 20);
    EXPECT_NEAR(ten->HeightMm(), 241.3, 1e-9);
    EXPECT_EQ(dl->EnvelopeFeed, 4);
    EXPECT_FALSE(dl->Portrait);

    // Listings, then envelopes, then labels; numbers in that order; names unique.
    int lastType = 0;
    std::set<std::string> names;
    int labels = 0;
    for (int i = 0; i < papers.Count(); ++i) {
        const TPaper& p = *papers.At(i);
        EXPECT_EQ(p.Number, i);
        const int rank = p.Type == kPaperListing ? 0 : p.Type == kPaperEnvelope ? 1 : 2;
        EXPECT_GE(rank, lastType) << p.NameText();
        lastType = rank;
        EXPECT_TRUE(names.insert(UpperCase1252(p.NameText())).second) << p.NameText();
        EXPECT_GT(p.WidthMm(), 50);
        EXPECT_GT(p.HeightMm(), p.WidthMm() * 0.99) << p.NameText();
        if (p.Type == kPaperLabel) {
            ++labels;
            EXPECT_TRUE(GridFitsPage(p));
        }
    }
    EXPECT_GE(labels, 12);
    EXPECT_EQ(papers.At(papers.Count() - 1)->Type, kPaperLabel);
}

TEST(LabelTemplates, LengthsInEveryUnitOfTheDatabase) {
    double mm = 0;
    EXPECT_TRUE(ParseTemplateLength("72", mm));
    EXPECT_DOUBLE_EQ(mm, 25.4);
    EXPECT_TRUE(ParseTemplateLength("0.5in", mm));
    EXPECT_DOUBLE_EQ(mm, 12.7);
    EXPECT_TRUE(ParseTemplateLength(" 2.5cm ", mm));
    EXPECT_DOUBLE_EQ(mm, 25);
    EXPECT_TRUE(ParseTemplateLength("6pc", mm));
    EXPECT_DOUBLE_EQ(mm, 25.4);
    EXPECT_TRUE(ParseTemplateLength("17.8mm", mm));
    EXPECT_DOUBLE_EQ(mm, 17.8);
    for (const char* bad : {"", "mm", "3furlong", "1e999mm", "nanmm", "12 mm"})
        EXPECT_FALSE(ParseTemplateLength(bad, mm)) << bad;
}

const char kTemplates[] = R"(<?xml version="1.0"?>
<Glabels-templates>
  <!-- a comment with <Template brand="No" part="Never"/> inside -->
  <Template brand="Acme" part="A1" size="A4" _description="Address &amp; Parcel">
    <Meta category="label"/>
    <Label-rectangle id="0" width="63.5mm" height="38.1mm" round="2mm">
      <Markup-margin size="1mm"/>
      <Layout nx="3" ny="7" x0="7.2mm" y0="15.15mm" dx="66mm" dy="38.1mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Acme" part="A1-copy" equiv="A1"/>
  <Template brand="Acme" part="R2" size="US-Letter" description="&#201;tiquettes rondes">
    <Label-round id="0" radius="0.75in">
      <Layout nx="4" ny="5" x0="0.5in" y0="0.75in" dx="2in" dy="2in"/>
    </Label-round>
  </Template>
  <Template brand="Acme" part="CD" size="A4" _description="Disc">
    <Label-cd id="0" radius="58.5mm" hole="20mm">
      <Layout nx="1" ny="2" x0="46.5mm" y0="21.5mm" dx="0" dy="137mm"/>
    </Label-cd>
  </Template>
  <Template brand="Acme" part="Two" size="A4" _description="Two grids">
    <Label-rectangle id="0" width="50mm" height="20mm">
      <Layout nx="2" ny="2" x0="0mm" y0="0mm" dx="50mm" dy="20mm"/>
      <Layout nx="2" ny="2" x0="0mm" y0="100mm" dx="50mm" dy="20mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Acme" part="Overlap" size="A4" _description="Step smaller than label">
    <Label-rectangle id="0" width="50mm" height="20mm">
      <Layout nx="2" ny="2" x0="0mm" y0="0mm" dx="40mm" dy="20mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Roll" part="DK" size="Other" width="82pt" height="255pt" _description="Roll">
    <Label-rectangle id="0" width="82pt" height="255pt">
      <Layout nx="1" ny="1" x0="0" y0="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Acme" part="Cut" size="A4" _description="Cut off">
    <Label-rectangle id="0" width="10mm" height="10mm">
      <Layout nx="2" ny="2" x0="0mm" y0=
)";

TEST(LabelTemplates, RectangularAndRoundSheetsWithOneGridAreTaken) {
    const std::vector<TLabelSheet> sheets = ReadLabelTemplates(kTemplates);
    ASSERT_EQ(sheets.size(), 4u);
    const TLabelSheet& a = sheets[0];
    EXPECT_EQ(a.Name, "Acme A1 Address & Parcel");
    EXPECT_EQ(a.SystemCode, 9);
    EXPECT_EQ(a.PageWidth, 210);
    EXPECT_EQ(a.Across, 3);
    EXPECT_EQ(a.Down, 7);
    EXPECT_DOUBLE_EQ(a.LabelWidth, 63.5);
    EXPECT_NEAR(a.HorizontalGap, 2.5, 1e-9);
    EXPECT_NEAR(a.VerticalGap, 0, 1e-9);
    EXPECT_DOUBLE_EQ(a.TopMargin, 15.15);
    // The alias takes its original's label and description under its own part.
    EXPECT_EQ(sheets[1].Name, "Acme A1-copy Address & Parcel");
    EXPECT_DOUBLE_EQ(sheets[1].LeftMargin, 7.2);
    const TLabelSheet& round = sheets[2];
    EXPECT_EQ(round.Name, "Acme R2 \xC9tiquettes rondes"); // Windows-1252
    EXPECT_EQ(round.SystemCode, 1);
    EXPECT_DOUBLE_EQ(round.LabelWidth, 38.1);
    EXPECT_DOUBLE_EQ(round.LabelHeight, 38.1);
    EXPECT_NEAR(round.HorizontalGap, 12.7, 1e-9);
    // A page of its own size is a user-defined paper.
    EXPECT_EQ(sheets[3].SystemCode, 256);
    EXPECT_NEAR(sheets[3].PageHeight, 255 * 25.4 / 72, 1e-9);
    EXPECT_EQ(sheets[3].HorizontalGap, 0);
}

TEST(LabelTemplates, AFolderIsReadInNameOrderWithoutRepeatedNames) {
    TScratchDir dir;
    const std::string one = R"(<Template brand="B" part="1" size="A4" _description="x">
        <Label-rectangle width="10mm" height="10mm"><Layout nx="1" ny="1" x0="1mm" y0="1mm"/>
        </Label-rectangle></Template>)";
    std::ofstream(dir.File("b-templates.xml")) << one;
    std::ofstream(dir.File("a-templates.xml")) << R"(<Template brand="A" part="9" size="A5">
        <Label-rectangle width="10mm" height="10mm"><Layout nx="1" ny="1" x0="1mm" y0="1mm"/>
        </Label-rectangle></Template>)" << one;
    std::ofstream(dir.File("paper-sizes.xml")) << one;
    const auto sheets = ReadLabelTemplateFolder(dir.Path());
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].Name, "A 9");
    EXPECT_EQ(sheets[0].SystemCode, 11);
    EXPECT_EQ(sheets[1].Name, "B 1 x");
    EXPECT_TRUE(ReadLabelTemplateFolder(dir.File("none")).empty());

    // The factory list puts them after its own label sheets.
    TFactoryPapers library(dir.Path());
    const TPaperList papers = BuildFactoryPapers(library);
    EXPECT_EQ(papers.At(papers.Count() - 1)->NameText(), "B 1 x");
    EXPECT_EQ(papers.At(papers.Count() - 1)->Type, kPaperLabel);
}

TEST(LabelTemplates, TheInstalledDatabaseGivesSheetsThatFitTheirPages) {
    if (!std::filesystem::exists(kLabelTemplateFolder))
        GTEST_SKIP() << "no label-template database installed";
    TFactoryPapers library;
    const TPaperList papers = BuildFactoryPapers(library);
    int labels = 0, misfits = 0;
    for (const auto& p : papers)
        if (p->Type == kPaperLabel) {
            ++labels;
            misfits += GridFitsPage(*p) ? 0 : 1;
        }
    EXPECT_GT(labels, 500);
    // A few sheets of the database run over their page's edge by design (bleed).
    EXPECT_LT(misfits, labels / 20);
    std::cout << "[ sheets   ] " << labels << " label sheets, " << misfits
              << " running past the page\n";
}

TEST(XmlTags, EntitiesMalformedMarkupAndAnyBytesEndSafely) {
    EXPECT_EQ(DecodeXmlEntities("a&lt;b&gt;&quot;&apos;&amp;&#x263A;&#65;&nope;&#;&"),
              "a<b>\"'&\xE2\x98\xBA"
              "A&nope;&#;&");
    TXmlTag tag;
    TXmlTags good("<a x='1' y = \"2\"/><b></b>");
    ASSERT_TRUE(good.Next(tag));
    EXPECT_TRUE(tag.SelfClosing);
    EXPECT_EQ(*tag.Attribute("y"), "2");
    ASSERT_TRUE(good.Next(tag));
    ASSERT_TRUE(good.Next(tag));
    EXPECT_TRUE(tag.End);
    EXPECT_FALSE(good.Next(tag));
    for (const char* bad :
         {"<", "<a", "<a x>", "<a x=1>", "<a x='1", "</a x='1'>", "<!--", "<?x"}) {
        TXmlTags tags(bad);
        EXPECT_FALSE(tags.Next(tag)) << bad;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string junk(static_cast<std::size_t>(random() % 400), ' ');
        for (char& c : junk)
            c = "<>/='\"!-?ab &;#x"[random() % 16];
        (void)ReadLabelTemplates(junk);
    }
}

class Starters : public ::testing::Test {
protected:
    TStoreSettings Place() const {
        TStoreSettings s;
        s.ConfigDirectory = dir_.Path();
        return s;
    }
    TScratchDir dir_;
};

TEST_F(Starters, ANewUserGetsReadyLayoutsOnFactoryPapers) {
    TPrintCatalogues c(Place());
    TFactoryPapers library("");
    TReportLinks links{kNoLinkedReport, kNoLinkedReport, kNoLinkedReport};
    c.LoadAll(&library, "Ames\r\nLeeds", links, 44);
    ASSERT_EQ(c.Layouts.Count(), 7) << (c.Errors().empty() ? "" : c.Errors()[0]);
    const std::map<std::string, std::pair<int, std::string>> expected = {
        {"Address Labels (A4)", {kSourceEntries, "Address Labels A4, 2 x 7, 99.1 x 38.1 mm"}},
        {"Address Labels (Letter)",
         {kSourceEntries, "Address Labels Letter, 3 x 10, 2 5/8 x 1 in."}},
        {"Envelope (DL)", {kSourceEntries, "Envelope DL, 110 x 220 mm"}},
        {"Envelope (#10)", {kSourceEntries, "Envelope #10, 4 1/8 x 9\xBD in."}},
        {"Telephone List", {kSourceEntries, kA4ListingName}},
        {"Reminder List", {kSourceReminders, kA4ListingName}},
        {"Diary List", {kSourceDiary, kA4ListingName}},
    };
    for (const auto& l : c.Layouts) {
        SCOPED_TRACE(l->NameText());
        const auto it = expected.find(l->NameText());
        ASSERT_NE(it, expected.end());
        EXPECT_EQ(l->Source, it->second.first);
        EXPECT_EQ(c.Papers.NameByNumber(l->PaperNumber), it->second.second);
        TLayoutObjects objects;
        ASSERT_TRUE(c.ReadObjects(l->Number, objects));
        ASSERT_FALSE(objects.Body.empty());
        const TPaper& paper = *c.Papers.ByNumber(l->PaperNumber);
        const bool listing = paper.Type == kPaperListing;
        EXPECT_EQ(l->Headers, listing);
        EXPECT_EQ(objects.Header.empty(), !listing);
        // The body lies on its label, envelope (printed landscape) or sheet.
        const double across = paper.Type == kPaperLabel      ? paper.LabelWidthMm()
                              : paper.Type == kPaperEnvelope ? paper.HeightMm()
                                                             : paper.WidthMm();
        const double down = paper.Type == kPaperLabel      ? paper.LabelHeightMm()
                            : paper.Type == kPaperEnvelope ? paper.WidthMm()
                                                           : paper.HeightMm();
        for (const TLayoutBox& b : objects.Body) {
            EXPECT_LE(b.Left + b.Width, across + 1e-9);
            EXPECT_LE(b.Top + b.Height, down + 1e-9);
            for (const auto& item : b.Items)
                EXPECT_EQ(item->Kind, b.Kind == kBoxStaticText ? kBoxStaticText : b.Kind);
        }
    }
    // Saved, and the return address came from the settings.
    TLayoutList saved;
    ASSERT_TRUE(ParseLayoutsImage(ReadBytes(c.LayoutsPath()), saved));
    EXPECT_EQ(saved, c.Layouts);
    EXPECT_EQ(saved.ReturnAddress, "Ames\r\nLeeds");

    // In the United States the listings are on Letter.
    TScratchDir us;
    TStoreSettings place;
    place.ConfigDirectory = us.Path();
    TPrintCatalogues u(place);
    u.LoadAll(&library, "", links, 1);
    const TLayout* list = u.Layouts.ByName("telephone list");
    ASSERT_TRUE(list);
    EXPECT_EQ(u.Papers.NameByNumber(list->PaperNumber), kLetterListingName);
}

TEST_F(Starters, NeverWhenALayoutFileExistsEvenAnEmptyOrDamagedOne) {
    TFactoryPapers library("");
    TReportLinks links{kNoLinkedReport, kNoLinkedReport, kNoLinkedReport};
    WriteBytes(Place().ConfigFile(".TPL"), WriteLayoutsImage(TLayoutList()));
    TPrintCatalogues c(Place());
    c.LoadAll(&library, "", links);
    EXPECT_EQ(c.Layouts.Count(), 0);

    WriteBytes(Place().ConfigFile(".TPL"), {5, 'T', 'S'});
    TPrintCatalogues damaged(Place());
    damaged.LoadAll(&library, "", links);
    EXPECT_EQ(damaged.LayoutsState, TCatalogueState::Damaged);
    EXPECT_EQ(damaged.Layouts.Count(), 0);
}

} // namespace
} // namespace tessaly
