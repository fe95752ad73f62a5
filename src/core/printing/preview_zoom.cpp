#include "core/printing/preview_zoom.h"

#include <cstdlib>
#include <iterator>

namespace tessaly {

const char* const kZoomChoices[9] = {"200%", "150%", "100%",       "80%",      "60%",
                                     "40%",  "20%",  "Page Width", "Full Page"};

namespace {
constexpr int kPercentages[] = {200, 150, 100, 80, 60, 40, 20};
constexpr int kPageWidth = 0, kFullPage = -1;
// Beyond these a kept value is not a zoom anyone chose.
constexpr int kLowest = 5, kHighest = 800;
} // namespace

std::string ZoomChoiceOfScale(int scale) {
    if (scale == kPageWidth)
        return "Page Width";
    if (scale == kFullPage)
        return "Full Page";
    if (scale < kLowest || scale > kHighest)
        return "100%";
    std::size_t best = 0;
    for (std::size_t i = 1; i < std::size(kPercentages); ++i)
        if (std::abs(kPercentages[i] - scale) < std::abs(kPercentages[best] - scale))
            best = i;
    return kZoomChoices[best];
}

int ScaleOfZoomChoice(std::string_view choice) {
    if (choice == "Page Width")
        return kPageWidth;
    if (choice == "Full Page")
        return kFullPage;
    for (std::size_t i = 0; i < std::size(kPercentages); ++i)
        if (choice == kZoomChoices[i])
            return kPercentages[i];
    return 100;
}

} // namespace tessaly
