#include "core/store/index_key.h"

#include <iterator>

namespace tessaly {

TIndex TIndex::Read(TStreamReader& r, int /*version*/) {
    TIndex k;
    k.Code = r.ReadInt16();
    k.SortBy = r.ReadByte();
    return k;
}

void TIndex::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteInt16(Code);
    w.WriteByte(SortBy);
}

int TIndexList::AddKey(int code, bool sortBy) {
    return AddKey(TIndex(code, sortBy));
}

int TIndexList::AddKey(const TIndex& key) {
    keys_.push_back(key);
    return Count() - 1;
}

int TIndexList::InsertKey(int position, int code, bool sortBy) {
    if (position < 0 || position > Count())
        return -1;
    keys_.emplace(keys_.begin() + position, code, sortBy);
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

void TIndexList::DeleteKey(int i) {
    if (InRange(i))
        keys_.erase(keys_.begin() + i);
}

void TIndexList::MoveKey(int from, int to) {
    if (!InRange(from) || !InRange(to) || from == to)
        return;
    const TIndex key = keys_[static_cast<std::size_t>(from)];
    keys_.erase(keys_.begin() + from);
    keys_.insert(keys_.begin() + to, key);
}

bool TIndexList::HasCode(int code) const {
    for (const TIndex& k : keys_)
        if (k.Code == code)
            return true;
    return false;
}

void TIndexList::Read(TStreamReader& r, int version) {
    keys_.clear();
    const int count = r.ReadCount();
    keys_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        keys_.push_back(TIndex::Read(r, version));
}

void TIndexList::Write(TStreamWriter& w, int version) const {
    w.WriteCount(keys_.size());
    for (const TIndex& k : keys_)
        k.Write(w, version);
}

void AssignKeys(TIndexList& target, const TIndexList& source) {
    target = source;
}

} // namespace tessaly
