#pragma once
// The rows of the paper and layout lists of the maintenance dialogs, sorted by name
// without regard to case and filtered by kind, and the captions of their filters and
// of the page controls.

#include "core/printing/layout.h"
#include "core/printing/paper.h"

#include <string>
#include <vector>

namespace tessaly {

// The paper list's filter: 0 every paper, else the paper type 1 to 3.
// "<All Paper Types>", "Envelope Sizes", "Label Sizes", "Listing Sizes".
const std::vector<std::string>& PaperFilterCaptions();

struct TPaperRow {
    int Number = kNoNumber;
    std::string Name;
    // A label sheet's label size, any other paper's sheet, "%f" and "mm" or "in.".
    std::string Width, Height;
};
std::vector<TPaperRow> PaperRows(const TPaperList& papers, int filter);
// The papers of one type (all for 0), sorted by name: what a layout may be put on.
std::vector<const TPaper*> PapersOfType(const TPaperList& papers, int type);

// The layout list's filter: 0 every layout, else the data source 1 to 4.
// "<All Page Layouts>" and the four data sources' captions.
std::vector<std::string> LayoutFilterCaptions();

struct TLayoutRow {
    int Number = kNoNumber;
    std::string Name;
    std::string Source; // the data source's caption
    std::string Paper;  // the paper's name, empty when it is gone
};
std::vector<TLayoutRow> LayoutRows(const TLayoutList& layouts, const TPaperList& papers,
                                   int filter);

// "Automatic Page Control", "Page Break after Change of Entry", "Page Break after Change
// of Index Character", "Page Break after Change of Event Date" for 3, 1, 2 and 4.
std::string PageControlCaption(int pageControl);

} // namespace tessaly
