#include "core/printing/box_items.h"

#include <algorithm>

namespace tessaly {

namespace {

TPlanFont FontOf(const TLayoutBox& b) {
    return TPlanFont{b.FontName, b.FontSize, b.FontStyle, b.FontColour};
}

TPlanPen PenOf(const TLayoutBox& b) {
    return TPlanPen{b.PenColour, b.PenStyle, std::max(0, b.PenWidth) * kPenMmPerPixel};
}

TPlanBrush BrushOf(const TLayoutBox& b) {
    return TPlanBrush{b.BrushColour, b.BrushStyle};
}

} // namespace

void AppendBoxItems(const TLayoutBox& box, double left, double top, const std::string& text,
                    std::vector<TPlanItem>& items) {
    TPlanItem item;
    item.Left = left;
    item.Top = top;
    item.Width = box.Width;
    item.Height = box.Height;
    switch (box.Behaviour()) {
    case kBoxVerticalLine:
        item.Kind = TPlanItemKind::Line;
        item.Width = 0;
        item.Pen = PenOf(box);
        items.push_back(std::move(item));
        return;
    case kBoxHorizontalLine:
        item.Kind = TPlanItemKind::Line;
        item.Height = 0;
        item.Pen = PenOf(box);
        items.push_back(std::move(item));
        return;
    case kBoxRectangle:
        item.Kind = TPlanItemKind::Rectangle;
        item.Pen = PenOf(box);
        item.Brush = BrushOf(box);
        items.push_back(std::move(item));
        return;
    case kBoxGraphic:
        if (box.Format.empty())
            return;
        item.Kind = TPlanItemKind::Picture;
        item.Picture = box.Format.str();
        items.push_back(std::move(item));
        return;
    default:
        break;
    }
    if (box.PenWidth != 0) {
        TPlanItem frame = item;
        frame.Kind = TPlanItemKind::Rectangle;
        frame.Pen = PenOf(box);
        frame.Brush = BrushOf(box);
        items.push_back(std::move(frame));
    }
    if (text.empty())
        return;
    item.Kind = TPlanItemKind::Text;
    item.Text = text;
    item.Align = box.Alignment;
    item.Font = FontOf(box);
    items.push_back(std::move(item));
}

} // namespace tessaly
