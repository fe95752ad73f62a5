#pragma once
// TListing: a book's list as lines of text, built while the book is read. Each entry
// that passes the search leaves its sort text and the text it is drawn with, and is
// dropped at once; only the texts the list shows are read, where the search looks at
// no others. The lines come out in the order of an entry list of the same book
// (entry_list.h): by sort text without regard to case, equal texts in book order.

#include "core/organise/sort_key.h"
#include "core/store/book.h"
#include "core/store/entry_read_watch.h"
#include "core/system/clock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TListing final : public IEntryReadWatch {
public:
    // Gives the search the list is built with, from the book as it stands before its
    // entries (its searches are read by then); nullptr lists every entry.
    using TSearchOf = std::function<const TFilter*(const TBookData&)>;
    explicit TListing(TSearchOf searchOf, const IClock& clock = SystemClock::Instance());

    std::optional<TListedTexts> TextsNeeded(const TBookData& book) override;
    bool KeepsEntries() const override { return false; }
    void EntriesBegin(TBookData& book, std::size_t count) override;
    void EntryRead(TRecord& entry) override;
    void EntriesEnd(bool complete) noexcept override;

    // The lines of the last book read whole; none when its reading failed.
    std::size_t Count() const { return lines_.size(); }
    // The text drawn for the i-th line in list order.
    std::string_view TextAt(std::size_t i) const {
        const TLine& line = lines_[i];
        const std::size_t from = line.At + (line.Shown & kShownApart ? line.SortSize : 0);
        return std::string_view(texts_).substr(from, line.Shown & ~kShownApart);
    }

private:
    // An entry's sort key (sort_key.h) and where its texts stand in texts_: the sort
    // text at At, followed by the drawn text when the two differ. Texts are kept in the
    // order of the entries, so At also orders entries with equal texts. Both texts are
    // at most 255 characters long.
    struct TLine {
        std::array<std::uint64_t, TSortKey::kHeadBytes / 8> Head{};
        std::uint32_t At = 0;
        std::uint16_t SortSize = 0;
        std::uint16_t Shown = 0; // the drawn text's size, with kShownApart
    };
    static constexpr std::uint16_t kShownApart = 0x8000;
    std::string_view SortTextOf(const TLine& line) const {
        return std::string_view(texts_).substr(line.At, line.SortSize);
    }
    // Puts the lines in list order.
    void Order() noexcept;

    TSearchOf searchOf_;
    const IClock& clock_;
    const TBookData* book_ = nullptr;
    const TFilter* search_ = nullptr;
    TDateTime today_ = 0;
    std::string texts_; // every line's texts, one after another
    std::vector<TLine> lines_;
};

} // namespace tessaly
