#include "core/organise/entry_list.h"

#include "core/common/upper_case.h"
#include "core/organise/entry_text.h"
#include "core/organise/search_match.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_set>

namespace tessaly {

TEntryList::TEntryList(TBookData& book, const IClock& clock) : book_(book), clock_(clock) {}

void TEntryList::Rebuild() {
    Rebuild(book_.Searches.ActiveSearch());
    followsActive_ = true;
}

namespace {

// The first 24 bytes of a sort text in upper case, as numbers that compare as the
// bytes do, with the item's index behind them. Sorting these small records keeps the
// sort from chasing every text through memory; only texts that share the first 24
// bytes are compared whole.
constexpr std::size_t kHeadBytes = 24;

struct TSortKey {
    std::array<std::uint64_t, kHeadBytes / 8> Head{};
    std::uint32_t Index = 0;
};

TSortKey MakeSortKey(std::string_view text, std::uint32_t index) {
    TSortKey key;
    key.Index = index;
    const std::size_t n = std::min(text.size(), kHeadBytes);
    for (std::size_t i = 0; i < n; ++i)
        key.Head[i / 8] |= std::uint64_t{UpperByte(static_cast<unsigned char>(text[i]))}
                           << (8 * (7 - i % 8));
    return key;
}

} // namespace

void TEntryList::Rebuild(const TFilter* search) {
    search_ = search;
    followsActive_ = false;
    std::vector<TItem> items;
    items.reserve(static_cast<std::size_t>(book_.Entries.Count()));
    const TDateTime today = DateOf(clock_.Now());
    // Bring the keys of the entries that follow the book's up to date first: a loop
    // this small lets the processor wait for many entries' keys at once.
    for (const auto& entry : book_.Entries)
        if (entry)
            ApplyBookKeys(*entry, book_.IndexKeys);
    for (const auto& entry : book_.Entries) {
        if (!entry)
            continue;
        std::string sort = SortText(static_cast<const TRecord&>(*entry), book_.IndexKeys);
        if (!search || EntryMatches(*search, *entry, sort, today))
            items.push_back({entry.get(), std::move(sort), true});
    }

    // Ordered by sort text without regard to case; equal texts in the order of Entries.
    std::vector<TSortKey> keys;
    keys.reserve(items.size());
    for (std::uint32_t i = 0; i < items.size(); ++i)
        keys.push_back(MakeSortKey(items[i].SortText, i));
    std::sort(keys.begin(), keys.end(), [&items](const TSortKey& a, const TSortKey& b) {
        if (a.Head != b.Head)
            return a.Head < b.Head;
        // The heads are equal, so the texts agree up to where the shorter one or the
        // head ends.
        const std::string_view x = items[a.Index].SortText;
        const std::string_view y = items[b.Index].SortText;
        const std::size_t same = std::min({kHeadBytes, x.size(), y.size()});
        const int c = CompareNoCase(x.substr(same), y.substr(same));
        return c < 0 || (c == 0 && a.Index < b.Index);
    });
    items_.clear();
    items_.reserve(items.size());
    for (const TSortKey& key : keys)
        items_.push_back(std::move(items[key.Index]));
}

TRecord* TEntryList::EntryAt(int i) const {
    return i >= 0 && i < Count() ? items_[static_cast<std::size_t>(i)].Entry : nullptr;
}

const std::string& TEntryList::SortTextAt(int i) const {
    static const std::string empty;
    return i >= 0 && i < Count() ? items_[static_cast<std::size_t>(i)].SortText : empty;
}

std::string TEntryList::DisplayTextAt(int i) const {
    const TRecord* entry = EntryAt(i);
    return entry ? DisplayText(*entry, book_.IndexKeys) : std::string();
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
    TItem item{&entry, SortText(entry, book_.IndexKeys), true};
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
