// The entry list: which entries are listed, their order by sort text, single-entry
// changes and the selection after a deletion; the index-key field lists; finding an
// entry by typing.

#include "core/common/upper_case.h"
#include "core/organise/entry_list.h"
#include "core/organise/entry_text.h"
#include "core/organise/key_fields.h"
#include "core/organise/type_ahead.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>
#include <string>
#include <unordered_map>

namespace tessaly {
namespace {

class OrgEntryList : public ::testing::Test {
protected:
    OrgEntryList() { book.SetBuiltInDefaults(); }

    TRecord* Add(const std::string& title, const std::string& first, const std::string& surname) {
        TRecord e;
        e.SetNameField(kFieldTitle, title);
        e.SetNameField(kFieldFirstName, first);
        e.SetNameField(kFieldSurname, surname);
        return book.Entries.At(book.Entries.AddEntryCopy(e, clock));
    }

    std::vector<std::string> Listed(const TEntryList& list) const {
        std::vector<std::string> out;
        for (int i = 0; i < list.Count(); ++i)
            out.push_back(list.DisplayTextAt(i));
        return out;
    }

    FakeClock clock{EncodeDate(2024, 3, 10) + 0.5};
    TBookData book;
};

using Texts = std::vector<std::string>;

TEST_F(OrgEntryList, OrderedBySortTextWithoutCase) {
    Add("", "zoe", "adams");
    Add("Dr", "Ann", "Brown");
    Add("", "Bob", "Clark");
    Add("", "", "");
    Add("", "ann", "able");
    TEntryList list(book, clock);
    list.Rebuild();
    // Keys Title, First Name, Surname, all sorting; empty values add no blank.
    EXPECT_EQ(Listed(list), (Texts{"<No Index Specified>", "ann able", "Bob Clark", "Dr Ann Brown",
                                   "zoe adams"}));
    EXPECT_EQ(list.SortTextAt(1), "ann able");
    EXPECT_EQ(list.SortTextAt(9), "");
    EXPECT_EQ(list.EntryAt(9), nullptr);
    EXPECT_EQ(list.DisplayTextAt(-1), "");
}

TEST_F(OrgEntryList, ALargeBookIsOrderedAsASmallOneIs) {
    // Large enough to be gone through in two halves; the names repeat without regard
    // to case across both halves, some texts share their first 24 characters and only
    // differ after them, and some entries have their own keys with a line break.
    const std::vector<std::string> surnames = {
        "smith", "SMITH", "Brown", "brown-and-partners", "Brown-and-partners-of-leeds-and-york",
        "Ng",    ""};
    const std::vector<std::string> firsts = {"Ann", "ann", "Zoe", "Bob", ""};
    for (int i = 0; i < 20000; ++i) {
        TRecord* e =
            Add(i % 13 == 0 ? "Dr" : "", firsts[static_cast<std::size_t>(i) % firsts.size()],
                surnames[static_cast<std::size_t>(i / 3) % surnames.size()] +
                    (i % 11 == 0 ? std::to_string(i % 7) : ""));
        if (i % 17 == 0) {
            e->UseDefaultKeys = 0;
            e->Keys.Clear();
            e->Keys.AddKey(kFieldNotes, true);
            e->SetNotes(i % 2 ? "two\r\nlines" : "one line");
        }
    }
    TEntryList list(book, clock);
    list.Rebuild();
    ASSERT_EQ(list.Count(), book.Entries.Count());
    std::unordered_map<const TRecord*, int> position;
    for (int i = 0; i < book.Entries.Count(); ++i)
        position[book.Entries.At(i)] = i;
    for (int i = 0; i < list.Count(); ++i) {
        ASSERT_EQ(list.SortTextAt(i), SortText(*list.EntryAt(i), book.IndexKeys)) << i;
        ASSERT_EQ(list.DisplayTextAt(i), DisplayText(*list.EntryAt(i), book.IndexKeys)) << i;
        if (i == 0)
            continue;
        const int order = CompareNoCase(list.SortTextAt(i - 1), list.SortTextAt(i));
        ASSERT_LE(order, 0) << i;
        if (order == 0) {
            ASSERT_LT(position[list.EntryAt(i - 1)], position[list.EntryAt(i)]) << i;
        }
    }
}

TEST_F(OrgEntryList, EqualSortTextsKeepTheOrderOfEntries) {
    TRecord* first = Add("", "Ann", "Smith");
    Add("", "Zed", "Zulu");
    TRecord* second = Add("", "ANN", "SMITH");
    TRecord* third = Add("", "ann", "smith");
    TEntryList list(book, clock);
    list.Rebuild();
    EXPECT_EQ(list.EntryAt(0), first);
    EXPECT_EQ(list.EntryAt(1), second);
    EXPECT_EQ(list.EntryAt(2), third);

    // Placed again one by one, each goes back where the order of Entries puts it.
    list.ResortEntry(*second);
    list.ResortEntry(*first);
    EXPECT_EQ(list.EntryAt(0), first);
    EXPECT_EQ(list.EntryAt(1), second);
    EXPECT_EQ(list.EntryAt(2), third);
    list.RemoveEntry(second);
    EXPECT_EQ(list.InsertEntry(*second), 1);
}

TEST_F(OrgEntryList, LongTextsThatShareTheirStart) {
    // Texts alike for their first 24 characters and more are still told apart, and
    // equal ones (but for case) keep the order of Entries.
    const std::string name = "Featherstonehaugh-Cholmondeley";
    TRecord* b = Add("", "Bartholomew", name + " b");
    TRecord* upper = Add("", "Bartholomew", name + " A");
    TRecord* shorter = Add("", "Bartholomew", name);
    TRecord* lower = Add("", "BARTHOLOMEW", name + " a");
    TRecord* accent = Add("", "Bartholomew", name + " \xE9");
    TEntryList list(book, clock);
    list.Rebuild();
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.EntryAt(0), shorter);
    EXPECT_EQ(list.EntryAt(1), upper);
    EXPECT_EQ(list.EntryAt(2), lower);
    EXPECT_EQ(list.EntryAt(3), b);
    EXPECT_EQ(list.EntryAt(4), accent);
    EXPECT_EQ(list.FindPrefix("bartholomew featherstonehaugh-cholmondeley A"), 1);
    EXPECT_EQ(list.FindPrefix("bartholomew featherstonehaugh-cholmondeley \xC9"), 4);
}

TEST_F(OrgEntryList, SortKeysOnlyAndTheDisplayTextFallback) {
    book.IndexKeys.SetKeySortBy(0, false); // title shown, not sorted on
    Add("Zz", "Ann", "Able");
    Add("Aa", "Bob", "Best");
    TEntryList list(book, clock);
    list.Rebuild();
    EXPECT_EQ(Listed(list), (Texts{"Zz Ann Able", "Aa Bob Best"}));
    EXPECT_EQ(list.SortTextAt(0), "Ann Able");

    // With no key sorting, entries sort on their display texts.
    for (int i = 0; i < book.IndexKeys.Count(); ++i)
        book.IndexKeys.SetKeySortBy(i, false);
    list.Rebuild();
    EXPECT_EQ(Listed(list), (Texts{"Aa Bob Best", "Zz Ann Able"}));
    EXPECT_EQ(list.SortTextAt(0), "Aa Bob Best");
}

TEST_F(OrgEntryList, EntriesFollowTheBookKeysOrTheirOwn) {
    TRecord* own = Add("", "Carl", "Able");
    own->UseDefaultKeys = 0;
    own->Keys.Clear();
    own->Keys.AddKey(kFieldSurname, true);
    own->Keys.AddKey(kFieldFirstName, true);
    TRecord* follows = Add("", "Bea", "Zeta");
    TEntryList list(book, clock);
    list.Rebuild();
    EXPECT_EQ(Listed(list), (Texts{"Able Carl", "Bea Zeta"}));
    EXPECT_EQ(follows->Keys, book.IndexKeys); // took a copy of the book's keys

    // The book's keys change: only the entry that follows them moves.
    book.IndexKeys.Clear();
    book.IndexKeys.AddKey(kFieldSurname, true);
    list.Rebuild();
    EXPECT_EQ(Listed(list), (Texts{"Able Carl", "Zeta"}));
    EXPECT_EQ(follows->Keys, book.IndexKeys);
    EXPECT_EQ(own->Keys.Count(), 2);
}

TEST_F(OrgEntryList, OnlyEntriesThatPassTheActiveSearch) {
    TRecord* a = Add("", "Ann", "Smith");
    Add("", "Bob", "Jones");
    TRecord* c = Add("", "Cy", "Smithers");
    book.Searches.SelectSearch("Smiths");
    book.Searches.ActiveSearch()->Rules.Add(
        MakeRule(kFieldSurname, -1, true, 0, 0, false, false, "smith"));
    TEntryList list(book, clock);
    list.Rebuild();
    EXPECT_EQ(Listed(list), (Texts{"Ann Smith", "Cy Smithers"}));
    EXPECT_TRUE(list.PassesAt(0));

    // Another search, and none at all.
    TFilter whole("Whole");
    whole.Rules.Add(MakeRule(kFieldSurname, -1, true, 0, 0, true, false, "smith"));
    list.Rebuild(&whole);
    EXPECT_EQ(Listed(list), (Texts{"Ann Smith"}));
    list.Rebuild(nullptr);
    EXPECT_EQ(list.Count(), 3);

    // An entry listed on request keeps its place and is marked as not passing.
    list.Rebuild(&whole);
    EXPECT_EQ(list.InsertEntry(*c), 1);
    EXPECT_FALSE(list.PassesAt(1));
    EXPECT_EQ(list.IndexOfEntry(a), 0);

    // Built with the active search, an inserted entry is tested against the book's
    // active search of the moment, even after the search list was replaced.
    list.Rebuild();
    TFilterList replaced = book.Searches;
    replaced.ActiveSearch()->Rules.Clear();
    book.Searches = replaced;
    TRecord* d = Add("", "Dee", "Brown");
    list.InsertEntry(*d);
    EXPECT_TRUE(list.PassesAt(list.IndexOfEntry(d)));
}

TEST_F(OrgEntryList, InsertResortRemoveAndTheSelectionAfterwards) {
    Add("", "Ann", "A");
    TRecord* b = Add("", "Bob", "B");
    Add("", "Cat", "C");
    TEntryList list(book, clock);
    list.Rebuild();

    TRecord* d = Add("", "Abe", "D");
    EXPECT_EQ(list.InsertEntry(*d), 0);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.InsertEntry(*d), 0); // placing it again does not list it twice
    EXPECT_EQ(list.Count(), 4);

