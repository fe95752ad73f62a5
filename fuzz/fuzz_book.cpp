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
    // In memory where the system offers it, so that the syncs of the rewrite cost little;
    // removed when the fuzzer ends.
    static const struct TFolder {
        TFolder() {
            const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                                   ? "/dev/shm"
                                                   : std::filesystem::temp_directory_path();
            Path = (base / ("tessaly-fuzz-" + std::to_string(::getpid()))).string();
            std::filesystem::create_directories(Path);
        }
        ~TFolder() {
            std::error_code ec;
            std::filesystem::remove_all(Path, ec);
        }
        std::string Path;
    } folder;
    if (IsFault(CheckTagRewriteBytes({data, size}, folder.Path)))
        std::abort();
    tessaly::TLoadResult loaded = tessaly::ParseBookImage({data, size}, tessaly::TStoreSettings());
    if (loaded.Book) {
        ExerciseOrderingAndSearches(*loaded.Book);
        ExerciseJson(*loaded.Book);
    }
    return 0;
}
