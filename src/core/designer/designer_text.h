#pragma once
// What an object shows on the designer's page picture: a merged data object its
// captions in braces, static text its text, a date, time or page number a sample in
// braces, the return address its text; and the drawing items of an object at its
// place in its band.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/printing/layout_objects.h"
#include "core/printing/print_plan.h"

#include <string>
#include <vector>

namespace tessaly {

// The most text a designer object shows, in bytes.
constexpr std::size_t kDesignerTextMax = 32000;

// The text of a box in the designer. A merged data object whose first item is static
// text shows that caption; otherwise every caption in braces, separated by a blank
// (single-line flag of the first item) or a line feed. Dates and times show `now` in
// their pattern, the page number "{##W}", both in braces. Lines, rectangles and
// pictures show none.
std::string DesignerText(const TLayoutBox& box, TDateTime now, const std::string& returnAddress,
                         const TFormatSettings& fs = DefaultFormatSettings());

// The drawing items of a box at its place in its band (millimetres from the band's
// top left corner), as the page picture draws it.
std::vector<TPlanItem> DesignerItems(const TLayoutBox& box, const std::string& text);

} // namespace tessaly