    b->SetNameField(kFieldFirstName, "Zak");
    EXPECT_EQ(list.ResortEntry(*b), 3);
    EXPECT_EQ(list.SortTextAt(3), "Zak B");

    // Deleting selects the item now at the same place, or the last.
    int at = list.RemoveEntry(b);
    EXPECT_EQ(at, 3);
    EXPECT_EQ(list.SelectionAfterRemoval(at), 2);
    at = list.RemoveEntry(list.EntryAt(0));
    EXPECT_EQ(list.SelectionAfterRemoval(at), 0);
    EXPECT_EQ(list.RemoveEntry(b), -1);
    list.RemoveEntry(list.EntryAt(0));
    list.RemoveEntry(list.EntryAt(0));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SelectionAfterRemoval(0), -1);
}

TEST_F(OrgEntryList, FindPrefix) {
    Add("", "Ann", "Able");
    Add("", "Smith", "");
    Add("", "smithers", "");
    Add("", "Sue", "");
    TEntryList list(book, clock);
    list.Rebuild();
    EXPECT_EQ(list.FindPrefix("SMI"), 1);
    EXPECT_EQ(list.FindPrefix("smithe"), 2);
    EXPECT_EQ(list.FindPrefix("su"), 3);
    EXPECT_EQ(list.FindPrefix("x"), -1);
    EXPECT_EQ(list.FindPrefix("Suez"), -1);
    EXPECT_EQ(list.FindPrefix(""), 0);
}

