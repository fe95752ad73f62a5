#pragma once
// What the print run needs to know of the device it prints on: the paper codes and
// custom sizes it takes, its unprintable margins and the angle of its landscape.
// A real printer answers through the platform layer, a small JSON file for tests and
// the command line; PDF output takes every size with no margins.

#include <algorithm>
#include <vector>

namespace tessaly {

struct TPrintDevice {
    std::vector<int> PaperCodes; // the standard codes the device takes
    bool CustomSizes = false;    // takes code 256 with a size of its own
    bool EverySize = false;      // takes every code and size (a PDF)
    // Unprintable margins, millimetres.
    double LeftMargin = 0, TopMargin = 0, BottomMargin = 0;
    int LandscapeAngle = 90; // 90 or 270

    bool Supports(int code) const {
        if (EverySize)
            return true;
        if (code == 256)
            return CustomSizes;
        return std::find(PaperCodes.begin(), PaperCodes.end(), code) != PaperCodes.end();
    }
    static TPrintDevice Pdf() {
        TPrintDevice d;
        d.EverySize = true;
        d.CustomSizes = true;
        return d;
    }
};

} // namespace tessaly
