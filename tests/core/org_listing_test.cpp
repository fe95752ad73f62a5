// A listing built while its book is read, keeping no entry: the same texts in the same
// order as an entry list of the book read whole, and nothing of a book whose reading
// failed.

#include "core/organise/entry_list.h"
#include "core/organise/entry_text.h"
#include "core/organise/listing.h"
#include "core/store/book_file.h"
#include "core/store/format.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tessaly {
namespace {

using testing::TScratchDir;

using TLines = std::vector<std::string>;

TLines Lines(const TEntryList& list) {
    TLines out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.DisplayTextAt(i));
    return out;
}

TLines Lines(const TListing& listing) {
    TLines out;
    for (std::size_t i = 0; i < listing.Count(); ++i)
        out.emplace_back(listing.TextAt(i));
    return out;
}

// The book read plainly and listed afterwards with the search `searchOf` gives.
TLines ListedAfterwards(const std::string& path, const TListing::TSearchOf& searchOf,
                        const IClock& clock) {
    TLoadResult plain = LoadBook(path, TStoreSettings());
    EXPECT_TRUE(plain.Book);
    if (!plain.Book)
        return {};
    TEntryList list(*plain.Book, clock);
    list.Rebuild(searchOf ? searchOf(*plain.Book) : nullptr);
    return Lines(list);
}

class Listing : public ::testing::Test {
protected:
    // Names repeat without regard to case far apart in the book, so that ties are
    // ordered by the entries' places; some entries have keys of their own, some with a
    // line break, and the active search passes about a third.
    Listing() {
        TBookData book;
        book.SetBuiltInDefaults();
        const std::vector<std::string> surnames = {"smith", "SMITH", "Brown",
                                                   "brown-and-partners-of-leeds-and-york", "Ng"};
        const std::vector<std::string> firsts = {"Ann", "ann", "Zoe", ""};
        for (int i = 0; i < kEntries; ++i) {
            TRecord e;
            e.SetNameField(kFieldFirstName, firsts[static_cast<std::size_t>(i) % firsts.size()]);
            e.SetNameField(kFieldSurname,
                           surnames[static_cast<std::size_t>(i / 3) % surnames.size()]);
            if (i % 17 == 0) {
                e.UseDefaultKeys = 0;
                e.Keys.Clear();
                e.Keys.AddKey(kFieldNotes, true);
                e.SetNotes(i % 2 ? "two\r\nlines" : "one line");
            }
            book.Entries.AddEntryCopy(e, clock);
        }
        book.Searches.SelectSearch("Smiths");
        book.Searches.ActiveSearch()->Rules.Add(
            MakeRule(kFieldSurname, -1, true, 0, 0, false, false, "smith"));
        image = WriteBookImage(book);
        path = dir.File("BIG.ADR");
        testing::WriteBytes(path, image);
    }

    static constexpr int kEntries = 3000;
    FakeClock clock{EncodeDate(2024, 3, 10) + 0.5};
    TScratchDir dir;
    std::vector<std::uint8_t> image;
    std::string path;
};

TEST_F(Listing, ListsAsAListBuiltAfterTheReading) {
    for (const bool activeSearch : {false, true}) {
        SCOPED_TRACE(activeSearch ? "active search" : "every entry");
        const TListing::TSearchOf searchOf = [activeSearch](const TBookData& b) {
            return activeSearch ? b.Searches.ActiveSearch() : nullptr;
        };
        TListing listing(searchOf, clock);
        TLoadResult read = LoadBook(path, TStoreSettings(), RealFileSystem(), &listing);
        ASSERT_TRUE(read.Book);
        // No entry is kept, so the book is never written.
        EXPECT_EQ(read.Book->Entries.Count(), 0);
        EXPECT_TRUE(read.Book->ListingOnly);
        const TLines lines = Lines(listing);
        EXPECT_EQ(lines, ListedAfterwards(path, searchOf, clock));
        EXPECT_EQ(static_cast<int>(lines.size()) == kEntries, !activeSearch);
        // The line break of an entry's own key is drawn as a blank.
        EXPECT_NE(std::find(lines.begin(), lines.end(), "two  lines"), lines.end());
    }
}

