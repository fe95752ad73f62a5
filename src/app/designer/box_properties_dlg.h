#pragma once
// The designer's "&Property Editor...": the editor of an object's kind (lines,
// rectangles, dates, times and page numbers, pictures, static text, merged data, the
// return address), each with its border and background settings.

#include "core/designer/box_edit_context.h"
#include "core/printing/layout_objects.h"

class QWidget;

namespace tessaly {

// Opens the editor of `box`'s kind modally. On OK the edits are put into `box` (and,
// for the return address object, into *context.ReturnAddress); true when OK changed
// the box or the return address. Cancel leaves both as they were and answers false.
bool EditBoxProperties(QWidget* parent, TLayoutBox& box, const TBoxEditContext& context);

} // namespace tessaly
