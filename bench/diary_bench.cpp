// A year's agenda and the calendar view's index over the book at the file format's
// limit (32,767 entries, each with a yearly reminder) and a diary at the limit
// (32,767 events, some of them recurring): the work of `tessaly-cli agenda` once the
// files are read, and of the calendar view when it shows a year.

#include "bench/limit_diary.h"
#include "core/common/codepage.h"
#include "core/diary/agenda.h"
#include "core/diary/event_index.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace tessaly;
using namespace tessaly::bench;

struct TLimitFiles {
    std::unique_ptr<TBookData> Book = LimitBook().Parse();
    std::unique_ptr<TDiaryData> Diary = MakeLimitDiary("/tmp/LIMIT.TDY");
    std::vector<TEventSource> Sources{TEventSource{Book.get(), Book.get(), nullptr},
                                      TEventSource{Diary.get(), nullptr, Diary.get()}};
};

const TLimitFiles& Files() {
    static const TLimitFiles files;
    return files;
}

// The lines of one year, sorted and printed into one text as the command does.
void BM_AgendaOneYear(benchmark::State& state) {
    const TLimitFiles& files = Files();
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto agenda =
            AgendaLines(files.Sources, EncodeDate(2024, 1, 1), EncodeDate(2024, 12, 31));
        std::string out;
        AppendAgendaLines(out, agenda);
        const std::string utf8 = Cp1252ToUtf8(out);
        benchmark::DoNotOptimize(utf8.data());
        lines = agenda.size();
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["events"] = 2.0 * kMaxListCount;
}
BENCHMARK(BM_AgendaOneYear)->Unit(benchmark::kMillisecond);

// The calendar view's index for 2024: every event's own day and the later
// occurrences up to 1 March 2025.
void BM_CalendarIndexOneYear(benchmark::State& state) {
    const TLimitFiles& files = Files();
    TEventIndex index;
    for (auto _ : state) {
        index.Build(files.Sources, CalendarViewRange(2024, true, true));
        benchmark::DoNotOptimize(index.EventCount());
    }
    state.counters["items"] = index.EventCount();
    state.counters["days"] = index.DayCount();
}
BENCHMARK(BM_CalendarIndexOneYear)->Unit(benchmark::kMillisecond);

// Reading the limit diary from memory.
void BM_LoadLimitDiary(benchmark::State& state) {
    const auto image = WriteDiaryImage(*Files().Diary);
    for (auto _ : state) {
        TDiaryLoad load = ParseDiaryImage(image, "LIMIT.TDY");
        benchmark::DoNotOptimize(load.Diary.get());
    }
    state.counters["MB"] = static_cast<double>(image.size()) / 1e6;
}
BENCHMARK(BM_LoadLimitDiary)->Unit(benchmark::kMillisecond);

} // namespace
