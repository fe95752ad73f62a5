// A listing built while its book is read: the same items in the same order as one
// built afterwards, and nothing of a book whose reading failed is used.

#include "core/common/upper_case.h"
#include "core/organise/entry_list.h"
#include "core/organise/entry_text.h"
#include "core/organise/list_read_ahead.h"
#include "core/store/book_file.h"
#include "core/store/format.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessaly {
namespace {

using testing::TScratchDir;

// Each item as its entry's place in the book and the text drawn, in list order.
using TListed = std::vector<std::pair<int, std::string>>;

TListed Listed(const TEntryList& list, const TBookData& book) {
    std::unordered_map<const TRecord*, int> position;
    for (int i = 0; i < book.Entries.Count(); ++i)
        position[book.Entries.At(i)] = i;
    TListed out;
    for (int i = 0; i < list.Count(); ++i)
        out.emplace_back(position.at(list.EntryAt(i)), list.DisplayTextAt(i));
    return out;
}

class ListReadAhead : public ::testing::Test {
protected:
    // A book large enough to be read ahead. Names repeat without regard to case in
    // both halves, so ties cross the halves; some entries have keys of their own,
    // some with a line break, and the active search passes about a third.
    ListReadAhead() {
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

    // The book read plainly and listed afterwards with the given search.
    TListed ListedAfterwards(bool activeSearch) {
        TLoadResult plain = LoadBook(path, TStoreSettings());
        EXPECT_TRUE(plain.Book);
        TEntryList list(*plain.Book, clock);
        list.Rebuild(activeSearch ? plain.Book->Searches.ActiveSearch() : nullptr);
        return Listed(list, *plain.Book);
    }

    static constexpr int kEntries = 12000;
    FakeClock clock{EncodeDate(2024, 3, 10) + 0.5};
    TScratchDir dir;
    std::vector<std::uint8_t> image;
    std::string path;
};

TEST_F(ListReadAhead, ListsAsAListBuiltAfterTheReading) {
    for (const bool activeSearch : {false, true}) {
        SCOPED_TRACE(activeSearch ? "active search" : "every entry");
        TListReadAhead ahead(
            [activeSearch](const TBookData& b) {
                return activeSearch ? b.Searches.ActiveSearch() : nullptr;
            },
            clock);
        TLoadResult read = LoadBook(path, TStoreSettings(), RealFileSystem(), &ahead);
        ASSERT_TRUE(read.Book);
        TEntryList list(*read.Book, clock);
        const TFilter* search = activeSearch ? read.Book->Searches.ActiveSearch() : nullptr;
        EXPECT_TRUE(list.Rebuild(search, ahead));
        const TListed listed = Listed(list, *read.Book);
        EXPECT_EQ(listed, ListedAfterwards(activeSearch));
        EXPECT_EQ(static_cast<int>(listed.size()) == kEntries, !activeSearch);

        // Its items are used up: a second list is built afresh, the same.
        TEntryList again(*read.Book, clock);
        EXPECT_FALSE(again.Rebuild(search, ahead));
        EXPECT_EQ(Listed(again, *read.Book), listed);
    }
}

TEST_F(ListReadAhead, AnotherSearchBookOrDayIsBuiltAfresh) {
    TListReadAhead ahead([](const TBookData& b) { return b.Searches.ActiveSearch(); }, clock);
    TLoadResult read = LoadBook(path, TStoreSettings(), RealFileSystem(), &ahead);
    ASSERT_TRUE(read.Book);

    // Another search than the one read ahead for.
    TEntryList list(*read.Book, clock);
    EXPECT_FALSE(list.Rebuild(nullptr, ahead));
    EXPECT_EQ(Listed(list, *read.Book), ListedAfterwards(false));

    // Another book: the same file read again without the read-ahead.
    TLoadResult other = LoadBook(path, TStoreSettings());
    ASSERT_TRUE(other.Book);
    TEntryList otherList(*other.Book, clock);
    EXPECT_FALSE(otherList.Rebuild(other.Book->Searches.ActiveSearch(), ahead));

    // Another day: searches may test reminders due today.
    TListReadAhead dayAhead([](const TBookData& b) { return b.Searches.ActiveSearch(); }, clock);
    TLoadResult day = LoadBook(path, TStoreSettings(), RealFileSystem(), &dayAhead);
    ASSERT_TRUE(day.Book);
    FakeClock tomorrow{EncodeDate(2024, 3, 11) + 0.1};
    TEntryList dayList(*day.Book, tomorrow);
    EXPECT_FALSE(dayList.Rebuild(day.Book->Searches.ActiveSearch(), dayAhead));
    EXPECT_EQ(Listed(dayList, *day.Book), ListedAfterwards(true));
}

TEST_F(ListReadAhead, ASmallBookIsListedAfterItsReading) {
    TBookData small;
    small.SetBuiltInDefaults();
    for (const char* name : {"Zed", "amy", "Bo"}) {
        TRecord e;
        e.SetNameField(kFieldSurname, name);
        small.Entries.AddEntryCopy(e, clock);
    }
    const std::string smallPath = dir.File("SMALL.ADR");
    testing::WriteBytes(smallPath, WriteBookImage(small));

    const std::vector<std::string> expected = {"amy", "Bo", "Zed"};
    for (const std::size_t from : {TListReadAhead::kFrom, std::size_t{1}}) {
        TListReadAhead ahead(nullptr, clock, from);
        TLoadResult read = LoadBook(smallPath, TStoreSettings(), RealFileSystem(), &ahead);
        ASSERT_TRUE(read.Book);
        TEntryList list(*read.Book, clock);
        EXPECT_EQ(list.Rebuild(nullptr, ahead), from == 1);
        std::vector<std::string> texts;
        for (const auto& [place, text] : Listed(list, *read.Book))
            texts.push_back(text);
        EXPECT_EQ(texts, expected);
    }
}

TEST_F(ListReadAhead, ABookWhoseReadingFailsIsLeftAlone) {
    // The body cut short inside the entries, and by its last byte, the trailer kept:
    // the reading fails after the read-ahead has begun, and the book it was working on
    // is freed. The sanitizer builds catch any use of it afterwards.
    const std::size_t trailer = kSignatureSize;
    for (const std::size_t keep :
         {image.size() / 2, image.size() / 4 * 3, image.size() - trailer - 1}) {
        SCOPED_TRACE(keep);
        std::vector<std::uint8_t> damaged(image.begin(), image.begin() + static_cast<long>(keep));
        damaged.insert(damaged.end(), image.end() - static_cast<long>(trailer), image.end());
        const std::string cut = dir.File("CUT.ADR");
        testing::WriteBytes(cut, damaged);
        TListReadAhead ahead(nullptr, clock);
        TLoadResult read = LoadBook(cut, TStoreSettings(), RealFileSystem(), &ahead);
        EXPECT_FALSE(read.Book);
        EXPECT_EQ(read.Code, kCodeInvalid);

        // The same read-ahead then serves a whole reading of the book.
        TLoadResult whole = LoadBook(path, TStoreSettings(), RealFileSystem(), &ahead);
        ASSERT_TRUE(whole.Book);
        TEntryList list(*whole.Book, clock);
        EXPECT_TRUE(list.Rebuild(nullptr, ahead));
        EXPECT_EQ(Listed(list, *whole.Book), ListedAfterwards(false));
    }
}

// A listing that reads only the texts its list shows lists as a whole reading does,
// under searches that look at no other text; a search that does has the book read
// whole. Entries with keys of their own keep the texts those keys name.
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

