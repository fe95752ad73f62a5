#include "core/printing/catalogue_listing.h"

#include "core/common/upper_case.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {

namespace {

template <class Row> void SortByName(std::vector<Row>& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return CompareNoCase(a.Name, b.Name) < 0; });
}

std::string LengthText(double value, int unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%f", value);
    return std::string(buf) + (unit == kUnitInches ? " in." : " mm");
}

} // namespace

const std::vector<std::string>& PaperFilterCaptions() {
    static const std::vector<std::string> c = {"<All Paper Types>", "Envelope Sizes", "Label Sizes",
                                               "Listing Sizes"};
    return c;
}

std::vector<TPaperRow> PaperRows(const TPaperList& papers, int filter) {
    std::vector<TPaperRow> rows;
    for (const auto& p : papers) {
        if (filter != 0 && p->Type != filter)
            continue;
        const bool label = p->Type == kPaperLabel;
        rows.push_back({p->Number, p->NameText(),
                        LengthText(label ? p->LabelWidth : p->Width, p->Unit),
                        LengthText(label ? p->LabelHeight : p->Height, p->Unit)});
    }
    SortByName(rows);
    return rows;
}

std::vector<const TPaper*> PapersOfType(const TPaperList& papers, int type) {
    std::vector<const TPaper*> out;
    for (const auto& p : papers)
        if (type == 0 || p->Type == type)
            out.push_back(p.get());
    std::stable_sort(out.begin(), out.end(), [](const TPaper* a, const TPaper* b) {
        return CompareNoCase(a->NameText(), b->NameText()) < 0;
    });
    return out;
}

std::vector<std::string> LayoutFilterCaptions() {
    std::vector<std::string> c = {"<All Page Layouts>"};
    for (int source = kSourceEntries; source <= kSourceDiary; ++source)
        c.push_back(DataSourceCaption(source));
    return c;
}

std::vector<TLayoutRow> LayoutRows(const TLayoutList& layouts, const TPaperList& papers,
                                   int filter) {
    std::vector<TLayoutRow> rows;
    for (const auto& l : layouts) {
        if (filter != 0 && l->Source != filter)
            continue;
        rows.push_back({l->Number, l->NameText(), DataSourceCaption(l->Source),
                        papers.NameByNumber(l->PaperNumber)});
    }
    SortByName(rows);
    return rows;
}

std::string PageControlCaption(int pageControl) {
    switch (pageControl) {
    case kBreakOnEntry:
        return "Page Break after Change of Entry";
    case kBreakOnIndexCharacter:
        return "Page Break after Change of Index Character";
    case kBreakOnEventDate:
        return "Page Break after Change of Event Date";
    default:
        return "Automatic Page Control";
    }
}

} // namespace tessaly
