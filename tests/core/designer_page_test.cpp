// The designer's page model: placing from the palettes, selection sets and their
// change flags, the status line, and the page read back as object file bands.

#include "core/designer/placing.h"
#include "core/designer/selection.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

const TScreenScale kScale{96, 96};

TLayoutBox BoxAt(double left, double top, double w, double h, int kind = kBoxRectangle) {
    TLayoutBox b;
    b.Kind = kind;
    b.Left = left, b.Top = top, b.Width = w, b.Height = h;
    return b;
}

TEST(DesignPlacing, PressedDataFieldsMergeInPaletteOrder) {
    const auto palette = DataPalette(kSourceEntries, nullptr);
    ASSERT_GE(palette.size(), 6u);
    TPlacement p;
    p.At = {50, 40};
    p.Size = {120, 30};
    p.Band = {400, 300};
    p.TextAlignment = kAlignCentre;
    TLayoutBox box;
    ASSERT_TRUE(PlaceObject({palette[0], palette[5]}, p, kScale, box));
    EXPECT_EQ(box.Kind, kBoxData);
    ASSERT_EQ(box.Items.Count(), 2);
    EXPECT_EQ(box.Items.At(0)->Caption.str(), palette[0].Caption);
    EXPECT_EQ(box.Items.At(1)->FieldNumber, 5);
    EXPECT_EQ(box.Items.At(1)->Kind, kBoxAddress);
    EXPECT_EQ(box.FontName, "Arial");
    EXPECT_EQ(box.FontSize, 8);
    EXPECT_EQ(box.Alignment, kAlignCentre);
    EXPECT_DOUBLE_EQ(box.Left, 50 * 25.4 / 96);
    EXPECT_DOUBLE_EQ(box.Height, 30 * 25.4 / 96);
    EXPECT_EQ(ObjectDescription(box), "Merged Data");

    EXPECT_FALSE(PlaceObject({}, p, kScale, box));

    // A single field keeps its own kind; objects without data carry no item.
    ASSERT_TRUE(PlaceObject({palette[5]}, p, kScale, box));
    EXPECT_EQ(box.Kind, kBoxAddress);
    EXPECT_EQ(ObjectDescription(box), palette[5].Caption);
    const auto objects = ObjectPalette(kSourceEntries);
    ASSERT_EQ(objects.size(), 12u);
    EXPECT_EQ(ObjectPalette(kSourceDiary).size(), 8u);
    p.At = {395, 295}; // near the band's corner: the object still fits
    ASSERT_TRUE(PlaceObject({objects[7]}, p, kScale, box));
    EXPECT_EQ(box.Kind, kBoxPageNumber);
    EXPECT_EQ(box.Items.Count(), 0);
    EXPECT_EQ(box.Format.str(), "%.1d");
    EXPECT_EQ(kScale.ToPixelsX(box.Left + box.Width), 400);
    EXPECT_EQ(kScale.ToPixelsY(box.Top + box.Height), 300);
    ASSERT_TRUE(PlaceObject({objects[4]}, p, kScale, box));
    EXPECT_EQ(ObjectDescription(box), "Static Text");
}

TEST(DesignPlacing, DropModeTakesThePressedButtonsInPaletteOrder) {
    const auto palette = DataPalette(kSourceEntries, nullptr);
    TPaletteState state;
    EXPECT_FALSE(state.DropMode());
    state.Toggle(false, 5);
    state.Toggle(false, 0);
    state.Toggle(false, 2);
    state.Toggle(false, 2); // pressed again: released
    EXPECT_TRUE(state.DropMode());
    const auto pressed = state.Pressed(palette);
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_EQ(pressed[0].Position, 0);
    EXPECT_EQ(pressed[1].Position, 5);
    // The other palette's button starts afresh.
    state.Toggle(true, 3);
    EXPECT_FALSE(state.IsPressed(false, 5));
    EXPECT_TRUE(state.IsPressed(true, 3));
    EXPECT_EQ(state.Pressed(ObjectPalette(kSourceEntries)).front().Kind, kBoxRectangle);
    state.ReleaseAll();
    EXPECT_FALSE(state.DropMode());
}

TEST(DesignPlacing, SizingTexts) {
    EXPECT_EQ(PlacedSizingText(kBoxPageNumber, 0), "{##W}");
    EXPECT_EQ(PlacedSizingText(kBoxRectangle, 0), "");
    EXPECT_EQ(PlacedSizingText(kBoxGraphic, 0), "");
    const std::string date = PlacedSizingText(kBoxDatePrinted, 46000.5);
    EXPECT_EQ(date.front(), '{');
    EXPECT_EQ(date.back(), '}');
    EXPECT_NE(date.find("2025"), std::string::npos) << date;
}

TEST(DesignSelection, SetsPerBandAndTheSaveQuestion) {
    TPageModel page;
    const int a = page.Add(kBandBody, BoxAt(0, 0, 10, 10));
    const int b = page.Add(kBandBody, BoxAt(20, 0, 10, 10));
    const int h = page.Add(kBandHeader, BoxAt(0, 0, 5, 5));
    TSelectionSets sets;
    EXPECT_FALSE(LayoutModified(false, sets));
    sets.Click(kBandBody, a, false);
    sets.Click(kBandBody, b, true);
    sets.Click(kBandBody, a, true);
    EXPECT_EQ(sets.Selected(), (std::vector<int>{a, b}));
    // Selecting alone, with no move, still counts as a change to save.
    EXPECT_TRUE(LayoutModified(false, sets));
    sets.Click(kBandHeader, h, true);
    EXPECT_EQ(sets.Active, kBandHeader);
    EXPECT_TRUE(sets.Sets[kBandBody].empty());
    EXPECT_EQ(sets.Selected(), (std::vector<int>{h}));
    sets.Click(kBandBody, b, false);
    EXPECT_EQ(sets.Selected(), (std::vector<int>{b}));
    page.Remove(b);
    sets.Prune(page);
    EXPECT_TRUE(sets.Selected().empty());
    sets.ClearChanged();
    EXPECT_FALSE(LayoutModified(false, sets));
    EXPECT_TRUE(LayoutModified(true, sets));
}

