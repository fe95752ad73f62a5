// The delimited reader and writer: the records of RFC 4180 (quoted separators, doubled
// quotes, line breaks inside values, empty and absent fields), files of Windows-1252
// and UTF-8, and the writer's output read back.

#include "core/exchange/csv_file.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

std::vector<std::optional<std::string>> Fields(TCSVReader& r, int upTo = 5) {
    std::vector<std::optional<std::string>> out;
    for (int n = 1; n <= upTo; ++n)
        out.push_back(r.Field(n, kLongValueLength));
    return out;
}

TCSVReader Reader(const std::string& text, bool convert = false) {
    return TCSVReader(text, '"', ',', convert);
}

using O = std::optional<std::string>;

TEST(CsvRead, QuotedCommaNumberAndDoubledQuote) {
    auto r = Reader("\"Smith, John\",42,\"say \"\"hi\"\"\"\r\n");
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 4), (std::vector<O>{"Smith, John", "42", "say \"hi\"", std::nullopt}));
    EXPECT_EQ(r.IntegerField(2), 42);
    EXPECT_FALSE(r.ReadLine());
}

TEST(CsvRead, EmptyFieldsArePresentAndTrailingSeparatorLeavesNone) {
    auto r = Reader("a,,c\r\na,b,\r\n,b\r\n\"\"\r\n\r\n");
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 3), (std::vector<O>{"a", "", "c"}));
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 3), (std::vector<O>{"a", "b", std::nullopt}));
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 2), (std::vector<O>{"", "b"}));
    ASSERT_TRUE(r.ReadLine()); // a quoted empty value is a field
    EXPECT_EQ(r.Field(1), "");
    ASSERT_TRUE(r.ReadLine()); // an empty line has no field at all
    EXPECT_EQ(r.FieldCount(), 0);
    EXPECT_FALSE(r.ReadLine());
}

TEST(CsvRead, QuoteOpensOnlyAtTheStartOfAField) {
    // The Part's walk switched quoting on in the middle of a value and lost the
    // separator after it.
    auto r = Reader("5\" disk,next\r\n\"a\"b,c\r\n");
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 3), (std::vector<O>{"5\" disk", "next", std::nullopt}));
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 2), (std::vector<O>{"ab", "c"}));
}

TEST(CsvRead, DoubledQuoteIsOneQuoteWhateverFollows) {
    // A doubled quote right before a separator used to close the value there.
    auto r = Reader("\"x\"\",y\",z\r\n\"a \"\" b\" ,c\r\n");
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 3), (std::vector<O>{"x\",y", "z", std::nullopt}));
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 2), (std::vector<O>{"a \" b ", "c"}));
}

TEST(CsvRead, LineBreaksInsideQuotesBelongToTheValue) {
    auto r = Reader("\"1 High St\r\nLeeds\",x\r\n\"one\ntwo\",y\nlast,z", true);
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 2), (std::vector<O>{"1 High St\r\nLeeds", "x"}));
    ASSERT_TRUE(r.ReadLine()); // a lone LF becomes CR LF with the conversion on
    EXPECT_EQ(Fields(r, 2), (std::vector<O>{"one\r\ntwo", "y"}));
    ASSERT_TRUE(r.ReadLine()); // a last line without its line end is read too
    EXPECT_EQ(Fields(r, 3), (std::vector<O>{"last", "z", std::nullopt}));
    EXPECT_FALSE(r.ReadLine());
    EXPECT_EQ(r.CountLines(), 3);

    auto raw = Reader("\"a\nb\"\r\n", false);
    ASSERT_TRUE(raw.ReadLine());
    EXPECT_EQ(raw.Field(1), "a\nb");
}

TEST(CsvRead, LoneCarriageReturnIsDataAndZeroByteEndsTheFile) {
    auto r = Reader(std::string("a\rb,c\r\nd\0e\r\nf\r\n", 15));
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(r.Field(1), "a\rb");
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(r.Field(1), "d");
    EXPECT_FALSE(r.ReadLine());
}

TEST(CsvRead, LongLinesAndLengthLimits) {
    const std::string big(200000, 'x');
    auto r = Reader("\"" + big + "\"," + big + "\r\nnext\r\n");
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(r.Field(1, 1u << 20)->size(), big.size());
    EXPECT_EQ(r.Field(2)->size(), kShortValueLength);
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(r.Field(1), "next");
}

TEST(CsvRead, OtherSeparatorsAndQuotesAndConversions) {
    TCSVReader r("'a;b';  -7 ;x7;25/12/2026 10:30;09:15;31/02/2026\r\n", '\'', ';', false);
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(r.Field(1), "a;b");
    EXPECT_EQ(r.IntegerField(2), -7);
    EXPECT_EQ(r.IntegerField(3), std::nullopt);
    const TDateTime today = EncodeDate(2026, 1, 1);
    EXPECT_EQ(r.DateTimeField(4, DefaultFormatSettings(), today),
              EncodeDate(2026, 12, 25) + EncodeTime(10, 30, 0));
    EXPECT_EQ(r.DateTimeField(5, DefaultFormatSettings(), today), EncodeTime(9, 15, 0));
    EXPECT_EQ(r.DateTimeField(6, DefaultFormatSettings(), today), std::nullopt);
    EXPECT_EQ(r.IntegerField(9), std::nullopt);
}

