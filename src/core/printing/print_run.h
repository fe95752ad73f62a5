#pragma once
// The print run as a planner: print parameters, a book or a diary, the entry list and
// the device's capabilities in; pages of drawing items in millimetres out. It walks the
// records in the run's order, places them on envelopes, label sheets or listing pages,
// breaks pages, and prints the header and footer bands.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/printing/layout.h"
#include "core/printing/layout_objects.h"
#include "core/printing/paper.h"
#include "core/printing/print_device.h"
#include "core/printing/print_plan.h"
#include "core/printing/quick_report.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaly {

class TBookData;
class TDiaryData;
class TPrintCatalogues;

// String 372.
extern const char kInvalidLayoutMessage[];

// What is printed from: a book (with the window's entry list for selections 1 and 2)
// or a diary.
struct TPrintSource {
    const TBookData* Book = nullptr;
    const TDiaryData* Diary = nullptr;
    std::vector<int> Listed; // the entries of the index list, in its order
    int Selected = -1;       // the selected entry
};

struct TPrintRequest {
    TQReport Parameters;
    const TLayout* Layout = nullptr;
    const TPaper* Paper = nullptr;
    const TLayoutObjects* Objects = nullptr;
    std::string ReturnAddress;
    TPrintDevice Device;
    int CountryCode = 44;
    TDateTime Now = 0;     // the moment of printing
    int StartingLabel = 1; // the first label position on the first sheet, from 1
    const TFormatSettings* Formats = &DefaultFormatSettings();
    // A run of more pages is refused rather than planned (100,000 pages are 1.4 million
    // labels of a 2 x 7 sheet).
    std::size_t MaxPages = 100000;
    // Told of every record done; false stops the run.
    std::function<bool(int done, int total)> Progress;
};

struct TPlanResult {
    bool Ok = false;
    bool Cancelled = false;
    std::string Message; // why nothing is printed
    TPrintPlan Plan;
    int Records = 0; // the records walked
};

// The entries of a book print in their order: selection 1 the selected one, 2 the
// listed ones, 3 the tagged ones, 4 all; 2 to 4 ordered by the sort field's value
// (the sort text for -1) without regard to case, equal values as they stood.
std::vector<int> EntryOrder(const TBookData& book, const TPrintSource& source, int selection,
                            int sortField);
// The events of a diary within the run's dates, in the order of the diary's sort key.
std::vector<int> DiaryOrder(const TDiaryData& diary, const TQReport& parameters);

TPlanResult PlanPrintRun(const TPrintRequest& request, const TPrintSource& source);

// The same for a quick report's layout looked up in the catalogues (unknown layouts,
// papers and unreadable object files are string 372).
TPlanResult PlanPrintRun(const TPrintCatalogues& catalogues, const TQReport& parameters,
                         const TPrintSource& source, const TPrintDevice& device,
                         TPrintRequest request = TPrintRequest());

} // namespace tessaly
