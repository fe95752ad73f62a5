#include "core/designer/design_geometry.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

int TScreenScale::ToPixelsX(double mm) const {
    return static_cast<int>(std::lround(mm * DpiX / 25.4));
}

int TScreenScale::ToPixelsY(double mm) const {
    return static_cast<int>(std::lround(mm * DpiY / 25.4));
}

namespace {

// One axis of FitToBand.
void FitAxis(int& pos, int& size, int band) {
    size = std::max(size, kMinObjectPixels);
    pos = std::max(pos, 0);
    if (pos + size > band)
        size = std::max(band - pos, kMinObjectPixels);
    if (pos + size > band)
        pos = std::max(band - size, 0);
}

} // namespace

TPixelRect FitToBand(TPixelRect r, TPixelSize band) {
    FitAxis(r.X, r.Width, band.Width);
    FitAxis(r.Y, r.Height, band.Height);
    return r;
}

bool GridSpacingValid(int spacing) {
    return spacing >= kMinGridSpacing && spacing <= kMaxGridSpacing;
}

int SnapToMultiple(int value, int spacing) {
    if (spacing < 1)
        return value;
    const double steps = std::round(static_cast<double>(value) / spacing);
    return static_cast<int>(steps) * spacing;
}

TPixelPoint SnapPoint(TPixelPoint p, const TGrid& grid) {
    if (!grid.Enabled)
        return p;
    return {SnapToMultiple(p.X, grid.Across), SnapToMultiple(p.Y, grid.Down)};
}

TPixelRect Enclose(const TPixelRect& a, const TPixelRect& b) {
    if (a.Width <= 0 || a.Height <= 0)
        return b;
    if (b.Width <= 0 || b.Height <= 0)
        return a;
    const int x = std::min(a.X, b.X), y = std::min(a.Y, b.Y);
    return {x, y, std::max(a.Right(), b.Right()) - x, std::max(a.Bottom(), b.Bottom()) - y};
}

} // namespace tessaly
