// Reads arbitrary bytes as a paper file ("TESSALY.TPP"); what reads must write again and read back
// equal, and what does not leaves the list as it was.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckPaperBytes({data, size})))
        std::abort();
    return 0;
}
