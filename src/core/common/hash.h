#pragma once
// A quick 64-bit hash of bytes (FNV-1a) for recognising a text again: not for
// secrets, only to tell whether something is the same as before.

#include <string>
#include <string_view>

namespace tessaly {

// Sixteen lower-case hexadecimal digits.
std::string Fnv1a64(std::string_view text);

} // namespace tessaly
