#include "core/store/linked_field.h"

namespace tessaly {

std::unique_ptr<TLinkedField> TLinkedField::Read(TStreamReader& r, int /*version*/) {
    return std::make_unique<TLinkedField>(r.ReadInt16());
}

void TLinkedField::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteInt16(FieldNo);
}

int TLinkedFieldList::AddField(int fieldNo) {
    Add(std::make_unique<TLinkedField>(fieldNo));
    return Count() - 1;
}

int TLinkedFieldList::FieldAt(int i) const {
    const TLinkedField* f = At(i);
    return f ? f->FieldNo : -1;
}

} // namespace tessaly
