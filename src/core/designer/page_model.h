#pragma once
// The page the designer edits: the objects of the header, body and footer bands, each
// with an identity that stays with it for the whole session (commands and selections
// name objects by it), the size of every band in millimetres and whether the header
// and footer are shown. Objects keep their geometry in millimetres; the screen works
// in pixels through a TScreenScale.

#include "core/designer/design_geometry.h"
#include "core/printing/layout.h"
#include "core/printing/layout_objects.h"
#include "core/printing/paper.h"

#include <array>
#include <optional>
#include <vector>

namespace tessaly {

enum TBandIndex : int { kBandHeader = 0, kBandBody = 1, kBandFooter = 2 };
constexpr int kBandCount = 3;

struct TDesignObject {
    int Id = 0;
    TLayoutBox Box;
    bool operator==(const TDesignObject&) const = default;
};

struct TObjectPlace {
    int Band = kBandBody;
    int Index = 0; // position in the band's Z-order, back to front
};

class TPageModel {
public:
    // Each band's objects, back to front.
    std::array<std::vector<TDesignObject>, kBandCount> Bands;
    // Each band's width and height in millimetres. The header and footer heights are
    // the layout's and change with the split bars.
    std::array<double, kBandCount> BandWidth{0, 0, 0};
    std::array<double, kBandCount> BandHeight{25.0, 0, 25.0};
    bool Headers = false, Footers = false;
    // The height of the page the bands share (a label's for a label sheet), and whether
    // the body is one label, which the header and footer leave alone.
    double SheetHeight = 0;
    bool LabelBody = false;

    // The bands of a layout on its paper, oriented as the print run orients the page
    // (an envelope after its paper, other papers after the layout): a label sheet's body
    // is one label; any other body is the page less the header and footer shown. The
    // header and footer are as wide as the body.
    void SetBands(const TLayout& layout, const TPaper& paper);
    // The body of a page after its header or footer changed or was switched on or off:
    // the sheet less the bands shown, never negative. A label keeps its size.
    void UpdateBody();
    // The header and footer heights back into the layout, as saving does.
    void StoreBands(TLayout& layout) const;

    // The page of these objects, numbered from 1 in file order (header, body, footer).
    void Load(const TLayoutObjects& objects);
    // The objects in band and Z-order, for the object file.
    TLayoutObjects Objects() const;

    // A new object added in front of its band; its identity.
    int Add(int band, const TLayoutBox& box);
    // Adds the object under the identity it had (undo of a deletion) at `index`,
    // cut to the band's count.
    void Insert(int band, int index, TDesignObject object);
    bool Remove(int id);

    std::optional<TObjectPlace> Find(int id) const;
    const TLayoutBox* Box(int id) const;
    TLayoutBox* Box(int id);

    // A band's size, and an object's rectangle, on the screen.
    TPixelSize BandPixels(int band, const TScreenScale& scale) const;
    std::optional<TPixelRect> Pixels(int id, const TScreenScale& scale) const;
    // Stores a screen rectangle back in millimetres.
    void SetPixels(int id, const TPixelRect& r, const TScreenScale& scale);

    // The front-most object of a band under a point; 0 when there is none.
    int ObjectAt(int band, TPixelPoint p, const TScreenScale& scale) const;

    bool operator==(const TPageModel&) const = default;

private:
    int NextId = 1;
};

} // namespace tessaly
