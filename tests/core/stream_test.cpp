#include "core/store/my_list.h"
#include "core/store/stream.h"

#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

TEST(Stream, IntegersAreLittleEndianAndSigned) {
    TStreamWriter w;
    w.WriteInt16(-2);
    w.WriteInt32(0x01020304);
    w.WriteByte(0xFF);
    const std::vector<std::uint8_t> expected = {0xFE, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xFF};
    EXPECT_EQ(w.Bytes(), expected);

    TStreamReader r(w.Bytes());
    EXPECT_EQ(r.ReadInt16(), -2);
    EXPECT_EQ(r.ReadInt32(), 0x01020304);
    EXPECT_EQ(r.ReadByte(), 0xFF);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Stream, BookDatesCarryTheOffsetAndNonFiniteReadsAsZero) {
    TStreamWriter w;
    w.WriteDateTime(36526.5); // 1 January 2000, noon
    w.WriteDouble(std::numeric_limits<double>::quiet_NaN());
    w.WriteDouble(std::numeric_limits<double>::infinity());
    TStreamReader raw(w.Bytes());
    EXPECT_DOUBLE_EQ(raw.ReadDouble(), 36526.5 + 693594);
    EXPECT_EQ(raw.ReadDateTime(), 0.0);
    EXPECT_EQ(raw.ReadDouble(), 0.0);

    TStreamReader r(w.Bytes());
    EXPECT_DOUBLE_EQ(r.ReadDateTime(), 36526.5);
}

TEST(Stream, NullAndEmptyTextsAreDistinct) {
    TStreamWriter w;
    w.WriteText(std::nullopt);
    w.WriteText(std::string());
    w.WriteText(std::string("Ab"));
    const std::vector<std::uint8_t> expected = {0, 0, 1, 0, 0, 3, 0, 'A', 'b', 0};
    EXPECT_EQ(w.Bytes(), expected);

    TStreamReader r(w.Bytes());
    EXPECT_EQ(r.ReadText(), std::nullopt);
    EXPECT_EQ(r.ReadText(), std::optional<std::string>(""));
    EXPECT_EQ(r.ReadText(), std::optional<std::string>("Ab"));
}

TEST(Stream, LongTextsRoundTripAndOverlongOnesAreRefused) {
    const std::string longest(kMaxTextLength, 'x');
    TStreamWriter w;
    w.WriteText(longest);
    TStreamReader r(w.Bytes());
    EXPECT_EQ(r.ReadText(), longest);

    TStreamWriter too;
    EXPECT_THROW(too.WriteText(std::string(kMaxTextLength + 1, 'x')), StreamError);
}

TEST(Stream, ShortStringIsAlways256BytesWithZeroedTail) {
    TStreamWriter w;
    w.WriteShortString("abc");
    ASSERT_EQ(w.Size(), 256u);
    EXPECT_EQ(w.Bytes()[0], 3);
    for (std::size_t i = 4; i < 256; ++i)
        ASSERT_EQ(w.Bytes()[i], 0) << i;
    TStreamReader r(w.Bytes());
    EXPECT_EQ(r.ReadShortString(), "abc");

    TStreamWriter cut;
    cut.WriteShortString(std::string(300, 'y'));
    TStreamReader rc(cut.Bytes());
    EXPECT_EQ(rc.ReadShortString(), std::string(255, 'y'));
}

TEST(Stream, ReadingPastTheEndThrowsInsteadOfCrashing) {
    const std::vector<std::uint8_t> bytes = {5, 0, 'a'};
    TStreamReader r(bytes);
    EXPECT_THROW(r.ReadText(), StreamError); // says 5 bytes, has 1
    TStreamReader r2(bytes);
    EXPECT_THROW(r2.ReadInt32(), StreamError);
    TStreamReader r3(bytes);
    r3.ReadByte();
    r3.ReadByte();
    EXPECT_THROW(r3.ReadShortString(), StreamError);
    EXPECT_THROW(r3.Seek(4), StreamError);
}

