#include "core/common/upper_case.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr unsigned char UpperOf(unsigned c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    // Latin-1 lower-case letters, except the division sign; y-diaeresis has its
    // capital in the 0x80 row.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: // s caron
    case 0x9C: // oe
    case 0x9E: // z caron
        return static_cast<unsigned char>(c - 16);
    case 0xFF: // y diaeresis
        return 0x9F;
    default:
        return static_cast<unsigned char>(c);
    }
}

constexpr std::array<unsigned char, 256> MakeTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned c = 0; c < 256; ++c)
        table[c] = UpperOf(c);
    return table;
}

} // namespace

constinit const std::array<unsigned char, 256> kUpperCase1252 = MakeTable();

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = UpperByte(static_cast<unsigned char>(a[i]));
        const unsigned char y = UpperByte(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(text[i]) != UpperChar(prefix[i]))
            return false;
    return true;
}

} // namespace tessaly
