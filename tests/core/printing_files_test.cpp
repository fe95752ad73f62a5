// The printing files byte for byte: the six-byte real, the counted text, the paper,
// layout, object and quick report files of every version the program reads, and the
// files refused as damaged. Expected bytes are built by hand from the tables.

#include "core/printing/catalogues.h"
#include "core/printing/layout_objects.h"
#include "core/printing/six_byte_real.h"
#include "tests/support/test_bytes.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::Bytes;

// Six-byte reals worked out by hand: exponent byte, then the fraction low byte first.
std::vector<std::uint8_t> Real(double v) {
    if (v == 25.0)
        return {0x85, 0, 0, 0, 0, 0x48};
    if (v == -25.0)
        return {0x85, 0, 0, 0, 0, 0xC8};
    if (v == 8.5)
        return {0x84, 0, 0, 0, 0, 0x08};
    if (v == 11.0)
        return {0x84, 0, 0, 0, 0, 0x30};
    if (v == 10.0)
        return {0x84, 0, 0, 0, 0, 0x20};
    if (v == 1.0)
        return {0x81, 0, 0, 0, 0, 0};
    if (v == 210.0)
        return {0x88, 0, 0, 0, 0, 0x52};
    if (v == 297.0)
        return {0x89, 0, 0, 0, 0x80, 0x14};
    if (v == 0.0)
        return {0, 0, 0, 0, 0, 0};
    ADD_FAILURE() << "no hand-made bytes for " << v;
    return {};
}

Bytes& R(Bytes& b, double v) {
    return b.Raw(Real(v));
}

