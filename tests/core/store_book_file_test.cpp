// Reading book images: round trips, older layouts, the signature and trailer checks,
// and the values brought into range on loading.

#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/old_book_images.h"
#include "tests/support/test_bytes.h"

#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

using testing::Bytes;
using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;
using testing::OldBookImage;

TLoadResult Parse(const std::vector<std::uint8_t>& bytes,
                  const TStoreSettings& settings = NoDefaultsFile()) {
    return ParseBookImage(bytes, settings, "/data/books/x.adr");
}

TEST(StoreBookFile, FullBookRoundTripsByteForByte) {
    // Its long date fractions settle on the file's date offset in the first pass.
    auto book = Parse(WriteBookImage(*MakeEveryKindBook())).Book;
    ASSERT_TRUE(book);
    const auto image = WriteBookImage(*book);
    auto loaded = Parse(image);
    ASSERT_TRUE(loaded.Book) << loaded.Message;
    EXPECT_EQ(loaded.Code, kCodeValid);
    EXPECT_EQ(*loaded.Book, *book);
    EXPECT_EQ(WriteBookImage(*loaded.Book), image);

    // Spot checks that the comparison is not vacuous.
    const TRecord* entry = loaded.Book->Entries.At(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Stamp, book->Entries.At(0)->Stamp);
    EXPECT_EQ(entry->Addresses.PrefixOfAddress(0, 3), "141");
    EXPECT_EQ(entry->Reminders.At(0)->Description, std::optional<std::string>("Call back"));
    EXPECT_EQ(loaded.Book->Entries.At(1)->NameFields[0], std::nullopt);
    EXPECT_EQ(loaded.Book->PageCaptions[3], std::nullopt);
    EXPECT_EQ(loaded.Book->WindowBounds[0], -32768); // stored as 16 bits, read back signed
    EXPECT_EQ(loaded.Book->FileName, "/data/books/x.adr");

    book->Entries.At(1)->Tagged = 1;
    EXPECT_FALSE(*loaded.Book == *book);
}

TEST(StoreBookFile, BytesAreStableAfterTheFirstWriteWhateverTheDates) {
    // A date-time passes through the +693594 offset and may lose its last bits once;
    // from then on the file does not drift.
    auto book = MakeEveryKindBook();
    book->Entries.At(0)->Created = 43000.123456789;
    book->Entries.At(0)->CallLogs.At(0)->End = 43300.51;
    const auto first = WriteBookImage(*book);
    auto loaded = Parse(first);
    ASSERT_TRUE(loaded.Book);
    EXPECT_EQ(WriteBookImage(*loaded.Book), first);
    EXPECT_NEAR(loaded.Book->Entries.At(0)->Created, 43000.123456789, 1e-9);
}

TEST(StoreBookFile, CurrentLayoutComposedByHandMatchesTheWriter) {
    const auto image = OldBookImage(13);
    auto loaded = Parse(image);
    ASSERT_TRUE(loaded.Book) << loaded.Message;
    EXPECT_EQ(WriteBookImage(*loaded.Book), image);
}

