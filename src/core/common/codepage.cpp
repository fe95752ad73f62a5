#include "core/common/codepage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tessaly {

namespace {

// Code points of bytes 0x80-0x9F; 0 marks the five bytes Windows-1252 leaves
// undefined, which map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePointOf(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
        return kHigh[b - 0x80];
    return b;
}

char ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp || (kHigh[i] == 0 && cp == 0x80 + i))
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendCp1252AsUtf8(std::string& out, std::string_view cp1252) {
    std::size_t i = 0;
    while (i < cp1252.size()) {
        // A run of ASCII is the same bytes in both.
        std::size_t ascii = i;
        while (ascii < cp1252.size() && static_cast<unsigned char>(cp1252[ascii]) < 0x80)
            ++ascii;
        out.append(cp1252, i, ascii - i);
        if (ascii < cp1252.size())
            AppendUtf8(out, CodePointOf(static_cast<unsigned char>(cp1252[ascii++])));
        i = ascii;
    }
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    AppendCp1252AsUtf8(out, cp1252);
    return out;
}

std::size_t AsciiStretch(std::string_view text, std::size_t from) {
    // Eight bytes at a time while none has its high bit set.
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = from;
    while (i + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (word & kHighBits)
            break;
        i += 8;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // A stretch of ASCII is the same in both, and is copied whole.
        const std::size_t ascii = AsciiStretch(utf8, i);
        if (ascii > i) {
            out.append(utf8.data() + i, ascii - i);
            i = ascii;
            continue;
        }
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            extra = 3;
        } else {
            out += '?';
            ++i;
            continue;
        }
        if (i + extra >= utf8.size() && extra > 0) {
            out += '?';
            break;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += ByteOf(cp);
        i += extra + 1;
    }
    return out;
}

} // namespace tessaly
