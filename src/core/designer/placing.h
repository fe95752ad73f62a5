#pragma once
// Placing objects from the palettes: the object palette of a data source, the drop of
// the pressed palette buttons (one object for the first, every further one merged
// into it as another data item) and the text a new date, time or page number object
// is sized to.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/designer/design_geometry.h"
#include "core/printing/catalogue_rules.h"

#include <string>
#include <vector>

namespace tessaly {

// "Graphic Image", "Vertical Line", "Horizontal Line", "Rectangle", "Text",
// "Date Printed", "Time Printed", "Page Number"; entry layouts add "Record Created",
// "Record Updated", "Record Last Called" and "Return Mail Address".
std::vector<TLayoutRecord> ObjectPalette(int source);

// What a new object is made with besides the pressed items.
struct TPlacement {
    int Source = 1;        // the layout's data source
    int TextAlignment = 0; // the remembered alignment for new objects
    TPixelPoint At;        // the click, in band pixels
    TPixelSize Size;       // the new object's size on the screen
    TPixelSize Band;       // the band clicked on
};

// The object made by a drop of `pressed` (the pressed buttons in palette order): the
// first item's kind; data fields become data items in that order; several items are a
// merged data object in "Arial" 8 points. The rectangle fits the band. False when
// nothing was pressed.
bool PlaceObject(const std::vector<TLayoutRecord>& pressed, const TPlacement& p,
                 const TScreenScale& scale, TLayoutBox& out);

// The text whose width a new object of this kind takes: the current moment in the
// kind's default pattern in braces, "{##W}" for the page number; empty for the
// others (they take the designer's default size).
std::string PlacedSizingText(int kind, TDateTime now,
                             const TFormatSettings& fs = DefaultFormatSettings());

} // namespace tessaly

namespace tessaly {

// The pressed palette buttons. While any is down the designer is in drop mode.
class TPaletteState {
public:
    // A button of the shown palette toggled; pressing a button of the other palette
    // releases the buttons of the first.
    void Toggle(bool objectPalette, int position);
    bool IsPressed(bool objectPalette, int position) const;
    bool DropMode() const { return !Positions.empty(); }
    // The cancel-drop command, and what follows every drop.
    void ReleaseAll() { Positions.clear(); }
    // The pressed items of `palette` in palette order.
    std::vector<TLayoutRecord> Pressed(const std::vector<TLayoutRecord>& palette) const;
    bool ObjectPalette() const { return Objects; }

private:
    bool Objects = false;
    std::vector<int> Positions;
};

} // namespace tessaly
