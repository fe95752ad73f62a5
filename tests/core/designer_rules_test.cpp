// The designer's editing rules on screen rectangles: fitting to the band, snapping,
// moving, resizing by grab squares, aligning, sizing and the split bars.

#include "core/designer/edit_rules.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

const TPixelSize kBand{400, 300};
const TGrid kNoGrid{false, 8, 8};

TEST(DesignGeometry, ObjectsFitTheirBand) {
    EXPECT_EQ(FitToBand({-5, -7, 4, 3}, kBand), (TPixelRect{0, 0, 10, 10}));
    // Cut at the right and bottom edge, never below 10 pixels.
    EXPECT_EQ(FitToBand({350, 280, 100, 100}, kBand), (TPixelRect{350, 280, 50, 20}));
    EXPECT_EQ(FitToBand({398, 299, 50, 50}, kBand), (TPixelRect{390, 290, 10, 10}));
    EXPECT_EQ(FitToBand({0, 0, 1000, 1000}, kBand), (TPixelRect{0, 0, 400, 300}));

    TScreenScale scale{96, 120};
    EXPECT_EQ(scale.ToPixelsX(25.4), 96);
    EXPECT_EQ(scale.ToPixelsY(25.4), 120);
    EXPECT_DOUBLE_EQ(scale.ToMillimetresY(10), 10 * 25.4 / 120);
}

TEST(DesignGeometry, SnapLandsOnMultiplesOfTheSpacing) {
    EXPECT_FALSE(GridSpacingValid(1));
    EXPECT_TRUE(GridSpacingValid(2));
    EXPECT_TRUE(GridSpacingValid(32));
    EXPECT_FALSE(GridSpacingValid(33));
    EXPECT_EQ(SnapToMultiple(11, 8), 8);
    EXPECT_EQ(SnapToMultiple(12, 8), 16);
    EXPECT_EQ(SnapToMultiple(-3, 8), 0);
    EXPECT_EQ(SnapPoint({13, 13}, {true, 5, 3}), (TPixelPoint{15, 12}));
    EXPECT_EQ(SnapPoint({13, 13}, {false, 5, 3}), (TPixelPoint{13, 13}));

    const TGrid grid{true, 8, 6};
    const auto moved = MoveRects({{3, 5, 20, 20}, {41, 27, 30, 10}}, 10, 10, kBand, grid);
    for (const TPixelRect& r : moved) {
        EXPECT_EQ(r.X % 8, 0) << r.X;
        EXPECT_EQ(r.Y % 6, 0) << r.Y;
    }
    EXPECT_EQ(moved[0], (TPixelRect{16, 18, 20, 20}));
}

TEST(DesignMoves, DragsAndArrowKeysKeepTheSelectionInTheBand) {
    const std::vector<TPixelRect> rects{{10, 10, 20, 20}, {50, 40, 30, 30}};
    auto moved = NudgeRects(rects, 1, 0, kBand);
    EXPECT_EQ(moved[0], (TPixelRect{11, 10, 20, 20}));
    EXPECT_EQ(moved[1], (TPixelRect{51, 40, 30, 30}));
    // The whole group stops at the band's edge, its shape unchanged.
    moved = MoveRects(rects, -100, 1000, kBand, kNoGrid);
    EXPECT_EQ(moved[0], (TPixelRect{0, 240, 20, 20}));
    EXPECT_EQ(moved[1], (TPixelRect{40, 270, 30, 30}));
    moved = NudgeRects({{0, 0, 20, 20}}, -1, -1, kBand);
    EXPECT_EQ(moved[0], (TPixelRect{0, 0, 20, 20}));
    EXPECT_EQ(SelectionFrame(rects), (TPixelRect{8, 8, 74, 64}));
}

TEST(DesignResize, GrabSquaresMoveTheirEdges) {
    const TPixelRect frame{100, 100, 41, 21}; // right edge 140, bottom 120, middle 120/110
    EXPECT_EQ(HandleAt(frame, {101, 102}), THandle::TopLeft);
    EXPECT_EQ(HandleAt(frame, {140, 120}), THandle::BottomRight);
    EXPECT_EQ(HandleAt(frame, {123, 100}), THandle::Top);
    EXPECT_EQ(HandleAt(frame, {124, 100}), THandle::None); // 4 pixels from the middle
    EXPECT_EQ(HandleAt(frame, {100, 113}), THandle::Left);
    EXPECT_EQ(HandleAt(frame, {143, 110}), THandle::Right);
    EXPECT_EQ(HandleAt(frame, {120, 110}), THandle::None);

    const TPixelRect r{40, 40, 40, 40};
    EXPECT_EQ(ResizeRect(r, THandle::Right, 15, 99, kBand, kNoGrid), (TPixelRect{40, 40, 55, 40}));
    EXPECT_EQ(ResizeRect(r, THandle::TopLeft, -5, -10, kBand, kNoGrid),
              (TPixelRect{35, 30, 45, 50}));
    // Never smaller than 10 pixels, never past the band, the opposite edge fixed.
    EXPECT_EQ(ResizeRect(r, THandle::Left, 100, 0, kBand, kNoGrid), (TPixelRect{70, 40, 10, 40}));
    EXPECT_EQ(ResizeRect(r, THandle::Top, 0, -100, kBand, kNoGrid), (TPixelRect{40, 0, 40, 80}));
    EXPECT_EQ(ResizeRect(r, THandle::BottomRight, 999, 999, kBand, kNoGrid),
              (TPixelRect{40, 40, 360, 260}));
    // The moved edge snaps.
    EXPECT_EQ(ResizeRect(r, THandle::Bottom, 0, 5, kBand, {true, 8, 8}),
              (TPixelRect{40, 40, 40, 48}));
}

