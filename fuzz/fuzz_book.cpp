// Reads arbitrary bytes as a book file in memory; a book that reads must write again
// and read back equal.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckBookBytes({data, size})))
        std::abort();
    return 0;
}
