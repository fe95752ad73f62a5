#pragma once
// The records a print or an export walks, in their order: one selected entry, the
// entries of the index list, the tagged entries or all entries, sorted by their sort
// text without regard to case; the events of a diary in its own sort order.

#include "core/common/date_time.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TBookData;
class TDiaryData;
class TIndexList;
class TRecord;
class TReminders;

enum class TEntrySelection {
    SelectedEntry = 1, // "Selected Entry Only"
    IndexList = 2,     // "All Entries in the Index List"
    Tagged = 3,        // "All Tagged Entries"
    All = 4,           // "All Entries"
};

// `indexList` is the entries the book window lists (for IndexList), `selected` its
// selected entry (for SelectedEntry; nothing when null).
std::vector<const TRecord*> EntryOrder(const TBookData& book, TEntrySelection selection,
                                       const std::vector<const TRecord*>& indexList,
                                       const TRecord* selected);

// The key an entry takes its place in that order by: its sort text in upper case.
std::string EntryOrderKey(const TRecord& entry, const TIndexList& bookKeys);

// The places 0..count-1 in the order of their keys (`keyOf(i)`), places of equal keys as
// they came. The places are sorted, not the keys, so that no key is moved or copied.
template <class KeyOf> std::vector<std::uint32_t> PlacesInKeyOrder(std::size_t count, KeyOf keyOf) {
    std::vector<std::uint32_t> places(count);
    for (std::size_t i = 0; i < count; ++i)
        places[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(places.begin(), places.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return keyOf(a) < keyOf(b); });
    return places;
}

// The diary's events whose day lies within first..last (unless allDates) and that are
// not completed (unless includeCompleted), in the order of the diary's sort key.
std::vector<const TReminders*> DiaryEventOrder(const TDiaryData& diary, bool allDates,
                                               bool includeCompleted, TDateTime first,
                                               TDateTime last);

} // namespace tessaly