TEST(SixByteReal, KnownValuesBothWays) {
    for (double v : {25.0, -25.0, 8.5, 11.0, 10.0, 1.0, 210.0, 297.0, 0.0}) {
        SCOPED_TRACE(v);
        const auto expected = Real(v);
        const TSixByteReal encoded = EncodeSixByteReal(v);
        EXPECT_EQ(std::vector<std::uint8_t>(encoded.begin(), encoded.end()), expected);
        TSixByteReal raw;
        std::copy(expected.begin(), expected.end(), raw.begin());
        EXPECT_EQ(DecodeSixByteReal(raw), v);
    }
    // An exponent byte of 0 is 0.0 whatever the fraction holds.
    EXPECT_EQ(DecodeSixByteReal({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0.0);
}

TEST(SixByteReal, InexactValuesKeepThirtyNineBitsAndExtremesClamp) {
    for (double v : {0.1, 215.9, 2.54, 1e-30, 12345.678}) {
        const double back = DecodeSixByteReal(EncodeSixByteReal(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 2e-12) << v;
    }
    // Rounding up to the next power of two carries into the exponent.
    EXPECT_EQ(DecodeSixByteReal(EncodeSixByteReal(std::nextafter(2.0, 0.0))), 2.0);
    // Too small for the form, and not a number, are 0; too large is the largest.
    EXPECT_EQ(EncodeSixByteReal(1e-60), TSixByteReal{});
    EXPECT_EQ(EncodeSixByteReal(std::nan("")), TSixByteReal{});
    const TSixByteReal huge = EncodeSixByteReal(1e300);
    EXPECT_EQ(huge[0], 255);
    EXPECT_GT(DecodeSixByteReal(huge), 1.7e38);
    EXPECT_LT(DecodeSixByteReal(EncodeSixByteReal(-HUGE_VAL)), -1.7e38);
}

// One A4 listing and one envelope in inches, as a version-13 file writes them.
Bytes ListingPaper(bool withRotate) {
    Bytes b;
    b.Str("A4, 210 x 297 mm").I16(0).I16(3).I16(9);
    R(b, 210.0);
    R(b, 297.0);
    R(b, 0).Raw(Real(0)).I16(0).I16(0);
    R(b, 0).Raw(Real(0)).Raw(Real(0)).Raw(Real(0));
    b.U8(0).I16(4).I16(1).U8(0);
    if (withRotate)
        b.U8(0);
    return b;
}

Bytes EnvelopeInInches(bool withRotate, bool rotate) {
    Bytes b;
    b.Str("Monarch").I16(4).I16(1).I16(256);
    R(b, 8.5);
    R(b, 11.0);
    R(b, 1.0);
    R(b, 25.0);
    b.I16(3).I16(10);
    R(b, 10.0).Raw(Real(0)).Raw(Real(1.0)).Raw(Real(0));
    b.U8(1).I16(6).I16(0).U8(1);
    if (withRotate)
        b.U8(rotate ? 1 : 0);
    return b;
}

std::vector<std::uint8_t> PaperFile(int version, bool rotate) {
    const bool withRotate = version >= 6;
    Bytes b;
    b.Sig().I16(version).I16(5).I16(2);
    b.Raw(ListingPaper(withRotate).b).Raw(EnvelopeInInches(withRotate, rotate).b);
    return b.Sig().b;
}

TEST(PaperFile, VersionThirteenReadsEveryFieldAndWritesTheSameBytes) {
    const auto bytes = PaperFile(13, true);
    TPaperList papers;
    ASSERT_TRUE(ParsePapersImage(bytes, papers));
    EXPECT_EQ(papers.NextNumber, 5);
    ASSERT_EQ(papers.Count(), 2);
    const TPaper& env = *papers.At(1);
    EXPECT_EQ(env.Name, "Monarch");
    EXPECT_EQ(env.Number, 4);
    EXPECT_EQ(env.Type, kPaperEnvelope);
    EXPECT_EQ(env.LabelWidth, 1.0);
    EXPECT_EQ(env.LabelHeight, 25.0);
    EXPECT_EQ(env.LabelsAcross, 3);
    EXPECT_EQ(env.LabelsDown, 10);
    EXPECT_EQ(env.TopMargin, 10.0);
    EXPECT_EQ(env.HorizontalGap, 1.0);
    EXPECT_TRUE(env.Portrait);
    EXPECT_EQ(env.EnvelopeFeed, 6);
    EXPECT_TRUE(env.FaceUp);
    EXPECT_TRUE(env.RotateEnvelope);
    // Lengths in inches are given in millimetres.
    EXPECT_DOUBLE_EQ(env.WidthMm(), 215.9);
    EXPECT_DOUBLE_EQ(env.TopMarginMm(), 254.0);
    EXPECT_DOUBLE_EQ(papers.At(0)->HeightMm(), 297.0);
    EXPECT_EQ(WritePapersImage(papers), bytes);

    EXPECT_EQ(papers.NumberByName("monarch"), 4);
    EXPECT_EQ(papers.NumberByName("Monarch "), kNoNumber);
    EXPECT_EQ(papers.TypeByNumber(0), kPaperListing);
    EXPECT_EQ(papers.TypeAt(7), 0);
}

TEST(PaperFile, VersionFiveHasNoRotateFlagAndIsWrittenAsThirteen) {
    TPaperList papers;
    ASSERT_TRUE(ParsePapersImage(PaperFile(5, false), papers));
    ASSERT_EQ(papers.Count(), 2);
    EXPECT_FALSE(papers.At(1)->RotateEnvelope);
    EXPECT_EQ(papers.At(1)->EnvelopeFeed, 6);
    EXPECT_EQ(WritePapersImage(papers), PaperFile(13, false));
}

TEST(PaperFile, CountedTextsAreWrittenAsTheFormSays) {
    TPaperList papers;
    papers.Create("abc", kPaperListing, 44);
    papers.Create("   ", kPaperListing, 44); // trimmed to the empty text
    const auto image = WritePapersImage(papers);
    // Signature, version, counter, count: the first name starts at byte 12.
    const std::vector<std::uint8_t> abc(image.begin() + 12, image.begin() + 18);
    EXPECT_EQ(abc, (std::vector<std::uint8_t>{0x04, 0x00, 0x61, 0x62, 0x63, 0x00}));
    const std::size_t second = 12 + 6 + 2 + 2 + 2 + 4 * 6 + 4 + 4 * 6 + 1 + 2 + 2 + 1 + 1;
    EXPECT_EQ(image[second], 0);
    EXPECT_EQ(image[second + 1], 0);
}

TEST(PaperList, NewPapersAndCopiesTakeTheirDefaults) {
    TPaperList papers;
    TPaper* us = papers.Create("  Mine  ", kPaperLabel, 1);
    TPaper* other = papers.Create("Other", kPaperEnvelope, 44);
    ASSERT_TRUE(us && other);
    EXPECT_EQ(us->Name, "Mine");
    EXPECT_EQ(us->Number, 0);
    EXPECT_EQ(other->Number, 1);
    EXPECT_EQ(us->Unit, kUnitInches);
    EXPECT_EQ(other->Unit, kUnitMillimetres);
    EXPECT_EQ(us->EnvelopeFeed, 4);
    EXPECT_EQ(us->SystemCode, kUserPaperCode);

    TPaper factory = *other;
    factory.SystemCode = 9;
    factory.Width = 12;
    TPaper* copy = papers.Duplicate(factory);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Number, 2);
    EXPECT_TRUE(copy->Editable());
    EXPECT_EQ(copy->Width, 12);
    // Numbers are never reused, and a number some paper holds is stepped over.
    papers.Remove(copy);
    papers.At(0)->Number = 3;
    EXPECT_EQ(papers.Create("Next", kPaperListing, 44)->Number, 4);
}

Bytes OneLayout() {
    Bytes b;
    b.Str("Labels").I16(2).I16(1).I16(0).U8(1).U8(0).U8(1);
    R(b, 25.0);
    R(b, 10.0);
    return b.I16(3).I16(77).NullStr();
}

TEST(LayoutFile, VersionFourTakesTheGridDefaultsAndIsWrittenAsThirteen) {
    Bytes v4;
    v4.Sig().I16(4).I16(3).Str("Ames\r\nHigh Street").U8(0).U8(1).U8(2).I16(150).U8(0);
    v4.I16(1).Raw(OneLayout().b).Sig();
    TLayoutList layouts;
    ASSERT_TRUE(ParseLayoutsImage(v4.b, layouts));
    EXPECT_EQ(layouts.NextNumber, 3);
    EXPECT_EQ(layouts.ReturnAddress, "Ames\r\nHigh Street");
    EXPECT_FALSE(layouts.Designer.ShowRulers);
    EXPECT_EQ(layouts.Designer.TextAlignment, kAlignCentre);
    EXPECT_EQ(layouts.Designer.PaletteWidth, 150);
    EXPECT_EQ(layouts.Designer.Unit, 0);
    EXPECT_TRUE(layouts.Designer.SnapToGrid);
    EXPECT_EQ(layouts.Designer.GridAcross, 8);
    EXPECT_EQ(layouts.Designer.GridDown, 8);
    ASSERT_EQ(layouts.Count(), 1);
    const TLayout& l = *layouts.At(0);
    EXPECT_EQ(l.Number, 2);
    EXPECT_EQ(l.Source, kSourceEntries);
    EXPECT_EQ(l.PaperNumber, 0);
    EXPECT_TRUE(l.Footers);
    EXPECT_EQ(l.FooterHeight, 10.0);
    EXPECT_EQ(l.Reserved, 77); // kept as read

    Bytes v13;
    v13.Sig().I16(13).I16(3).Str("Ames\r\nHigh Street").U8(0).U8(1).U8(2).I16(150).U8(0);
    v13.U8(1).I16(8).I16(8).I16(1).Raw(OneLayout().b).Sig();
    EXPECT_EQ(WriteLayoutsImage(layouts), v13.b);

    // Version 5 reads the grid from the file.
    v13.b[7] = 0;
    v13.b[6] = 5;
    TLayoutList v5;
    ASSERT_TRUE(ParseLayoutsImage(v13.b, v5));
    EXPECT_EQ(v5, layouts);
}

TEST(LayoutList, NewLayoutsHoldTheirDefaultsAndSkipTakenNumbers) {
    TLayoutList layouts;
    const auto none = [](int) { return false; };
    TLayout* a = layouts.Create("A", kSourceReminders, 7, none);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Number, 0);
    EXPECT_EQ(a->PaperNumber, 7);
    EXPECT_FALSE(a->Headers);
    EXPECT_EQ(a->HeaderHeight, 25.0);
    EXPECT_EQ(a->PageControl, kAutomaticPages);
    EXPECT_EQ(a->Reserved, -1);
    EXPECT_TRUE(a->Portrait);
    // Numbers 1 and 2 have object files on disk already.
    TLayout* b = layouts.Create("B", kSourceEntries, 7, [](int n) { return n == 1 || n == 2; });
    EXPECT_EQ(b->Number, 3);
    TLayout* copy = layouts.Duplicate(*a, "A copy", none);
    EXPECT_EQ(copy->Number, 4);
    EXPECT_EQ(copy->Source, kSourceReminders);
    EXPECT_EQ(layouts.NumberByName("a COPY"), 4);
    // The 16-bit counter runs out rather than wrapping to a negative number.
    layouts.NextNumber = 32767;
    EXPECT_EQ(layouts.Create("Last", 1, 7, none)->Number, 32767);
    EXPECT_EQ(layouts.Create("Past", 1, 7, none), nullptr);
}

Bytes Box(int kind, int itemsVersion, std::vector<std::pair<std::string, int>> items, double top,
          double height, const char* format) {
    Bytes b;
    b.I16(kind).I16(1).I16(static_cast<int>(items.size()));
    for (const auto& [caption, field] : items) {
        b.Str(caption).I16(field).I16(0);
        if (itemsVersion >= 6)
            b.U8(0);
    }
    b.U8(2).U8s({0xFF, 0xFF, 0xFF, 0}).U8(1).U8s({0, 0, 0x80, 0}).U8(3).I16(2);
    R(b, 10.0);
    R(b, top);
    R(b, 210.0);
    R(b, height);
    b.U8s({1, 2, 3, 0}).I16(8).U8(5);
    b.U8(5).U8s({'A', 'r', 'i', 'a', 'l'});
    for (int i = 0; i < 26; ++i)
        b.U8(0);
    if (format)
        b.Str(format);
    return b;
}

std::vector<std::uint8_t> ObjectFile(int version) {
    Bytes b;
    b.Sig().I16(version);
    b.I16(-1); // header: none
    b.I16(1).Raw(Box(0, version, {{"First Name", 0}, {"Surname", 2}}, 1.0, 8.5, nullptr).b);
    b.Raw(Box(3, version, {}, 10.0, 25.0, "logo.bmp").b);    // a picture
    b.I16(0).Raw(Box(15, version, {}, 0.0, 10.0, "%.2d").b); // the page number
    return b.Sig().b;
}

TEST(ObjectFile, BandsKindsAndFormatsReadAndWriteBack) {
    TLayoutObjects objects;
    ASSERT_TRUE(ParseLayoutObjects(ObjectFile(13), objects));
    EXPECT_TRUE(objects.Header.empty());
    ASSERT_EQ(objects.Body.size(), 2u);
    ASSERT_EQ(objects.Footer.size(), 1u); // a count word of 0 is one object
    const TLayoutBox& data = objects.Body[0];
    ASSERT_EQ(data.Items.Count(), 2);
    EXPECT_EQ(data.Items.At(1)->Caption, "Surname");
    EXPECT_EQ(data.Items.At(1)->FieldNumber, 2);
    EXPECT_FALSE(data.Items.At(0)->SingleLine);
    EXPECT_EQ(data.Alignment, kAlignCentre);
    EXPECT_EQ(data.BrushColour, 0x00FFFFFFu);
    EXPECT_EQ(data.PenColour, 0x00800000u);
    EXPECT_EQ(data.PenWidth, 2);
    EXPECT_EQ(data.Top, 1.0);
    EXPECT_EQ(data.FontColour, 0x00030201u);
    EXPECT_EQ(data.FontStyle, 5);
    EXPECT_EQ(data.FontName, "Arial");
    EXPECT_FALSE(data.Format);
    EXPECT_EQ(objects.Body[1].Format, "logo.bmp");
    EXPECT_EQ(objects.Footer[0].Format, "%.2d");
    EXPECT_EQ(objects.DetailHeight(), 35.0);
    EXPECT_EQ(WriteLayoutObjects(objects), ObjectFile(13));
}

TEST(ObjectFile, VersionFiveItemsAreSingleLine) {
    TLayoutObjects objects;
    ASSERT_TRUE(ParseLayoutObjects(ObjectFile(5), objects));
    ASSERT_EQ(objects.Body[0].Items.Count(), 2);
    EXPECT_TRUE(objects.Body[0].Items.At(0)->SingleLine);
    EXPECT_TRUE(objects.Body[0].Items.At(1)->SingleLine);
}

TEST(ObjectFile, AnUnknownKindIsMergedDataWithoutAFormat) {
    Bytes b;
    b.Sig().I16(13).I16(-1).I16(0).Raw(Box(40, 13, {{"Notes", 16}}, 0, 8.5, nullptr).b).I16(-1);
    b.Sig();
    TLayoutObjects objects;
    ASSERT_TRUE(ParseLayoutObjects(b.b, objects));
    EXPECT_EQ(objects.Body[0].Kind, 40);
    EXPECT_EQ(objects.Body[0].Behaviour(), kBoxData);
    EXPECT_EQ(WriteLayoutObjects(objects), b.b);
}

TEST(ObjectFile, DamagedFilesAreRefusedAndLeaveTheObjectsAlone) {
    const auto good = ObjectFile(13);
    std::vector<std::vector<std::uint8_t>> damaged;
    for (std::size_t n : {0ul, 5ul, 8ul, 40ul, good.size() - 1})
        damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(n)); // cut short
    auto extra = good;
    extra.push_back(0);
    damaged.push_back(extra); // the trailer does not end the file
    auto newer = good;
    newer[6] = 14; // a version this program does not know
    damaged.push_back(newer);
    auto foreign = good;
    foreign[1] = 'X';
    damaged.push_back(foreign);
    auto below = good;
    below[8] = 0xFE; // header count -2
    below[9] = 0xFF;
    damaged.push_back(below);
    auto font = good;
    // The first box's font name length byte: behind the two items' texts and fields.
    const std::size_t fontAt =
        8 + 2 + 2 + 2 + 2 + 2 + (13 + 5) + (10 + 5) + 1 + 4 + 1 + 4 + 1 + 2 + 4 * 6 + 4 + 2 + 1;
    ASSERT_EQ(font[fontAt], 5);
    font[fontAt] = 32;
    damaged.push_back(font);
    Bytes huge;
    huge.Sig().I16(13).I16(-1).I16(0).I16(0).I16(1).I16(0x7FFF); // 32767 items promised
    huge.Str("x").I16(0).I16(0).U8(1).Sig();
    damaged.push_back(huge.b);

    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        TLayoutObjects objects;
        objects.Body.emplace_back();
        EXPECT_FALSE(ParseLayoutObjects(damaged[i], objects));
        EXPECT_EQ(objects.Body.size(), 1u);
    }
}