std::vector<std::uint8_t> Raw(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(CsvEncoding, Windows1252UnlessUtf8) {
    // Windows-1252: an e acute and a euro sign, which are not valid UTF-8 here.
    const auto cp = DecodeInputText(Raw("Caf\xE9 \x80"));
    EXPECT_FALSE(cp.WasUtf8);
    EXPECT_EQ(cp.Text, "Caf\xE9 \x80");

    const auto utf = DecodeInputText(Raw("Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD?"));
    EXPECT_TRUE(utf.WasUtf8);
    EXPECT_EQ(utf.Text, "Caf\xE9 \x80 ??");
    EXPECT_EQ(utf.Replaced, 1); // the Chinese character; the question mark was there
    // Marks side by side, at both ends, and replacements among them.
    const auto many = DecodeInputText(Raw("??\xE4\xB8\xAD?\xE4\xB8\xAD\xE4\xB8\xAD \xC3\xA9?"));
    EXPECT_EQ(many.Text, "?????? \xE9?");
    EXPECT_EQ(many.Replaced, 3);

    const auto marked = DecodeInputText(Raw("\xEF\xBB\xBF"
                                            "abc"));
    EXPECT_TRUE(marked.WasUtf8);
    EXPECT_EQ(marked.Text, "abc");

    const auto ascii = DecodeInputText(Raw("plain"));
    EXPECT_FALSE(ascii.WasUtf8);
    EXPECT_EQ(ascii.Text, "plain");

    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));           // cut short
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80 ok")); // outside the basic plane
}

TEST(CsvEncoding, WideCharacterAnywhereInALongStretchOfAscii) {
    // The decoder passes over ASCII several bytes at a time; a wide character at any
    // place within or at the edge of those steps is still found and converted.
    const std::string ascii(21, 'a');
    for (std::size_t at = 0; at <= ascii.size(); ++at) {
        const std::string before = ascii.substr(0, at);
        const std::string after = ascii.substr(at);
        const auto utf = DecodeInputText(Raw(before + "\xC3\xA9" + after));
        EXPECT_TRUE(utf.WasUtf8) << at;
        EXPECT_EQ(utf.Text, before + "\xE9" + after) << at;
        const auto cp = DecodeInputText(Raw(before + "\xE9" + after));
        EXPECT_FALSE(cp.WasUtf8) << at;
        EXPECT_EQ(cp.Text, before + "\xE9" + after) << at;
        EXPECT_FALSE(IsValidUtf8(before + "\xC3" + after)) << at;
    }
}

TEST(CsvRead, RecordsAfterLongerOnesAndConvertedBreaksInLaterFields) {
    // Each record's values are its own, whatever the one before held; a line break is
    // converted in the field that has it and nowhere else.
    auto r = Reader("long first value,\"x\ny\",tail\r\na,\"b\rc\"\r\n", true);
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 4), (std::vector<std::optional<std::string>>{"long first value", "x\r\ny",
                                                                     "tail", std::nullopt}));
    ASSERT_TRUE(r.ReadLine());
    EXPECT_EQ(Fields(r, 3), (std::vector<std::optional<std::string>>{"a", "b\r\nc", std::nullopt}));
    EXPECT_EQ(r.FieldView(2, 2), std::optional<std::string_view>("b\r"));
    EXPECT_FALSE(r.ReadLine());
}

TEST(CsvWrite, EnclosesDoublesTheActiveQuoteAndDropsLineFeeds) {
    TCSVWriter w('"', ',', true);
    w.WriteField("Smith, John");
    w.WriteField("say \"hi\"");
    w.WriteField("a\r\nb", "Notes ");
    w.WriteInteger(42);
    w.EndLine();
    EXPECT_EQ(w.Text(), "\"Smith, John\",\"say \"\"hi\"\"\",\"Notes a\rb\",\"42\"\r\n");

    // Single quotes: the double quote is left alone and the single one doubled.
    TCSVWriter single('\'', '\t', true);
    single.WriteField("it's \"x\"");
    single.WriteField("b");
    single.EndLine();
    EXPECT_EQ(single.Text(), "'it''s \"x\"'\t'b'\r\n");

    // Mail merge: line breaks stay, the quote is still doubled.
    TCSVWriter merge('"', ',', false);
    merge.WriteField("1 \"High\" St\r\nLeeds");
    merge.EndLine();
    EXPECT_EQ(merge.Text(), "\"1 \"\"High\"\" St\r\nLeeds\"\r\n");

    // Quotes and line feeds at the ends and side by side.
    TCSVWriter edges('"', ',', true);
    edges.WriteField("\"\"a\n\nb\"");
    edges.EndLine();
    EXPECT_EQ(edges.Text(), "\"\"\"\"\"ab\"\"\"\r\n");

    TCSVWriter none(0, 0, true);
    none.WriteField("a");
    none.WriteField("b\"c");
    none.EndLine();
    EXPECT_EQ(none.Text(), "ab\"c\r\n");
}

