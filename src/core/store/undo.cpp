#include "core/store/undo.h"

#include <algorithm>

namespace tessaly {

TUndo::TUndo(const TUndo& other)
    : Kind(other.Kind), Live(other.Live),
      Saved(other.Saved ? std::make_unique<TRecord>(*other.Saved) : nullptr) {}

TUndo& TUndo::operator=(const TUndo& other) {
    if (this != &other) {
        TUndo copy(other);
        *this = std::move(copy);
    }
    return *this;
}

bool TUndo::operator==(const TUndo& other) const {
    if (Kind != other.Kind || Live != other.Live || bool(Saved) != bool(other.Saved))
        return false;
    return !Saved || *Saved == *other.Saved;
}

int ClampUndoLevel(int level) {
    return std::clamp(level, kMinUndoLevel, kMaxUndoLevel);
}

void TUndoList::PushUndo(int kind, const TRecord& entry, int limit) {
    limit = ClampUndoLevel(limit);
    while (Count() >= limit)
        Delete(0);
    auto undo = std::make_unique<TUndo>();
    undo->Kind = kind;
    if (kind != kUndoDeleted)
        undo->Live = entry.Stamp;
    if (kind != kUndoAdded)
        undo->Saved = std::make_unique<TRecord>(entry);
    Add(std::move(undo));
}

bool TUndoList::PopUndo() {
    Delete(Count() - 1);
    return Empty();
}

} // namespace tessaly