TEST(StoreBookFile, OlderLayoutsFillTheFieldsTheyLack) {
    for (int v : {1, 2, 3, 8, 9, 10, 11, 12, 13}) {
        SCOPED_TRACE(v);
        auto loaded = Parse(OldBookImage(v));
        ASSERT_TRUE(loaded.Book) << loaded.Message;
        const TBookData& b = *loaded.Book;
        EXPECT_EQ(b.Version, v);

        // Widths of the name area came with version 3.
        EXPECT_EQ(b.TitleWidth, v >= 3 ? 70 : 60);
        EXPECT_EQ(b.NamePanelWidth, v >= 3 ? 130 : 122);
        // Version 1 had three reminder columns; all four take their defaults.
        const std::array<std::int16_t, 4> widths =
            v >= 2 ? std::array<std::int16_t, 4>{10, 20, 30, 40}
                   : std::array<std::int16_t, 4>{22, 39, 120, 40};
        EXPECT_EQ(b.ColumnWidths, widths);
        EXPECT_EQ(b.ShowNotes, v >= 2 ? 0 : 1);
        EXPECT_EQ(b.SortOrder, v >= 2 ? 3 : 1);
        // Before version 2 the search list had no active name.
        EXPECT_EQ(b.Searches.ActiveName,
                  std::optional<std::string>(v >= 2 ? "Mine" : "<Untitled>"));
        EXPECT_EQ(b.Searches.HeaderWidths, (std::array<std::int16_t, 2>{90, 91}));
        // Five pages before version 10; the sixth is the categories page.
        EXPECT_EQ(b.PageCaptions[4], std::optional<std::string>("Page 4"));
        EXPECT_EQ(b.PageCaptions[5],
                  std::optional<std::string>(v >= 10 ? "Page 5" : "&Categories"));
        // Address formats came with version 9, button kinds with 13 (before: shown 7-10).
        const TTemplate* home = b.Templates.At(1);
        EXPECT_EQ(home->AddressFormat, v >= 9 ? kFormatUS : kFormatFreeform);
        EXPECT_EQ(home->ButtonKinds, (std::array<std::int16_t, 4>{1, 1, 0, 2}));
        // Before version 12 every attachment was a document.
        EXPECT_EQ(b.Entries.At(0)->Attachments.IsDocumentAt(0), v >= 12 ? 0 : 1);
        EXPECT_EQ(b.Entries.At(0)->Addresses.FieldOf(0, 2), "Street");

        // The next save writes the current layout, which reads back unchanged.
        auto image = WriteBookImage(*loaded.Book);
        EXPECT_EQ(image[6], 13);
        auto again = Parse(image);
        ASSERT_TRUE(again.Book);
        EXPECT_EQ(*again.Book, *loaded.Book);
        EXPECT_EQ(again.Book->PageCaptions[5], loaded.Book->PageCaptions[5]);
    }
}

TEST(StoreBookFile, HeadSignatureTellsOlderAndForeignFiles) {
    struct Case {
        int word;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {4, 20, "X.ADR is a Version 2.0 Tessaly File"},
        {6, 20, "X.ADR is a Version 2.0 Tessaly File"},
        {7, 20, "X.ADR is a Version 2.0 Tessaly File"},
        {8, 25, "X.ADR is a Version 2.5 Tessaly File"},
        {501, 12, "X.ADR is a Version 1.2 Tessaly File."},
        {3, -1, "X.ADR is not a Valid Tessaly Version 3 File"},
        {9, -1, "X.ADR is not a Valid Tessaly Version 3 File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        Bytes file;
        file.I16(c.word);
        for (int i = 0; i < 40; ++i)
            file.U8(i);
        auto loaded = Parse(file.b);
        EXPECT_FALSE(loaded.Book);
        EXPECT_EQ(loaded.Code, c.code);
        EXPECT_EQ(loaded.Message, c.message);
    }
    for (const std::vector<std::uint8_t>& tiny :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{5},
          std::vector<std::uint8_t>{5, 'T', 'S'}}) {
        auto loaded = Parse(tiny);
        EXPECT_FALSE(loaded.Book);
        EXPECT_EQ(loaded.Code, -1);
        EXPECT_EQ(loaded.Message, "X.ADR is not a Valid Tessaly Version 3 File");
    }
}

TEST(StoreBookFile, CheckSignatureAndTrailerDirectly) {
    const auto image = WriteBookImage(*MakeEveryKindBook());
    TStreamReader r(image);
    TFileCheck head = CheckSignature(r, true);
    EXPECT_TRUE(head.Valid);
    EXPECT_EQ(head.Code, 30);
    EXPECT_EQ(r.Position(), 6u);
    TFileCheck tail = CheckTrailer(r);
    EXPECT_TRUE(tail.Valid);
    EXPECT_EQ(r.Position(), 6u); // the position is restored

    // At the end of the stream nothing is read and the check fails.
    r.Seek(r.Size());
    TFileCheck atEnd = CheckSignature(r, false);
    EXPECT_FALSE(atEnd.Valid);
    EXPECT_EQ(atEnd.Code, -1);
    EXPECT_EQ(atEnd.Message, "Address Book File is Corrupt - Recover File from Backup Copy");
}

