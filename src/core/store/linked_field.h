#pragma once
// TLinkedField: the data field number an import column feeds.

#include "core/store/my_list.h"

#include <cstdint>
#include <memory>

namespace tessaly {

class TLinkedField {
public:
    std::int16_t FieldNo = 0; // a data field number (see entry_text.h)

    TLinkedField() = default;
    explicit TLinkedField(int fieldNo) : FieldNo(static_cast<std::int16_t>(fieldNo)) {}

    static std::unique_ptr<TLinkedField> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TLinkedField&) const = default;
};

class TLinkedFieldList : public TMyList<TLinkedField> {
public:
    int AddField(int fieldNo);
    int FieldAt(int i) const; // -1 when out of range

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
