#include "core/designer/designer_text.h"

#include "core/printing/box_items.h"

namespace tessaly {

namespace {

std::string Cut(std::string s) {
    if (s.size() > kDesignerTextMax)
        s.resize(kDesignerTextMax);
    return s;
}

// Line breaks as the page picture draws them: CR LF and lone CRs become line feeds.
std::string LineFeeds(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

std::string DesignerText(const TLayoutBox& box, TDateTime now, const std::string& returnAddress,
                         const TFormatSettings& fs) {
    const int kind = box.Behaviour();
    switch (kind) {
    case kBoxGraphic:
    case kBoxVerticalLine:
    case kBoxHorizontalLine:
    case kBoxRectangle:
        return {};
    case kBoxReturnAddress:
        return Cut(LineFeeds(returnAddress));
    case kBoxPageNumber:
        return "{##W}";
    case kBoxStaticText:
        return box.Items.Count() ? Cut(box.Items.At(0)->Caption.str()) : std::string();
    default:
        break;
    }
    if (BoxHasFormat(kind)) {
        const std::string pattern = box.Format.empty() ? DefaultBoxFormat(kind) : box.Format.str();
        return "{" + FormatDateTime(pattern, now, fs) + "}";
    }
    if (box.Items.Count() == 0)
        return {};
    const TFields* first = box.Items.At(0);
    if (first->Kind == kBoxStaticText)
        return Cut(first->Caption.str());
    const char separator = first->SingleLine ? ' ' : '\n';
    std::string out;
    for (int i = 0; i < box.Items.Count() && out.size() < kDesignerTextMax; ++i) {
        if (i > 0)
            out += separator;
        out += "{" + box.Items.At(i)->Caption.str() + "}";
    }
    return Cut(std::move(out));
}

std::vector<TPlanItem> DesignerItems(const TLayoutBox& box, const std::string& text) {
    std::vector<TPlanItem> items;
    AppendBoxItems(box, box.Left, box.Top, text, items);
    return items;
}

} // namespace tessaly
