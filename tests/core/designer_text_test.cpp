// What objects show on the designer's page, and the body of a page following its
// header and footer.

#include "core/designer/designer_text.h"
#include "core/designer/page_edits.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TLayoutBox DataBox(std::initializer_list<const char*> captions, bool singleLine) {
    TLayoutBox box;
    for (const char* c : captions) {
        auto f = std::make_unique<TFields>();
        f->Caption = Text(c);
        f->SingleLine = singleLine;
        box.Items.Add(std::move(f));
    }
    return box;
}

TEST(DesignerText, MergedDataShowsItsCaptionsInBracesStaticTextItsText) {
    EXPECT_EQ(DesignerText(DataBox({"First", "Surname"}, true), 0, ""), "{First} {Surname}");
    EXPECT_EQ(DesignerText(DataBox({"Company", "Address"}, false), 0, ""), "{Company}\n{Address}");
    TLayoutBox text = DataBox({"Dear Sir"}, true);
    text.Kind = kBoxStaticText;
    EXPECT_EQ(DesignerText(text, 0, ""), "Dear Sir");
    TLayoutBox ret;
    ret.Kind = kBoxReturnAddress;
    EXPECT_EQ(DesignerText(ret, 0, "1 High St\r\nTown"), "1 High St\nTown");
    TLayoutBox page;
    page.Kind = kBoxPageNumber;
    EXPECT_EQ(DesignerText(page, 0, ""), "{##W}");
    TLayoutBox line;
    line.Kind = kBoxHorizontalLine;
    EXPECT_EQ(DesignerText(line, 0, ""), "");
}

TEST(DesignerText, AMissingPictureDrawsNothingButKeepsItsPath) {
    TLayoutBox picture;
    picture.Kind = kBoxGraphic;
    picture.Format = Text("/nowhere/logo.png");
    const auto items = DesignerItems(picture, "");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Picture, "/nowhere/logo.png");
}

TEST(DesignerPageBands, TheBodyOfAListingFollowsTheSplitBarAndItsUndo) {
    TLayout layout;
    layout.Headers = layout.Footers = true;
    TPaper paper;
    paper.Type = kPaperListing;
    paper.Unit = kUnitMillimetres;
    paper.Width = 210;
    paper.Height = 297;
    TPageModel page;
    page.SetBands(layout, paper);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 297 - 50);
    const TScreenScale scale{96, 96};
    const TDesignCommand c = BandHeightEdit(page, kBandHeader, 1, 1122, scale);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandHeader], scale.ToMillimetresY(10));
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 297 - 25 - scale.ToMillimetresY(10));
    c.Undo(page);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 297 - 50);
    // Disabling a band gives its height to the body; the undo takes it back.
    const TDesignCommand off = BandsEdit(page, kBandFooter, false);
    EXPECT_FALSE(page.Footers);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 297 - 25);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandFooter], 25);
    off.Undo(page);
    EXPECT_TRUE(page.Footers);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 297 - 50);
    off.Redo(page);
    EXPECT_FALSE(page.Footers);
    EXPECT_FALSE(BandsEdit(page, kBandFooter, false).Changes());
}

} // namespace
} // namespace tessaly
