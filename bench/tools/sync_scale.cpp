// The client's own cost of syncing a big book, without a network: a first sync that
// sends every entry to the in-memory server, then rounds of ten changed entries.
//   tessaly_sync_scale BOOK.ADR [ROUNDS]   (the book is copied; the original is left alone)

#include "bench/limit_book.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/book_sync.h"
#include "tests/support/fake_dav_server.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

double SecondsOf(const std::function<void()>& work) {
    const auto began = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

} // namespace

int main(int argc, char** argv) {
    using namespace tessaly;
    if (argc < 2) {
        std::fprintf(stderr, "usage: tessaly_sync_scale BOOK.ADR [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tessaly-sync-scale-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Scale.ADR").string();
    std::filesystem::copy_file(argv[1], path);

    testing::TFakeDavServer server;
    TSyncOptions options;
    options.Server = server.AddBook("Scale");
    options.Settings = bench::BenchSettings();
    TSyncResult result;
    const double first = SecondsOf([&] { result = SyncBook(path, options, server); });
    if (!result.Ok) {
        std::fprintf(stderr, "first sync: %s\n", result.Failure.c_str());
        return 1;
    }
    std::printf("first sync: %d entries sent in %.2f s\n", result.Uploaded, first);
    options.Server.clear();
    for (int round = 0; round < rounds; ++round) {
        auto loaded = LoadBook(path, options.Settings);
        const int count = loaded.Book->Entries.Count();
        for (int k = 0; k < 10; ++k)
            loaded.Book->Entries.At((k * count / 10 + round) % count)
                ->SetNotes("round " + std::to_string(round) + " change " + std::to_string(k));
        if (!SaveBook(*loaded.Book, false, options.Settings).Ok)
            return 1;
        const double later = SecondsOf([&] { result = SyncBook(path, options, server); });
        std::printf("ten changes: %d sent in %.3f s\n", result.Uploaded, later);
        if (!result.Ok || result.Uploaded != 10)
            return 1;
    }
    std::filesystem::remove_all(dir);
    return 0;
}
