#include "core/common/hash.h"

#include <cstdint>
#include <cstdio>

namespace tessaly {

std::string Fnv1a64(std::string_view text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

} // namespace tessaly
