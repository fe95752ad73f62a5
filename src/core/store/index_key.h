#pragma once
// TIndex: one index key (a field of the entry and whether it takes part in sorting),
// and TIndexList, used for the book's and each entry's keys and the insert fields.

#include "core/store/stream.h"

#include <cstdint>
#include <vector>

namespace tessaly {

// Index key codes: 0-9 a name field; kAddressKeyBase + n address field n of the
// entry's first address.
constexpr int kAddressKeyBase = 20;

class TIndex {
public:
    std::int16_t Code = 0;
    std::uint8_t SortBy = 0;

    TIndex() = default;
    TIndex(int code, bool sortBy) : Code(static_cast<std::int16_t>(code)), SortBy(sortBy ? 1 : 0) {}

    static TIndex Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TIndex&) const = default;
};

// Stored and read as the other lists are (an int16 count, then the keys), but holding
// its keys by value: every entry has such a list, and a key is three bytes.
class TIndexList {
public:
    int Count() const { return static_cast<int>(keys_.size()); }
    bool Empty() const { return keys_.empty(); }
    bool InRange(int i) const { return i >= 0 && i < Count(); }
    // The key at an index, or nullptr out of range; valid until the list changes.
    const TIndex* At(int i) const {
        return InRange(i) ? &keys_[static_cast<std::size_t>(i)] : nullptr;
    }
    TIndex* At(int i) { return InRange(i) ? &keys_[static_cast<std::size_t>(i)] : nullptr; }
    auto begin() const { return keys_.begin(); }
    auto end() const { return keys_.end(); }

    // Appends a key; returns its index.
    int AddKey(int code, bool sortBy);
    int AddKey(const TIndex& key);
    // Inserts a key at 0 <= position <= Count(); -1 for any other position.
    int InsertKey(int position, int code, bool sortBy);
    int KeyCode(int i) const;   // -1 when out of range
    int KeySortBy(int i) const; // 0 when out of range
    void SetKeySortBy(int i, bool sortBy);
    // Out of range does nothing.
    void DeleteKey(int i);
    // Moves the key at `from` so that it stands at `to`; out of range does nothing.
    void MoveKey(int from, int to);
    bool HasCode(int code) const;
    void Clear() { keys_.clear(); }

    // No header fields: the count and the keys.
    void Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TIndexList&) const = default;

private:
    std::vector<TIndex> keys_;
};

// Makes the target's keys copies of the source's.
void AssignKeys(TIndexList& target, const TIndexList& source);

} // namespace tessaly
