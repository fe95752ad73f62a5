// The designer's edits as commands: each applied when made, undone and redone by
// object identity, a drag's steps merged into one.

#include "core/designer/page_edits.h"
#include "core/printing/layout.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

const TScreenScale kScale{96, 96};
const TGrid kNoGrid{false, 8, 8};

double Mm(int px) {
    return px * 25.4 / 96;
}

TLayoutBox Box(int x, int y, int w, int h, int kind = kBoxRectangle) {
    TLayoutBox b;
    b.Kind = kind;
    b.Left = Mm(x), b.Top = Mm(y), b.Width = Mm(w), b.Height = Mm(h);
    return b;
}

struct Page {
    TPageModel page;
    int a, b, c;
    Page() {
        page.BandWidth = {Mm(400), Mm(400), Mm(400)};
        page.BandHeight = {Mm(50), Mm(300), Mm(50)};
        a = page.Add(kBandBody, Box(10, 100, 30, 20, kBoxStaticText));
        b = page.Add(kBandBody, Box(60, 5, 30, 30, kBoxVerticalLine));
        c = page.Add(kBandBody, Box(90, 200, 80, 40));
    }
    TPixelRect At(int id) const { return *page.Pixels(id, kScale); }
};

// Undo brings back exactly the page before, redo exactly the page after.
void ExpectUndoRedo(TPageModel& page, const TPageModel& before, const TDesignCommand& cmd) {
    const TPageModel after = page;
    EXPECT_TRUE(cmd.Changes());
    cmd.Undo(page);
    EXPECT_EQ(page.Objects(), before.Objects());
    EXPECT_EQ(page.BandHeight, before.BandHeight);
    cmd.Redo(page);
    EXPECT_EQ(page.Objects(), after.Objects());
    EXPECT_EQ(page.BandHeight, after.BandHeight);
}

TEST(DesignEdits, EachEditUndoesAndRedoes) {
    Page p;
    TPageModel before = p.page;
    auto cmd = AlignEdit(p.page, {p.a, p.b, p.c}, TAlignEdge::Bottom, kScale);
    for (int id : {p.a, p.b, p.c})
        EXPECT_EQ(p.At(id).Bottom(), 120);
    EXPECT_EQ(cmd.Kind, TEditKind::Align);
    ExpectUndoRedo(p.page, before, cmd);

    before = p.page;
    cmd = SizeEdit(p.page, {p.a, p.c}, {TSizeMode::Largest}, {TSizeMode::Largest}, kScale);
    EXPECT_EQ(p.At(p.a).Width, 80);
    EXPECT_EQ(p.At(p.b).Width, 30); // not selected
    ExpectUndoRedo(p.page, before, cmd);

    before = p.page;
    cmd = NudgeEdit(p.page, {p.b}, 0, 1, kScale);
    EXPECT_EQ(p.At(p.b).Y, 91);
    ExpectUndoRedo(p.page, before, cmd);

    before = p.page;
    cmd = TextAlignEdit(p.page, {p.a, p.c}, kAlignRight);
    EXPECT_EQ(p.page.Box(p.a)->Alignment, kAlignRight);
    ExpectUndoRedo(p.page, before, cmd);

    before = p.page;
    TLayoutBox changed = *p.page.Box(p.c);
    changed.PenWidth = 3;
    changed.BrushStyle = 0;
    cmd = PropertiesEdit(p.page, p.c, changed);
    EXPECT_EQ(*p.page.Box(p.c), changed);
    ExpectUndoRedo(p.page, before, cmd);
}

TEST(DesignEdits, UntouchedObjectsKeepTheirMillimetres) {
    Page p;
    p.page.Box(p.a)->Left = 2.6458; // between two pixels
    const double left = p.page.Box(p.a)->Left;
    AlignEdit(p.page, {p.a, p.b}, TAlignEdge::Top, kScale);
    EXPECT_EQ(p.page.Box(p.a)->Left, left); // the reference does not move
}

TEST(DesignEdits, PlacingAndDeletingKeepIdentityAndOrder) {
    Page p;
    const TPageModel empty = p.page;
    int id = 0;
    auto place = PlaceEdit(p.page, kBandHeader, Box(0, 0, 20, 20), id);
    EXPECT_EQ(p.page.Find(id)->Band, kBandHeader);
    ExpectUndoRedo(p.page, empty, place);

    const TPageModel before = p.page;
    auto del = DeleteEdit(p.page, {p.b, p.a});
    EXPECT_FALSE(p.page.Find(p.a));
    EXPECT_EQ(p.page.Bands[kBandBody].size(), 1u);
    del.Undo(p.page);
    EXPECT_EQ(p.page, before); // same identities in the same Z-order
    del.Redo(p.page);
    place.Undo(p.page);
    EXPECT_FALSE(p.page.Find(id));
    EXPECT_EQ(p.page.Bands[kBandBody].front().Id, p.c);
}

