#pragma once
// Builds expected file bytes by hand, independently of the stream writer, so that
// layout tests compare the writer with the tables rather than with itself.

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::testing {

class Bytes {
public:
    Bytes& U8(unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& U8s(std::initializer_list<unsigned> vs) {
        for (unsigned v : vs)
            U8(v);
        return *this;
    }
    Bytes& I16(int v) {
        const auto u = static_cast<std::uint16_t>(v);
        return U8(u & 0xFF).U8(u >> 8);
    }
    Bytes& F64(double v) {
        auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i, bits >>= 8)
            U8(static_cast<unsigned>(bits & 0xFF));
        return *this;
    }
    // A book-file date: the value plus 693594.
    Bytes& Date(double v) { return F64(v + 693594.0); }
    // A Text: count (length + 1), characters, NUL.
    Bytes& Str(std::string_view s) {
        I16(static_cast<int>(s.size() + 1));
        for (char c : s)
            U8(static_cast<unsigned char>(c));
        return U8(0);
    }
    Bytes& NullStr() { return I16(0); }
    Bytes& Sig() { return U8s({5, 'T', 'S', '-', 'V', '3'}); }
    Bytes& Raw(const std::vector<std::uint8_t>& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }

    std::vector<std::uint8_t> b;
};

} // namespace tessaly::testing
