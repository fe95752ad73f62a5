#include "core/designer/page_model.h"

#include <algorithm>

namespace tessaly {

void TPageModel::SetBands(const TLayout& layout, const TPaper& paper) {
    const bool landscape = !(paper.Type == kPaperEnvelope ? paper.Portrait : layout.Portrait);
    double w = paper.WidthMm(), h = paper.HeightMm();
    if (paper.Type == kPaperLabel) {
        w = paper.LabelWidthMm();
        h = paper.LabelHeightMm();
    }
    if (landscape)
        std::swap(w, h);
    Headers = layout.Headers;
    Footers = layout.Footers;
    BandHeight[kBandHeader] = layout.HeaderHeight;
    BandHeight[kBandFooter] = layout.FooterHeight;
    SheetHeight = h;
    LabelBody = paper.Type == kPaperLabel;
    BandHeight[kBandBody] = h;
    UpdateBody();
    BandWidth = {w, w, w};
}

void TPageModel::UpdateBody() {
    // A page whose sheet was never set keeps the bands it was given.
    if (LabelBody || SheetHeight <= 0)
        return;
    double h = SheetHeight;
    if (Headers)
        h -= BandHeight[kBandHeader];
    if (Footers)
        h -= BandHeight[kBandFooter];
    BandHeight[kBandBody] = std::max(h, 0.0);
}

void TPageModel::StoreBands(TLayout& layout) const {
    layout.HeaderHeight = BandHeight[kBandHeader];
    layout.FooterHeight = BandHeight[kBandFooter];
}

void TPageModel::Load(const TLayoutObjects& objects) {
    NextId = 1;
    const TBand* sources[kBandCount] = {&objects.Header, &objects.Body, &objects.Footer};
    for (int b = 0; b < kBandCount; ++b) {
        Bands[b].clear();
        for (const TLayoutBox& box : *sources[b])
            Bands[b].push_back({NextId++, box});
    }
}

TLayoutObjects TPageModel::Objects() const {
    TLayoutObjects out;
    TBand* targets[kBandCount] = {&out.Header, &out.Body, &out.Footer};
    for (int b = 0; b < kBandCount; ++b)
        for (const TDesignObject& o : Bands[b])
            targets[b]->push_back(o.Box);
    return out;
}

int TPageModel::Add(int band, const TLayoutBox& box) {
    const int id = NextId++;
    Bands[band].push_back({id, box});
    return id;
}

void TPageModel::Insert(int band, int index, TDesignObject object) {
    auto& objects = Bands[band];
    index = std::clamp(index, 0, static_cast<int>(objects.size()));
    NextId = std::max(NextId, object.Id + 1);
    objects.insert(objects.begin() + index, std::move(object));
}

bool TPageModel::Remove(int id) {
    const auto place = Find(id);
    if (!place)
        return false;
    auto& objects = Bands[place->Band];
    objects.erase(objects.begin() + place->Index);
    return true;
}

std::optional<TObjectPlace> TPageModel::Find(int id) const {
    for (int b = 0; b < kBandCount; ++b)
        for (std::size_t i = 0; i < Bands[b].size(); ++i)
            if (Bands[b][i].Id == id)
                return TObjectPlace{b, static_cast<int>(i)};
    return std::nullopt;
}

const TLayoutBox* TPageModel::Box(int id) const {
    const auto place = Find(id);
    return place ? &Bands[place->Band][place->Index].Box : nullptr;
}

TLayoutBox* TPageModel::Box(int id) {
    const auto place = Find(id);
    return place ? &Bands[place->Band][place->Index].Box : nullptr;
}

TPixelSize TPageModel::BandPixels(int band, const TScreenScale& scale) const {
    return {scale.ToPixelsX(BandWidth[band]), scale.ToPixelsY(BandHeight[band])};
}

std::optional<TPixelRect> TPageModel::Pixels(int id, const TScreenScale& scale) const {
    const TLayoutBox* box = Box(id);
    if (!box)
        return std::nullopt;
    return TPixelRect{scale.ToPixelsX(box->Left), scale.ToPixelsY(box->Top),
                      scale.ToPixelsX(box->Width), scale.ToPixelsY(box->Height)};
}

void TPageModel::SetPixels(int id, const TPixelRect& r, const TScreenScale& scale) {
    TLayoutBox* box = Box(id);
    if (!box)
        return;
    box->Left = scale.ToMillimetresX(r.X);
    box->Top = scale.ToMillimetresY(r.Y);
    box->Width = scale.ToMillimetresX(r.Width);
    box->Height = scale.ToMillimetresY(r.Height);
}

int TPageModel::ObjectAt(int band, TPixelPoint p, const TScreenScale& scale) const {
    const auto& objects = Bands[band];
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        if (Pixels(it->Id, scale)->Contains(p))
            return it->Id;
    return 0;
}

} // namespace tessaly
