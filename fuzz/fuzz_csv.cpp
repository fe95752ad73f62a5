// Reads arbitrary bytes as a delimited text file; every record must write and read
// back as the same fields.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckCsvBytes({data, size})))
        std::abort();
    return 0;
}
