// Writes the limit book and the limit diary of the benchmarks into a folder, for
// timing the command-line tool as a fresh process: write_limit_files FOLDER
// (gives FOLDER/LIMIT.ADR and FOLDER/LIMIT.TDY).

#include "bench/limit_diary.h"
#include "core/system/file_io.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    using namespace tessaly;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string book = (folder / "LIMIT.ADR").string();
    const std::string diary = (folder / "LIMIT.TDY").string();
    if (!WriteFileAtomically(book, bench::LimitBook().Image).Ok)
        return 1;
    auto events = bench::MakeLimitDiary(diary);
    TStoreSettings settings;
    settings.Backup = false;
    const TDiarySave saved = SaveDiary(*events, false, settings);
    if (!saved.Ok) {
        std::fprintf(stderr, "%s\n", saved.Error.c_str());
        return 1;
    }
    return 0;
}