TEST(OrgTypeAhead, PrefixWithinThePauseAndAfterIt) {
    const std::vector<std::string> items = {"Able", "Baker", "Barnes", "Smith", "Smythe"};
    auto find = [&](std::string_view prefix) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (StartsWithNoCase(items[i], prefix))
                return static_cast<int>(i);
        return -1;
    };
    using A = TTypeAheadResult::Action;
    FakeClock clock(0, 10000);
    TTypeAhead typing(clock);

    EXPECT_EQ(typing.KeyChar('b', find), (TTypeAheadResult{A::Select, 1}));
    clock.AdvanceMs(1500); // exactly 1500 ms still continues the prefix
    EXPECT_EQ(typing.KeyChar('A', find), (TTypeAheadResult{A::Select, 1}));
    clock.AdvanceMs(200);
    EXPECT_EQ(typing.KeyChar('r', find), (TTypeAheadResult{A::Select, 2}));
    EXPECT_EQ(typing.Prefix(), "bAr");

    // After a pause of two seconds the letter starts a prefix of its own.
    clock.AdvanceMs(2000);
    EXPECT_EQ(typing.KeyChar('s', find), (TTypeAheadResult{A::Select, 3}));
    EXPECT_EQ(typing.Prefix(), "s");
    EXPECT_EQ(typing.KeyChar('m', find), (TTypeAheadResult{A::Select, 3}));
    EXPECT_EQ(typing.KeyChar('y', find), (TTypeAheadResult{A::Select, 4}));

    // Backspace goes back to the shorter prefix; from one character to the first item.
    EXPECT_EQ(typing.Backspace(find), (TTypeAheadResult{A::Select, 3}));
    EXPECT_EQ(typing.Backspace(find), (TTypeAheadResult{A::Select, 3}));
    EXPECT_EQ(typing.Backspace(find), (TTypeAheadResult{A::Select, 0}));
    EXPECT_EQ(typing.Prefix(), "");
    EXPECT_EQ(typing.Backspace(find), (TTypeAheadResult{A::Beep, -1}));

    // No match: beep and start again.
    EXPECT_EQ(typing.KeyChar('q', find), (TTypeAheadResult{A::Beep, -1}));
    EXPECT_EQ(typing.Prefix(), "");
    EXPECT_EQ(typing.KeyChar('s', find), (TTypeAheadResult{A::Select, 3}));
    typing.NavigationKey();
    EXPECT_EQ(typing.Prefix(), "");
    EXPECT_EQ(typing.KeyChar('\r', find), (TTypeAheadResult{}));
    EXPECT_EQ(typing.Prefix(), "");
}

