// Loading and saving a book at the file format's limit: 32,767 entries, each with
// names, two addresses, a category, a reminder, an attachment and a call log.

#include "bench/limit_book.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace tessaly;
using namespace tessaly::bench;

void Describe(benchmark::State& state, const TLimitBook& book) {
    state.counters["entries"] = kMaxListCount;
    state.counters["MB"] = static_cast<double>(book.Image.size()) / 1e6;
}

// Times `load` on the limit book; freeing the loaded book is not timed.
template <typename Load> void TimeLoads(benchmark::State& state, Load load) {
    const TLimitBook& limit = LimitBook();
    for (auto _ : state) {
        TLoadResult result = load(limit);
        if (!result.Book)
            state.SkipWithError(result.Message.c_str());
        benchmark::DoNotOptimize(result.Book.get());
        state.PauseTiming();
        result.Book.reset();
        state.ResumeTiming();
    }
    Describe(state, limit);
}

// Load from memory: parse the whole image into a book.
void BM_LoadImage(benchmark::State& state) {
    TimeLoads(state, [](const TLimitBook& limit) {
        return ParseBookImage(limit.Image, BenchSettings(), limit.Path);
    });
}
BENCHMARK(BM_LoadImage)->Unit(benchmark::kMillisecond);

// Build the image in memory only.
void BM_WriteImage(benchmark::State& state) {
    const TLimitBook& limit = LimitBook();
    auto book = limit.Parse();
    for (auto _ : state) {
        auto image = WriteBookImage(*book);
        benchmark::DoNotOptimize(image.data());
    }
    Describe(state, limit);
}
BENCHMARK(BM_WriteImage)->Unit(benchmark::kMillisecond);

// Save: build the image and write it to a file in one pass (no sync).
void BM_SaveImageToFile(benchmark::State& state) {
    const TLimitBook& limit = LimitBook();
    auto book = limit.Parse();
    const std::string path = limit.Path + ".out";
    for (auto _ : state) {
        const auto image = WriteBookImage(*book);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out)
            state.SkipWithError("write failed");
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    Describe(state, limit);
}
BENCHMARK(BM_SaveImageToFile)->Unit(benchmark::kMillisecond);

// The real open routine on a file: read it whole, check it, parse it.
void BM_LoadBook(benchmark::State& state) {
    TimeLoads(state, [](const TLimitBook& limit) { return LoadBook(limit.Path, BenchSettings()); });
}
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMillisecond);

// The real save routine: image, temporary file, flush to disk, rename over the book.
void BM_SaveBook(benchmark::State& state) {
    const TLimitBook& limit = LimitBook();
    auto book = limit.Parse();
    for (auto _ : state) {
        const TSaveResult saved = SaveBook(*book, false, BenchSettings());
        if (!saved.Ok)
            state.SkipWithError(saved.Error.c_str());
    }
    Describe(state, limit);
}
BENCHMARK(BM_SaveBook)->Unit(benchmark::kMillisecond);

} // namespace
