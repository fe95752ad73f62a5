#include "core/organise/entry_list.h"

#include "core/common/upper_case.h"
#include "core/organise/entry_text.h"
#include "core/organise/search_match.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <iterator>
#include <system_error>
#include <thread>
#include <unordered_set>

namespace tessaly {

TEntryList::TEntryList(TBookData& book, const IClock& clock) : book_(book), clock_(clock) {}

void TEntryList::Rebuild() {
    Rebuild(book_.Searches.ActiveSearch());
    followsActive_ = true;
}

void TEntryList::CollectItems(std::span<const std::unique_ptr<TRecord>> entries,
                              const TFilter* search, TDateTime today, TCollected& out) const {
    out.Items.reserve(entries.size());
    out.Keys.reserve(entries.size());
    // Bring the keys of the entries that follow the book's up to date first: a loop
    // this small lets the processor wait for many entries' keys at once.
    for (const auto& entry : entries)
        if (entry)
            ApplyBookKeys(*entry, book_.IndexKeys);
    for (const auto& entry : entries)
        if (entry)
            CollectEntry(*entry, book_.IndexKeys, search, today, out);
    SortCollected(out);
}

void TEntryList::CollectEntry(TRecord& entry, const TIndexList& bookKeys, const TFilter* search,
                              TDateTime today, TCollected& out) {
    TItem item = ItemFor(entry, bookKeys);
    if (search && !EntryMatches(*search, entry, item.SortText, today))
        return;
    out.Keys.push_back(SortKeyOf(item.SortText, static_cast<std::uint32_t>(out.Items.size())));
    out.Items.push_back(std::move(item));
}

void TEntryList::SortCollected(TCollected& collected) {
    // Equal texts keep the order of the entries.
    const std::vector<TItem>& items = collected.Items;
    std::sort(collected.Keys.begin(), collected.Keys.end(),
              [&items](const TSortKey& a, const TSortKey& b) {
                  const int c = CompareSortKeys(a, items, b, items);
                  return c < 0 || (c == 0 && a.Index < b.Index);
              });
}

void TEntryList::Rebuild(const TFilter* search) {
    search_ = search;
    followsActive_ = false;
    const TDateTime today = DateOf(clock_.Now());
    const std::span<const std::unique_ptr<TRecord>> entries(book_.Entries.begin(),
                                                            book_.Entries.end());
    // A large book is listed in two halves at once, each ordered on its own thread and
    // then merged: building and ordering the sort texts is most of what a list costs,
    // and the entries are apart from one another.
    TCollected first;
    TCollected second;
    const std::size_t half = entries.size() >= kTwoThreadsFrom ? entries.size() / 2 : 0;
    std::exception_ptr failed;
    std::thread helper;
    if (half > 0) {
        try {
            helper = std::thread([&] {
                try {
                    CollectItems(entries.subspan(half), search, today, second);
                } catch (...) {
                    failed = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: this one goes through the whole book.
        }
    }
    try {
        CollectItems(entries.first(helper.joinable() ? half : entries.size()), search, today,
                     first);
    } catch (...) {
        if (helper.joinable())
            helper.join();
        throw;
    }
    if (helper.joinable())
        helper.join();
    if (failed)
        std::rethrow_exception(failed);

    TakeMerged(first, second);
}

void TEntryList::TakeMerged(TCollected& first, TCollected& second) {
    // Ordered by sort text without regard to case; on equal texts the first half's item
    // goes first, as its entry stands earlier in Entries.
    items_.clear();
    items_.reserve(first.Items.size() + second.Items.size());
    auto a = first.Keys.begin();
    auto b = second.Keys.begin();
    while (a != first.Keys.end() && b != second.Keys.end()) {
        if (CompareSortKeys(*b, second.Items, *a, first.Items) < 0) {
            items_.push_back(std::move(second.Items[b->Index]));
            ++b;
        } else {
            items_.push_back(std::move(first.Items[a->Index]));
            ++a;
        }
    }
    for (; a != first.Keys.end(); ++a)
        items_.push_back(std::move(first.Items[a->Index]));
    for (; b != second.Keys.end(); ++b)
        items_.push_back(std::move(second.Items[b->Index]));
}

TRecord* TEntryList::EntryAt(int i) const {
    return i >= 0 && i < Count() ? items_[static_cast<std::size_t>(i)].Entry : nullptr;
}

const std::string& TEntryList::SortTextAt(int i) const {
    static const std::string empty;
    return i >= 0 && i < Count() ? items_[static_cast<std::size_t>(i)].SortText : empty;
}

TEntryList::TItem TEntryList::ItemFor(TRecord& entry, const TIndexList& bookKeys) {
    ApplyBookKeys(entry, bookKeys);
    TItem item{&entry, SortText(static_cast<const TRecord&>(entry), bookKeys), true, false};
    item.SortIsDisplay = SortTextIsDisplayText(entry, bookKeys, item.SortText);
    return item;
}

std::string TEntryList::DisplayTextAt(int i) const {
    std::string text;
    AppendDisplayTextAt(text, i);
    return text;
}

void TEntryList::AppendDisplayTextAt(std::string& out, int i) const {
    if (i < 0 || i >= Count())
        return;
    const TItem& item = items_[static_cast<std::size_t>(i)];
    if (item.SortIsDisplay)
        out += item.SortText;
    else
        out += DisplayText(*item.Entry, book_.IndexKeys);
}

bool TEntryList::PassesAt(int i) const {
    return i >= 0 && i < Count() && items_[static_cast<std::size_t>(i)].Passes;
}

int TEntryList::IndexOfEntry(const TRecord* entry) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Entry == entry)
            return static_cast<int>(i);
    return -1;
}

int TEntryList::InsertEntry(TRecord& entry) {
    RemoveEntry(&entry);
    TItem item = ItemFor(entry, book_.IndexKeys);
    // The book's searches may have been replaced since (a dialog's copy committed), so
    // the active one is looked up afresh.
    const TFilter* search = followsActive_ ? book_.Searches.ActiveSearch() : search_;
    if (search)
        item.Passes = EntryMatches(*search, entry, item.SortText, DateOf(clock_.Now()));
    const int at = PlaceFor(item);
    items_.insert(items_.begin() + at, std::move(item));
    return at;
}

int TEntryList::RemoveEntry(const TRecord* entry) {
    const int i = IndexOfEntry(entry);
    if (i >= 0)
        items_.erase(items_.begin() + i);
    return i;
}

int TEntryList::SelectionAfterRemoval(int removed) const {
    if (items_.empty())
        return -1;
    return std::clamp(removed, 0, Count() - 1);
}

int TEntryList::FindPrefix(std::string_view prefix) const {
    // Items starting with the prefix follow one another from the first item that does
    // not sort before it.
    const auto it = std::lower_bound(
        items_.begin(), items_.end(), prefix,
        [](const TItem& item, std::string_view p) { return CompareNoCase(item.SortText, p) < 0; });
    if (it == items_.end() || !StartsWithNoCase(it->SortText, prefix))
        return -1;
    return static_cast<int>(it - items_.begin());
}

int TEntryList::PlaceFor(const TItem& item) const {
    auto less = [](const TItem& a, const TItem& b) {
        return CompareNoCase(a.SortText, b.SortText) < 0;
    };
    const auto [first, last] = std::equal_range(items_.begin(), items_.end(), item, less);
    if (first == last)
        return static_cast<int>(first - items_.begin());

    // Equal sort texts: the place follows the order of the entries in the book, so
    // it goes after every tied entry that stands before it in Entries. An entry that
    // is not in the book goes after all of them.
    std::unordered_set<const TRecord*> tied;
    for (auto it = first; it != last; ++it)
        tied.insert(it->Entry);
    int before = 0;
    for (const auto& e : book_.Entries) {
        if (e.get() == item.Entry)
            return static_cast<int>(first - items_.begin()) + before;
        if (tied.contains(e.get()))
            ++before;
    }
    return static_cast<int>(last - items_.begin());
}

} // namespace tessaly