TEST_F(Listing, ABookWhoseReadingFailsLeavesNoLines) {
    // The body cut short inside the entries, and by its last byte, the trailer kept:
    // the reading fails after the listing has begun, and the book it was working on
    // is freed. The sanitizer builds catch any use of it afterwards.
    const std::size_t trailer = kSignatureSize;
    for (const std::size_t keep :
         {image.size() / 2, image.size() / 4 * 3, image.size() - trailer - 1}) {
        SCOPED_TRACE(keep);
        std::vector<std::uint8_t> damaged(image.begin(), image.begin() + static_cast<long>(keep));
        damaged.insert(damaged.end(), image.end() - static_cast<long>(trailer), image.end());
        const std::string cut = dir.File("CUT.ADR");
        testing::WriteBytes(cut, damaged);
        TListing listing(nullptr, clock);
        TLoadResult read = LoadBook(cut, TStoreSettings(), RealFileSystem(), &listing);
        EXPECT_FALSE(read.Book);
        EXPECT_EQ(read.Code, kCodeInvalid);
        // Cut inside the entries, the listing keeps no line; cut after them, the reading
        // still fails and no book comes back to list.
        if (keep < image.size() - trailer - 1) {
            EXPECT_EQ(listing.Count(), 0u);
        }

        // The same listing then serves a whole reading of the book.
        TLoadResult whole = LoadBook(path, TStoreSettings(), RealFileSystem(), &listing);
        ASSERT_TRUE(whole.Book);
        EXPECT_EQ(Lines(listing), ListedAfterwards(path, nullptr, clock));
    }
}

