#pragma once
// What the property editors of layout objects need to know besides the object: the
// layout's data source and its data fields, the designer's unit, the paper, the list's
// return address and the moment the date and time previews show.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/common/text.h"
#include "core/printing/layout_record.h"
#include "core/printing/paper.h"

#include <vector>

namespace tessaly {

struct TBoxEditContext {
    int Source = 1; // the layout's data source (TDataSource)
    // The data palette of that source, in palette order: what a data object's items
    // may be chosen from.
    std::vector<TLayoutRecord> Fields;
    int Unit = 1;                  // the designer's unit: 0 inches, 1 millimetres
    const TPaper* Paper = nullptr; // the layout's paper, when it has one
    // The layout list's return address, which the return address object's editor
    // changes (null: that editor shows it without changing it).
    Text* ReturnAddress = nullptr;
    // The moment the date and time previews format.
    TDateTime Now = 0;
    const TFormatSettings* Formats = &DefaultFormatSettings();
};

} // namespace tessaly
