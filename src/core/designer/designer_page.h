#pragma once
// The state the designer window stands on: the page, the selection sets, the pressed
// palette buttons, the layout's modified flag and the settings new objects take. A
// click on a band either drops the pressed palette items there or selects.

#include "core/designer/page_edits.h"
#include "core/designer/placing.h"
#include "core/designer/selection.h"

#include <optional>
#include <vector>

namespace tessaly {

class TDesignerPage {
public:
    TPageModel Page;
    TSelectionSets Sets;
    TPaletteState Palette;
    TScreenScale Scale;
    TGrid Grid;
    int Source = 1;
    int TextAlignment = 0;
    bool Modified = false;

    // A left click at `p` in `band`. In drop mode one object is made there from the
    // pressed items of `shownPalette` (sized `newSize`), the buttons are released and
    // the layout is modified: the command is handed back. Otherwise the object under
    // the pointer is selected (added with Shift) or, on free space, the band becomes
    // the active one with nothing selected.
    std::optional<TDesignCommand> Click(int band, TPixelPoint p, bool shift,
                                        const std::vector<TLayoutRecord>& shownPalette,
                                        TPixelSize newSize);
    // An edit made, undone or redone: the selection loses what the page no longer
    // holds, the set raises its change flag and the layout is modified.
    void Edited();
    void Undo(const TDesignCommand& c);
    void Redo(const TDesignCommand& c);

    // An arrow key: the selection one pixel in the key's direction. Nothing when the
    // selection is empty or locked or nothing moved.
    std::optional<TDesignCommand> Nudge(int dx, int dy);
    // The start of a drag of the selection frame (`handle` None) or of a grab square;
    // nothing when the selection is empty or locked.
    std::optional<TDragEdit> BeginDrag(THandle handle, int dragId) const;

    // The text alignment command: remembered for new objects and applied to the
    // selected ones (the layout is modified only when one of them changed).
    TDesignCommand AlignText(int alignment);

    // Whether closing or replacing the layout asks the save question.
    bool AsksToSave() const { return LayoutModified(Modified, Sets); }
    // After a save: no flag raised.
    void Saved();
};

} // namespace tessaly
