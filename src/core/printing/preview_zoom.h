#pragma once
// The preview's zoom as it is kept between runs: value "Scale" of section "Preview"
// holds the percentage of the zoom box's choice; the two fits, which have no fixed
// percentage, are kept as 0 (page width) and -1 (full page).

#include <string>
#include <string_view>

namespace tessaly {

// The zoom box's choices, "200%" to "20%", "Page Width", "Full Page".
extern const char* const kZoomChoices[9];

// The choice a kept value stands for; a percentage the box does not offer gives the
// nearest one it does, anything else "100%".
std::string ZoomChoiceOfScale(int scale);
// The value to keep for a choice; 100 for a text that is no choice.
int ScaleOfZoomChoice(std::string_view choice);

} // namespace tessaly
