#include "core/organise/list_read_ahead.h"

#include "core/common/date_time.h"
#include "core/organise/search_match.h"

#include <algorithm>
#include <limits>
#include <new>
#include <system_error>
#include <utility>

namespace tessaly {

namespace {

// The reader hands entries over this many at a time: a worker that has caught up then
// sleeps until a batch is ready, instead of being woken for every entry.
constexpr std::uint32_t kBatch = 256;

} // namespace

TListReadAhead::TListReadAhead(TSearchOf searchOf, const IClock& clock, std::size_t from)
    : searchOf_(std::move(searchOf)), clock_(clock), from_(from) {}

TListReadAhead::~TListReadAhead() {
    StopWorker();
}

std::optional<TListedTexts> TListReadAhead::TextsNeeded(const TBookData& book) {
    if (!listedOnly_)
        return std::nullopt;
    const TFilter* search = searchOf_ ? searchOf_(book) : nullptr;
    if (search && SearchReadsTexts(*search))
        return std::nullopt;
    // An entry's list text is built from the fields its keys name, and so is the
    // sort text a search's starts-with looks at.
    TListedTexts texts;
    texts.AddKeys(book.IndexKeys);
    return texts;
}

void TListReadAhead::EntriesBegin(TBookData& book, std::size_t count) {
    StopWorker();
    book_ = &book;
    search_ = searchOf_ ? searchOf_(book) : nullptr;
    today_ = DateOf(clock_.Now());
    complete_ = false;
    finished_ = false;
    first_ = {};
    second_ = {};
    entries_.clear();
    handed_ = 0;
    read_.store(0, std::memory_order_relaxed);
    if (count < from_ || count >= std::numeric_limits<std::uint32_t>::max())
        return;
    try {
        entries_.assign(count, nullptr);
        worker_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
        entries_.clear(); // no thread to be had: the list is built after the reading
    } catch (const std::bad_alloc&) {
        entries_.clear();
    }
}

void TListReadAhead::EntryRead(TRecord& entry) {
    if (!worker_.joinable() || handed_ >= entries_.size())
        return;
    entries_[handed_++] = &entry;
    if (handed_ % kBatch == 0 || handed_ == entries_.size()) {
        read_.store(static_cast<std::uint32_t>(handed_), std::memory_order_release);
        read_.notify_one();
    }
}

void TListReadAhead::EntriesEnd(bool complete) noexcept {
    // Every entry counted must have been handed over, or the worker would wait for
    // the missing ones.
    complete_ = complete && handed_ == entries_.size();
    if (!complete_) {
        StopWorker();
        return;
    }
    // The worker finishes the last entries and orders them; the book may go once it has.
    if (worker_.joinable())
        worker_.join();
}

void TListReadAhead::StopWorker() noexcept {
    if (!worker_.joinable())
        return;
    read_.store(static_cast<std::uint32_t>(entries_.size()) + 1, std::memory_order_release);
    read_.notify_one();
    worker_.join();
}

bool TListReadAhead::CollectUpTo(std::size_t end, std::size_t& done, TEntryList::TCollected& out) {
    const std::size_t count = entries_.size();
    while (done < end) {
        std::uint32_t ready = read_.load(std::memory_order_acquire);
        if (ready > count)
            return false;
        if (ready == done) {
            read_.wait(ready, std::memory_order_acquire);
            continue;
        }
        for (const std::size_t upTo = std::min<std::size_t>(ready, end); done < upTo; ++done)
            TEntryList::CollectEntry(*entries_[done], book_->IndexKeys, search_, today_, out);
    }
    return true;
}

void TListReadAhead::Work() {
    try {
        const std::size_t count = entries_.size();
        const std::size_t half = count / 2;
        first_.Items.reserve(half);
        first_.Keys.reserve(half);
        second_.Items.reserve(count - half);
        second_.Keys.reserve(count - half);
        // The first half is ordered while the reader is still on the second.
        std::size_t done = 0;
        if (!CollectUpTo(half, done, first_))
            return;
        TEntryList::SortCollected(first_);
        if (!CollectUpTo(count, done, second_))
            return;
        TEntryList::SortCollected(second_);
        finished_ = true;
    } catch (...) {
        // Out of memory on the way: the list is built after the reading instead.
    }
}

bool TListReadAhead::ReadWhole(const TBookData& book, const TFilter* search,
                               TDateTime today) const {
    return complete_ && finished_ && book_ == &book && search_ == search && today_ == today;
}

} // namespace tessaly