TEST(ObjectFile, NamesAreEightDigitsAndTheExtension) {
    EXPECT_EQ(ObjectFileName(12), "00000012.TPL");
    EXPECT_EQ(ObjectFileNumber("00000012.TPL"), 12);
    EXPECT_EQ(ObjectFileNumber("00032767.tpl"), 32767);
    EXPECT_EQ(ObjectFileNumber("TESSALY.TPL"), -1);
    EXPECT_EQ(ObjectFileNumber("0000012.TPL"), -1);
    EXPECT_EQ(ObjectFileNumber("00000012.TPP"), -1);
}

Bytes Report(bool withSort) {
    Bytes b;
    b.Str("abc").I16(2).I16(4).U8(0).U8(1).Date(45000.5).Date(45031.0).U8(0).I16(2).I16(1).U8(1);
    if (withSort)
        b.I16(5);
    return b;
}

TEST(QuickReportFile, SortFieldFromVersionSevenOn) {
    Bytes v6;
    v6.Sig().I16(6).I16(1).Raw(Report(false).b).Sig();
    TQReportList reports;
    ASSERT_TRUE(ParseReportsImage(v6.b, reports));
    ASSERT_EQ(reports.Count(), 1);
    const TQReport& q = *reports.At(0);
    EXPECT_EQ(q.Name, "abc");
    EXPECT_EQ(q.Selection, kSelectListed);
    EXPECT_EQ(q.LayoutNumber, 4);
    EXPECT_FALSE(q.AllDates);
    EXPECT_EQ(q.FirstDate, 45000.5);
    EXPECT_EQ(q.LastDate, 45031.0);
    EXPECT_FALSE(q.IncludeCompleted);
    EXPECT_EQ(q.Copies, 2);
    EXPECT_EQ(q.LabelFill, kFillRow);
    EXPECT_TRUE(q.PromptStartingLabel);
    EXPECT_EQ(q.SortField, -1);

    Bytes v7;
    v7.Sig().I16(7).I16(1).Raw(Report(true).b).Sig();
    ASSERT_TRUE(ParseReportsImage(v7.b, reports));
    EXPECT_EQ(reports.At(0)->SortField, 5);
    v7.b[6] = 13;
    EXPECT_EQ(WriteReportsImage(reports), v7.b);

    // The name "abc" is 04 00 61 62 63 00 right behind the count.
    EXPECT_EQ(std::vector<std::uint8_t>(v7.b.begin() + 10, v7.b.begin() + 16),
              (std::vector<std::uint8_t>{4, 0, 0x61, 0x62, 0x63, 0}));
}

