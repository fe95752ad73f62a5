#pragma once
// TSortKey: the first bytes of a list item's sort text in upper case, as numbers that
// compare as the bytes do, with the item's index behind them. Sorting these small
// records keeps a sort from chasing every text through memory; only texts that share
// the first bytes are compared whole.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessaly {

struct TSortKey {
    static constexpr std::size_t kHeadBytes = 24;
    std::array<std::uint64_t, kHeadBytes / 8> Head{};
    std::uint32_t Index = 0;
};

TSortKey SortKeyOf(std::string_view text, std::uint32_t index);

// The order of two keys' heads (<0, 0, >0). Most pairs differ in their first eight
// bytes; the rest is written out so that a sort's inner loop holds no call for them.
inline int CompareSortHeads(const TSortKey& a, const TSortKey& b) {
    static_assert(TSortKey::kHeadBytes == 24, "three words are compared");
    if (a.Head[0] != b.Head[0])
        return a.Head[0] < b.Head[0] ? -1 : 1;
    if (a.Head[1] != b.Head[1])
        return a.Head[1] < b.Head[1] ? -1 : 1;
    if (a.Head[2] != b.Head[2])
        return a.Head[2] < b.Head[2] ? -1 : 1;
    return 0;
}

// The order without regard to case of two sort texts whose keys' heads are equal.
int CompareSortTails(std::string_view a, std::string_view b);

} // namespace tessaly
