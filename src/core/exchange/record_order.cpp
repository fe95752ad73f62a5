#include "core/exchange/record_order.h"

#include "core/common/upper_case.h"
#include "core/diary/diary.h"
#include "core/organise/entry_text.h"
#include "core/store/book.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

namespace tessaly {

namespace {

// The items in the order of their keys, items of equal keys as they came.
template <class T>
std::vector<const T*> SortedByKey(const std::vector<std::string>& keys,
                                  const std::vector<const T*>& items) {
    const std::vector<std::uint32_t> places =
        PlacesInKeyOrder(keys.size(), [&](std::size_t i) { return std::string_view(keys[i]); });
    std::vector<const T*> out;
    out.reserve(places.size());
    for (const std::uint32_t i : places)
        out.push_back(items[i]);
    return out;
}

// The upper-case form of a text, made in place.
std::string UpperCased(std::string s) {
    for (char& c : s)
        c = UpperChar(c);
    return s;
}

} // namespace

std::string EntryOrderKey(const TRecord& entry, const TIndexList& bookKeys) {
    return UpperCased(SortText(entry, bookKeys));
}

std::vector<const TRecord*> EntryOrder(const TBookData& book, TEntrySelection selection,
                                       const std::vector<const TRecord*>& indexList,
                                       const TRecord* selected) {
    if (selection == TEntrySelection::SelectedEntry)
        return selected ? std::vector<const TRecord*>{selected} : std::vector<const TRecord*>{};
    std::vector<std::string> keys;
    std::vector<const TRecord*> entries;
    const std::size_t expected = selection == TEntrySelection::IndexList
                                     ? indexList.size()
                                     : static_cast<std::size_t>(book.Entries.Count());
    keys.reserve(expected);
    entries.reserve(expected);
    const auto add = [&](const TRecord* e) {
        keys.push_back(EntryOrderKey(*e, book.IndexKeys));
        entries.push_back(e);
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
    return SortedByKey(keys, entries);
}

std::vector<const TReminders*> DiaryEventOrder(const TDiaryData& diary, bool allDates,
                                               bool includeCompleted, TDateTime first,
                                               TDateTime last) {
    std::vector<std::string> keys;
    std::vector<const TReminders*> events;
    for (const auto& e : diary.Events)
        if (InDateRange(*e, allDates, includeCompleted, first, last)) {
            keys.push_back(SortKey(*e, diary.SortOrder));
            events.push_back(e.get());
        }
    return SortedByKey(keys, events);
}

} // namespace tessaly
