#pragma once
// TIndex: one index key (a field of the entry and whether it takes part in sorting),
// and TIndexList, used for the book's and each entry's keys and the insert fields.

#include "core/store/my_list.h"

#include <cstdint>
#include <memory>

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

    static std::unique_ptr<TIndex> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TIndex&) const = default;
};

class TIndexList : public TMyList<TIndex> {
public:
    // Appends a key; returns its index.
    int AddKey(int code, bool sortBy);
    // Inserts a key at 0 <= position <= Count(); -1 for any other position.
    int InsertKey(int position, int code, bool sortBy);
    int KeyCode(int i) const;   // -1 when out of range
    int KeySortBy(int i) const; // 0 when out of range
    void SetKeySortBy(int i, bool sortBy);
    void DeleteKey(int i) { Delete(i); }
    void MoveKey(int from, int to) { Move(from, to); }
    bool HasCode(int code) const;

    // No header fields: the count and the keys.
    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

// Clears the target and appends copies of the source's keys.
void AssignKeys(TIndexList& target, const TIndexList& source);

} // namespace tessaly
