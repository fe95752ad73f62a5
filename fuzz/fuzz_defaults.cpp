// Reads arbitrary bytes as a defaults file; what reads must write again and read back
// equal, and what does not leaves the built-in defaults.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckDefaultsBytes({data, size})))
        std::abort();
    return 0;
}
