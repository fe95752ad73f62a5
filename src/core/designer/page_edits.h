#pragma once
// The designer's edits of the page, each made as one command: applied to the page
// when made and handed back for the undo stack. `ids` are the active selection set,
// in selection order, all of one band.

#include "core/designer/design_command.h"
#include "core/designer/edit_rules.h"

#include <string>
#include <vector>

namespace tessaly {

TDesignCommand PlaceEdit(TPageModel& page, int band, const TLayoutBox& box, int& newId);
TDesignCommand DeleteEdit(TPageModel& page, const std::vector<int>& ids);
// An arrow key: one pixel, not snapped.
TDesignCommand NudgeEdit(TPageModel& page, const std::vector<int>& ids, int dx, int dy,
                         const TScreenScale& scale);
TDesignCommand AlignEdit(TPageModel& page, const std::vector<int>& ids, TAlignEdge edge,
                         const TScreenScale& scale);
TDesignCommand SizeEdit(TPageModel& page, const std::vector<int>& ids, TSizeRule width,
                        TSizeRule height, const TScreenScale& scale);
// The selected objects go in front of (or behind) the rest of their band, keeping
// their order among themselves.
TDesignCommand OrderEdit(TPageModel& page, const std::vector<int>& ids, bool toFront);
TDesignCommand TextAlignEdit(TPageModel& page, const std::vector<int>& ids, int alignment);

// The font of the objects that carry text.
struct TFontChoice {
    std::string Name = "Arial";
    int Size = 8;
    int Style = 0;
    std::uint32_t Colour = 0;
};
// Whether a box of this kind shows text (all but pictures, lines and rectangles).
bool CarriesText(const TLayoutBox& box);
TDesignCommand FontEdit(TPageModel& page, const std::vector<int>& ids, const TFontChoice& font);
// A property editor's OK: the object becomes `box`, its place kept.
TDesignCommand PropertiesEdit(TPageModel& page, int id, TLayoutBox box);
// A split bar released at `wanted` pixels (header or footer band).
TDesignCommand BandHeightEdit(TPageModel& page, int band, int wanted, int rulerLength,
                              const TScreenScale& scale);
// The header or footer band enabled or disabled; its objects and height are kept.
TDesignCommand BandsEdit(TPageModel& page, int band, bool on);

// A mouse drag of the selection frame, or of a single object's grab square: every step
// is computed from where the drag began, and the steps merge into one command.
class TDragEdit {
public:
    TDragEdit(const TPageModel& page, std::vector<int> ids, THandle handle,
              const TScreenScale& scale, int dragId);
    // The step for the pointer `dx`, `dy` pixels from where it was pressed.
    TDesignCommand Step(TPageModel& page, int dx, int dy, const TGrid& grid) const;

private:
    std::vector<int> Ids;
    THandle Handle;
    TScreenScale Scale;
    int DragId;
    int Band = kBandBody;
    std::vector<TPixelRect> Start;
    TPageState Before;
};

} // namespace tessaly
