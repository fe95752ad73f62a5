#include "store/same_text.h"

#include <algorithm>

namespace tessaly {

char UpperCase1252(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
        return static_cast<char>(u - 32);
    // Latin-1 lower-case letters, except the division sign and y-diaeresis.
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return static_cast<char>(u - 32);
    switch (u) {
    case 0x9A: // s caron
    case 0x9C: // oe
    case 0x9E: // z caron
        return static_cast<char>(u - 16);
    case 0xFF: // y diaeresis
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

std::string UpperCase1252(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = UpperCase1252(c);
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperCase1252(x) == UpperCase1252(y);
           });
}

} // namespace tessaly
