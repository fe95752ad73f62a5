#include "core/designer/page_edits.h"

#include <algorithm>

namespace tessaly {

namespace {

// Runs `edit` on the page and records the states of `ids` around it.
template <class Edit>
TDesignCommand Record(TPageModel& page, TEditKind kind, const std::vector<int>& ids, Edit edit) {
    TDesignCommand c;
    c.Kind = kind;
    c.Before = CaptureState(page, ids);
    edit();
    c.After = CaptureState(page, ids);
    return c;
}

// The rectangles of the objects, and the band of the first.
std::vector<TPixelRect> RectsOf(const TPageModel& page, const std::vector<int>& ids,
                                const TScreenScale& scale, int& band) {
    std::vector<TPixelRect> out;
    band = kBandBody;
    for (int id : ids)
        if (const auto r = page.Pixels(id, scale)) {
            if (out.empty())
                band = page.Find(id)->Band;
            out.push_back(*r);
        }
    return out;
}

// The ids that exist, in order.
std::vector<int> Existing(const TPageModel& page, const std::vector<int>& ids) {
    std::vector<int> out;
    for (int id : ids)
        if (page.Find(id))
            out.push_back(id);
    return out;
}

// A rule on the selection's rectangles, stored back.
template <class Rule>
TDesignCommand GeometryEdit(TPageModel& page, TEditKind kind, const std::vector<int>& given,
                            const TScreenScale& scale, Rule rule) {
    const std::vector<int> ids = Existing(page, given);
    return Record(page, kind, ids, [&] {
        int band;
        const auto rects = RectsOf(page, ids, scale, band);
        const auto moved = rule(rects, page.BandPixels(band, scale));
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (moved[i] != rects[i])
                page.SetPixels(ids[i], moved[i], scale);
    });
}

} // namespace

TDesignCommand PlaceEdit(TPageModel& page, int band, const TLayoutBox& box, int& newId) {
    TDesignCommand c;
    c.Kind = TEditKind::Place;
    newId = page.Add(band, box);
    c.Before = CaptureState(page, {});
    c.Before.Objects.push_back({newId, band, 0, std::nullopt});
    c.After = CaptureState(page, {newId});
    return c;
}

TDesignCommand DeleteEdit(TPageModel& page, const std::vector<int>& ids) {
    return Record(page, TEditKind::Delete, Existing(page, ids), [&] {
        for (int id : ids)
            page.Remove(id);
    });
}

TDesignCommand NudgeEdit(TPageModel& page, const std::vector<int>& ids, int dx, int dy,
                         const TScreenScale& scale) {
    return GeometryEdit(
        page, TEditKind::Nudge, ids, scale,
        [&](const auto& rects, TPixelSize band) { return NudgeRects(rects, dx, dy, band); });
}

TDesignCommand AlignEdit(TPageModel& page, const std::vector<int>& ids, TAlignEdge edge,
                         const TScreenScale& scale) {
    return GeometryEdit(
        page, TEditKind::Align, ids, scale,
        [&](const auto& rects, TPixelSize band) { return AlignRects(rects, edge, band); });
}

TDesignCommand SizeEdit(TPageModel& page, const std::vector<int>& ids, TSizeRule width,
                        TSizeRule height, const TScreenScale& scale) {
    return GeometryEdit(page, TEditKind::Size, ids, scale, [&](const auto& rects, TPixelSize band) {
        return SizeRects(rects, width, height, band);
    });
}

TDesignCommand OrderEdit(TPageModel& page, const std::vector<int>& given, bool toFront) {
    const std::vector<int> ids = Existing(page, given);
    if (ids.empty())
        return Record(page, TEditKind::Order, ids, [] {});
    const int band = page.Find(ids.front())->Band;
    // Every object of the band changes its position.
    std::vector<int> all;
    for (const TDesignObject& o : page.Bands[band])
        all.push_back(o.Id);
    return Record(page, TEditKind::Order, all, [&] {
        auto& objects = page.Bands[band];
        const auto selected = [&](const TDesignObject& o) {
            return std::find(ids.begin(), ids.end(), o.Id) != ids.end();
        };
        if (toFront)
            std::stable_partition(objects.begin(), objects.end(),
                                  [&](const TDesignObject& o) { return !selected(o); });
        else
            std::stable_partition(objects.begin(), objects.end(), selected);
    });
}

TDesignCommand TextAlignEdit(TPageModel& page, const std::vector<int>& ids, int alignment) {
    return Record(page, TEditKind::TextAlign, Existing(page, ids), [&] {
        for (int id : ids)
            if (TLayoutBox* b = page.Box(id))
                b->Alignment = alignment;
    });
}

bool CarriesText(const TLayoutBox& box) {
    const int k = box.Behaviour();
    return k != kBoxGraphic && k != kBoxVerticalLine && k != kBoxHorizontalLine &&
           k != kBoxRectangle;
}

TDesignCommand FontEdit(TPageModel& page, const std::vector<int>& given, const TFontChoice& font) {
    std::vector<int> ids;
    for (int id : Existing(page, given))
        if (CarriesText(*page.Box(id)))
            ids.push_back(id);
    return Record(page, TEditKind::Font, ids, [&] {
        for (int id : ids) {
            TLayoutBox* b = page.Box(id);
            b->FontName = font.Name.substr(0, kFontNameMax);
            b->FontSize = font.Size;
            b->FontStyle = font.Style;
            b->FontColour = font.Colour;
        }
    });
}

TDesignCommand PropertiesEdit(TPageModel& page, int id, TLayoutBox box) {
    return Record(page, TEditKind::Properties, Existing(page, {id}), [&] {
        if (TLayoutBox* b = page.Box(id))
            *b = std::move(box);
    });
}

TDesignCommand BandHeightEdit(TPageModel& page, int band, int wanted, int rulerLength,
                              const TScreenScale& scale) {
    return Record(page, TEditKind::BandHeight, {}, [&] {
        if (band == kBandHeader || band == kBandFooter)
            page.BandHeight[band] = scale.ToMillimetresY(SplitBandHeight(wanted, rulerLength));
        page.UpdateBody();
    });
}

TDesignCommand BandsEdit(TPageModel& page, int band, bool on) {
    return Record(page, TEditKind::Bands, {}, [&] {
        if (band == kBandHeader)
            page.Headers = on;
        else if (band == kBandFooter)
            page.Footers = on;
        page.UpdateBody();
    });
}

TDragEdit::TDragEdit(const TPageModel& page, std::vector<int> ids, THandle handle,
                     const TScreenScale& scale, int dragId)
    : Ids(Existing(page, ids)), Handle(handle), Scale(scale), DragId(dragId) {
    Start = RectsOf(page, Ids, scale, Band);
    Before = CaptureState(page, Ids);
    // A grab square resizes a single selected object only.
    if (Handle != THandle::None && Ids.size() != 1)
        Handle = THandle::None;
}

TDesignCommand TDragEdit::Step(TPageModel& page, int dx, int dy, const TGrid& grid) const {
    TDesignCommand c;
    c.Kind = Handle == THandle::None ? TEditKind::Move : TEditKind::Resize;
    c.DragId = DragId;
    c.Before = Before;
    RestoreState(page, Before);
    const TPixelSize band = page.BandPixels(Band, Scale);
    std::vector<TPixelRect> rects;
    if (Handle == THandle::None)
        rects = MoveRects(Start, dx, dy, band, grid);
    else if (!Start.empty())
        rects = {ResizeRect(Start.front(), Handle, dx, dy, band, grid)};
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (rects[i] != Start[i])
            page.SetPixels(Ids[i], rects[i], Scale);
    c.After = CaptureState(page, Ids);
    return c;
}

} // namespace tessaly
