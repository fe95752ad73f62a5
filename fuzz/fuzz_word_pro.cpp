// Reads arbitrary bytes as a word processor file; what reads must write again and read
// back equal, and what does not is refused whole.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckWordProBytes({data, size})))
        std::abort();
    return 0;
}
