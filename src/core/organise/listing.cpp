#include "core/organise/listing.h"

#include "core/common/date_time.h"
#include "core/organise/entry_text.h"
#include "core/organise/search_match.h"

#include <algorithm>
#include <utility>

namespace tessaly {

namespace {

// Room set aside for each entry's texts: a name or two and a blank.
constexpr std::size_t kTextBytesPerEntry = 24;

} // namespace

TListing::TListing(TSearchOf searchOf, const IClock& clock)
    : searchOf_(std::move(searchOf)), clock_(clock) {}

std::optional<TListedTexts> TListing::TextsNeeded(const TBookData& book) {
    const TFilter* search = searchOf_ ? searchOf_(book) : nullptr;
    if (search && SearchReadsTexts(*search))
        return std::nullopt;
    // An entry's list text is built from the fields its keys name, and so is the
    // sort text a search's starts-with looks at.
    TListedTexts texts;
    texts.AddKeys(book.IndexKeys);
    return texts;
}

void TListing::EntriesBegin(TBookData& book, std::size_t count) {
    book_ = &book;
    search_ = searchOf_ ? searchOf_(book) : nullptr;
    today_ = DateOf(clock_.Now());
    texts_.clear();
    lines_.clear();
    texts_.reserve(count * kTextBytesPerEntry);
    lines_.reserve(count);
}

void TListing::EntryRead(TRecord& entry) {
    const TIndexList& keys = book_->IndexKeys;
    const std::string sortText = SortText(entry, keys);
    if (search_ && !EntryMatches(*search_, entry, sortText, today_))
        return;
    // A book holds at most 32,767 entries with two short texts each: the offsets and
    // sizes stay well inside their fields.
    TLine line;
    line.Head = SortKeyOf(sortText, 0).Head;
    line.At = static_cast<std::uint32_t>(texts_.size());
    line.SortSize = static_cast<std::uint16_t>(sortText.size());
    texts_ += sortText;
    if (SortTextIsDisplayText(entry, keys, sortText)) {
        line.Shown = line.SortSize;
    } else {
        const std::string shown = DisplayText(static_cast<const TRecord&>(entry), keys);
        line.Shown = static_cast<std::uint16_t>(shown.size() | kShownApart);
        texts_ += shown;
    }
    lines_.push_back(line);
}

void TListing::EntriesEnd(bool complete) noexcept {
    book_ = nullptr; // it may be freed once this returns
    search_ = nullptr;
    if (!complete) {
        texts_.clear();
        lines_.clear();
        return;
    }
    Order();
}

void TListing::Order() noexcept {
    // By the heads first, equal heads in the order of the entries: four numbers to
    // compare, no text.
    const auto byHead = [](const TLine& a, const TLine& b) {
        if (a.Head[0] != b.Head[0])
            return a.Head[0] < b.Head[0];
        if (a.Head[1] != b.Head[1])
            return a.Head[1] < b.Head[1];
        if (a.Head[2] != b.Head[2])
            return a.Head[2] < b.Head[2];
        return a.At < b.At;
    };
    std::sort(lines_.begin(), lines_.end(), byHead);
    // Then each run of equal heads by the rest of its texts, where some go on past the
    // head; texts that end within it are the same text and stay in entry order.
    for (auto run = lines_.begin(); run != lines_.end();) {
        auto end = run + 1;
        bool longer = run->SortSize > TSortKey::kHeadBytes;
        for (; end != lines_.end() && end->Head == run->Head; ++end)
            longer = longer || end->SortSize > TSortKey::kHeadBytes;
        if (longer && end - run > 1)
            std::sort(run, end, [this](const TLine& a, const TLine& b) {
                const int c = CompareSortTails(SortTextOf(a), SortTextOf(b));
                return c < 0 || (c == 0 && a.At < b.At);
            });
        run = end;
    }
}

} // namespace tessaly
