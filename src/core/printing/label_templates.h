#pragma once
// Label sheets from the system's label-template database when it is installed: XML
// files of templates, each a brand, a part, a page size, a description and a label
// shape laid out in a grid. Rectangular and round labels with a single grid are
// taken; every other shape is stepped over. A template that is an alias of another
// (its "equiv") takes that one's label and description under its own part.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Where the database's files are found on Debian.
extern const char kLabelTemplateFolder[];

struct TLabelSheet {
    std::string Name; // "Brand Part Description", Windows-1252
    int SystemCode = 256;
    // Millimetres.
    double PageWidth = 0, PageHeight = 0;
    double LabelWidth = 0, LabelHeight = 0;
    double LeftMargin = 0, TopMargin = 0;
    double HorizontalGap = 0, VerticalGap = 0;
    int Across = 0, Down = 0;
};

// A length as the database writes it: a number and a unit ("mm", "cm", "in", "pt",
// "pc"; none is points). False for anything else.
bool ParseTemplateLength(std::string_view text, double& millimetres);

// The usable sheets of one document, in document order.
std::vector<TLabelSheet> ReadLabelTemplates(std::string_view xml);
// Every "*-templates.xml" file of a folder, in name order; a missing folder gives none.
// Sheets whose name (without regard to case) came earlier are dropped.
std::vector<TLabelSheet> ReadLabelTemplateFolder(const std::string& folder);

} // namespace tessaly
