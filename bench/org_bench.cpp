// Ordering and filtering the entry list of the book at the file format's limit
// (limit_book.h): every entry's sort text from the book's keys and the sort, and the
// same with a search of three text rules.

#include "bench/limit_book.h"
#include "core/organise/entry_list.h"
#include "core/organise/entry_text.h"
#include "core/organise/search_match.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace tessaly;
using namespace tessaly::bench;

// Every entry is tested on all three rules: the notes mentioning the morning and the
// whole word "printers" in the company of the work address hold for all of them,
// and a first name containing "an" sorts out the few that are listed.
TFilter ThreeTextRules(const TBookData& book) {
    const int work = book.Templates.TemplateId(book.Templates.FindTemplateByName("Work Address"));
    TFilter search("Three rules");
    search.Rules.Add(MakeRule(kFieldNotes, -1, true, 0, 0, false, false, "MORNING"));
    search.Rules.Add(MakeRule(kFieldCompany, work, true, 0, 0, true, false, "printers"));
    search.Rules.Add(MakeRule(kFieldFirstName, -1, true, 0, 0, false, false, "an"));
    return search;
}

// The entry list of the whole book, ordered by its keys (title, first name, surname).
void BM_OrgOrderByKeys(benchmark::State& state) {
    auto book = LimitBook().Parse();
    TEntryList list(*book);
    for (auto _ : state) {
        list.Rebuild(nullptr);
        benchmark::DoNotOptimize(list.Count());
    }
    state.counters["listed"] = list.Count();
}
BENCHMARK(BM_OrgOrderByKeys)->Unit(benchmark::kMillisecond);

// The entry list under a search of three text rules.
void BM_OrgFilterThreeTextRules(benchmark::State& state) {
    auto book = LimitBook().Parse();
    const TFilter search = ThreeTextRules(*book);
    TEntryList list(*book);
    for (auto _ : state) {
        list.Rebuild(&search);
        benchmark::DoNotOptimize(list.Count());
    }
    state.counters["listed"] = list.Count();
}
BENCHMARK(BM_OrgFilterThreeTextRules)->Unit(benchmark::kMillisecond);

// The parts: every sort text alone, and the search test alone given the sort texts.
void BM_OrgSortTexts(benchmark::State& state) {
    auto book = LimitBook().Parse();
    for (auto _ : state)
        for (const auto& e : book->Entries)
            benchmark::DoNotOptimize(SortText(static_cast<const TRecord&>(*e), book->IndexKeys));
}
BENCHMARK(BM_OrgSortTexts)->Unit(benchmark::kMillisecond);

void BM_OrgMatchThreeTextRules(benchmark::State& state) {
    auto book = LimitBook().Parse();
    const TFilter search = ThreeTextRules(*book);
    std::vector<std::string> sortTexts;
    for (const auto& e : book->Entries)
        sortTexts.push_back(SortText(static_cast<const TRecord&>(*e), book->IndexKeys));
    int matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (int i = 0; i < book->Entries.Count(); ++i)
            matched += EntryMatches(search, *book->Entries.At(i), sortTexts[i], 45000) ? 1 : 0;
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = matched;
}
BENCHMARK(BM_OrgMatchThreeTextRules)->Unit(benchmark::kMillisecond);

} // namespace
