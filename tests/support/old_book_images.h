#pragma once
// Images of books in the layouts of older versions, composed field by field.

#include "tests/support/test_bytes.h"

#include <cstdint>
#include <vector>

namespace tessaly::testing {

// An image of a small book in the layout of an older version (1 to 13), composed
// field by field. Address templates carry button kinds 1, 1, 0, 2 in shown flags
// 7-10, as the older layouts kept them; version 13 also writes them as kinds.
inline std::vector<std::uint8_t> OldBookImage(int v) {
    Bytes e;
    e.Sig().I16(v);
    e.I16(1).I16(1).Str("Old").I16(0).U8(1);
    e.I16(2).I16(1).I16(2);
    for (int t = 0; t < 2; ++t) {
        e.Str(t == 0 ? "" : "Home").I16(t).U8(1).U8(0);
        for (int i = 0; i < 10; ++i) {
            const unsigned shown = (t == 1 && i >= 7) ? (i == 9 ? 0u : 1u) : 1u;
            e.Str(t == 0 && i == 0 ? "Title" : "").U8(shown);
        }
        e.U8(t == 1 ? 2 : 0); // shown flag 10
        if (v >= 9)
            e.I16(t == 1 ? 2 : 0);
        if (v >= 13)
            e.I16(1).I16(1).I16(0).I16(2);
    }
    e.I16(2).U8(0).I16(150);
    if (v >= 3)
        e.I16(70).I16(130);
    e.I16(3).Date(35000.5).Date(35100.25).U8(2).U8(0);
    e.I16(10).I16(11).I16(300).I16(400).I16(4).I16(1);
    e.I16(10).I16(20).I16(30);
    if (v >= 2)
        e.I16(40);
    for (int i = 0; i < (v >= 10 ? 6 : 5); ++i)
        e.Str("Page " + std::to_string(i));
    e.I16(1).I16(2).U8(1);
    if (v >= 2)
        e.Str("Mine");
    else
        e.I16(77);
    e.I16(90).I16(91).I16(1);
    e.U8(0).Str("").Str("Mine").U8s({0, 0, 0, 0}).U8(0).U8(1).I16(0).I16(0);
    e.I16(1); // one entry
    e.I16(0).U8(1).U8(0);
    e.Str("").Str("Old").Str("Timer");
    for (int i = 3; i < 10; ++i)
        e.Str("");
    e.Date(35001).Date(35002).Date(0).F64(35001.0001);
    e.I16(1).I16(0);
    e.I16(1).I16(1).U8(0);
    for (int i = 0; i < 7; ++i)
        e.Str(i == 2 ? "Street" : "");
    for (int k = 0; k < 4; ++k)
        e.U8s({1, 1, 1, 1}).U8s({0, 0, 0, 0}).U8s({0, 0, 0, 0}).U8s({0, 0, 0, 0}).Str("");
    e.I16(0);                        // reminders
    e.I16(1).Str("Site").Str("www"); // attachment
    if (v >= 12)
        e.U8(0);
    e.I16(0);      // call logs
    e.I16(0);      // insert fields
    e.U8(1).U8(1); // insert blank fields, label phone fields
    if (v >= 2)
        e.U8(0).I16(3);
    e.Sig();
    return e.b;
}

} // namespace tessaly::testing
