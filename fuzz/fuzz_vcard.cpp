// Reads arbitrary bytes as vCards: every card that reads must make an entry whose card
// reads back the same and makes the same entry again.

#include "fuzz/fuzz_checks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckVCardBytes({data, size})))
        std::abort();
    return 0;
}
