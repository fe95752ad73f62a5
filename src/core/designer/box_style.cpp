#include "core/designer/box_style.h"

#include "core/common/fill_text.h"
#include "core/printing/layout_objects.h"

namespace tessaly {

const std::vector<std::string>& PenStyleCaptions() {
    static const std::vector<std::string> c = {"Solid", "Dashes", "Dots", "Dash-Dot",
                                               "Dash-Dot-Dot"};
    return c;
}

const std::vector<std::string>& BrushStyleCaptions() {
    static const std::vector<std::string> c = {"Solid",         "Clear",   "Diagonal Up",
                                               "Diagonal Down", "Cross",   "Diagonal Cross",
                                               "Horizontal",    "Vertical"};
    return c;
}

const std::array<TBasicColour, 16>& BasicColours() {
    static const std::array<TBasicColour, 16> c = {{
        {"Black", 0x000000},
        {"Maroon", 0x000080},
        {"Green", 0x008000},
        {"Olive", 0x008080},
        {"Navy", 0x800000},
        {"Purple", 0x800080},
        {"Teal", 0x808000},
        {"Gray", 0x808080},
        {"Silver", 0xC0C0C0},
        {"Red", 0x0000FF},
        {"Lime", 0x00FF00},
        {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},
        {"Fuchsia", 0xFF00FF},
        {"Aqua", 0xFFFF00},
        {"White", 0xFFFFFF},
    }};
    return c;
}

int BasicColourIndex(std::uint32_t colour) {
    const auto& c = BasicColours();
    for (std::size_t i = 0; i < c.size(); ++i)
        if (c[i].Value == colour)
            return static_cast<int>(i);
    return -1;
}

std::string BoxEditorName(int kind) {
    switch (BoxBehaviour(kind)) {
    case kBoxVerticalLine:
    case kBoxHorizontalLine:
        return "Line";
    case kBoxRectangle:
        return "Rectangle";
    case kBoxGraphic:
        return "Graphic Image";
    case kBoxStaticText:
        return "Static Text";
    case kBoxReturnAddress:
        return "Return Address";
    case kBoxDate:
    case kBoxDatePrinted:
    case kBoxTime:
    case kBoxTimePrinted:
    case kBoxCreated:
    case kBoxUpdated:
    case kBoxLastCalled:
    case kBoxPageNumber:
        return "Date / Time";
    default:
        return "Data Object";
    }
}

std::string BoxEditorTitle(int kind) {
    return FillText("%s Property Editor", {BoxEditorName(kind)});
}

} // namespace tessaly
