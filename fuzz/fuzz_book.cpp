// Reads arbitrary bytes as a book file in memory; a book that reads must write again
// and read back equal, list in order under each of its searches, go to JSON and back
// unchanged, and take a tag on every entry through a rewrite of its file as a save
// would write it.

#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_exercise.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly::fuzz;
    if (IsFault(CheckBookBytes({data, size})))
        std::abort();
    // In memory where the system offers it, so that the syncs of the rewrite cost little.
    static const std::string folder = [] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        const std::filesystem::path own = base / ("tessaly-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(own);
        return own.string();
    }();
    if (IsFault(CheckTagRewriteBytes({data, size}, folder)))
        std::abort();
    tessaly::TLoadResult loaded = tessaly::ParseBookImage({data, size}, tessaly::TStoreSettings());
    if (loaded.Book) {
        ExerciseOrderingAndSearches(*loaded.Book);
        ExerciseJson(*loaded.Book);
    }
    return 0;
}