TEST(StoreBookFile, DamagedFramingIsReportedCorrupt) {
    const std::string corrupt =
        "X.ADR Address Book File is Corrupt - Recover File from Backup Copy";
    const auto image = WriteBookImage(*MakeEveryKindBook());

    auto badTrailer = image;
    badTrailer.back() = '4';
    EXPECT_EQ(Parse(badTrailer).Message, corrupt);
    EXPECT_EQ(Parse(badTrailer).Code, -1);

    // Bytes after the trailer: the file still ends in a signature, but the body does
    // not end where the trailer begins.
    auto extra = image;
    const auto signature = Bytes().Sig().b;
    extra.insert(extra.end(), signature.begin(), signature.end());
    auto withExtra = Parse(extra);
    EXPECT_FALSE(withExtra.Book);
    EXPECT_EQ(withExtra.Message, corrupt);

    // Only the two signatures.
    EXPECT_EQ(Parse(Bytes().Sig().Sig().b).Message, corrupt);
}

TEST(StoreBookFile, EveryTruncatedBodyIsCorruptNeverACrash) {
    const auto image = WriteBookImage(*MakeEveryKindBook());
    const std::vector<std::uint8_t> trailer(image.end() - 6, image.end());
    // Cut the body short at every length and put the trailer back after it.
    for (std::size_t keep = 6; keep + 6 < image.size(); ++keep) {
        std::vector<std::uint8_t> cut(image.begin(), image.begin() + static_cast<long>(keep));
        cut.insert(cut.end(), trailer.begin(), trailer.end());
        auto loaded = Parse(cut);
        ASSERT_FALSE(loaded.Book) << "kept " << keep;
        ASSERT_EQ(loaded.Code, -1) << "kept " << keep;
    }
}

TEST(StoreBookFile, ACheckGivesTheVerdictOfAWholeRead) {
    const auto image = WriteBookImage(*MakeEveryKindBook());
    const auto sameVerdict = [](const std::vector<std::uint8_t>& bytes) {
        const TLoadResult whole = Parse(bytes);
        const TLoadResult checked = CheckBookImage(bytes, NoDefaultsFile(), "/data/books/x.adr");
        EXPECT_EQ(!checked.Book, !whole.Book);
        EXPECT_EQ(checked.Code, whole.Code);
        EXPECT_EQ(checked.Message, whole.Message);
        return !checked.Book == !whole.Book && checked.Code == whole.Code;
    };
    ASSERT_TRUE(sameVerdict(image));
    // A checked book keeps no entry, and is never written.
    const TLoadResult checked = CheckBookImage(image, NoDefaultsFile(), "/data/books/x.adr");
    ASSERT_TRUE(checked.Book);
    EXPECT_EQ(checked.Book->Entries.Count(), 0);
    EXPECT_TRUE(checked.Book->ListingOnly);
    EXPECT_EQ(checked.Book->Categories, Parse(image).Book->Categories);

    // Cut short at every length, the trailer put back; and every byte made 0xFF, which
    // turns counts and text lengths past the bytes left.
    const std::vector<std::uint8_t> trailer(image.end() - 6, image.end());
    for (std::size_t keep = 6; keep + 6 < image.size(); ++keep) {
        std::vector<std::uint8_t> cut(image.begin(), image.begin() + static_cast<long>(keep));
        cut.insert(cut.end(), trailer.begin(), trailer.end());
        ASSERT_TRUE(sameVerdict(cut)) << "kept " << keep;
    }
    int read = 0;
    for (std::size_t at = 0; at < image.size(); ++at) {
        auto changed = image;
        changed[at] = 0xFF;
        ASSERT_TRUE(sameVerdict(changed)) << "changed " << at;
        read += Parse(changed).Book ? 1 : 0;
    }
    EXPECT_GT(read, 0); // some changes leave a readable book, and the check says so too
    // Older layouts, whose entries are read as they were written then.
    for (const int version : {1, 2, 3, 8, 9, 10, 11, 12, 13})
        EXPECT_TRUE(sameVerdict(OldBookImage(version))) << "version " << version;
}

