#include "core/exchange/record_order.h"

#include "core/common/same_text.h"
#include "core/diary/diary.h"
#include "core/organise/entry_text.h"
#include "core/store/book.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tessaly {

namespace {

template <class T>
std::vector<const T*> SortedByKey(std::vector<std::pair<std::string, const T*>> keyed) {
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const T*> out;
    out.reserve(keyed.size());
    for (auto& k : keyed)
        out.push_back(k.second);
    return out;
}

} // namespace

std::vector<const TRecord*> EntryOrder(const TBookData& book, TEntrySelection selection,
                                       const std::vector<const TRecord*>& indexList,
                                       const TRecord* selected) {
    if (selection == TEntrySelection::SelectedEntry)
        return selected ? std::vector<const TRecord*>{selected} : std::vector<const TRecord*>{};
    std::vector<std::pair<std::string, const TRecord*>> keyed;
    keyed.reserve(selection == TEntrySelection::IndexList
                      ? indexList.size()
                      : static_cast<std::size_t>(book.Entries.Count()));
    const auto add = [&](const TRecord* e) {
        keyed.emplace_back(UpperCase1252(SortText(*e, book.IndexKeys)), e);
    };
    if (selection == TEntrySelection::IndexList) {
        for (const TRecord* e : indexList)
            if (e)
                add(e);
    } else {
        for (const auto& e : book.Entries)
            if (selection == TEntrySelection::All || e->Tagged)
                add(e.get());
    }
    return SortedByKey(std::move(keyed));
}

std::vector<const TReminders*> DiaryEventOrder(const TDiaryData& diary, bool allDates,
                                               bool includeCompleted, TDateTime first,
                                               TDateTime last) {
    std::vector<std::pair<std::string, const TReminders*>> keyed;
    for (const auto& e : diary.Events)
        if (InDateRange(*e, allDates, includeCompleted, first, last))
            keyed.emplace_back(SortKey(*e, diary.SortOrder), e.get());
    return SortedByKey(std::move(keyed));
}

} // namespace tessaly
