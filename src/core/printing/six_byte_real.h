#pragma once
// The six-byte real in which the paper and layout files keep every length: byte 0 the
// base-2 exponent biased by 129 (0 is the value 0.0), bytes 1 to 5 a 39-bit fraction,
// least significant byte first, whose top bit (bit 7 of byte 5) is the sign.
// Value = (1 + fraction / 2^39) * 2^(exponent - 129).

#include "core/store/stream.h"

#include <array>
#include <cstdint>

namespace tessaly {

using TSixByteReal = std::array<std::uint8_t, 6>;

double DecodeSixByteReal(const TSixByteReal& bytes);
// The nearest six-byte real; a value too small for the form is 0, one too large the
// largest of its sign, one that is not a number 0.
TSixByteReal EncodeSixByteReal(double value);

double ReadSixByteReal(TStreamReader& r);
void WriteSixByteReal(TStreamWriter& w, double value);

} // namespace tessaly
