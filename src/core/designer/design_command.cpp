#include "core/designer/design_command.h"

#include <algorithm>

namespace tessaly {

std::string EditCaption(TEditKind kind) {
    switch (kind) {
    case TEditKind::Place:
        return "Place Object";
    case TEditKind::Delete:
        return "Delete Objects";
    case TEditKind::Move:
    case TEditKind::Nudge:
        return "Move Objects";
    case TEditKind::Resize:
        return "Resize Object";
    case TEditKind::Align:
        return "Align Objects";
    case TEditKind::Size:
        return "Size Objects";
    case TEditKind::Order:
        return "Change Order";
    case TEditKind::TextAlign:
        return "Align Text";
    case TEditKind::Font:
        return "Change Text Font";
    case TEditKind::Properties:
        return "Change Properties";
    case TEditKind::BandHeight:
        return "Resize Band";
    case TEditKind::Bands:
        return "Enable Band";
    }
    return {};
}

TPageState CaptureState(const TPageModel& page, const std::vector<int>& ids) {
    TPageState s;
    s.HeaderHeight = page.BandHeight[kBandHeader];
    s.FooterHeight = page.BandHeight[kBandFooter];
    s.Headers = page.Headers;
    s.Footers = page.Footers;
    for (int id : ids) {
        TObjectState o;
        o.Id = id;
        if (const auto place = page.Find(id)) {
            o.Band = place->Band;
            o.Index = place->Index;
            o.Box = page.Bands[place->Band][place->Index].Box;
        }
        s.Objects.push_back(std::move(o));
    }
    return s;
}

void RestoreState(TPageModel& page, const TPageState& state) {
    page.BandHeight[kBandHeader] = state.HeaderHeight;
    page.BandHeight[kBandFooter] = state.FooterHeight;
    page.Headers = state.Headers;
    page.Footers = state.Footers;
    page.UpdateBody();
    for (const TObjectState& o : state.Objects)
        page.Remove(o.Id);
    std::vector<const TObjectState*> present;
    for (const TObjectState& o : state.Objects)
        if (o.Box)
            present.push_back(&o);
    // Lower positions first, so that each lands where it stood.
    std::sort(present.begin(), present.end(), [](auto* a, auto* b) {
        return a->Band != b->Band ? a->Band < b->Band : a->Index < b->Index;
    });
    for (const TObjectState* o : present)
        page.Insert(o->Band, o->Index, {o->Id, *o->Box});
}

bool TDesignCommand::MergeWith(const TDesignCommand& next) {
    if (DragId == 0 || next.DragId != DragId || next.Kind != Kind)
        return false;
    if (next.Before.Objects.size() != After.Objects.size())
        return false;
    for (std::size_t i = 0; i < After.Objects.size(); ++i)
        if (next.Before.Objects[i].Id != After.Objects[i].Id)
            return false;
    After = next.After;
    return true;
}

} // namespace tessaly
