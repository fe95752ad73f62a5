#pragma once
// Screen geometry of the page designer: whole-pixel rectangles, the conversion between
// millimetres and pixels at the screen's resolution, and the rules every placed object
// keeps (at least 10 by 10 pixels, never left of or above its band, clipped to it) and
// the grid it snaps to.

namespace tessaly {

// The screen's logical pixels per inch, across and down.
struct TScreenScale {
    double DpiX = 96, DpiY = 96;

    int ToPixelsX(double mm) const;
    int ToPixelsY(double mm) const;
    double ToMillimetresX(int px) const { return px * 25.4 / DpiX; }
    double ToMillimetresY(int px) const { return px * 25.4 / DpiY; }
};

struct TPixelPoint {
    int X = 0, Y = 0;
    bool operator==(const TPixelPoint&) const = default;
};

struct TPixelSize {
    int Width = 0, Height = 0;
    bool operator==(const TPixelSize&) const = default;
};

struct TPixelRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
    int Right() const { return X + Width; }
    int Bottom() const { return Y + Height; }
    bool Contains(TPixelPoint p) const {
        return p.X >= X && p.X < Right() && p.Y >= Y && p.Y < Bottom();
    }
    bool operator==(const TPixelRect&) const = default;
};

// The smallest side of an object on the screen.
constexpr int kMinObjectPixels = 10;

// The rectangle made to fit its band: each side at least 10 pixels, the position not
// negative, and the right and bottom edge inside the band (the size is cut first, the
// position moved only when the band leaves no room for 10 pixels).
TPixelRect FitToBand(TPixelRect r, TPixelSize band);

// The grid the designer snaps to, in pixels; spacing 2 to 32 either way.
struct TGrid {
    bool Enabled = true;
    int Across = 8, Down = 8;
};
constexpr int kMinGridSpacing = 2;
constexpr int kMaxGridSpacing = 32;
bool GridSpacingValid(int spacing);

// The nearest multiple of `spacing` (the value itself when spacing is below 1).
int SnapToMultiple(int value, int spacing);
// The point snapped to the grid across and down; unchanged when snapping is off.
TPixelPoint SnapPoint(TPixelPoint p, const TGrid& grid);

// The smallest rectangle holding both (either empty one is ignored).
TPixelRect Enclose(const TPixelRect& a, const TPixelRect& b);

} // namespace tessaly
