#include "core/printing/paper_library.h"

#include <algorithm>

namespace tessaly {

const char kPaperLibraryMissing[] =
    "File Missing: MARROWBY32.DLL \n\nUnable to Load Paper Size Library. Reinstall Tessaly.";

TPaperList BuildFactoryPapers(IPaperLibrary& library) {
    TPaperList list;
    const std::pair<int, int> order[] = {{kCategoryListings, kPaperListing},
                                         {kCategoryEnvelopes, kPaperEnvelope},
                                         {kCategoryLabels, kPaperLabel}};
    for (const auto& [category, type] : order) {
        // Never more than a list can hold, whatever the library answers.
        const int last = std::min(library.LastPaperIndex(category), kMaxListCount - 1);
        for (int i = 0; i <= last && list.Count() < kMaxListCount; ++i) {
            TLibraryPaper delivered;
            if (!library.GetPaper(category, i, delivered))
                continue;
            TPaper* p = list.Create(delivered.Name, type, 0);
            if (!p)
                return list;
            p->SystemCode = delivered.SystemCode;
            p->Unit = delivered.Unit;
            p->Width = delivered.Width;
            p->Height = delivered.Height;
            p->TopMargin = delivered.TopMargin;
            p->LeftMargin = delivered.LeftMargin;
            p->LabelHeight = delivered.LabelHeight;
            p->LabelWidth = delivered.LabelWidth;
            p->HorizontalGap = delivered.HorizontalGap;
            p->VerticalGap = delivered.VerticalGap;
            p->LabelsAcross = delivered.LabelsAcross;
            p->LabelsDown = delivered.LabelsDown;
        }
    }
    return list;
}

} // namespace tessaly
