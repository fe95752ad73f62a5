#pragma once
// TListReadAhead: builds a listing's items on a thread of its own while the book is
// still being read, for TEntryList::Rebuild to take over. For a large book, reading
// the file and building the sort texts then go on side by side instead of one after
// the other.

#include "core/organise/entry_list.h"
#include "core/store/entry_read_watch.h"
#include "core/system/clock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace tessaly {

class TListReadAhead final : public IEntryReadWatch {
public:
    // Gives the search the list will be built with, from the book as it stands before
    // its entries (its searches are read by then); nullptr lists every entry.
    using TSearchOf = std::function<const TFilter*(const TBookData&)>;
    // A book of fewer entries than `from` is listed after it is read, as usual.
    explicit TListReadAhead(TSearchOf searchOf, const IClock& clock = SystemClock::Instance(),
                            std::size_t from = kFrom);
    ~TListReadAhead() override;
    TListReadAhead(const TListReadAhead&) = delete;
    TListReadAhead& operator=(const TListReadAhead&) = delete;

    // Has the book read with only the texts its list shows, where the search looks at
    // no others: a book read so is never saved (IEntryReadWatch::TextsNeeded).
    void ReadListedTextsOnly() { listedOnly_ = true; }

    std::optional<TListedTexts> TextsNeeded(const TBookData& book) override;
    void EntriesBegin(TBookData& book, std::size_t count) override;
    void EntryRead(TRecord& entry) override;
    void EntriesEnd(bool complete) noexcept override;

    static constexpr std::size_t kFrom = 8192;

private:
    friend class TEntryList;

    // Whether the items are those of this book read whole, for this search and day.
    bool ReadWhole(const TBookData& book, const TFilter* search, TDateTime today) const;
    void Work();
    // Collects the entries up to `end` as the reader hands them over; false when the
    // reading was given up first.
    bool CollectUpTo(std::size_t end, std::size_t& done, TEntryList::TCollected& out);
    void StopWorker() noexcept;

    TSearchOf searchOf_;
    const IClock& clock_;
    std::size_t from_;
    bool listedOnly_ = false;
    const TBookData* book_ = nullptr;
    const TFilter* search_ = nullptr;
    TDateTime today_ = 0;
    // Filled by the reader, `handed_` of them so far; `read_` says how many the worker
    // may take, and is past their count when the reading was given up.
    std::vector<TRecord*> entries_;
    std::size_t handed_ = 0;
    std::atomic<std::uint32_t> read_{0};
    std::thread worker_;
    bool complete_ = false;
    bool finished_ = false; // set by the worker once both halves are collected and ordered
    // The first half of the entries and the rest, each in order.
    TEntryList::TCollected first_;
    TEntryList::TCollected second_;
};

} // namespace tessaly
