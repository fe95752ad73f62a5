#include "core/printing/six_byte_real.h"

#include <cmath>

namespace tessaly {

namespace {

constexpr int kBias = 129;
constexpr int kFractionBits = 39;
constexpr std::uint64_t kFractionLimit = std::uint64_t{1} << kFractionBits;

} // namespace

double DecodeSixByteReal(const TSixByteReal& b) {
    if (b[0] == 0)
        return 0.0;
    std::uint64_t fraction = 0;
    for (int i = 5; i >= 1; --i)
        fraction = (fraction << 8) | b[static_cast<std::size_t>(i)];
    const bool negative = (fraction & kFractionLimit) != 0;
    fraction &= kFractionLimit - 1;
    const double mantissa = 1.0 + std::ldexp(static_cast<double>(fraction), -kFractionBits);
    const double value = std::ldexp(mantissa, b[0] - kBias);
    return negative ? -value : value;
}

TSixByteReal EncodeSixByteReal(double value) {
    TSixByteReal b{};
    if (std::isnan(value) || value == 0.0)
        return b;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    std::uint64_t fraction = kFractionLimit - 1;
    int biased = 256; // an infinity: clamped to the largest below
    if (std::isfinite(magnitude)) {
        int exponent = 0;
        // magnitude = f * 2^exponent with f in [0.5, 1), that is (2f) * 2^(exponent - 1).
        const double f = std::frexp(magnitude, &exponent);
        fraction =
            static_cast<std::uint64_t>(std::llround(std::ldexp(2.0 * f - 1.0, kFractionBits)));
        biased = exponent - 1 + kBias;
        if (fraction >= kFractionLimit) { // rounded up to the next power of two
            fraction = 0;
            ++biased;
        }
    }
    if (biased < 1)
        return b; // too small for the form: 0.0
    if (biased > 255) {
        biased = 255;
        fraction = kFractionLimit - 1;
    }
    if (negative)
        fraction |= kFractionLimit;
    b[0] = static_cast<std::uint8_t>(biased);
    for (std::size_t i = 1; i <= 5; ++i) {
        b[i] = static_cast<std::uint8_t>(fraction & 0xFF);
        fraction >>= 8;
    }
    return b;
}

double ReadSixByteReal(TStreamReader& r) {
    TSixByteReal b;
    r.ReadBytes(b.data(), b.size());
    return DecodeSixByteReal(b);
}

void WriteSixByteReal(TStreamWriter& w, double value) {
    const TSixByteReal b = EncodeSixByteReal(value);
    w.WriteBytes(b.data(), b.size());
}

} // namespace tessaly