TEST(DesignAlign, TheFirstSelectedObjectIsTheReference) {
    // Heights 20, 30 and 40, the first at top 100: every bottom ends at 120.
    const std::vector<TPixelRect> rects{{10, 100, 30, 20}, {60, 5, 30, 30}, {90, 200, 80, 40}};
    for (const TPixelRect& r : AlignRects(rects, TAlignEdge::Bottom, kBand))
        EXPECT_EQ(r.Bottom(), 120);
    auto right = AlignRects(rects, TAlignEdge::Right, kBand);
    EXPECT_EQ(right[1].X, 10);
    EXPECT_EQ(right[2].X, 0); // 40 - 80 is negative
    EXPECT_EQ(right[2].Width, 80);
    auto left = AlignRects(rects, TAlignEdge::Left, kBand);
    EXPECT_EQ(left[2], (TPixelRect{10, 200, 80, 40}));
    auto top = AlignRects({{0, 50, 10, 10}, {30, 0, 10, 290}}, TAlignEdge::Top, kBand);
    EXPECT_EQ(top[1], (TPixelRect{30, 50, 10, 250}));
}

TEST(DesignSize, ShrinkGrowAndValues) {
    const std::vector<TPixelRect> rects{{0, 0, 30, 20}, {50, 50, 60, 40}};
    auto grown = SizeRects(rects, {TSizeMode::Largest}, {TSizeMode::Smallest}, kBand);
    EXPECT_EQ(grown[0], (TPixelRect{0, 0, 60, 20}));
    EXPECT_EQ(grown[1], (TPixelRect{50, 50, 60, 20}));
    auto fixed = SizeRects(rects, {TSizeMode::NoChange}, {TSizeMode::Value, 3}, kBand);
    EXPECT_EQ(fixed[0].Width, 30);
    EXPECT_EQ(fixed[0].Height, 10); // 3 pixels is allowed but an object keeps 10
    EXPECT_FALSE(SizeValueValid(2));
    EXPECT_TRUE(SizeValueValid(9999));
    EXPECT_FALSE(SizeValueValid(10000));
    auto wide = SizeRects(rects, {TSizeMode::Value, 9999}, {TSizeMode::NoChange}, kBand);
    EXPECT_EQ(wide[1].Width, 350); // cut at the band's edge
}

TEST(DesignBands, SplitBarLimits) {
    EXPECT_EQ(SplitBandHeight(-40, 600), 10);
    EXPECT_EQ(SplitBandHeight(5, 600), 10);
    EXPECT_EQ(SplitBandHeight(120, 600), 120);
    EXPECT_EQ(SplitBandHeight(400, 600), 290);
    EXPECT_EQ(SplitBandHeight(50, 30), 10); // a ruler too short still leaves 10
}

TEST(DesignBands, RepeatPreviewOfAListingDetail) {
    const std::vector<TPixelRect> body{{0, 0, 50, 20}, {60, 10, 30, 20}}; // detail 30
    const auto copies = RepeatPreview(body, 100, 3);
    // Offsets 30 and 60; 90 + 30 passes the band.
    ASSERT_EQ(copies.size(), 4u);
    EXPECT_EQ(copies[0], (TPixelRect{0, 30, 50, 20}));
    EXPECT_EQ(copies[3], (TPixelRect{60, 70, 30, 20}));
    EXPECT_TRUE(RepeatPreview(body, 100, 1).empty());
    EXPECT_TRUE(RepeatPreview(body, 60, 3).empty()); // 30 + 30 does not stay above 60
    EXPECT_TRUE(RepeatPreview({}, 100, 3).empty());
    EXPECT_TRUE(RepeatPreview({{0, -40, 10, 10}}, 100, 3).empty());
}

} // namespace
} // namespace tessaly
