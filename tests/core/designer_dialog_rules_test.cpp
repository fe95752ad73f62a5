// What the designer's dialogs decide without a screen: the paper form's checks and
// what it may change, the list rows, the data items of a merged object, the return
// address text and the date and page number previews.

#include "core/designer/box_edits.h"
#include "core/designer/box_style.h"
#include "core/printing/catalogue_listing.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/factory_papers.h"
#include "core/printing/paper_form.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TPaperList Papers() {
    TFactoryPapers library("");
    return BuildFactoryPapers(library);
}

TEST(PaperForm, ChecksOnlyWhatMayChangeAndNamesTheFirstBadField) {
    TPaperList papers = Papers();
    TPaper* user = papers.Create("Mine", kPaperLabel, 44);
    ASSERT_TRUE(user);
    TPaperForm f = PaperFormOf(*user);
    const TPaperEditable editable = PaperEditable(*user, false);
    EXPECT_TRUE(editable.Name && editable.Sizes);
    // A new paper's lengths are 0: the width is the first to fail.
    auto e = CheckPaperForm(f, papers, *user, editable);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Field, TPaperField::Width);
    EXPECT_FALSE(e->Message);
    f.Width = "210";
    f.Height = "297";
    f.LabelWidth = "70";
    f.LabelHeight = "37";
    f.LabelsAcross = "3";
    f.LabelsDown = "0";
    e = CheckPaperForm(f, papers, *user, editable);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Field, TPaperField::LabelsDown);
    f.LabelsDown = "8";
    f.VerticalGap = "x";
    e = CheckPaperForm(f, papers, *user, editable);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Field, TPaperField::VerticalGap);
    f.VerticalGap = "0"; // margins and gaps may be 0
    EXPECT_FALSE(CheckPaperForm(f, papers, *user, editable));
    // A listing's label fields are not its own, whatever they hold.
    f.Type = kPaperListing;
    f.LabelsAcross = "none";
    EXPECT_FALSE(CheckPaperForm(f, papers, *user, editable));

    f.Name = "";
    e = CheckPaperForm(f, papers, *user, editable);
    ASSERT_TRUE(e && e->Message);
    EXPECT_EQ(e->Field, TPaperField::Name);
    EXPECT_NE(e->Message->Text.find("A Name for this Paper Size must be specified."),
              std::string::npos);
}

TEST(PaperForm, FactoryPapersAndCopies) {
    TPaperList papers = Papers();
    TPaper* a4 = papers.ByName(kA4ListingName);
    ASSERT_TRUE(a4);
    const TPaperEditable fixed = PaperEditable(*a4, false);
    EXPECT_FALSE(fixed.Name || fixed.Sizes);
    TPaperForm f = PaperFormOf(*a4);
    f.Width = "nonsense";
    f.Name = "";
    f.EnvelopeFeed = 2;
    EXPECT_FALSE(CheckPaperForm(f, papers, *a4, fixed));
    TPaper out;
    ApplyPaperForm(f, *a4, fixed, out);
    EXPECT_EQ(out.Width, a4->Width);
    EXPECT_EQ(out.NameText(), a4->NameText());
    EXPECT_EQ(out.EnvelopeFeed, 2);

    // A copy holds its source's name, which is not its own to keep.
    TPaper* copy = papers.Duplicate(*a4);
    ASSERT_TRUE(copy);
    const TPaperEditable copied = PaperEditable(*copy, true);
    EXPECT_TRUE(copied.Name && copied.Sizes);
    TPaperForm c = PaperFormOf(*copy);
    auto e = CheckPaperForm(c, papers, *copy, copied);
    ASSERT_TRUE(e && e->Message);
    EXPECT_NE(e->Message->Text.find("is Already Defined"), std::string::npos);
    c.Name = "A4 of my own";
    c.Unit = kUnitInches;
    c.Width = "8.5";
    EXPECT_FALSE(CheckPaperForm(c, papers, *copy, copied));
    ApplyPaperForm(c, *copy, copied, out);
    EXPECT_EQ(out.NameText(), "A4 of my own");
    EXPECT_DOUBLE_EQ(out.WidthMm(), 215.9);
    EXPECT_EQ(PaperFormOf(out).Width, "8.5");

    EXPECT_TRUE(AsksFeedOrientation(2, false));
    EXPECT_FALSE(AsksFeedOrientation(2, true));
    EXPECT_TRUE(AsksFeedOrientation(5, true));
}