TEST(DesignEdits, FrontAndBack) {
    Page p;
    const auto order = [&] {
        std::vector<int> ids;
        for (const auto& o : p.page.Bands[kBandBody])
            ids.push_back(o.Id);
        return ids;
    };
    const TPageModel before = p.page;
    auto front = OrderEdit(p.page, {p.b, p.a}, true);
    EXPECT_EQ(order(), (std::vector<int>{p.c, p.a, p.b}));
    ExpectUndoRedo(p.page, before, front);
    OrderEdit(p.page, {p.b}, false);
    EXPECT_EQ(order(), (std::vector<int>{p.b, p.c, p.a}));
    EXPECT_FALSE(OrderEdit(p.page, {p.b}, false).Changes());
}

TEST(DesignEdits, FontsGoToTextObjectsOnly) {
    Page p;
    TFontChoice font;
    font.Name = "Times New Roman";
    font.Size = 12;
    font.Style = 1;
    const TPageModel before = p.page;
    auto cmd = FontEdit(p.page, {p.a, p.b}, font);
    EXPECT_EQ(p.page.Box(p.a)->FontName, "Times New Roman");
    EXPECT_EQ(p.page.Box(p.a)->FontSize, 12);
    EXPECT_EQ(p.page.Box(p.b)->FontName, "Arial"); // a line carries no text
    ExpectUndoRedo(p.page, before, cmd);
    font.Name = std::string(40, 'x');
    FontEdit(p.page, {p.a}, font);
    EXPECT_EQ(p.page.Box(p.a)->FontName.size(), kFontNameMax);
}

TEST(DesignEdits, SplitBarStopsAtTenPixels) {
    Page p;
    const TPageModel before = p.page;
    auto cmd = BandHeightEdit(p.page, kBandHeader, -30, 1000, kScale);
    EXPECT_DOUBLE_EQ(p.page.BandHeight[kBandHeader], 10 * 25.4 / 96);
    EXPECT_EQ(cmd.Kind, TEditKind::BandHeight);
    ExpectUndoRedo(p.page, before, cmd);
    BandHeightEdit(p.page, kBandFooter, 700, 1000, kScale);
    EXPECT_DOUBLE_EQ(p.page.BandHeight[kBandFooter], 490 * 25.4 / 96);
    EXPECT_FALSE(BandHeightEdit(p.page, kBandBody, 20, 1000, kScale).Changes());
}

TEST(DesignEdits, ADragIsOneCommand) {
    Page p;
    const TPageModel before = p.page;
    const TGrid grid{true, 8, 8};
    TDragEdit drag(p.page, {p.a, p.b}, THandle::None, kScale, 7);
    auto cmd = drag.Step(p.page, 3, 3, grid);
    for (int step = 2; step <= 10; ++step)
        EXPECT_TRUE(cmd.MergeWith(drag.Step(p.page, 3 * step, 3 * step, grid)));
    // From where it began: 10 + 30 and 100 + 30 snapped to the grid.
    EXPECT_EQ(p.At(p.a).X, 40);
    EXPECT_EQ(p.At(p.a).Y, 128);
    EXPECT_EQ(p.At(p.c), (TPixelRect{90, 200, 80, 40}));
    ExpectUndoRedo(p.page, before, cmd);

    // Another drag, or another kind of edit, does not merge.
    TDragEdit other(p.page, {p.a, p.b}, THandle::None, kScale, 8);
    EXPECT_FALSE(cmd.MergeWith(other.Step(p.page, 1, 1, kNoGrid)));
    EXPECT_FALSE(cmd.MergeWith(NudgeEdit(p.page, {p.a}, 1, 0, kScale)));

    const TPageModel beforeResize = p.page;
    TDragEdit resize(p.page, {p.c}, THandle::BottomRight, kScale, 9);
    auto r = resize.Step(p.page, 5, 5, kNoGrid);
    EXPECT_TRUE(r.MergeWith(resize.Step(p.page, 20, -10, kNoGrid)));
    EXPECT_EQ(r.Kind, TEditKind::Resize);
    EXPECT_EQ(p.At(p.c), (TPixelRect{90, 200, 100, 30}));
    ExpectUndoRedo(p.page, beforeResize, r);
    // A grab square of several selected objects moves them instead.
    TDragEdit several(p.page, {p.a, p.c}, THandle::Right, kScale, 10);
    EXPECT_EQ(several.Step(p.page, 4, 0, kNoGrid).Kind, TEditKind::Move);
}

} // namespace
} // namespace tessaly
