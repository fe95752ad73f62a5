#include "core/store/index_key.h"

namespace tessaly {

std::unique_ptr<TIndex> TIndex::Read(TStreamReader& r, int /*version*/) {
    auto k = std::make_unique<TIndex>();
    k->Code = r.ReadInt16();
    k->SortBy = r.ReadByte();
    return k;
}

void TIndex::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteInt16(Code);
    w.WriteByte(SortBy);
}

int TIndexList::AddKey(int code, bool sortBy) {
    Add(std::make_unique<TIndex>(code, sortBy));
    return Count() - 1;
}

int TIndexList::InsertKey(int position, int code, bool sortBy) {
    if (position < 0 || position > Count())
        return -1;
    Insert(position, std::make_unique<TIndex>(code, sortBy));
    return position;
}

int TIndexList::KeyCode(int i) const {
    const TIndex* k = At(i);
    return k ? k->Code : -1;
}

int TIndexList::KeySortBy(int i) const {
    const TIndex* k = At(i);
    return k ? k->SortBy : 0;
}

void TIndexList::SetKeySortBy(int i, bool sortBy) {
    if (TIndex* k = At(i))
        k->SortBy = sortBy ? 1 : 0;
}

bool TIndexList::HasCode(int code) const {
    for (const auto& k : *this)
        if (k->Code == code)
            return true;
    return false;
}

void AssignKeys(TIndexList& target, const TIndexList& source) {
    if (&target == &source)
        return;
    target.Clear();
    for (const auto& k : source)
        target.Add(std::make_unique<TIndex>(*k));
}

} // namespace tessaly
