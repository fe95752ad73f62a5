#pragma once
// The entry list of a book window as a model: one item per entry that passes the
// active search, each carrying its entry and its sort text, kept in the order of the
// sort texts compared without regard to case. Entries with equal sort texts keep the
// order they have in the book's Entries.

#include "core/organise/sort_key.h"
#include "core/store/book.h"
#include "core/system/clock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TEntryList {
public:
    // The clock gives "today" for the due-reminder test of searches.
    explicit TEntryList(TBookData& book, const IClock& clock = SystemClock::Instance());

    // Lists every entry of the book that passes the book's active search. Entries that
    // follow the book's keys take a copy of them first.
    void Rebuild();
    // The same with another search, which must outlive the list or the next Rebuild;
    // nullptr lists every entry.
    void Rebuild(const TFilter* search);

    int Count() const { return static_cast<int>(items_.size()); }
    // By list index; nullptr, an empty text or false out of range.
    TRecord* EntryAt(int i) const;
    const std::string& SortTextAt(int i) const;
    // The text the item is drawn with.
    std::string DisplayTextAt(int i) const;
    // The same, added to the end of `out` (nothing out of range).
    void AppendDisplayTextAt(std::string& out, int i) const;
    // Whether the entry passed the search when it was listed (an entry added on request
    // may not; the view draws it differently).
    bool PassesAt(int i) const;
    // List index of an entry, -1 when it is not listed.
    int IndexOfEntry(const TRecord* entry) const;

    // Lists an entry of the book at its sorted place, whether it passes the search or
    // not (an added entry, or one shown on request). An entry already listed is
    // placed again. Returns its list index.
    int InsertEntry(TRecord& entry);
    // After a change: the entry's sort text is built again and its item moved to its
    // new place. Returns the list index (the entry is listed if it was not).
    int ResortEntry(TRecord& entry) { return InsertEntry(entry); }
    // Removes an entry's item; returns the index it had, -1 when it was not listed.
    int RemoveEntry(const TRecord* entry);
    // The item selected after the item at `removed` was deleted: the one now at the
    // same index, or the last; -1 when the list is empty.
    int SelectionAfterRemoval(int removed) const;

    // The first item whose sort text begins with the prefix, without regard to case;
    // -1 if none. An empty prefix finds the first item.
    int FindPrefix(std::string_view prefix) const;

private:
    struct TItem {
        TRecord* Entry = nullptr;
        std::string SortText;
        bool Passes = true;
        bool SortIsDisplay = false; // the sort text is also the text drawn
    };

    // The entry's item, its keys brought up to date first; Passes is left true.
    static TItem ItemFor(TRecord& entry, const TIndexList& bookKeys);
    // The items of the entries that pass the search, with their sort keys in order.
    struct TCollected {
        std::vector<TItem> Items;
        std::vector<TSortKey> Keys;
    };
    void CollectItems(std::span<const std::unique_ptr<TRecord>> entries, const TFilter* search,
                      TDateTime today, TCollected& out) const;
    // Adds the entry's item and sort key when it passes the search.
    static void CollectEntry(TRecord& entry, const TIndexList& bookKeys, const TFilter* search,
                             TDateTime today, TCollected& out);
    // Puts the keys in order; equal texts keep the order they were collected in.
    static void SortCollected(TCollected& collected);
    // The items of two ordered halves, the first half's entries standing before the
    // second's in Entries, become the list's items in order.
    void TakeMerged(TCollected& first, TCollected& second);
    // The order of two items' sort texts without regard to case (<0, 0, >0); the keys
    // index the items given with them.
    static int CompareSortKeys(const TSortKey& a, const std::vector<TItem>& itemsA,
                               const TSortKey& b, const std::vector<TItem>& itemsB) {
        const int c = CompareSortHeads(a, b);
        return c != 0 ? c : CompareSortTails(itemsA[a.Index].SortText, itemsB[b.Index].SortText);
    }
    // From this many entries on, a list is built on two threads.
    static constexpr std::size_t kTwoThreadsFrom = 8192;

    int PlaceFor(const TItem& item) const;

    TBookData& book_;
    const IClock& clock_;
    const TFilter* search_ = nullptr;
    bool followsActive_ = false; // built with the book's active search
    std::vector<TItem> items_;
};

} // namespace tessaly
