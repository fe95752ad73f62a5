// tessaly_make_limit_book: writes the limit book (32,767 entries) to a file, for
// timing whole processes on it.
//
//   tessaly_make_limit_book OUT.ADR [--short]
//
// By default every text is long; --short writes the book of the in-process
// benchmarks.

#include "bench/limit_book.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    using namespace tessaly;
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--short") != 0)) {
        std::fprintf(stderr, "usage: %s OUT.ADR [--short]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    auto book = bench::MakeLimitBook(path, argc == 2);
    book->FileName = path;
    const TSaveResult saved = SaveBook(*book, false, bench::BenchSettings());
    if (!saved.Ok) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), saved.Error.c_str());
        return 1;
    }
    return 0;
}
