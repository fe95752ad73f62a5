#pragma once
// What the designer's editing commands do to the selected objects' screen rectangles:
// moving by a mouse drag or an arrow key, resizing by a grab square, aligning, sizing,
// and the split bars' limits. Rectangles are in selection order (the first is the
// reference of aligning) and every result fits the band.

#include "core/designer/design_geometry.h"

#include <vector>

namespace tessaly {

// The selection frame: the selected objects' rectangles with a 2-pixel margin.
constexpr int kFrameMargin = 2;
TPixelRect SelectionFrame(const std::vector<TPixelRect>& rects);

// Moves every rectangle by the drag's offset, kept so that the selection stays inside
// the band; with the grid on each rectangle's top left corner lands on the grid.
std::vector<TPixelRect> MoveRects(const std::vector<TPixelRect>& rects, int dx, int dy,
                                  TPixelSize band, const TGrid& grid);
// An arrow key: one pixel in the key's direction, never snapped.
std::vector<TPixelRect> NudgeRects(const std::vector<TPixelRect>& rects, int dx, int dy,
                                   TPixelSize band);

// The eight grab squares of a single selected object's frame.
enum class THandle { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
// How near the pointer must be to a corner or an edge's middle to grab it.
constexpr int kHandleReach = 3;
// The grab square of `frame` under the pointer, None when there is none.
THandle HandleAt(const TPixelRect& frame, TPixelPoint p);
// The rectangle after dragging a grab square by the offset: corners move two edges,
// midpoints one; the moved edges snap to the grid; the opposite edges stay.
TPixelRect ResizeRect(const TPixelRect& r, THandle handle, int dx, int dy, TPixelSize band,
                      const TGrid& grid);

enum class TAlignEdge { Left, Right, Top, Bottom };
// Every rectangle after the first takes the first one's edge; negative positions
// become 0.
std::vector<TPixelRect> AlignRects(const std::vector<TPixelRect>& rects, TAlignEdge edge,
                                   TPixelSize band);

// One side of "Size Objects".
enum class TSizeMode { NoChange, Smallest, Largest, Value };
struct TSizeRule {
    TSizeMode Mode = TSizeMode::NoChange;
    int Value = 0; // pixels, with TSizeMode::Value
};
constexpr int kMinSizeValue = 3;
constexpr int kMaxSizeValue = 9999;
bool SizeValueValid(int value);
std::vector<TPixelRect> SizeRects(const std::vector<TPixelRect>& rects, TSizeRule width,
                                  TSizeRule height, TPixelSize band);

// The height a header or footer band takes when its split bar is dragged to
// `wanted` pixels: at least 10, at most half the vertical ruler's length less 10.
constexpr int kMinBandPixels = 10;
int SplitBandHeight(int wanted, int rulerLength);

} // namespace tessaly

namespace tessaly {

// The repeat preview of a listing's detail: for d the largest bottom edge of the body's
// rectangles, copies of every rectangle at offsets d, 2d, ... while offset + d stays
// above the band's height. None when the page breaks after every entry (page control
// 1), when the body is empty or d is not positive.
std::vector<TPixelRect> RepeatPreview(const std::vector<TPixelRect>& body, int bandHeight,
                                      int pageControl);

} // namespace tessaly
