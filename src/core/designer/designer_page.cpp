#include "core/designer/designer_page.h"

namespace tessaly {

std::optional<TDesignCommand> TDesignerPage::Click(int band, TPixelPoint p, bool shift,
                                                   const std::vector<TLayoutRecord>& shownPalette,
                                                   TPixelSize newSize) {
    if (Palette.DropMode()) {
        TPlacement placement;
        placement.Source = Source;
        placement.TextAlignment = TextAlignment;
        placement.At = p;
        placement.Size = newSize;
        placement.Band = Page.BandPixels(band, Scale);
        TLayoutBox box;
        const bool made = PlaceObject(Palette.Pressed(shownPalette), placement, Scale, box);
        Palette.ReleaseAll();
        if (!made)
            return std::nullopt;
        int id = 0;
        TDesignCommand c = PlaceEdit(Page, band, box, id);
        Modified = true;
        return c;
    }
    if (const int id = Page.ObjectAt(band, p, Scale))
        Sets.Click(band, id, shift);
    else
        Sets.ClickBand(band);
    return std::nullopt;
}

void TDesignerPage::Edited() {
    Sets.Prune(Page);
    Sets.MarkChanged();
    Modified = true;
}

void TDesignerPage::Undo(const TDesignCommand& c) {
    c.Undo(Page);
    Edited();
}

void TDesignerPage::Redo(const TDesignCommand& c) {
    c.Redo(Page);
    Edited();
}

std::optional<TDesignCommand> TDesignerPage::Nudge(int dx, int dy) {
    if (Sets.Locked || Sets.Selected().empty())
        return std::nullopt;
    TDesignCommand c = NudgeEdit(Page, Sets.Selected(), dx, dy, Scale);
    if (!c.Changes())
        return std::nullopt;
    Edited();
    return c;
}

std::optional<TDragEdit> TDesignerPage::BeginDrag(THandle handle, int dragId) const {
    if (Sets.Locked || Sets.Selected().empty())
        return std::nullopt;
    return TDragEdit(Page, Sets.Selected(), handle, Scale, dragId);
}

TDesignCommand TDesignerPage::AlignText(int alignment) {
    TextAlignment = alignment;
    TDesignCommand c = TextAlignEdit(Page, Sets.Selected(), alignment);
    if (c.Changes())
        Edited();
    return c;
}

void TDesignerPage::Saved() {
    Modified = false;
    Sets.ClearChanged();
}

} // namespace tessaly
