#pragma once
// IEntryReadWatch: told of a book's entries while the book is being read, so that work
// on them (a listing's sort texts) can go on beside the reading of the rest.

#include <cstddef>

namespace tessaly {

class TBookData;
class TRecord;

class IEntryReadWatch {
public:
    virtual ~IEntryReadWatch() = default;
    // Everything the file holds before the entries is read (the index keys and the
    // searches among it) and will not change; `count` entries follow.
    virtual void EntriesBegin(const TBookData& book, std::size_t count) = 0;
    // The next entry is complete. Until EntriesEnd returns, nothing else changes it
    // and it stays where it is.
    virtual void EntryRead(TRecord& entry) = 0;
    // No more entries: every one was read, or the reading failed. Once this returns
    // the watch must not touch the book, which may be freed at once.
    virtual void EntriesEnd(bool complete) noexcept = 0;
};

} // namespace tessaly
