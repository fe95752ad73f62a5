// Texts derived from an entry: display and sort texts, field and sort values, address
// lines and formatted addresses.

#include "core/organise/entry_text.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TIndexList Keys(std::initializer_list<std::pair<int, bool>> keys) {
    TIndexList list;
    for (auto [code, sortBy] : keys)
        list.AddKey(code, sortBy);
    return list;
}

TEST(StoreEntryText, DisplayTextTrimsAfterEachKey) {
    TRecord e;
    e.SetNameField(1, "Ann");
    e.SetNameField(2, "Smith");
    const TIndexList book = Keys({{0, true}, {1, true}, {2, true}});
    // An empty title adds neither a value nor a blank.
    EXPECT_EQ(DisplayText(e, book), "Ann Smith");
    e.SetNameField(0, "Dr");
    EXPECT_EQ(DisplayText(e, book), "Dr Ann Smith");
    e.SetNameField(1, "");
    EXPECT_EQ(DisplayText(e, book), "Dr Smith");

    // Line breaks inside a value become blanks in the display text only.
    TRecord multi;
    multi.UseDefaultKeys = 0;
    multi.Keys.AddKey(9, true);
    multi.SetNotes("one\r\ntwo\n");
    EXPECT_EQ(DisplayText(multi, book), "one  two");
    EXPECT_EQ(SortText(multi, book), "one\r\ntwo");
}

TEST(StoreEntryText, NoIndexAndAddressKeys) {
    TRecord e;
    EXPECT_EQ(DisplayText(e, TIndexList()), "<No Index Specified>");
    EXPECT_EQ(SortText(e, TIndexList()), "<No Index Specified>");

    // A key on an address field of an entry without addresses gives nothing.
    const TIndexList company = Keys({{21, true}});
    EXPECT_EQ(DisplayText(e, company), "<No Index Specified>");
    EXPECT_EQ(SortText(e, company), "<No Index Specified>");
    e.Addresses.AddAddress(1);
    e.Addresses.AddAddress(2);
    e.Addresses.SetFieldOf(0, 1, "Acme");
    e.Addresses.SetFieldOf(1, 1, "Other");
    EXPECT_EQ(DisplayText(e, company), "Acme"); // the first address only
}

TEST(StoreEntryText, SortTextUsesOnlySortKeysAndFallsBackToTheDisplayText) {
    TRecord e;
    e.SetNameField(0, "Dr");
    e.SetNameField(1, "Ann");
    e.SetNameField(2, "Smith");
    EXPECT_EQ(SortText(e, Keys({{2, true}, {0, false}, {1, true}})), "Smith Ann");
    EXPECT_EQ(SortText(e, Keys({{2, false}, {1, false}})), "Smith Ann");
}

TEST(StoreEntryText, TheSortTextIsTakenForTheDisplayTextOnlyWhenItIsThat) {
    // Whatever the keys and values, the short way gives what building it gives.
    const std::vector<TIndexList> keySets = {Keys({{0, true}, {1, true}, {2, true}}),
                                             Keys({{2, true}, {0, false}, {1, true}}),
                                             Keys({{2, false}, {1, false}}),
                                             Keys({{9, true}, {2, true}}),
                                             Keys({{21, true}}),
                                             TIndexList()};
    std::vector<TRecord> entries(5);
    entries[0].SetNameField(1, "Ann");
    entries[0].SetNameField(2, "Smith");
    entries[1].SetNameField(0, "Dr");
    entries[1].SetNameField(2, "Smith");
    entries[2].SetNotes("one\r\ntwo"); // a break inside a sorting key
    entries[2].SetNameField(2, "Brown");
    entries[3].SetNotes("\r\nleading break");
    for (const TIndexList& keys : keySets)
        for (TRecord& e : entries) {
            const std::string sort = SortText(e, keys);
            if (SortTextIsDisplayText(e, keys, sort)) {
                EXPECT_EQ(sort, DisplayText(e, keys));
            }
        }
    // It is taken where it can be, and not for a key left out of sorting or a break.
    EXPECT_TRUE(SortTextIsDisplayText(entries[0], keySets[0], "Ann Smith"));
    EXPECT_FALSE(SortTextIsDisplayText(entries[0], keySets[1], "Smith Ann"));
    EXPECT_FALSE(SortTextIsDisplayText(entries[2], keySets[3], SortText(entries[2], keySets[3])));
}

