#include "core/organise/sort_key.h"

#include "core/common/upper_case.h"

#include <algorithm>

namespace tessaly {

TSortKey SortKeyOf(std::string_view text, std::uint32_t index) {
    TSortKey key;
    key.Index = index;
    const std::size_t n = std::min(text.size(), TSortKey::kHeadBytes);
    for (std::size_t i = 0; i < n; ++i)
        key.Head[i / 8] |= std::uint64_t{UpperByte(static_cast<unsigned char>(text[i]))}
                           << (8 * (7 - i % 8));
    return key;
}

int CompareSortTails(std::string_view a, std::string_view b) {
    // The heads are equal, so the texts agree up to where the shorter one or the head
    // ends.
    const std::size_t same = std::min({TSortKey::kHeadBytes, a.size(), b.size()});
    return CompareNoCase(a.substr(same), b.substr(same));
}

} // namespace tessaly
