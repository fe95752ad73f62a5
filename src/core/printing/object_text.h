#pragma once
// The text a layout object prints for a record: merged data fields of the four data
// sources, static text, dates and times in the object's pattern, the page number in
// its digit count, and the return address.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/printing/layout_objects.h"

#include <string>

namespace tessaly {

class TBookData;
class TRecord;
class TReminders;
class TLog;

// The most text one object prints, in bytes.
constexpr std::size_t kObjectTextMax = 32000;

// The record an object prints: an entry with one of its addresses, reminders or call
// logs, or a diary event.
struct TPrintRecord {
    const TBookData* Book = nullptr;
    const TRecord* Entry = nullptr;
    int AddressIndex = 0;
    const TReminders* Reminder = nullptr; // a reminder of the entry, or a diary event
    const TLog* Call = nullptr;
    std::string SortValue; // the entry's value of the run's sort field
};

struct TTextContext {
    int Source = 1; // the layout's data source
    TDateTime Now = 0;
    int Page = 1;
    std::string ReturnAddress;
    const TFormatSettings* Formats = &DefaultFormatSettings();
};

// The digit count of a page-number pattern: only "%.1d" to "%.9d" are taken; any other
// pattern counts as 1.
int PageNumberDigits(std::string_view pattern);
std::string PageNumberText(std::string_view pattern, int page);

// The text of a box for a record (empty for lines, rectangles and pictures).
std::string ObjectText(const TLayoutBox& box, const TPrintRecord& record, const TTextContext& c);

} // namespace tessaly