// A listing that reads only the texts its list shows lists as a whole reading does,
// under searches that look at no other text, and under searches that do, which have
// every text read. Entries with keys of their own keep the texts those keys name.
TEST(ListedTexts, ListAsAWholeReadingDoes) {
    FakeClock clock{EncodeDate(2024, 3, 10) + 0.5};
    TScratchDir dir;
    TBookData book;
    book.SetBuiltInDefaults();
    book.IndexKeys.Clear();
    book.IndexKeys.AddKey(kFieldSurname, true);
    book.IndexKeys.AddKey(kAddressKeyBase + kFieldCompany, false);
    const int second = book.Templates.Count();
    book.Templates.Add(std::make_unique<TTemplate>(book.Templates.NextId++));
    const int secondId = book.Templates.At(second)->Id;
    for (int i = 0; i < 60; ++i) {
        const std::string n = std::to_string(i);
        TRecord e;
        AssignKeys(e.Keys, book.IndexKeys);
        e.SetNameField(kFieldFirstName, "First " + std::to_string(i % 7));
        if (i % 5 != 0)
            e.SetNameField(kFieldSurname,
                           "A surname long enough for the heap " + std::to_string(i % 11));
        e.SetNotes("Notes of entry " + n);
        e.Updated = EncodeDate(2020, 1, 1 + i % 20);
        e.Tagged = i % 3 == 0 ? 1 : 0;
        if (i % 13 != 0) {
            const int first = e.Addresses.AddAddress(1);
            e.Addresses.SetFieldOf(first, kFieldCompany, "Firm " + std::to_string(i % 4));
            e.Addresses.SetFieldOf(first, kFieldAddress, n + " Long Street\r\nTown");
            e.Addresses.SetFieldOf(first, kFirstPhoneField, "0123 " + n);
            const int other = e.Addresses.AddAddress(secondId);
            e.Addresses.SetFieldOf(other, kFieldCompany, "Second firm " + n);
        }
        if (i % 9 == 0) {
            e.UseDefaultKeys = 0;
            e.Keys.Clear();
            e.Keys.AddKey(kFieldNotes, true);
            e.Keys.AddKey(kAddressKeyBase + kFieldAddress, false);
            e.Keys.AddKey(kAddressKeyBase + kFirstPhoneField, true);
        }
        book.Entries.AddEntryCopy(e, clock);
    }
    const auto addSearch = [&](const char* name) {
        book.Searches.SelectSearch(name);
        return book.Searches.ActiveSearch();
    };
    addSearch("Dated")->Rules.Add(MakeRule(kRuleLastModified, -1, false, EncodeDate(2020, 1, 3),
                                           EncodeDate(2020, 1, 9), false, false, ""));
    TFilter* starts = addSearch("Starts");
    starts->StartsWithOn = 1;
    starts->SetStartsWith("a surname long enough for the heap 1");
    addSearch("Untagged")->ExcludeTagged = 1;
    addSearch("Named")->Rules.Add(
        MakeRule(kFieldFirstName, -1, true, 0, 0, false, false, "first 3"));
    addSearch("Second firm")
        ->Rules.Add(MakeRule(kFieldCompany, secondId, true, 0, 0, false, false, "firm 2"));
    book.Searches.SelectSearch(kUntitledSearch);
    const std::string path = dir.File("KEYS.ADR");
    testing::WriteBytes(path, WriteBookImage(book));
    const std::vector<std::uint8_t> before = testing::ReadBytes(path);

    for (const char* name : {"", "Dated", "Starts", "Untagged", "Named", "Second firm"}) {
        SCOPED_TRACE(*name ? name : "every entry");
        const TListing::TSearchOf searchOf = [name = std::string(name)](const TBookData& b) {
            return name.empty() ? nullptr : b.Searches.At(b.Searches.FindSearch(name));
        };
        TListing listing(searchOf, clock);
        TLoadResult read = LoadBook(path, TStoreSettings(), RealFileSystem(), &listing);
        ASSERT_TRUE(read.Book);
        const TLines lines = Lines(listing);
        EXPECT_EQ(lines, ListedAfterwards(path, searchOf, clock));
        EXPECT_GT(lines.size(), 3u);

        // Written, it would lose its entries: refused, the file as it was.
        EXPECT_TRUE(read.Book->ListingOnly);
        MarkChanged(*read.Book);
        const TSaveResult saved = SaveBook(*read.Book, true, TStoreSettings());
        EXPECT_FALSE(saved.Ok);
        EXPECT_EQ(saved.Error, "the book was read for its listing only");
        EXPECT_EQ(testing::ReadBytes(path), before);
    }

    // Read with the listed texts only and its entries kept, what the list does not show
    // is not there: the notes of an entry that follows the book's keys, its first name,
    // and every address but the first.
    struct TKeepListed final : IEntryReadWatch {
        std::optional<TListedTexts> TextsNeeded(const TBookData& b) override {
            TListedTexts texts;
            texts.AddKeys(b.IndexKeys);
            return texts;
        }
        void EntriesBegin(TBookData&, std::size_t) override {}
        void EntryRead(TRecord&) override {}
        void EntriesEnd(bool) noexcept override {}
    } keepListed;
    TLoadResult read = LoadBook(path, TStoreSettings(), RealFileSystem(), &keepListed);
    TLoadResult whole = LoadBook(path, TStoreSettings());
    ASSERT_TRUE(read.Book && whole.Book);
    ASSERT_EQ(read.Book->Entries.Count(), whole.Book->Entries.Count());
    const TRecord& plain = *read.Book->Entries.At(1);
    EXPECT_FALSE(plain.NameFields[kFieldNotes].has_value());
    EXPECT_FALSE(plain.NameFields[kFieldFirstName].has_value());
    EXPECT_EQ(plain.NameFields[kFieldSurname],
              whole.Book->Entries.At(1)->NameFields[kFieldSurname]);
    ASSERT_EQ(plain.Addresses.Count(), 1);
    EXPECT_EQ(plain.Addresses.FieldOf(0, kFieldCompany), "Firm 1");
    EXPECT_FALSE(plain.Addresses.At(0)->Fields[kFieldAddress].has_value());
    // An entry with keys of its own keeps what they name.
    const TRecord& own = *read.Book->Entries.At(18);
    EXPECT_EQ(own.Notes(), "Notes of entry 18");
    EXPECT_EQ(own.Addresses.FieldOf(0, kFieldAddress), "18 Long Street\r\nTown");
    EXPECT_TRUE(read.Book->ListingOnly);
}

} // namespace
} // namespace tessaly