TEST(StoreBookFile, UnknownVersionWordsAreRefused) {
    for (int v : {14, 200, 0, -3}) {
        auto image = OldBookImage(13);
        image[6] = static_cast<std::uint8_t>(v & 0xFF);
        image[7] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
        auto loaded = Parse(image);
        EXPECT_FALSE(loaded.Book) << v;
        EXPECT_EQ(loaded.Code, -1);
        EXPECT_EQ(loaded.Message, "X.ADR is not a Valid Tessaly Version 3 File");
    }
}

TEST(StoreBookFile, LoadingBringsHeaderValuesIntoRange) {
    auto book = MakeEveryKindBook();
    book->ActivePage = 6;
    book->WindowState = 3;
    book->AttachmentView = 4;
    book->SortOrder = 5;
    book->Templates.BaseIndex = 9;
    book->ListItemIndex = -1;
    book->ListTopIndex = -5;
    auto loaded = Parse(WriteBookImage(*book));
    ASSERT_TRUE(loaded.Book);
    const TBookData& b = *loaded.Book;
    EXPECT_EQ(b.ActivePage, 0);
    EXPECT_EQ(b.WindowState, 0);
    EXPECT_EQ(b.AttachmentView, 0);
    EXPECT_EQ(b.SortOrder, 1);
    EXPECT_EQ(b.Templates.BaseIndex, 1);
    EXPECT_EQ(b.ListItemIndex, 0);
    EXPECT_EQ(b.ListTopIndex, 0);

    // In-range values are kept as stored.
    book->ActivePage = 5;
    book->WindowState = 1;
    book->AttachmentView = 3;
    book->SortOrder = 4;
    book->Templates.BaseIndex = 2;
    auto kept = Parse(WriteBookImage(*book));
    EXPECT_EQ(kept.Book->ActivePage, 5);
    EXPECT_EQ(kept.Book->WindowState, 1);
    EXPECT_EQ(kept.Book->AttachmentView, 3);
    EXPECT_EQ(kept.Book->SortOrder, 4);
    EXPECT_EQ(kept.Book->Templates.BaseIndex, 2);
}

TEST(StoreBookFile, LockTabOffOpensOnTheFirstPage) {
    auto book = MakeEveryKindBook();
    book->ActivePage = 3;
    const auto image = WriteBookImage(*book);
    TStoreSettings settings = NoDefaultsFile();
    EXPECT_EQ(Parse(image, settings).Book->ActivePage, 3);
    settings.LockTab = false;
    EXPECT_EQ(Parse(image, settings).Book->ActivePage, 0);
}

TEST(StoreBookFile, NonFiniteDatesReadAsZero) {
    auto book = MakeEveryKindBook();
    book->LastUpdated = std::numeric_limits<double>::quiet_NaN() - 693594.0;
    book->Entries.At(0)->Stamp = std::numeric_limits<double>::infinity();
    auto loaded = Parse(WriteBookImage(*book));
    ASSERT_TRUE(loaded.Book);
    EXPECT_EQ(loaded.Book->LastUpdated, 0.0);
    EXPECT_EQ(loaded.Book->Entries.At(0)->Stamp, 0.0);
}

TEST(StoreBookFile, WritingRefusesWhatTheFileCannotHold) {
    auto longList = MakeEveryKindBook();
    for (int i = 0; i < 32768; ++i)
        longList->InsertFields.AddKey(0, false);
    EXPECT_THROW(WriteBookImage(*longList), StreamError);

    auto longText = MakeEveryKindBook();
    longText->Entries.At(0)->NameFields[9] = std::string(65535, 'n');
    EXPECT_THROW(WriteBookImage(*longText), StreamError);
    longText->Entries.At(0)->NameFields[9] = std::string(65534, 'n');
    auto loaded = Parse(WriteBookImage(*longText));
    ASSERT_TRUE(loaded.Book);
    EXPECT_EQ(loaded.Book->Entries.At(0)->Notes().size(), 65534u);
}

} // namespace
} // namespace tessaly
