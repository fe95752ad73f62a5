#pragma once
// The owners of events as the calendar, the agenda and the alarm list see them: each
// open address book (reminders of its entries) and each open diary (its events).
// Items refer to an event by owner and position, never by address, so a diary that
// is re-read or a book that changes leaves no item pointing at freed memory: an
// item whose position no longer exists simply resolves to nothing.

#include "core/diary/diary.h"
#include "core/store/book.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaly {

struct TEventSource {
    const void* Owner = nullptr; // the owner's identity (its window); never dereferenced
    const TBookData* Book = nullptr;
    const TDiaryData* Diary = nullptr;
};

// Where one event stands: its owner, the entry (-1 for a diary event) and its index.
struct TEventRef {
    const void* Owner = nullptr;
    int Entry = -1;
    int Event = -1;
    bool operator==(const TEventRef&) const = default;
};

// The reminder sort order of an owner: the diary's SortOrder or the book's own.
int OwnerSortOrder(const TEventSource& source);

// Calls f(ref, event) for every event of the source, in file order.
void ForEachEvent(const TEventSource& source,
                  const std::function<void(const TEventRef&, const TReminders&)>& f);

// The event a reference names among the sources; nullptr when its owner is gone or
// its position no longer exists.
const TReminders* ResolveEvent(const std::vector<TEventSource>& sources, const TEventRef& ref);
// The book entry a reference names, nullptr for a diary event.
const TRecord* ResolveEntry(const std::vector<TEventSource>& sources, const TEventRef& ref);

// Every distinct non-empty description of the sources' events, sorted: the
// suggestions of the reminder dialog's description box.
std::vector<std::string> DistinctDescriptions(const std::vector<TEventSource>& sources);

} // namespace tessaly