TEST(OrgTypeAhead, BackspaceAfterAPauseFindsNothingToRemove) {
    FakeClock clock(0, 0);
    TTypeAhead typing(clock);
    auto find = [](std::string_view prefix) { return prefix.size() <= 2 ? 0 : -1; };
    typing.KeyChar('a', find);
    typing.KeyChar('b', find);
    clock.AdvanceMs(1501);
    EXPECT_EQ(typing.Backspace(find).What, TTypeAheadResult::Action::Beep);
}

TEST_F(OrgEntryList, TypeAheadOnTheEntryList) {
    Add("", "Ann", "Able");
    Add("", "Bob", "Baker");
    TEntryList list(book, clock);
    list.Rebuild();
    TTypeAhead typing(clock);
    EXPECT_EQ(typing.KeyChar('B', list).Index, 1);
    EXPECT_EQ(typing.KeyChar('o', list).Index, 1);
    EXPECT_EQ(typing.Backspace(list).Index, 1);
    EXPECT_EQ(typing.Backspace(list).Index, 0);
}

TEST(OrgKeyFields, AvailableFieldsLeaveOutTheKeys) {
    TTemplateList templates = TTemplateList::Defaults();
    TIndexList keys;
    keys.AddKey(kFieldSurname, true);
    keys.AddKey(kAddressKeyBase + kFieldCompany, false);
    const auto fields = AvailableKeyFields(keys, templates, 1);
    ASSERT_EQ(fields.size(), 14u); // nine name fields and seven address fields, less two
    EXPECT_EQ(fields[0], (TKeyField{0, "0 Title"}));
    EXPECT_EQ(fields[2], (TKeyField{3, "3 Salutation"}));
    EXPECT_EQ(fields[7].Code, 8); // the notes (9) are never offered
    EXPECT_EQ(fields[8], (TKeyField{20, "20 Position"}));
    EXPECT_EQ(fields[9], (TKeyField{22, "22 Address"}));
    EXPECT_EQ(fields[13], (TKeyField{26, "26 E-Mail"}));
    // Without a template of that number the address captions are empty.
    EXPECT_EQ(AvailableKeyFields(keys, templates, 9)[8], (TKeyField{20, "20 "}));
}

TEST(OrgKeyFields, AddBeforeTheSelectedKeyOrAtTheEnd) {
    TIndexList keys;
    EXPECT_EQ(AddKeyField(keys, 2, -1), 0);
    EXPECT_EQ(AddKeyField(keys, 1, 0), 1);  // the last key selected: appended
    EXPECT_EQ(AddKeyField(keys, 0, 0), 0);  // before the selected first key
    EXPECT_EQ(AddKeyField(keys, 1, 0), -1); // already a key
    EXPECT_EQ(keys.KeyCode(0), 0);
    EXPECT_EQ(keys.KeyCode(1), 2);
    EXPECT_EQ(keys.KeyCode(2), 1);
    EXPECT_EQ(keys.KeySortBy(2), 1);
    ToggleKeySortBy(keys, 2);
    EXPECT_EQ(keys.KeySortBy(2), 0);
    // A key inserted at the count is appended; one past it is refused.
    EXPECT_EQ(keys.InsertKey(3, 5, false), 3);
    EXPECT_EQ(keys.InsertKey(5, 6, false), -1);
}

} // namespace
} // namespace tessaly