TEST(DesignSelection, StatusLine) {
    TPageModel page;
    TSelectionSets sets;
    EXPECT_EQ(StatusLineText(page, sets, kScale, kUnitMillimetres), "No Objects Selected");
    // 96 by 48 pixels: the frame is 100 by 52, less 5 is 95 by 47.
    const int a = page.Add(kBandBody, BoxAt(0, 0, 25.4, 12.7, kBoxStaticText));
    sets.Click(kBandBody, a, false);
    EXPECT_EQ(StatusLineText(page, sets, kScale, kUnitMillimetres),
              "Static Text Object  (25 mm x 12 mm)  [100 x 52]");
    EXPECT_EQ(StatusLineText(page, sets, kScale, kUnitInches),
              "Static Text Object  (0.989583 Inches x 0.489583 Inches)  [100 x 52]");
    const int b = page.Add(kBandBody, BoxAt(25.4, 25.4, 25.4, 25.4, kBoxVerticalLine));
    sets.Click(kBandBody, b, false);
    EXPECT_EQ(StatusLineText(page, sets, kScale, kUnitMillimetres),
              "Vertical Line Object  (25 mm x 25 mm)  [100 x 100]");
    sets.Click(kBandBody, a, true);
    EXPECT_EQ(StatusLineText(page, sets, kScale, kUnitMillimetres),
              "2 Objects Selected  (51 mm x 51 mm)  [196 x 196]");
}

TEST(DesignPage, IdentitiesSurviveEditsAndTheBandsReadBack) {
    TLayoutObjects objects;
    objects.Header.push_back(BoxAt(1, 2, 3, 4));
    objects.Body.push_back(BoxAt(5, 6, 7, 8, kBoxGraphic));
    objects.Body.push_back(BoxAt(9, 10, 11, 12, kBoxHorizontalLine));
    TPageModel page;
    page.Load(objects);
    EXPECT_EQ(page.Objects(), objects);
    const int line = page.Bands[kBandBody][1].Id;
    EXPECT_EQ(page.Find(line)->Band, kBandBody);
    EXPECT_EQ(page.Find(line)->Index, 1);
    page.BandWidth[kBandBody] = 100;
    page.BandHeight[kBandBody] = 50;
    EXPECT_EQ(page.BandPixels(kBandBody, kScale), (TPixelSize{378, 189}));
    EXPECT_EQ(page.ObjectAt(kBandBody, {40, 40}, kScale), line); // the front one
    EXPECT_EQ(page.ObjectAt(kBandBody, {300, 40}, kScale), 0);

    TDesignObject removed = page.Bands[kBandBody][0];
    page.Remove(removed.Id);
    const int added = page.Add(kBandBody, BoxAt(0, 0, 1, 1));
    EXPECT_NE(added, removed.Id);
    page.Insert(kBandBody, 0, removed);
    EXPECT_EQ(page.Bands[kBandBody][0].Id, removed.Id);
    EXPECT_NE(page.Add(kBandFooter, BoxAt(0, 0, 1, 1)), added);
}

TEST(DesignPage, BandsFollowThePaperAndTheLayout) {
    TPaper label;
    label.Type = kPaperLabel;
    label.Unit = kUnitInches;
    label.Width = 8.5, label.Height = 11, label.LabelWidth = 4, label.LabelHeight = 1;
    TLayout layout;
    layout.Headers = true;
    layout.HeaderHeight = 20;
    TPageModel page;
    page.SetBands(layout, label);
    EXPECT_DOUBLE_EQ(page.BandWidth[kBandBody], 101.6);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 25.4); // one label, headers or not
    layout.Portrait = false;
    page.SetBands(layout, label);
    EXPECT_DOUBLE_EQ(page.BandWidth[kBandBody], 25.4);

    TPaper listing;
    listing.Type = kPaperListing;
    listing.Width = 210, listing.Height = 297;
    layout.Footers = true;
    layout.FooterHeight = 15;
    page.SetBands(layout, listing); // landscape
    EXPECT_DOUBLE_EQ(page.BandWidth[kBandHeader], 297);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 210 - 20 - 15);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandFooter], 15);

    TPaper envelope;
    envelope.Type = kPaperEnvelope;
    envelope.Width = 110, envelope.Height = 220, envelope.Portrait = false;
    layout.Portrait = true; // an envelope turns after its paper
    layout.Headers = layout.Footers = false;
    page.SetBands(layout, envelope);
    EXPECT_DOUBLE_EQ(page.BandWidth[kBandBody], 220);
    EXPECT_DOUBLE_EQ(page.BandHeight[kBandBody], 110);

    page.BandHeight[kBandHeader] = 7.5;
    page.StoreBands(layout);
    EXPECT_DOUBLE_EQ(layout.HeaderHeight, 7.5);
    EXPECT_DOUBLE_EQ(layout.FooterHeight, 15);
}

} // namespace
} // namespace tessaly
