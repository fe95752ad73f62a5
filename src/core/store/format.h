#pragma once
// Constants of the book and defaults files: the framing signature and the layout
// version the program writes.

#include <array>
#include <cstdint>

namespace tessaly {

// The layout version written into every book; older ones are still read.
constexpr int kBookVersion = 13;
// Lowest layout version whose body this store reads itself.
constexpr int kOldestBookVersion = 1;

// The six bytes that open and close the book and configuration files:
// a length byte 5 and the characters "TS-V3".
constexpr std::size_t kSignatureSize = 6;
constexpr std::array<std::uint8_t, kSignatureSize> kSignature = {5, 'T', 'S', '-', 'V', '3'};

// Result codes of the signature check and the book loader.
constexpr int kCodeValid = 30;
constexpr int kCodeVersion12 = 12;
constexpr int kCodeVersion20 = 20;
constexpr int kCodeVersion25 = 25;
constexpr int kCodeInvalid = -1;
// The file could not be opened or read at all (the message carries the reason).
constexpr int kCodeUnreadable = 0;

} // namespace tessaly
