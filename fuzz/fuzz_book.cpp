// Reads arbitrary bytes as a book file in memory; a book that reads must write again
// and read back equal, list in order under each of its searches, and go to JSON and
// back unchanged.

#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_exercise.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckBookBytes({data, size})))
        std::abort();
    tessaly::TLoadResult loaded = tessaly::ParseBookImage({data, size}, tessaly::TStoreSettings());
    if (loaded.Book) {
        ExerciseOrderingAndSearches(*loaded.Book);
        ExerciseJson(*loaded.Book);
    }
    return 0;
}