TEST(StoreEntryText, EntriesFollowingTheBookKeysTakeThemOwnKeysStay) {
    TIndexList book = Keys({{1, true}});
    TRecord follows;
    follows.SetNameField(1, "Ann");
    follows.SetNameField(2, "Smith");
    TRecord own = follows;
    own.UseDefaultKeys = 0;
    own.Keys.AddKey(2, true);

    EXPECT_EQ(DisplayText(follows, book), "Ann");
    EXPECT_EQ(follows.Keys, book); // the book's keys are copied into the entry
    book.AddKey(2, true);
    EXPECT_EQ(DisplayText(follows, book), "Ann Smith");
    EXPECT_EQ(DisplayText(own, book), "Smith");
    EXPECT_EQ(own.Keys.Count(), 1);

    // The const form computes the same without touching the entry.
    const TRecord fresh = [] {
        TRecord r;
        r.SetNameField(1, "Bo");
        return r;
    }();
    EXPECT_EQ(DisplayText(fresh, book), "Bo");
    EXPECT_EQ(fresh.Keys.Count(), 0);
}

TEST(StoreEntryText, ShowsNoIndexExactlyWhenTheDisplayTextSaysSo) {
    const TIndexList book = Keys({{0, true}, {1, true}, {2, true}});
    const std::string far(300, ' ');
    // Blank and control values, the text itself typed in, a value starting with "<"
    // that is not it, and a visible character beyond what the display text holds.
    for (const std::string& first :
         {std::string(), std::string(" \t\r\n"), std::string("<No Index Specified>"),
          std::string(" <x"), std::string("<No Index Specified> "), far + "x", far}) {
        for (const std::string& second : {std::string(), std::string("Ann")}) {
            TRecord e;
            e.NameFields[0] = first; // as a file may hold it, not cleaned
            e.NameFields[2] = second;
            EXPECT_EQ(ShowsNoIndex(e, book), DisplayText(e, book) == kNoIndexText)
                << "[" << first << "] [" << second << "]";
        }
    }
    TRecord e;
    e.NameFields[1] = "<No Index Specified>";
    EXPECT_TRUE(ShowsNoIndex(e, book));
    e.NameFields[2] = "Smith";
    EXPECT_FALSE(ShowsNoIndex(e, book));
}

TEST(StoreEntryText, DisplayTextIsAShortString) {
    TRecord e;
    e.SetNameField(1, std::string(200, 'a'));
    e.SetNameField(2, std::string(200, 'b'));
    const std::string text = DisplayText(e, Keys({{1, true}, {2, true}}));
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text, std::string(200, 'a') + " " + std::string(54, 'b'));
}

TEST(StoreEntryText, AddressLines) {
    EXPECT_EQ(AddressLine("one\rtwo\nthree", 1), "one");
    EXPECT_EQ(AddressLine("one\rtwo\nthree", 2), "two");
    EXPECT_EQ(AddressLine("one\rtwo\nthree", 3), "three");
    EXPECT_EQ(AddressLine("one\rtwo\nthree", 4), "");
    EXPECT_EQ(AddressLine("a\r\nb", 2), "b"); // CR LF is one break
    EXPECT_EQ(AddressLine("a\n\rb", 2), "");  // LF CR is two
    EXPECT_EQ(AddressLine("a\n\rb", 3), "b");
    EXPECT_EQ(AddressLine("a\r\n\r\nc", 3), "c"); // an empty line between
    EXPECT_EQ(AddressLine("", 1), "");
    EXPECT_EQ(AddressLine("x", 0), "");
    EXPECT_EQ(AddressLine(std::string(300, 'z'), 1).size(), 255u);
    // No fixed working buffer: lines far into a long text are still found.
    const std::string longText = std::string(40000, 'q') + "\r\nlast";
    EXPECT_EQ(AddressLine(longText, 2), "last");
}

class StoreAddressFormat : public ::testing::Test {
protected:
    void SetUp() override {
        book_ = NewBook("/tmp/f.ADR", testing::NoDefaultsFile());
        entry_.Addresses.AddAddress(1);
        entry_.Addresses.SetFieldOf(0, 2, "1 Main St\r\nSpringfield\r\nIL\r\n62701");
    }
    std::string Formatted(int format) {
        book_->Templates.At(1)->AddressFormat = static_cast<std::int16_t>(format);
        return FormattedAddress(entry_, 0, *book_);
    }
    std::unique_ptr<TBookData> book_;
    TRecord entry_;
};

