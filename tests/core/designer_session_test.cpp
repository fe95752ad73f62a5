// Clicks on the designer's bands: dropping the pressed palette items, selecting, and
// when closing the layout asks to save.

#include "core/designer/designer_page.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TDesignerPage MakePage() {
    TDesignerPage d;
    d.Scale = {96, 96};
    d.Page.BandWidth = {100, 100, 100};
    d.Page.BandHeight = {20, 80, 20};
    return d;
}

TEST(DesignerPage, ADropMakesOneMergedObjectAndReleasesTheButtons) {
    TDesignerPage d = MakePage();
    const auto palette = DataPalette(kSourceEntries, nullptr);
    d.Palette.Toggle(false, 3);
    d.Palette.Toggle(false, 1);
    d.TextAlignment = kAlignRight;
    const auto placed = d.Click(kBandBody, {30, 40}, false, palette, {100, 30});
    ASSERT_TRUE(placed);
    EXPECT_FALSE(d.Palette.DropMode());
    EXPECT_TRUE(d.AsksToSave());
    ASSERT_EQ(d.Page.Bands[kBandBody].size(), 1u);
    const TLayoutBox& box = d.Page.Bands[kBandBody][0].Box;
    ASSERT_EQ(box.Items.Count(), 2);
    EXPECT_EQ(box.Items.At(0)->FieldNumber, 1);
    EXPECT_EQ(box.Items.At(1)->FieldNumber, 3);
    EXPECT_EQ(box.Alignment, kAlignRight);
    const int id = d.Page.Bands[kBandBody][0].Id;
    EXPECT_EQ(d.Page.Pixels(id, d.Scale), (TPixelRect{30, 40, 100, 30}));

    // Undo takes the object away, and out of the selection.
    d.Click(kBandBody, {35, 45}, false, palette, {});
    EXPECT_EQ(d.Sets.Selected(), (std::vector<int>{id}));
    d.Undo(*placed);
    EXPECT_TRUE(d.Page.Bands[kBandBody].empty());
    EXPECT_TRUE(d.Sets.Selected().empty());
    d.Redo(*placed);
    EXPECT_EQ(d.Page.Bands[kBandBody][0].Id, id);
}

TEST(DesignerPage, ASelectionWithoutAMoveStillAsksToSave) {
    TDesignerPage d = MakePage();
    const int id = d.Page.Add(kBandHeader, TLayoutBox{});
    d.Page.Box(id)->Width = d.Page.Box(id)->Height = 10;
    EXPECT_FALSE(d.AsksToSave());
    d.Click(kBandHeader, {5, 5}, false, {}, {});
    EXPECT_EQ(d.Sets.Active, kBandHeader);
    EXPECT_EQ(d.Sets.Selected(), (std::vector<int>{id}));
    EXPECT_TRUE(d.AsksToSave());
    d.Saved();
    EXPECT_FALSE(d.AsksToSave());
    // Free space of another band: that band is active, nothing selected.
    d.Click(kBandFooter, {5, 5}, true, {}, {});
    EXPECT_EQ(d.Sets.Active, kBandFooter);
    EXPECT_TRUE(d.Sets.Selected().empty());
    EXPECT_TRUE(d.Sets.Sets[kBandHeader].empty());
    EXPECT_FALSE(d.AsksToSave());

    // The text alignment is remembered even with nothing selected.
    d.AlignText(kAlignCentre);
    EXPECT_EQ(d.TextAlignment, kAlignCentre);
    EXPECT_FALSE(d.AsksToSave());
    d.Click(kBandHeader, {5, 5}, false, {}, {});
    d.Saved();
    d.AlignText(kAlignRight);
    EXPECT_EQ(d.Page.Box(id)->Alignment, kAlignRight);
    EXPECT_TRUE(d.AsksToSave());
}

TEST(DesignerPage, LockedSetsDoNotMove) {
    TDesignerPage d = MakePage();
    EXPECT_FALSE(d.Nudge(1, 0)); // nothing selected
    const int id = d.Page.Add(kBandBody, TLayoutBox{});
    d.Page.SetPixels(id, {0, 0, 20, 20}, d.Scale);
    d.Click(kBandBody, {5, 5}, false, {}, {});
    d.Saved();
    EXPECT_FALSE(d.Nudge(-1, 0)); // already at the band's left edge
    EXPECT_FALSE(d.AsksToSave());
    const auto moved = d.Nudge(1, 0);
    ASSERT_TRUE(moved);
    EXPECT_EQ(d.Page.Pixels(id, d.Scale)->X, 1);
    EXPECT_TRUE(d.AsksToSave());
    ASSERT_TRUE(d.BeginDrag(THandle::None, 1));
    d.Sets.Locked = true;
    EXPECT_FALSE(d.Nudge(1, 0));
    EXPECT_FALSE(d.BeginDrag(THandle::Right, 2));
    EXPECT_EQ(d.Page.Pixels(id, d.Scale)->X, 1);
}

} // namespace
} // namespace tessaly
