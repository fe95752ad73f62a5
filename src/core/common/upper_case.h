#pragma once
// Upper-casing of Windows-1252 text as the system's character upper-casing does it:
// ASCII letters, the accented Latin-1 letters and the three letters of the 0x80 row
// fold; every other byte stays. Comparisons built on it never copy their texts.

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaly {

// The upper-case form of every byte value.
extern const std::array<unsigned char, 256> kUpperCase1252;

inline unsigned char UpperByte(unsigned char c) {
    return kUpperCase1252[c];
}
inline char UpperChar(char c) {
    return static_cast<char>(kUpperCase1252[static_cast<unsigned char>(c)]);
}

// Three-way comparison of the upper-case forms, byte by byte; a text that is a
// prefix of the other comes first.
int CompareNoCase(std::string_view a, std::string_view b);
// Whether `text` begins with `prefix`, without regard to case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace tessaly