// Reading in place replaces whatever the text held: a longer text, or presence itself.
TEST(Stream, TextReadInPlaceReplacesWhatWasThere) {
    TStreamWriter w;
    w.WriteText(std::string("Ab"));
    w.WriteText(std::nullopt);
    w.WriteText(std::string(""));
    TStreamReader r(w.Bytes());
    Text t = std::string(40, 'x');
    r.ReadTextInto(t);
    EXPECT_EQ(t, std::optional<std::string>("Ab"));
    r.ReadTextInto(t);
    EXPECT_EQ(t, std::nullopt);
    r.ReadTextInto(t);
    EXPECT_EQ(t, std::optional<std::string>(""));
    // A damaged count leaves the text as it was.
    TStreamReader cut(std::string_view("\x05\x00a", 3));
    t = std::string("kept");
    EXPECT_THROW(cut.ReadTextInto(t), StreamError);
    EXPECT_EQ(t, std::optional<std::string>("kept"));
}

TEST(Stream, TextStopsAtItsFirstNul) {
    const std::vector<std::uint8_t> bytes = {4, 0, 'a', 0, 'b', 0};
    TStreamReader r(bytes);
    EXPECT_EQ(r.ReadText(), std::optional<std::string>("a"));
    EXPECT_TRUE(r.AtEnd());
}

struct Item {
    std::int16_t value = 0;
    static std::unique_ptr<Item> Read(TStreamReader& r, int) {
        auto i = std::make_unique<Item>();
        i->value = r.ReadInt16();
        return i;
    }
    void Write(TStreamWriter& w, int) const { w.WriteInt16(value); }
    bool operator==(const Item&) const = default;
};

TEST(MyList, WritesCountThenItemsAndDropsEmptySlots) {
    TMyList<Item> list;
    list.Add(std::make_unique<Item>(Item{7}));
    list.Add(nullptr);
    list.Add(std::make_unique<Item>(Item{-1}));
    TStreamWriter w;
    list.WriteItems(w, 13);
    const std::vector<std::uint8_t> expected = {2, 0, 7, 0, 0xFF, 0xFF};
    EXPECT_EQ(w.Bytes(), expected);

    TMyList<Item> back;
    TStreamReader r(w.Bytes());
    back.ReadItems(r, 13);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.At(1)->value, -1);
    EXPECT_EQ(back.At(2), nullptr);
    EXPECT_EQ(back.At(-1), nullptr);
}

TEST(MyList, NegativeCountReadsEmptyAndHugeCountFailsCleanly) {
    const std::vector<std::uint8_t> negative = {0xFF, 0xFF};
    TStreamReader r(negative);
    TMyList<Item> list;
    list.ReadItems(r, 13);
    EXPECT_EQ(list.Count(), 0);

    const std::vector<std::uint8_t> huge = {0xFF, 0x7F, 1, 0};
    TStreamReader r2(huge);
    EXPECT_THROW(list.ReadItems(r2, 13), StreamError);
}

TEST(MyList, CopiesAreDeepAndCountsBeyond32767AreRefused) {
    TMyList<Item> list;
    list.Add(std::make_unique<Item>(Item{1}));
    TMyList<Item> copy = list;
    copy.At(0)->value = 2;
    EXPECT_EQ(list.At(0)->value, 1);
    EXPECT_FALSE(copy == list);

    for (int i = 0; i < kMaxListCount; ++i)
        list.Add(std::make_unique<Item>());
    TStreamWriter w;
    EXPECT_THROW(list.WriteItems(w, 13), StreamError);
}

TEST(MyList, MoveAndInsertKeepOrder) {
    TMyList<Item> list;
    for (std::int16_t v = 0; v < 4; ++v)
        list.Add(std::make_unique<Item>(Item{v}));
    list.Move(0, 3);
    list.Insert(1, std::make_unique<Item>(Item{9}));
    std::vector<int> order;
    for (const auto& item : list)
        order.push_back(item->value);
    EXPECT_EQ(order, (std::vector<int>{1, 9, 2, 3, 0}));
}

} // namespace
} // namespace tessaly
