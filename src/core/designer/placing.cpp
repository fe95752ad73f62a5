#include "core/designer/placing.h"

#include <algorithm>
#include <memory>

namespace tessaly {

std::vector<TLayoutRecord> ObjectPalette(int source) {
    std::vector<TLayoutRecord> out{{0, kBoxGraphic, "Graphic Image"},
                                   {1, kBoxVerticalLine, "Vertical Line"},
                                   {2, kBoxHorizontalLine, "Horizontal Line"},
                                   {3, kBoxRectangle, "Rectangle"},
                                   {4, kBoxStaticText, "Text"},
                                   {5, kBoxDatePrinted, "Date Printed"},
                                   {6, kBoxTimePrinted, "Time Printed"},
                                   {7, kBoxPageNumber, "Page Number"}};
    if (source == kSourceEntries) {
        out.push_back({8, kBoxCreated, "Record Created"});
        out.push_back({9, kBoxUpdated, "Record Updated"});
        out.push_back({10, kBoxLastCalled, "Record Last Called"});
        out.push_back({11, kBoxReturnAddress, "Return Mail Address"});
    }
    return out;
}

namespace {

// Data fields and static text carry their caption as a data item.
bool CarriesItem(int kind) {
    return kind == kBoxData || kind == kBoxAddress || kind == kBoxStaticText || kind == kBoxDate ||
           kind == kBoxTime;
}

} // namespace

bool PlaceObject(const std::vector<TLayoutRecord>& pressed, const TPlacement& p,
                 const TScreenScale& scale, TLayoutBox& out) {
    if (pressed.empty())
        return false;
    out = TLayoutBox{};
    out.Kind = pressed.front().Kind;
    out.Source = p.Source;
    out.Alignment = p.TextAlignment;
    for (std::size_t i = 0; i < pressed.size(); ++i) {
        const TLayoutRecord& item = pressed[i];
        if (i > 0 || CarriesItem(item.Kind)) {
            auto f = std::make_unique<TFields>();
            f->Caption = Text(item.Caption);
            f->FieldNumber = item.Position;
            f->Kind = item.Kind;
            out.Items.Add(std::move(f));
        }
    }
    if (pressed.size() > 1) {
        out.Kind = kBoxData;
        out.FontName = "Arial";
        out.FontSize = 8;
        out.FontStyle = 0;
    }
    if (BoxHasFormat(out.Kind))
        out.Format = Text(DefaultBoxFormat(out.Kind));
    const TPixelRect r = FitToBand({p.At.X, p.At.Y, p.Size.Width, p.Size.Height}, p.Band);
    out.Left = scale.ToMillimetresX(r.X);
    out.Top = scale.ToMillimetresY(r.Y);
    out.Width = scale.ToMillimetresX(r.Width);
    out.Height = scale.ToMillimetresY(r.Height);
    return true;
}

std::string PlacedSizingText(int kind, TDateTime now, const TFormatSettings& fs) {
    if (kind == kBoxPageNumber)
        return "{##W}";
    if (kind == kBoxGraphic || !BoxHasFormat(kind))
        return {};
    return "{" + FormatDateTime(DefaultBoxFormat(kind), now, fs) + "}";
}

} // namespace tessaly

namespace tessaly {

void TPaletteState::Toggle(bool objectPalette, int position) {
    if (objectPalette != Objects) {
        Positions.clear();
        Objects = objectPalette;
    }
    const auto it = std::find(Positions.begin(), Positions.end(), position);
    if (it != Positions.end())
        Positions.erase(it);
    else
        Positions.push_back(position);
}

bool TPaletteState::IsPressed(bool objectPalette, int position) const {
    return objectPalette == Objects &&
           std::find(Positions.begin(), Positions.end(), position) != Positions.end();
}

std::vector<TLayoutRecord> TPaletteState::Pressed(const std::vector<TLayoutRecord>& palette) const {
    std::vector<TLayoutRecord> out;
    for (const TLayoutRecord& item : palette)
        if (std::find(Positions.begin(), Positions.end(), item.Position) != Positions.end())
            out.push_back(item);
    return out;
}

} // namespace tessaly
