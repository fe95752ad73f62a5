#include "core/designer/edit_rules.h"

#include <algorithm>
#include <cstdlib>

namespace tessaly {

TPixelRect SelectionFrame(const std::vector<TPixelRect>& rects) {
    TPixelRect box;
    for (const TPixelRect& r : rects)
        box = Enclose(box, r);
    if (box.Width <= 0 || box.Height <= 0)
        return {};
    return {box.X - kFrameMargin, box.Y - kFrameMargin, box.Width + 2 * kFrameMargin,
            box.Height + 2 * kFrameMargin};
}

namespace {

TPixelRect Bounds(const std::vector<TPixelRect>& rects) {
    TPixelRect box;
    for (const TPixelRect& r : rects)
        box = Enclose(box, r);
    return box;
}

// The offset that keeps [lo, hi) inside [0, limit).
int KeepInside(int delta, int lo, int hi, int limit) {
    if (hi + delta > limit)
        delta = limit - hi;
    if (lo + delta < 0)
        delta = -lo;
    return delta;
}

std::vector<TPixelRect> Shift(const std::vector<TPixelRect>& rects, int dx, int dy, TPixelSize band,
                              const TGrid* grid) {
    const TPixelRect box = Bounds(rects);
    dx = KeepInside(dx, box.X, box.Right(), band.Width);
    dy = KeepInside(dy, box.Y, box.Bottom(), band.Height);
    std::vector<TPixelRect> out;
    out.reserve(rects.size());
    for (TPixelRect r : rects) {
        TPixelPoint corner{r.X + dx, r.Y + dy};
        if (grid)
            corner = SnapPoint(corner, *grid);
        r.X = corner.X;
        r.Y = corner.Y;
        out.push_back(FitToBand(r, band));
    }
    return out;
}

bool Near(int a, int b) {
    return std::abs(a - b) <= kHandleReach;
}

} // namespace

std::vector<TPixelRect> MoveRects(const std::vector<TPixelRect>& rects, int dx, int dy,
                                  TPixelSize band, const TGrid& grid) {
    return Shift(rects, dx, dy, band, &grid);
}

std::vector<TPixelRect> NudgeRects(const std::vector<TPixelRect>& rects, int dx, int dy,
                                   TPixelSize band) {
    return Shift(rects, dx, dy, band, nullptr);
}

THandle HandleAt(const TPixelRect& frame, TPixelPoint p) {
    const int left = frame.X, right = frame.Right() - 1;
    const int top = frame.Y, bottom = frame.Bottom() - 1;
    const int midX = frame.X + frame.Width / 2, midY = frame.Y + frame.Height / 2;
    const bool atLeft = Near(p.X, left), atRight = Near(p.X, right);
    const bool atTop = Near(p.Y, top), atBottom = Near(p.Y, bottom);
    if (atTop && atLeft)
        return THandle::TopLeft;
    if (atTop && atRight)
        return THandle::TopRight;
    if (atBottom && atRight)
        return THandle::BottomRight;
    if (atBottom && atLeft)
        return THandle::BottomLeft;
    if (atTop && Near(p.X, midX))
        return THandle::Top;
    if (atBottom && Near(p.X, midX))
        return THandle::Bottom;
    if (atLeft && Near(p.Y, midY))
        return THandle::Left;
    if (atRight && Near(p.Y, midY))
        return THandle::Right;
    return THandle::None;
}

TPixelRect ResizeRect(const TPixelRect& r, THandle handle, int dx, int dy, TPixelSize band,
                      const TGrid& grid) {
    int left = r.X, top = r.Y, right = r.Right(), bottom = r.Bottom();
    const bool moveLeft =
        handle == THandle::TopLeft || handle == THandle::Left || handle == THandle::BottomLeft;
    const bool moveRight =
        handle == THandle::TopRight || handle == THandle::Right || handle == THandle::BottomRight;
    const bool moveTop =
        handle == THandle::TopLeft || handle == THandle::Top || handle == THandle::TopRight;
    const bool moveBottom = handle == THandle::BottomLeft || handle == THandle::Bottom ||
                            handle == THandle::BottomRight;
    const auto snapX = [&](int v) { return grid.Enabled ? SnapToMultiple(v, grid.Across) : v; };
    const auto snapY = [&](int v) { return grid.Enabled ? SnapToMultiple(v, grid.Down) : v; };
    if (moveLeft)
        left = std::min(std::max(snapX(left + dx), 0), right - kMinObjectPixels);
    if (moveRight)
        right = std::max(std::min(snapX(right + dx), band.Width), left + kMinObjectPixels);
    if (moveTop)
        top = std::min(std::max(snapY(top + dy), 0), bottom - kMinObjectPixels);
    if (moveBottom)
        bottom = std::max(std::min(snapY(bottom + dy), band.Height), top + kMinObjectPixels);
    return FitToBand({left, top, right - left, bottom - top}, band);
}

std::vector<TPixelRect> AlignRects(const std::vector<TPixelRect>& rects, TAlignEdge edge,
                                   TPixelSize band) {
    std::vector<TPixelRect> out = rects;
    if (rects.empty())
        return out;
    const TPixelRect& ref = rects.front();
    for (std::size_t i = 1; i < out.size(); ++i) {
        TPixelRect& r = out[i];
        switch (edge) {
        case TAlignEdge::Left:
            r.X = ref.X;
            break;
        case TAlignEdge::Right:
            r.X = ref.Right() - r.Width;
            break;
        case TAlignEdge::Top:
            r.Y = ref.Y;
            break;
        case TAlignEdge::Bottom:
            r.Y = ref.Bottom() - r.Height;
            break;
        }
        r.X = std::max(r.X, 0);
        r.Y = std::max(r.Y, 0);
        r = FitToBand(r, band);
    }
    return out;
}

bool SizeValueValid(int value) {
    return value >= kMinSizeValue && value <= kMaxSizeValue;
}

namespace {

int SizeOf(TSizeRule rule, int own, int smallest, int largest) {
    switch (rule.Mode) {
    case TSizeMode::NoChange:
        return own;
    case TSizeMode::Smallest:
        return smallest;
    case TSizeMode::Largest:
        return largest;
    case TSizeMode::Value:
        return SizeValueValid(rule.Value) ? rule.Value : own;
    }
    return own;
}

} // namespace

std::vector<TPixelRect> SizeRects(const std::vector<TPixelRect>& rects, TSizeRule width,
                                  TSizeRule height, TPixelSize band) {
    std::vector<TPixelRect> out = rects;
    if (rects.empty())
        return out;
    const auto [minW, maxW] = std::minmax_element(
        rects.begin(), rects.end(), [](auto& a, auto& b) { return a.Width < b.Width; });
    const auto [minH, maxH] = std::minmax_element(
        rects.begin(), rects.end(), [](auto& a, auto& b) { return a.Height < b.Height; });
    const int smallW = minW->Width, bigW = maxW->Width;
    const int smallH = minH->Height, bigH = maxH->Height;
    for (TPixelRect& r : out) {
        r.Width = SizeOf(width, r.Width, smallW, bigW);
        r.Height = SizeOf(height, r.Height, smallH, bigH);
        r = FitToBand(r, band);
    }
    return out;
}

int SplitBandHeight(int wanted, int rulerLength) {
    const int most = rulerLength / 2 - kMinBandPixels;
    return std::max(std::min(wanted, most), kMinBandPixels);
}

} // namespace tessaly

namespace tessaly {

std::vector<TPixelRect> RepeatPreview(const std::vector<TPixelRect>& body, int bandHeight,
                                      int pageControl) {
    std::vector<TPixelRect> out;
    if (pageControl == 1 || body.empty())
        return out;
    int d = 0;
    for (const TPixelRect& r : body)
        d = std::max(d, r.Bottom());
    if (d <= 0)
        return out;
    for (long long offset = d; offset + d < bandHeight; offset += d)
        for (TPixelRect r : body) {
            r.Y += static_cast<int>(offset);
            out.push_back(r);
        }
    return out;
}

} // namespace tessaly
