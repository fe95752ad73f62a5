#pragma once
// What the fuzz targets do with every book that reads: list it in order under each of
// its saved searches (sorting, search matching and the rule texts), and map it to JSON
// and back. A fault aborts, so the fuzzer keeps the input.

#include "cli/book_json.h"
#include "core/organise/entry_list.h"
#include "core/organise/rule_description.h"
#include "core/organise/search_match.h"
#include "core/store/book_file.h"
#include "tests/support/fake_clock.h"

#include <cstdlib>

namespace tessaly::fuzz {

inline void ExerciseOrderingAndSearches(TBookData& book) {
    const FakeClock clock(45000.5); // the same input always takes the same path
    TEntryList list(book, clock);
    for (int s = 0; s < book.Searches.Count(); ++s) {
        const TFilter* search = book.Searches.At(s);
        list.Rebuild(search);
        if (list.Count() > book.Entries.Count())
            std::abort();
        // Listing again gives the same rows in the same order.
        std::vector<const TRecord*> first;
        for (int i = 0; i < list.Count(); ++i) {
            first.push_back(list.EntryAt(i));
            (void)list.DisplayTextAt(i);
        }
        list.Rebuild(search);
        for (int i = 0; i < list.Count(); ++i)
            if (list.EntryAt(i) != first[static_cast<std::size_t>(i)])
                std::abort();
        for (const auto& rule : search->Rules) {
            (void)RuleDescription(*rule, book.Templates);
            for (const auto& entry : book.Entries)
                (void)RuleHolds(*rule, *entry);
        }
    }
}

// The JSON of a book reads back into an equal book and gives the same JSON again;
// every book that reads has a JSON that reads.
inline void ExerciseJson(const TBookData& book) {
    try {
        const TJson json = BookToJson(book);
        auto back = BookFromJson(ParseJsonText(json.dump()));
        if (!(*back == book) || BookToJson(*back) != json)
            std::abort();
    } catch (const BookJsonError&) {
        std::abort();
    }
}

} // namespace tessaly::fuzz
