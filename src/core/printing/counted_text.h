#pragma once
// The counted text of the printing files: a 16-bit length L counting the terminating
// zero, then L bytes; L = 0 is the empty text, present or absent alike ("abc" is
// 04 00 61 62 63 00, "" is 00 00). The characters end at the first zero byte.

#include "core/common/text.h"
#include "core/store/stream.h"

namespace tessaly {

// An empty text reads as absent, so that what is read writes the same bytes again.
inline void ReadCountedText(TStreamReader& r, Text& t) {
    r.ReadTextInto(t);
    if (t.empty())
        t.reset();
}

// Throws StreamError for a text too long for its 16-bit length.
inline void WriteCountedText(TStreamWriter& w, const Text& t) {
    if (t.empty())
        w.WriteUInt16(0);
    else
        w.WriteText(t);
}

} // namespace tessaly