TEST(CsvWrite, WhatTheWriterWritesReadsBackTheSame) {
    const std::vector<std::string> values = {"plain", "a,b",    "q\"uote",   "\"\"",
                                             "",      "x\r\ny", "tab\there", "end\""};
    for (const bool escape : {true, false}) {
        TCSVWriter w('"', ',', escape);
        for (const auto& v : values)
            w.WriteField(v);
        w.EndLine();
        TCSVReader r(w.Text(), '"', ',', false);
        ASSERT_TRUE(r.ReadLine());
        for (std::size_t i = 0; i < values.size(); ++i) {
            std::string expected = values[i];
            if (escape)
                std::erase(expected, '\n');
            EXPECT_EQ(r.Field(static_cast<int>(i) + 1), expected) << i << " " << escape;
        }
        EXPECT_FALSE(r.ReadLine());
    }
}

TEST(CsvRead, AReaderOverKeptTextReadsAsOneThatOwnsIt) {
    const std::string text = "a,\"b\"\"c\",\"x\ny\"\r\nlast,\"\"\r\n";
    for (const bool convert : {false, true}) {
        TCSVReader owning(text, '"', ',', convert);
        TCSVReader over = TCSVReader::Over(text, '"', ',', convert);
        while (owning.ReadLine()) {
            ASSERT_TRUE(over.ReadLine());
            EXPECT_EQ(Fields(over, 4), Fields(owning, 4));
        }
        EXPECT_FALSE(over.ReadLine());
    }
    // A zero byte ends the data there too.
    const std::string zero("a,b\r\n\0c,d\r\n", 11);
    auto r = TCSVReader::Over(zero, '"', ',', false);
    EXPECT_EQ(r.CountLines(), 1);

    // A copy of an owning reader reads its own copy of the text, after the first is gone.
    std::optional<TCSVReader> first(std::in_place, std::string("one,two\r\nthree\r\n"), '"', ',',
                                    false);
    ASSERT_TRUE(first->ReadLine());
    TCSVReader copy = *first;
    first.reset();
    EXPECT_EQ(copy.Field(2), "two");
    ASSERT_TRUE(copy.ReadLine());
    EXPECT_EQ(copy.Field(1), "three");
}

TEST(CsvWrite, ValuesOfEveryLengthWithAQuoteOrBreakAnywhereReadBack) {
    // Values longer and shorter than the eight bytes the writer and reader take at
    // once, with the character that means something at each place in them.
    for (const char special : {'"', ',', '\n', '\r', 'x'}) {
        for (std::size_t length = 1; length <= 19; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string value(length, 'v');
                value[at] = special;
                TCSVWriter w('"', ',', false);
                w.WriteField("p");
                w.WriteField(value);
                w.WriteField(value, value);
                w.EndLine();
                TCSVReader r(w.Text(), '"', ',', false);
                ASSERT_TRUE(r.ReadLine());
                EXPECT_EQ(Fields(r, 4), (std::vector<O>{"p", value, value + value, std::nullopt}))
                    << int(special) << " " << length << " " << at;

                // With escaping the line feed alone is left out.
                TCSVWriter escaped('"', ',', true);
                escaped.WriteField(value);
                std::string expected = value;
                std::erase(expected, '\n');
                std::string doubled;
                for (const char c : expected)
                    doubled += c == '"' ? std::string("\"\"") : std::string(1, c);
                EXPECT_EQ(escaped.Text(), "\"" + doubled + "\"") << int(special) << " " << at;
            }
        }
    }
}

TEST(CsvRead, FieldsOfEveryLengthSplitWhereTheSeparatorIs) {
    for (std::size_t length = 0; length <= 19; ++length) {
        const std::string a(length, 'a');
        const std::string b(19 - length, 'b');
        auto r = Reader(a + "," + b + "\r" + a + "\r\n" + b + "\n");
        ASSERT_TRUE(r.ReadLine());
        EXPECT_EQ(Fields(r, 3), (std::vector<O>{a, b + "\r" + a, std::nullopt})) << length;
        ASSERT_TRUE(r.ReadLine());
        EXPECT_EQ(r.Field(1, kLongValueLength), b.empty() ? O() : O(b)) << length;
        EXPECT_FALSE(r.ReadLine());
    }
}

TEST(CsvWrite, TextSoFarThenMoreThenTakenWhole) {
    TCSVWriter w('"', ';', true);
    w.WriteField("a");
    EXPECT_EQ(w.Text(), "\"a\"");
    // Well past the first room the writer takes, so that it grows between reads.
    const std::string big(10000, 'z');
    w.WriteField(big);
    w.EndLine();
    EXPECT_EQ(w.Text(), "\"a\";\"" + big + "\"\r\n");
    w.WriteField("b");
    const std::string all = w.TakeText();
    EXPECT_EQ(all, "\"a\";\"" + big + "\"\r\n\"b\"");
}

} // namespace
} // namespace tessaly
