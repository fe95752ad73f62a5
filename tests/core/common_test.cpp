#include "core/common/codepage.h"
#include "core/common/date_time.h"
#include "core/common/fill_text.h"
#include "core/common/text.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(Codepage, HighBytesMapToTheirCharactersAndBack) {
    const std::string cp = "\x80 \xE9\x9F\x81";
    const std::string utf8 = Cp1252ToUtf8(cp);
    EXPECT_EQ(utf8, "\xE2\x82\xAC \xC3\xA9\xC5\xB8\xC2\x81");
    EXPECT_EQ(Utf8ToCp1252(utf8), cp);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        ASSERT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }
}

TEST(Codepage, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?"); // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");       // cut short
    EXPECT_EQ(Utf8ToCp1252("\xFF"
                           "b"),
              "?b");
}

TEST(Text, TrimAndCut) {
    EXPECT_EQ(Trim("  a b \r\n"), "a b");
    EXPECT_EQ(TrimRight("notes\r\n\r\n  "), "notes");
    EXPECT_EQ(CutShort(std::string(300, 'z')).size(), 255u);
    EXPECT_EQ(CleanShort("   "), "");
}

TEST(Text, AbsentAndEmptyStayDistinct) {
    Text absent;
    Text empty = std::string();
    EXPECT_FALSE(absent.has_value());
    EXPECT_TRUE(empty.has_value());
    EXPECT_NE(absent, empty);
    EXPECT_EQ(absent, std::nullopt);
    EXPECT_EQ(*absent, "");
    EXPECT_EQ(absent.data()[0], '\0');
    empty = std::nullopt;
    EXPECT_EQ(empty, absent);
    // An absent text never equals characters, not even none.
    EXPECT_FALSE(absent == "");
    EXPECT_TRUE(Text("") == "");
}

TEST(Text, EveryLengthKeepsItsBytesThroughCopiesAndMoves) {
    // Around the switch from characters kept in place to a block of their own, and
    // with NULs and high bytes inside.
    for (std::size_t n : {0u, 1u, 13u, 14u, 15u, 16u, 255u, 65534u}) {
        std::string bytes(n, 'x');
        for (std::size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<char>(i * 37 % 256);
        Text t = bytes;
        ASSERT_EQ(t.size(), n);
        ASSERT_EQ(t.view(), bytes) << n;
        ASSERT_EQ(t.data()[n], '\0') << "the characters end in a NUL";

        Text copy = t;
        t = "other";
        EXPECT_EQ(copy.view(), bytes) << "a copy is independent: " << n;
        Text moved = std::move(copy);
        EXPECT_EQ(moved.view(), bytes);
        EXPECT_FALSE(copy.has_value()); // what is moved from is left absent
        moved = moved;                  // self-assignment keeps the text
        EXPECT_EQ(moved.view(), bytes);
        Text& self = moved;
        moved = std::move(self);
        EXPECT_EQ(moved.view(), bytes);

        // Assigning a long text over a short one and back releases and reuses rightly.
        Text grow = "ab";
        grow = moved;
        EXPECT_EQ(grow, moved);
        grow.assign("cd", 2);
        EXPECT_EQ(grow, "cd");
        grow.reset();
        EXPECT_FALSE(grow.has_value());
    }
}

TEST(Text, AssignFromItsOwnCharacters) {
    Text t = std::string(40, 'q');
    t = t.view().substr(5, 20); // the source lives in the block being replaced
    EXPECT_EQ(t, std::string(20, 'q'));
    Text s = "short text";
    s = s.view().substr(6);
    EXPECT_EQ(s, "text");
}

TEST(DateTime, KnownDaysAndWeekdays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 8)), 3); // a Tuesday
    const auto d = DecodeDate(EncodeDate(2024, 2, 29) + 0.75);
    EXPECT_EQ(d.Year, 2024);
    EXPECT_EQ(d.Month, 2);
    EXPECT_EQ(d.Day, 29);
    const auto t = DecodeTime(EncodeTime(23, 59, 59, 999));
    EXPECT_EQ(t.Hour, 23);
    EXPECT_EQ(t.Minute, 59);
    EXPECT_EQ(t.Second, 59);
    EXPECT_EQ(t.Millisecond, 999);
}

TEST(DateTime, DaysBefore1900KeepTheirTimeForward) {
    const TDateTime t = ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0));
    EXPECT_DOUBLE_EQ(t, -1.25);
    const auto d = DecodeDate(t);
    EXPECT_EQ(d.Day, 29);
    EXPECT_EQ(DecodeTime(t).Hour, 6);
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
}

TEST(DateTime, SplittingRoundsToTheMillisecondFirst) {
    // 10:00 held a hair below its exact value is 10:00, not 09:59.
    const TDateTime ten = 45000.0 + 10.0 / 24.0 - 1e-11;
    EXPECT_EQ(DecodeTime(ten).Hour, 10);
    EXPECT_EQ(DecodeTime(ten).Minute, 0);
    EXPECT_EQ(TimeOf(ten), EncodeTime(10, 0, 0));
    // A hair below midnight is midnight of the next day, in date and time alike.
    const TDateTime midnight = 45001.0 - 1e-10;
    EXPECT_EQ(DateOf(midnight), 45001.0);
    EXPECT_EQ(TimeOf(midnight), 0.0);
    EXPECT_EQ(DecodeDate(midnight).Day, DecodeDate(45001.0).Day);
    EXPECT_EQ(DecodeTime(midnight).Hour, 0);
    // Before 1900 the next day is the one after: 29 December 23:59:59.99999 is the 30th.
    EXPECT_EQ(DateOf(-1.9999999999), 0.0);
    EXPECT_EQ(DateOf(-1.25), -1.0);
    // Compared to the millisecond, in calendar order either side of 1899.
    EXPECT_EQ(CalendarMs(ten), CalendarMs(45000.0 + EncodeTime(10, 0, 0)));
    EXPECT_LT(CalendarMs(-2.75), CalendarMs(-1.25));
    EXPECT_LT(CalendarMs(-1.75), CalendarMs(0.5));
    EXPECT_LT(CalendarMs(45000.5), CalendarMs(45000.5 + 2.0 / 86400000.0));
}

} // namespace
} // namespace tessaly

namespace tessaly {
namespace {

TEST(FillText, PlaceholdersTakeTheValuesInTurnAndValuesAreNotScanned) {
    EXPECT_EQ(FillText("Delete %s: %s?", {"Category", "%s work"}), "Delete Category: %s work?");
    EXPECT_EQ(FillText("%s and %s", {"one"}), "one and %s");
    EXPECT_EQ(FillText("100%", {"x"}), "100%");
}

} // namespace
} // namespace tessaly
