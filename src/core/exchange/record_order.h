#pragma once
// The records a print or an export walks, in their order: one selected entry, the
// entries of the index list, the tagged entries or all entries, sorted by their sort
// text without regard to case; the events of a diary in its own sort order.

#include "core/common/date_time.h"

#include <vector>

namespace tessaly {

class TBookData;
class TDiaryData;
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

// The diary's events whose day lies within first..last (unless allDates) and that are
// not completed (unless includeCompleted), in the order of the diary's sort key.
std::vector<const TReminders*> DiaryEventOrder(const TDiaryData& diary, bool allDates,
                                               bool includeCompleted, TDateTime first,
                                               TDateTime last);

} // namespace tessaly
