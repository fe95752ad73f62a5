// The entry clipboard: copies between books, pastes that stay distinct entries.

#include "core/access/clipboard.h"
#include "core/access/entries.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

std::unique_ptr<TBookData> Book(const char* path) {
    return NewBook(path, testing::NoDefaultsFile());
}

TEST(AccessClipboard, TwoPastesOfOneCopyAreTwoEntries) {
    auto book = Book("/tmp/clip.ADR");
    TEntryClipboard clipboard;
    EXPECT_FALSE(clipboard.HasEntry());
    NewWorkRecord(*book);
    book->WorkRecord->SetNameField(kFieldSurname, "Copied");
    const TDateTime original = book->WorkRecord->Stamp;
    clipboard.Copy(*book);
    EXPECT_TRUE(clipboard.HasEntry());
    book->WorkRecord->SetNameField(kFieldSurname, "Changed later"); // the copy is held apart

    ASSERT_TRUE(clipboard.Paste(*book, true).Done);
    EXPECT_EQ(book->WorkRecord->NameField(kFieldSurname), "Copied");
    const TDateTime first = book->WorkRecord->Stamp;
    const int a = StoreEntry(*book, nullptr, nullptr, 10, true, FakeClock(45000));
    ASSERT_TRUE(clipboard.Paste(*book, true).Done);
    const TDateTime second = book->WorkRecord->Stamp;
    const int b = StoreEntry(*book, nullptr, nullptr, 10, true, FakeClock(45001));

    EXPECT_NE(first, original);
    EXPECT_NE(first, second);
    EXPECT_EQ(book->Entries.StampAt(a), first);
    EXPECT_EQ(book->Entries.StampAt(b), second);
    // Undo removes the second paste only.
    EXPECT_EQ(Undo(*book).Index, b);
    ASSERT_EQ(book->Entries.Count(), 1);
    EXPECT_EQ(book->Entries.StampAt(0), first);
}

TEST(AccessClipboard, PastingStartsANewEntryAndNeedsACopy) {
    auto book = Book("/tmp/clip.ADR");
    book->Categories.At(0)->Default = 1;
    TEntryClipboard clipboard;
    NewWorkRecord(*book);
    book->WorkRecord->SetNameField(kFieldSurname, "Typed");

    // Nothing held: the work record is only started afresh when asked.
    EXPECT_FALSE(clipboard.Paste(*book, false).Done);
    EXPECT_EQ(book->WorkRecord->NameField(kFieldSurname), "Typed");
    EXPECT_FALSE(clipboard.Paste(*book, true).Done);
    EXPECT_EQ(book->WorkRecord->NameField(kFieldSurname), "");
    EXPECT_EQ(book->WorkRecord->CategoriesInUse.Membership(0), 0); // a new entry's defaults

    // Copying nothing keeps what is held; clearing drops it.
    TRecord held;
    held.SetNameField(kFieldSurname, "Held");
    clipboard.Copy(*book, &held);
    book->WorkRecord.reset();
    clipboard.Copy(*book);
    EXPECT_TRUE(clipboard.HasEntry());
    ASSERT_TRUE(clipboard.Paste(*book, false).Done); // a work record is made for it
    EXPECT_EQ(book->WorkRecord->NameField(kFieldSurname), "Held");
    const TRecord* workObject = book->WorkRecord.get();
    ASSERT_TRUE(clipboard.Paste(*book, false).Done);
    EXPECT_EQ(book->WorkRecord.get(), workObject); // contents replaced, object kept
    clipboard.Clear();
    EXPECT_FALSE(clipboard.HasEntry());
    EXPECT_FALSE(clipboard.Paste(*book, false).Done);
}

TEST(AccessClipboard, AnEntryFromAnotherBookKeepsItsCategoriesByName) {
    auto from = Book("/tmp/from.ADR");
    auto to = Book("/tmp/to.ADR");
    // from: Business 0, Personal 1, Golf 2, Chess 3. to: Business 0, Personal 1, Chess 2.
    from->Categories.AddCategory("Golf", false);
    from->Categories.AddCategory("Chess", false);
    to->Categories.AddCategory("chess", true);
    // Templates: "Home" is number 2 in the source and 5 in the target; "Villa" exists
    // only in the source.
    auto addTemplate = [](TBookData& b, int id, const char* name) {
        auto t = std::make_unique<TTemplate>(id);
        t->SetName(name);
        b.Templates.Add(std::move(t));
    };
    addTemplate(*from, 2, "Home");
    addTemplate(*from, 3, "Villa");
    addTemplate(*to, 5, "HOME");

    TRecord entry;
    for (int id : {1, 3, 2, 9}) // 9: a membership of a category that no longer exists
        entry.CategoriesInUse.AddMembership(id);
    entry.Addresses.AddAddress(2);
    entry.Addresses.AddAddress(3);
    entry.Addresses.AddAddress(1);
    TEntryClipboard clipboard;
    clipboard.Copy(*from, &entry);

    const TPasteResult r = clipboard.Paste(*to, true);
    ASSERT_TRUE(r.Done);
    EXPECT_EQ(r.CategoriesAdded, 1);
    ASSERT_EQ(to->Categories.Count(), 4);
    EXPECT_EQ(to->Categories.CategoryName(3), "Golf");
    EXPECT_EQ(to->Categories.CategoryDefault(3), 0);
    const TCategoryInUseList& m = to->WorkRecord->CategoriesInUse;
    ASSERT_EQ(m.Count(), 3);
    EXPECT_EQ(to->Categories.NameOfId(m.Membership(0)), "Personal");
    EXPECT_EQ(to->Categories.NameOfId(m.Membership(1)), "chess");
    EXPECT_EQ(to->Categories.NameOfId(m.Membership(2)), "Golf");
    const TAddressList& a = to->WorkRecord->Addresses;
    EXPECT_EQ(a.AddressTemplateId(0), 5); // "Home" by name
    EXPECT_EQ(a.AddressTemplateId(1), 3); // no "Villa" here: kept as it was
    EXPECT_EQ(a.AddressTemplateId(2), 1); // "Address 1" in both

    // A second paste finds the category it added and adds no more.
    EXPECT_EQ(clipboard.Paste(*to, true).CategoriesAdded, 0);
    EXPECT_EQ(to->Categories.Count(), 4);

    // Back into its own book the numbers stand, the vanished one included.
    ASSERT_TRUE(clipboard.Paste(*from, true).Done);
    EXPECT_EQ(from->WorkRecord->CategoriesInUse, entry.CategoriesInUse);
    EXPECT_EQ(from->WorkRecord->Addresses, entry.Addresses);
    EXPECT_EQ(from->Categories.Count(), 4);
}

TEST(AccessClipboard, TheProcessWideClipboardIsSharedByBooks) {
    auto one = Book("/tmp/one.ADR");
    auto two = Book("/tmp/two.ADR");
    ClearClipboard();
    EXPECT_FALSE(ClipboardHasEntry());
    NewWorkRecord(*one);
    one->WorkRecord->SetNameField(kFieldFirstName, "Shared");
    CopyEntry(*one);
    one.reset(); // the book it came from is closed
    EXPECT_TRUE(ClipboardHasEntry());
    ASSERT_TRUE(PasteEntry(*two, true).Done);
    EXPECT_EQ(two->WorkRecord->NameField(kFieldFirstName), "Shared");
    ClearClipboard();
    EXPECT_FALSE(ClipboardHasEntry());
}

} // namespace
} // namespace tessaly
