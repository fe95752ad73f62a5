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

} // namespace
} // namespace tessaly