TEST(CatalogueListing, RowsFilteredSortedAndInTheirUnits) {
    TPaperList papers;
    TPaper* b = papers.Create("b sheet", kPaperLabel, 44);
    b->Width = 210;
    b->LabelWidth = 70;
    b->LabelHeight = 37.125;
    TPaper* a = papers.Create("A envelope", kPaperEnvelope, 1);
    a->Width = 9.5;
    a->Height = 4.125;
    const auto all = PaperRows(papers, 0);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Name, "A envelope");
    EXPECT_EQ(all[0].Width, "9.500000 in.");
    EXPECT_EQ(all[1].Width, "70.000000 mm"); // a label sheet shows its label
    EXPECT_EQ(all[1].Height, "37.125000 mm");
    const auto labels = PaperRows(papers, kPaperLabel);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].Number, b->Number);

    TLayoutList layouts;
    layouts.Create("Zed", kSourceDiary, a->Number, [](int) { return false; });
    layouts.Create("alpha", kSourceEntries, 99, [](int) { return false; });
    const auto rows = LayoutRows(layouts, papers, 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Name, "alpha");
    EXPECT_EQ(rows[0].Paper, ""); // its paper is gone
    EXPECT_EQ(rows[1].Source, "Diary Book Events");
    EXPECT_EQ(LayoutRows(layouts, papers, kSourceDiary).size(), 1u);
    EXPECT_EQ(LayoutFilterCaptions().size(), 5u);
}

TEST(DataItems, AddRemoveMoveKeepTheMergeModeOnTheFirstItem) {
    TFieldsList items;
    auto first = std::make_unique<TFields>();
    first->Caption = "Surname";
    first->FieldNumber = 1;
    first->SingleLine = false;
    items.Add(std::move(first));
    TDataItemsEdit edit(items);
    EXPECT_FALSE(edit.SingleLine());
    EXPECT_FALSE(edit.CanRemove(0)); // an object keeps one item
    const TLayoutRecord surname{1, kBoxData, "Surname"};
    const TLayoutRecord address{5, kBoxAddress, "Address"};
    EXPECT_FALSE(edit.Add(surname));
    EXPECT_TRUE(edit.Add(address));
    EXPECT_EQ(edit.Move(1, -1), 0);
    EXPECT_EQ(edit.Items().At(0)->Caption.str(), "Address");
    EXPECT_FALSE(edit.Items().At(0)->SingleLine);
    edit.SetSingleLine(true);
    EXPECT_TRUE(edit.Items().At(0)->SingleLine);
    EXPECT_EQ(edit.Move(0, -1), -1);
    EXPECT_TRUE(edit.Remove(0));
    EXPECT_EQ(edit.Count(), 1);
    EXPECT_EQ(edit.Items().At(0)->Caption.str(), "Surname");
    EXPECT_TRUE(edit.Items().At(0)->SingleLine); // the new first item carries the mode
}

TEST(BoxTexts, ReturnAddressStaticTextAndPreviews) {
    EXPECT_EQ(StoredReturnAddress("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(EditedReturnAddress("a\r\nb\r\n"), "a\nb\n");
    // Cut at the list's room without leaving half a line break.
    const std::string typed = std::string(kReturnAddressMax - 1, 'x') + "\ny";
    const std::string stored = StoredReturnAddress(typed);
    EXPECT_EQ(stored.size(), kReturnAddressMax - 1);
    EXPECT_EQ(stored.back(), 'x');

    TLayoutBox box;
    box.Kind = kBoxStaticText;
    SetStaticText(box, std::string(300, 'q'));
    ASSERT_EQ(box.Items.Count(), 1);
    EXPECT_EQ(box.Items.At(0)->Kind, kBoxStaticText);
    EXPECT_EQ(StaticText(box).size(), kStaticTextMax);

    const TDateTime day = 46000.5; // 9 December 2025, noon
    EXPECT_EQ(FormatPreview(kBoxDatePrinted, "yyyy-mm-dd", day, DefaultFormatSettings()),
              "2025-12-09");
    EXPECT_EQ(FormatPreview(kBoxTimePrinted, "hh:nn", day, DefaultFormatSettings()), "12:00");
    EXPECT_EQ(FormatPreview(kBoxPageNumber, PageNumberPattern(3), day, DefaultFormatSettings()),
              "001");
    EXPECT_EQ(PageNumberPattern(12), "%.9d");
    EXPECT_EQ(BoxEditorTitle(kBoxTime), "Date / Time Property Editor");
    EXPECT_EQ(BoxEditorTitle(42), "Data Object Property Editor");
    EXPECT_EQ(BasicColourIndex(0x0000FF), 9); // red in the low byte
    EXPECT_EQ(BasicColourIndex(0x80000005), -1);
}

} // namespace
} // namespace tessaly