TEST(QuickReportList, NewReportsTakeTheDefaultsAndNamesIgnoreCase) {
    TQReportList reports;
    TQReport* q = reports.Create(" Phone List ");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->Name, "Phone List");
    EXPECT_EQ(q->Selection, kSelectEntry);
    EXPECT_EQ(q->LayoutNumber, -1);
    EXPECT_TRUE(q->AllDates && q->FirstAddressOnly && q->IncludeCompleted);
    EXPECT_EQ(q->Copies, 1);
    EXPECT_EQ(q->LabelFill, kFillCopies);
    EXPECT_FALSE(q->PromptStartingLabel);
    EXPECT_EQ(q->SortField, -1);
    EXPECT_EQ(reports.IndexByName("PHONE LIST"), 0);
    EXPECT_EQ(reports.IndexByName("Phone"), -1);
    EXPECT_EQ(reports.NameAt(3), "");
    EXPECT_EQ(reports.LayoutNumberAt(-1), -1);
}

TEST(CatalogueFiles, AnEmptyOrForeignImageIsDamaged) {
    TPaperList papers;
    TLayoutList layouts;
    TQReportList reports;
    for (const auto& bytes : {std::vector<std::uint8_t>{}, Bytes().Sig().b,
                              Bytes().Sig().I16(13).Sig().b, Bytes().I16(4).I16(0).I16(0).b}) {
        EXPECT_FALSE(ParsePapersImage(bytes, papers));
        EXPECT_FALSE(ParseLayoutsImage(bytes, layouts));
        EXPECT_FALSE(ParseReportsImage(bytes, reports));
    }
    // A version word of 0 or below is no file of this program's.
    EXPECT_FALSE(ParseReportsImage(Bytes().Sig().I16(0).I16(0).Sig().b, reports));
    EXPECT_TRUE(ParseReportsImage(Bytes().Sig().I16(1).I16(0).Sig().b, reports));
}

} // namespace
} // namespace tessaly
