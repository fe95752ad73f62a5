#pragma once
// An item of the designer's data palette (TLayoutRecord).

#include "core/printing/layout_objects.h"

#include <string>

namespace tessaly {

// A data palette item: its position (the field number), kind and caption.
struct TLayoutRecord {
    int Position = 0;
    int Kind = kBoxData;
    std::string Caption;
    bool operator==(const TLayoutRecord&) const = default;
};

} // namespace tessaly
