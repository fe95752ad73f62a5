#pragma once
// The drawing items one layout object makes on a page: a line, a rectangle, a
// picture, or a text in its rectangle (framed when the object has a pen). The print
// run and the designer's page picture both draw objects through these.

#include "core/printing/layout_objects.h"
#include "core/printing/print_plan.h"

#include <string>
#include <vector>

namespace tessaly {

// Pen widths are kept in screen pixels of 96 to the inch.
constexpr double kPenMmPerPixel = 25.4 / 96;

// Appends the items of `box` with its top left corner at (`left`, `top`) millimetres,
// `text` being what a text object shows (nothing is drawn for an empty text; a
// picture without a file draws nothing).
void AppendBoxItems(const TLayoutBox& box, double left, double top, const std::string& text,
                    std::vector<TPlanItem>& items);

} // namespace tessaly
