#pragma once
// The undo history of a book: the last stores and deletions of entries, newest last.
// Never stored. An entry is recognised by its stamp alone, so a record keeps the
// stamp of the live entry rather than a pointer to it.

#include "core/common/date_time.h"
#include "core/store/my_list.h"
#include "core/store/record.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace tessaly {

// Undo kinds.
constexpr int kUndoAdded = 0;
constexpr int kUndoChanged = 1;
constexpr int kUndoDeleted = 2;

// The range of the "Undo Level" setting: the most records the history keeps.
constexpr int kMinUndoLevel = 1;
constexpr int kMaxUndoLevel = 30;
// The level brought into that range, whatever the settings hold.
int ClampUndoLevel(int level);

class TUndo {
public:
    std::int32_t Kind = kUndoAdded;
    // Stamp of the entry in the book that the action touched (kinds 0 and 1).
    std::optional<TDateTime> Live;
    // The entry as it was before the change or deletion (kinds 1 and 2).
    std::unique_ptr<TRecord> Saved;

    TUndo() = default;
    TUndo(const TUndo& other);
    TUndo& operator=(const TUndo& other);
    TUndo(TUndo&&) noexcept = default;
    TUndo& operator=(TUndo&&) noexcept = default;

    bool operator==(const TUndo& other) const;
};

class TUndoList : public TMyList<TUndo> {
public:
    // Removes the oldest records while `limit` (brought into 1-30) or more are held,
    // then appends a record of the kind for the entry: kind 0 keeps the
    // entry's stamp, kind 1 its stamp and a clone, kind 2 a clone.
    void PushUndo(int kind, const TRecord& entry, int limit);
    // The newest record, nullptr when empty.
    TUndo* TopUndo() const { return At(Count() - 1); }
    // Removes the newest record; returns true when the list is empty afterwards (the
    // caller sounds the beep).
    bool PopUndo();
};

} // namespace tessaly