    // The searches, and whether they let the listing leave texts unread.
    const std::vector<std::pair<std::string, bool>> searches = {
        {"", true},         {"Dated", true},  {"Starts", true},
        {"Untagged", true}, {"Named", false}, {"Second firm", false}};
    for (const auto& [name, listedOnly] : searches) {
        SCOPED_TRACE(name.empty() ? "every entry" : name);
        const auto searchOf = [name = name](const TBookData& b) {
            return name.empty() ? nullptr : b.Searches.At(b.Searches.FindSearch(name));
        };
        TLoadResult whole = LoadBook(path, TStoreSettings());
        ASSERT_TRUE(whole.Book);
        TEntryList wholeList(*whole.Book, clock);
        wholeList.Rebuild(searchOf(*whole.Book));

        TListReadAhead ahead(searchOf, clock, 1);
        ahead.ReadListedTextsOnly();
        TLoadResult read = LoadBook(path, TStoreSettings(), RealFileSystem(), &ahead);
        ASSERT_TRUE(read.Book);
        EXPECT_EQ(read.Book->ListingOnly, listedOnly);
        TEntryList list(*read.Book, clock);
        EXPECT_TRUE(list.Rebuild(searchOf(*read.Book), ahead));
        const TListed listed = Listed(list, *read.Book);
        EXPECT_EQ(listed, Listed(wholeList, *whole.Book));
        EXPECT_GT(listed.size(), 3u);
        if (!listedOnly)
            continue;

        // What the list does not show was not read: the notes of an entry that follows
        // the book's keys, its first name, and every address but the first.
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

        // Written, it would lose every other text: refused, the file as it was.
        MarkChanged(*read.Book);
        const TSaveResult saved = SaveBook(*read.Book, true, TStoreSettings());
        EXPECT_FALSE(saved.Ok);
        EXPECT_EQ(saved.Error, "the book was read for its listing only");
        EXPECT_EQ(testing::ReadBytes(path), before);
    }
}

} // namespace
} // namespace tessaly
