#include "core/printing/factory_papers.h"

#include "core/printing/label_templates.h"

namespace tessaly {

const char kLetterListingName[] = "Letter, 8\xBD x 11 in.";
const char kA4ListingName[] = "A4, 210 x 297 mm";

std::string DefaultListingName(int countryCode) {
    return countryCode == 1 || countryCode == 2 ? kLetterListingName : kA4ListingName;
}

int DefaultPaperCode(int countryCode) {
    return countryCode == 1 || countryCode == 2 ? 1 : 9;
}

namespace {

struct TSheet {
    const char* Name;
    int Code;
    int Unit;
    double Width, Height;
};

// Windows-1252: \xBC is ¼, \xBD ½, \xBE ¾.
constexpr TSheet kListings[] = {
    {kLetterListingName, 1, kUnitInches, 8.5, 11},
    {"Legal, 8\xBD x 14 in.", 5, kUnitInches, 8.5, 14},
    {"Executive, 7\xBC x 10\xBD in.", 7, kUnitInches, 7.25, 10.5},
    {"A3, 297 x 420 mm", 8, kUnitMillimetres, 297, 420},
    {kA4ListingName, 9, kUnitMillimetres, 210, 297},
    {"A5, 148 x 210 mm", 11, kUnitMillimetres, 148, 210},
    {"A6, 105 x 148 mm", 70, kUnitMillimetres, 105, 148},
    {"B4 (ISO), 250 x 353 mm", 42, kUnitMillimetres, 250, 353},
    {"B5 (ISO), 176 x 250 mm", 256, kUnitMillimetres, 176, 250},
    {"B6 (ISO), 125 x 176 mm", 256, kUnitMillimetres, 125, 176},
};

// Envelopes as the printing system describes them: the short side across.
constexpr TSheet kEnvelopes[] = {
    {"Envelope DL, 110 x 220 mm", 27, kUnitMillimetres, 110, 220},
    {"Envelope C4, 229 x 324 mm", 30, kUnitMillimetres, 229, 324},
    {"Envelope C5, 162 x 229 mm", 28, kUnitMillimetres, 162, 229},
    {"Envelope C6, 114 x 162 mm", 31, kUnitMillimetres, 114, 162},
    {"Envelope C6/5, 114 x 229 mm", 32, kUnitMillimetres, 114, 229},
    {"Envelope B4, 250 x 353 mm", 33, kUnitMillimetres, 250, 353},
    {"Envelope B5, 176 x 250 mm", 34, kUnitMillimetres, 176, 250},
    {"Envelope B6, 125 x 176 mm", 35, kUnitMillimetres, 125, 176},
    {"Envelope #9, 3 7/8 x 8 7/8 in.", 19, kUnitInches, 3.875, 8.875},
    {"Envelope #10, 4 1/8 x 9\xBD in.", 20, kUnitInches, 4.125, 9.5},
    {"Envelope #11, 4\xBD x 10 3/8 in.", 21, kUnitInches, 4.5, 10.375},
    {"Envelope #12, 4\xBE x 11 in.", 22, kUnitInches, 4.75, 11},
    {"Envelope #14, 5 x 11\xBD in.", 23, kUnitInches, 5, 11.5},
    {"Envelope Monarch, 3 7/8 x 7\xBD in.", 37, kUnitInches, 3.875, 7.5},
    {"Envelope 6\xBE, 3 5/8 x 6\xBD in.", 38, kUnitInches, 3.625, 6.5},
};

struct TBuiltInLabels {
    const char* Name;
    int Code;
    int Unit;
    double Width, Height;
    double LabelWidth, LabelHeight;
    int Across, Down;
    double Top, Left, HGap, VGap;
};

// The common address-label sheets.
constexpr TBuiltInLabels kLabels[] = {
    {"Address Labels A4, 2 x 7, 99.1 x 38.1 mm", 9, kUnitMillimetres, 210, 297, 99.1, 38.1, 2, 7,
     15.15, 4.65, 2.5, 0},
    {"Address Labels A4, 3 x 7, 63.5 x 38.1 mm", 9, kUnitMillimetres, 210, 297, 63.5, 38.1, 3, 7,
     15.15, 7.2, 2.5, 0},
    {"Address Labels A4, 3 x 8, 63.5 x 33.9 mm", 9, kUnitMillimetres, 210, 297, 63.5, 33.9, 3, 8,
     12.9, 7.2, 2.5, 0},
    {"Address Labels A4, 2 x 8, 99.1 x 33.9 mm", 9, kUnitMillimetres, 210, 297, 99.1, 33.9, 2, 8,
     12.9, 4.65, 2.5, 0},
    {"Address Labels A4, 3 x 6, 63.5 x 46.6 mm", 9, kUnitMillimetres, 210, 297, 63.5, 46.6, 3, 6,
     8.7, 7.2, 2.5, 0},
    {"Address Labels A4, 2 x 4, 99.1 x 67.7 mm", 9, kUnitMillimetres, 210, 297, 99.1, 67.7, 2, 4,
     13, 4.65, 2.5, 0},
    {"Address Labels A4, 2 x 3, 99.1 x 93.1 mm", 9, kUnitMillimetres, 210, 297, 99.1, 93.1, 2, 3,
     8.7, 4.65, 2.5, 0},
    {"Address Labels Letter, 3 x 10, 2 5/8 x 1 in.", 1, kUnitInches, 8.5, 11, 2.625, 1, 3, 10, 0.5,
     0.1875, 0.125, 0},
    {"Address Labels Letter, 2 x 10, 4 x 1 in.", 1, kUnitInches, 8.5, 11, 4, 1, 2, 10, 0.5, 0.15625,
     0.1875, 0},
    {"Address Labels Letter, 2 x 7, 4 x 1 1/3 in.", 1, kUnitInches, 8.5, 11, 4, 4.0 / 3, 2, 7,
     0.8333, 0.15625, 0.1875, 0},
    {"Address Labels Letter, 2 x 5, 4 x 2 in.", 1, kUnitInches, 8.5, 11, 4, 2, 2, 5, 0.5, 0.15625,
     0.1875, 0},
    {"Address Labels Letter, 2 x 3, 4 x 3 1/3 in.", 1, kUnitInches, 8.5, 11, 4, 10.0 / 3, 2, 3, 0.5,
     0.15625, 0.1875, 0},
    {"Return Address Labels Letter, 4 x 20, 1\xBE x \xBD in.", 1, kUnitInches, 8.5, 11, 1.75, 0.5,
     4, 20, 0.5, 0.28125, 0.3125, 0},
};

TLibraryPaper Plain(const TSheet& s) {
    TLibraryPaper p;
    p.Name = s.Name;
    p.SystemCode = s.Code;
    p.Unit = s.Unit;
    p.Width = s.Width;
    p.Height = s.Height;
    return p;
}

} // namespace

std::string TFactoryPapers::kDefaultFolder() {
    return kLabelTemplateFolder;
}

TFactoryPapers::TFactoryPapers(const std::string& labelTemplates) {
    for (const auto& s : kListings)
        papers_[kCategoryListings].push_back(Plain(s));
    for (const auto& s : kEnvelopes)
        papers_[kCategoryEnvelopes].push_back(Plain(s));
    auto& labels = papers_[kCategoryLabels];
    for (const auto& l : kLabels) {
        TLibraryPaper p;
        p.Name = l.Name;
        p.SystemCode = l.Code;
        p.Unit = l.Unit;
        p.Width = l.Width;
        p.Height = l.Height;
        p.LabelWidth = l.LabelWidth;
        p.LabelHeight = l.LabelHeight;
        p.LabelsAcross = l.Across;
        p.LabelsDown = l.Down;
        p.TopMargin = l.Top;
        p.LeftMargin = l.Left;
        p.HorizontalGap = l.HGap;
        p.VerticalGap = l.VGap;
        labels.push_back(p);
    }
    if (labelTemplates.empty())
        return;
    for (const TLabelSheet& s : ReadLabelTemplateFolder(labelTemplates)) {
        TLibraryPaper p;
        p.Name = s.Name;
        p.SystemCode = s.SystemCode;
        p.Unit = kUnitMillimetres;
        p.Width = s.PageWidth;
        p.Height = s.PageHeight;
        p.LabelWidth = s.LabelWidth;
        p.LabelHeight = s.LabelHeight;
        p.LabelsAcross = s.Across;
        p.LabelsDown = s.Down;
        p.TopMargin = s.TopMargin;
        p.LeftMargin = s.LeftMargin;
        p.HorizontalGap = s.HorizontalGap;
        p.VerticalGap = s.VerticalGap;
        labels.push_back(p);
    }
}

int TFactoryPapers::LastPaperIndex(int category) {
    if (category < 0 || category > 2)
        return -1;
    return static_cast<int>(papers_[static_cast<std::size_t>(category)].size()) - 1;
}

bool TFactoryPapers::GetPaper(int category, int index, TLibraryPaper& out) {
    if (category < 0 || category > 2)
        return false;
    const auto& list = papers_[static_cast<std::size_t>(category)];
    if (index < 0 || index >= static_cast<int>(list.size()))
        return false;
    out = list[static_cast<std::size_t>(index)];
    return true;
}

} // namespace tessaly
