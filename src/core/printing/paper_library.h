#pragma once
// Where the factory paper list comes from: a library answering two questions per
// category (0 envelopes, 1 labels, 2 listings), how many papers it has and each
// paper's record. The factory list is built from it when no valid paper file exists.

#include "core/printing/paper.h"

#include <string>

namespace tessaly {

enum TPaperCategory : int { kCategoryEnvelopes = 0, kCategoryLabels = 1, kCategoryListings = 2 };

// A paper as the library delivers it; lengths in its unit.
struct TLibraryPaper {
    std::string Name; // at most 255 characters, Windows-1252
    int SystemCode = kUserPaperCode;
    int Unit = kUnitMillimetres;
    double Width = 0, Height = 0;
    double TopMargin = 0, LeftMargin = 0;
    double LabelHeight = 0, LabelWidth = 0;
    double HorizontalGap = 0, VerticalGap = 0;
    int LabelsAcross = 0, LabelsDown = 0;
};

class IPaperLibrary {
public:
    virtual ~IPaperLibrary() = default;
    // The highest index to ask for: papers 0 up to and including it are asked for;
    // a negative result means none.
    virtual int LastPaperIndex(int category) = 0;
    // Fills `out` and answers true when a paper was delivered.
    virtual bool GetPaper(int category, int index, TLibraryPaper& out) = 0;
};

// String 449, shown when there is no library to build the factory list from.
extern const char kPaperLibraryMissing[];

// The listings first (type 3), then the envelopes (type 1), then the labels (type 2),
// each paper numbered from the list's counter, with portrait, face up and rotate off
// and feed 4.
TPaperList BuildFactoryPapers(IPaperLibrary& library);

} // namespace tessaly
