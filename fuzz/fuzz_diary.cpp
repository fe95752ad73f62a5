// Reads arbitrary bytes as a diary file in memory; a diary that reads must write
// again and read back equal.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckDiaryBytes({data, size})))
        std::abort();
    return 0;
}
