#pragma once
// A quick report (TQReport): a named set of print parameters, and the list of them
// (TQReportList, file "TESSALY.TPQ"). Every print run takes its parameters from one,
// stored or made for the run.

#include "core/common/text.h"
#include "core/store/my_list.h"
#include "core/store/stream.h"

#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

enum TSelection : int {
    kSelectDiary = 0,
    kSelectEntry = 1,  // "Selected Entry Only"
    kSelectListed = 2, // the entries shown in the index list
    kSelectTagged = 3,
    kSelectAll = 4,
};

enum TLabelFill : int {
    kFillSheet = 0,  // "Full Sheet of Labels per Entry"
    kFillRow = 1,    // "Complete Row of Labels per Entry"
    kFillOne = 2,    // one label
    kFillCopies = 3, // "Specified Number of Labels per Entry"
};

class TQReport {
public:
    Text Name;
    int Selection = kSelectEntry;
    int LayoutNumber = -1;
    bool AllDates = true;
    bool FirstAddressOnly = true;
    double FirstDate = 0, LastDate = 0; // date-times; in the file plus 693594
    bool IncludeCompleted = true;
    int Copies = 1;
    int LabelFill = kFillCopies;
    bool PromptStartingLabel = false;
    int SortField = -1; // from version 7 of the file; -1 the entry's sort text

    // Trimmed and cut to 255 characters.
    void SetName(std::string_view name);
    std::string NameText() const { return Name.str(); }

    static std::unique_ptr<TQReport> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TQReport&) const = default;
};

class TQReportList : public TMyList<TQReport> {
public:
    // -1 when absent (compared without regard to case).
    int IndexByName(std::string_view name) const;
    TQReport* ByName(std::string_view name) const { return At(IndexByName(name)); }
    std::string NameAt(int i) const;
    int LayoutNumberAt(int i) const;
    // A report with the defaults; null when the list is full.
    TQReport* Create(std::string_view name);
    void Remove(const TQReport* report);

    // Count, reports.
    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w) const;
};

} // namespace tessaly
