#pragma once
// The designer's selection: one set per band, only one of them active. A set raises
// its change flag when objects are attached to it, moved, resized, aligned or
// re-ordered, and the layout then counts as modified even when nothing moved.

#include "core/designer/page_model.h"
#include "core/printing/paper.h"

#include <array>
#include <string>
#include <vector>

namespace tessaly {

class TSelectionSets {
public:
    // The selected objects of each band, in the order they were selected.
    std::array<std::vector<int>, kBandCount> Sets;
    std::array<bool, kBandCount> Changed{false, false, false};
    int Active = kBandBody;
    // A locked set's objects cannot be moved or resized.
    bool Locked = false;

    const std::vector<int>& Selected() const { return Sets[Active]; }
    bool Contains(int id) const;

    // A click on an object of `band`: without Shift it replaces the selection, with
    // Shift it is added. A band other than the active one empties the other sets.
    void Click(int band, int id, bool shift);
    // A click on a band's free space: that band becomes active with nothing selected.
    void ClickBand(int band);
    // Empties every set (the change flags stay).
    void Clear();
    // Drops objects the page no longer holds.
    void Prune(const TPageModel& page);

    void MarkChanged() { Changed[Active] = true; }
    bool AnyChanged() const { return Changed[0] || Changed[1] || Changed[2]; }
    void ClearChanged() { Changed = {false, false, false}; }
};

// Whether the layout must be saved before it is closed or replaced.
inline bool LayoutModified(bool modifiedFlag, const TSelectionSets& sets) {
    return modifiedFlag || sets.AnyChanged();
}

// The name the status line gives one object: "Static Text", a data object's single
// item caption or "Merged Data", the palette caption of the other kinds.
std::string ObjectDescription(const TLayoutBox& box);
// The status line: "No Objects Selected", or the description ("... Object" or
// "%d Objects Selected"), the frame's size less 5 pixels in the unit and the frame's
// size in pixels, as "%s  (%s)  [%d x %d]". The unit is the designer's
// (kUnitInches or kUnitMillimetres).
std::string StatusLineText(const TPageModel& page, const TSelectionSets& sets,
                           const TScreenScale& scale, int unit);

} // namespace tessaly