TEST_F(StoreAddressFormat, EachFormat) {
    EXPECT_EQ(Formatted(kFormatFreeform), "1 Main St\r\nSpringfield\r\nIL\r\n62701");
    EXPECT_EQ(Formatted(kFormatUS), "1 Main St\r\nSpringfield\r\nIL   62701,   ");
    EXPECT_EQ(Formatted(kFormatUK), "1 Main St\r\nSpringfield\r\nIL\r\n62701\r\n");
    EXPECT_EQ(Formatted(kFormatSeparate), Formatted(kFormatUK));

    // Empty lines are left out; a fourth line already ending in a comma keeps one.
    entry_.Addresses.SetFieldOf(0, 2, "\r\nTown\r\n\r\nZip,\r\nUSA\r\nSixth");
    EXPECT_EQ(Formatted(kFormatUS), "Town\r\nZip,   USA   ");
    EXPECT_EQ(Formatted(kFormatUK), "Town\r\nZip,\r\nUSA\r\n");

    // An address whose template is gone is left as it is; a missing address is empty.
    entry_.Addresses.At(0)->TemplateId = 42;
    EXPECT_EQ(Formatted(kFormatUS), "\r\nTown\r\n\r\nZip,\r\nUSA\r\nSixth");
    EXPECT_EQ(FormattedAddress(entry_, 5, *book_), "");
}

TEST_F(StoreAddressFormat, FieldAndSortValues) {
    entry_.SetNameField(0, "Mr");
    entry_.SetNameField(1, "Al");
    entry_.SetNameField(2, "Zed");
    entry_.SetNameField(3, "Dear Al");
    entry_.SetNameField(8, "Other 6");
    entry_.SetNotes("notes");
    entry_.Addresses.SetFieldOf(0, 0, "Boss");
    entry_.Addresses.SetFieldOf(0, 1, "Acme");
    entry_.Addresses.SetFieldOf(0, 3, "111");
    entry_.Addresses.SetFieldOf(0, 6, "a@b");
    entry_.Addresses.AddAddress(1);
    entry_.Addresses.SetFieldOf(1, 1, "Second Co");
    book_->Templates.At(1)->AddressFormat = kFormatUK;

    auto field = [&](int n, int address = 0) { return FieldValue(entry_, n, address, *book_); };
    EXPECT_EQ(field(0), "Mr");
    EXPECT_EQ(field(2), "Zed");
    EXPECT_EQ(field(3), "Boss");
    EXPECT_EQ(field(4), "Acme");
    EXPECT_EQ(field(4, 1), "Second Co");
    EXPECT_EQ(field(5), "1 Main St\r\nSpringfield\r\nIL\r\n62701\r\n");
    EXPECT_EQ(field(6), "111");
    EXPECT_EQ(field(9), "a@b");
    EXPECT_EQ(field(10), "Dear Al");
    EXPECT_EQ(field(15), "Other 6");
    EXPECT_EQ(field(16), "notes");
    EXPECT_EQ(field(17), "Mr Al Zed");
    EXPECT_EQ(field(18), "M");
    EXPECT_EQ(field(19), "Mr Al Zed");
    EXPECT_EQ(field(20), std::nullopt);
    EXPECT_EQ(field(-1), std::nullopt);
    EXPECT_EQ(field(3, 7), "");

    // The stored fields are given without a copy, the same as their values; the
    // fields built from others are not.
    for (const int address : {0, 1, 7}) {
        for (int n = -1; n <= kDataFieldCount + 1; ++n) {
            const auto stored = StoredFieldView(entry_, n, address);
            const bool built = n == kDataAddress || n >= kDataSortText || n < 0;
            EXPECT_EQ(stored.has_value(), !built) << n;
            if (stored) {
                EXPECT_EQ(*stored, TextValue(field(n, address))) << n << " " << address;
            }
        }
    }

    EXPECT_EQ(SortValue(entry_, 0), "Mr");
    EXPECT_EQ(SortValue(entry_, 3), "Boss");
    EXPECT_EQ(SortValue(entry_, 4), "Acme");
    EXPECT_EQ(SortValue(entry_, 5), "");
    EXPECT_EQ(SortValue(entry_, 6), "111");
    EXPECT_EQ(SortValue(entry_, 9), "a@b");
    EXPECT_EQ(SortValue(entry_, 10), "Dear Al");
    EXPECT_EQ(SortValue(entry_, 15), "Other 6");
    EXPECT_EQ(SortValue(entry_, 16), "1 Main St");
    EXPECT_EQ(SortValue(entry_, 19), "62701");
    EXPECT_EQ(SortValue(entry_, 20), "");
    EXPECT_EQ(SortValue(entry_, 22), "");
}

} // namespace
} // namespace tessaly
