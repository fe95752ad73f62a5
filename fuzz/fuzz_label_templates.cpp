// Reads arbitrary bytes as a label-template file of the system's database; every sheet
// taken from it must be one the print run can lay out.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckLabelTemplateBytes({data, size})))
        std::abort();
    return 0;
}
