#include "core/designer/selection.h"

#include "core/designer/edit_rules.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {

bool TSelectionSets::Contains(int id) const {
    const auto& s = Selected();
    return std::find(s.begin(), s.end(), id) != s.end();
}

void TSelectionSets::Click(int band, int id, bool shift) {
    if (band != Active) {
        Clear();
        Active = band;
    }
    auto& set = Sets[Active];
    if (!shift)
        set.clear();
    if (std::find(set.begin(), set.end(), id) == set.end())
        set.push_back(id);
    Changed[Active] = true;
}

void TSelectionSets::ClickBand(int band) {
    Clear();
    Active = band;
}

void TSelectionSets::Clear() {
    for (auto& s : Sets)
        s.clear();
}

void TSelectionSets::Prune(const TPageModel& page) {
    for (int b = 0; b < kBandCount; ++b)
        std::erase_if(Sets[b], [&](int id) {
            const auto place = page.Find(id);
            return !place || place->Band != b;
        });
}

std::string ObjectDescription(const TLayoutBox& box) {
    switch (box.Behaviour()) {
    case kBoxStaticText:
        return "Static Text";
    case kBoxGraphic:
        return "Graphic Image";
    case kBoxVerticalLine:
        return "Vertical Line";
    case kBoxHorizontalLine:
        return "Horizontal Line";
    case kBoxRectangle:
        return "Rectangle";
    case kBoxDatePrinted:
        return "Date Printed";
    case kBoxTimePrinted:
        return "Time Printed";
    case kBoxCreated:
        return "Record Created";
    case kBoxUpdated:
        return "Record Updated";
    case kBoxLastCalled:
        return "Record Last Called";
    case kBoxReturnAddress:
        return "Return Mail Address";
    case kBoxPageNumber:
        return "Page Number";
    default: // data, address, date and time fields
        return box.Items.Count() == 1 ? box.Items.At(0)->Caption.str() : "Merged Data";
    }
}

std::string StatusLineText(const TPageModel& page, const TSelectionSets& sets,
                           const TScreenScale& scale, int unit) {
    const auto& ids = sets.Selected();
    std::vector<TPixelRect> rects;
    for (int id : ids)
        if (const auto r = page.Pixels(id, scale))
            rects.push_back(*r);
    if (rects.empty())
        return "No Objects Selected";
    std::string what;
    if (rects.size() == 1) {
        what = ObjectDescription(*page.Box(ids.front())) + " Object";
    } else {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%d Objects Selected", static_cast<int>(rects.size()));
        what = buf;
    }
    const TPixelRect frame = SelectionFrame(rects);
    const int w = frame.Width - 5, h = frame.Height - 5;
    char size[96];
    if (unit == kUnitInches)
        std::snprintf(size, sizeof size, "%f Inches x %f Inches", w / scale.DpiX, h / scale.DpiY);
    else
        std::snprintf(size, sizeof size, "%.0f mm x %.0f mm", scale.ToMillimetresX(w),
                      scale.ToMillimetresY(h));
    std::string out = what + "  (" + size + ")  [";
    out += std::to_string(frame.Width) + " x " + std::to_string(frame.Height) + "]";
    return out;
}

} // namespace tessaly
