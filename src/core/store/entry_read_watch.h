#pragma once
// IEntryReadWatch: told of a book's entries while the book is being read, so that work
// on them (a listing's sort texts) can go on beside the reading of the rest.

#include "core/store/record.h"

#include <cstddef>
#include <optional>

namespace tessaly {

class TBookData;

class IEntryReadWatch {
public:
    virtual ~IEntryReadWatch() = default;
    // Asked before the entries, of the book as it stands then: the only texts of each
    // entry that the reader's user will look at, or none to read them all. The others
    // are then stepped over, and the book is marked ListingOnly and never saved.
    virtual std::optional<TListedTexts> TextsNeeded(const TBookData& book) {
        (void)book;
        return std::nullopt;
    }
    // False when no entry is kept: each is dropped as soon as the watch was told of it,
    // and the book is read without its entries (a check of the file).
    virtual bool KeepsEntries() const { return true; }
    // Everything the file holds before the entries is read (the index keys and the
    // searches among it), its header values already in range; `count` entries follow.
    // Nothing but the watch changes it from here on (a rewrite stamps the header).
    virtual void EntriesBegin(TBookData& book, std::size_t count) = 0;
    // The next entry is complete. Until EntriesEnd returns, nothing else changes it
    // and it stays where it is.
    virtual void EntryRead(TRecord& entry) = 0;
    // No more entries: every one was read, or the reading failed. Once this returns
    // the watch must not touch the book, which may be freed at once.
    virtual void EntriesEnd(bool complete) noexcept = 0;
};

} // namespace tessaly
