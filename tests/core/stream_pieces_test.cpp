// A writer with a sink hands its bytes over a piece at a time: the pieces joined must
// be the bytes the writer without a sink makes, whatever the writes straddle, and a
// refused piece must end the handing over.

#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"

#include <functional>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Small writes across many piece boundaries, texts of every length, and runs of bytes
// both larger and smaller than a piece.
void WriteMixture(TStreamWriter& w) {
    const std::vector<std::uint8_t> large((std::size_t{600} << 10) + 3, 0xA5);
    for (int round = 0; round < 3000; ++round) {
        w.WriteByte(static_cast<std::uint8_t>(round));
        w.WriteInt16(static_cast<std::int16_t>(-round));
        w.WriteInt32(round * 977);
        w.WriteDouble(round + 0.125);
        w.WriteText(std::nullopt);
        w.WriteText(std::string(static_cast<std::size_t>(round % 40), 'a' + round % 26));
        w.WriteCount(static_cast<std::size_t>(round));
        if (round % 500 == 7)
            w.WriteText(std::string(kMaxTextLength, 'z'));
        if (round % 1000 == 11)
            w.WriteBytes(large.data(), large.size());
        if (round % 100 == 3)
            w.WriteShortString("piece");
    }
}

TEST(StreamPieces, JoinedPiecesAreThePlainWritersBytes) {
    TStreamWriter plain;
    WriteMixture(plain);

    std::vector<std::uint8_t> joined;
    std::size_t pieces = 0;
    const TByteSink sink = [&](std::span<const std::uint8_t> piece) {
        EXPECT_FALSE(piece.empty());
        joined.insert(joined.end(), piece.begin(), piece.end());
        ++pieces;
        return true;
    };
    TStreamWriter w(sink);
    WriteMixture(w);
    EXPECT_TRUE(w.Finish());
    EXPECT_GT(pieces, 4u);
    EXPECT_TRUE(joined == plain.Bytes());
}

TEST(StreamPieces, ABookWrittenInPiecesIsItsImage) {
    auto book = testing::MakeEveryKindBook();
    for (int i = 0; i < 300; ++i)
        book->Entries.AddEntryCopy(*book->Entries.At(0), SystemClock::Instance());
    const auto image = WriteBookImage(*book);

    std::vector<std::uint8_t> joined;
    const TByteSink sink = [&](std::span<const std::uint8_t> piece) {
        joined.insert(joined.end(), piece.begin(), piece.end());
        return true;
    };
    TStreamWriter w(sink);
    WriteBookImage(*book, w);
    EXPECT_TRUE(w.Finish());
    EXPECT_TRUE(joined == image);
}

TEST(StreamPieces, NothingIsHandedOverAfterARefusal) {
    int offered = 0;
    const TByteSink refuseSecond = [&](std::span<const std::uint8_t>) { return ++offered < 2; };
    TStreamWriter w(refuseSecond);
    WriteMixture(w);
    EXPECT_FALSE(w.Finish());
    EXPECT_EQ(offered, 2);
}

} // namespace
} // namespace tessaly
