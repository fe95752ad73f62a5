// Undo through the book: the sequences of stores, deletions and undos that are easy
// to get wrong. Entries are found by stamp alone, never through a kept pointer.

#include "core/access/entries.h"
#include "core/access/work_record.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

class UndoSequence : public ::testing::Test {
protected:
    UndoSequence() : book(NewBook("/tmp/undo.ADR", testing::NoDefaultsFile(), clock)) {}

    // Adds an entry with a surname as the book window does, returns its index.
    int Add(const char* surname, int limit = 10) {
        NewWorkRecord(*book);
        book->WorkRecord->SetNameField(kFieldSurname, surname);
        return StoreEntry(*book, nullptr, nullptr, limit, true, clock);
    }
    // Loads entry i, renames it and stores it back.
    int Rename(int i, const char* surname, int limit = 10) {
        EXPECT_TRUE(LoadWorkRecord(*book, i));
        book->WorkRecord->SetNameField(kFieldSurname, surname);
        return StoreEntry(*book, book->Entries.At(i), nullptr, limit, true, clock);
    }
    std::string Surname(int i) const { return book->Entries.At(i)->NameField(kFieldSurname); }

    FakeClock clock{45000.5};
    std::unique_ptr<TBookData> book;
};

TEST_F(UndoSequence, ChangeAfterDeleteAndUndoFindsTheRestoredEntry) {
    Add("First");
    const int i = Add("Smith");
    const TDateTime stamp = book->Entries.StampAt(i);
    Rename(i, "Smyth");
    clock.SetNow(45001);
    ASSERT_TRUE(DeleteEntry(*book, i, true, 10));
    EXPECT_EQ(FindEntryByStamp(*book, stamp), nullptr);

    clock.SetNow(45002);
    const TUndoResult restored = Undo(*book, clock);
    EXPECT_TRUE(restored.Done);
    EXPECT_EQ(restored.Kind, kUndoDeleted);
    EXPECT_EQ(restored.Effect, TUndoEffect::Restored);
    ASSERT_EQ(restored.Index, 1);
    EXPECT_EQ(Surname(1), "Smyth");
    EXPECT_EQ(book->Entries.StampAt(1), stamp);
    EXPECT_EQ(book->Entries.At(1)->Created, 45002); // the moment of the undo

    clock.SetNow(45003);
    const TUndoResult changed = Undo(*book, clock);
    EXPECT_EQ(changed.Kind, kUndoChanged);
    EXPECT_EQ(changed.Effect, TUndoEffect::Changed);
    EXPECT_EQ(changed.Index, 1);
    EXPECT_EQ(Surname(1), "Smith");
    EXPECT_EQ(book->Entries.At(1)->Updated, 45003);
    EXPECT_EQ(book->Entries.Count(), 2); // the same entry, not a second one

    const TUndoResult added = Undo(*book, clock);
    EXPECT_EQ(added.Effect, TUndoEffect::Removed);
    EXPECT_EQ(added.Index, 1);
    EXPECT_FALSE(added.HistoryEmpty);
    EXPECT_EQ(book->Entries.Count(), 1);
    EXPECT_EQ(Surname(0), "First");

    EXPECT_TRUE(Undo(*book, clock).HistoryEmpty);
    EXPECT_TRUE(book->Entries.Empty());
    EXPECT_FALSE(UndoAvailable(*book));
    EXPECT_FALSE(Undo(*book, clock).Done);
}

TEST_F(UndoSequence, LoweringTheLimitBetweenPushesKeepsTheNewest) {
    for (const char* name : {"A", "B", "C", "D"})
        Add(name, 3);
    EXPECT_EQ(book->UndoList.Count(), 3);
    Rename(3, "D2", 2);
    ASSERT_EQ(book->UndoList.Count(), 2);
    EXPECT_EQ(book->UndoList.At(0)->Live, book->Entries.StampAt(3)); // the addition of D
    EXPECT_EQ(book->UndoList.At(1)->Kind, kUndoChanged);

    // Whatever the settings hold, at least one and at most thirty records are kept.
    Rename(3, "D3", 0);
    EXPECT_EQ(book->UndoList.Count(), 1);
    for (int n = 0; n < 40; ++n)
        Rename(0, n % 2 ? "A" : "A2", 1000);
    EXPECT_EQ(book->UndoList.Count(), kMaxUndoLevel);
    Rename(0, "A3", -5);
    EXPECT_EQ(book->UndoList.Count(), 1);
}

TEST_F(UndoSequence, UndoOfAnAddAfterTheEntryWasStoredAgainRemovesIt) {
    Add("Keep");
    const int i = Add("Jones");
    const TDateTime stamp = book->Entries.StampAt(i);
    // Stored again without an undo record (as the call log's apply might), then moved
    // in the list by a deletion before it: no pointer to it is valid any more.
    ASSERT_TRUE(LoadWorkRecord(*book, i));
    book->WorkRecord->SetNameField(kFieldFirstName, "Jo");
    EXPECT_EQ(StoreEntry(*book, book->Entries.At(i), nullptr, 10, false, clock), i);
    ASSERT_TRUE(DeleteEntry(*book, 0, false, 10));

    const TUndoResult r = Undo(*book, clock);
    EXPECT_EQ(r.Kind, kUndoAdded);
    EXPECT_EQ(r.Effect, TUndoEffect::Removed);
    EXPECT_EQ(r.Index, 0);
    EXPECT_EQ(FindEntryByStamp(*book, stamp), nullptr);
    EXPECT_TRUE(book->Entries.Empty());
}

TEST_F(UndoSequence, UndoingWhatIsGoneChangesNothingAndDropsTheRecord) {
    const int i = Add("Gone");
    ASSERT_TRUE(DeleteEntry(*book, i, false, 10)); // no record of the deletion
    const TUndoResult r = Undo(*book, clock);
    EXPECT_TRUE(r.Done);
    EXPECT_EQ(r.Effect, TUndoEffect::None);
    EXPECT_EQ(r.Index, -1);
    EXPECT_TRUE(r.HistoryEmpty);
    EXPECT_TRUE(book->Entries.Empty());
}

TEST_F(UndoSequence, UndoingAChangeOfADeletedEntryBringsItBack) {
    const int i = Add("Brown");
    Rename(i, "Browne");
    ASSERT_TRUE(DeleteEntry(*book, i, false, 10));
    clock.SetNow(45010);
    const TUndoResult r = Undo(*book, clock);
    EXPECT_EQ(r.Effect, TUndoEffect::Restored);
    ASSERT_EQ(book->Entries.Count(), 1);
    EXPECT_EQ(Surname(0), "Brown");
    EXPECT_EQ(book->Entries.At(0)->Created, 45010);
}

TEST_F(UndoSequence, ARestoredDeletionKeepsStampNamesAndLists) {
    NewWorkRecord(*book);
    TRecord& w = *book->WorkRecord;
    w.SetNameField(kFieldFirstName, "Ann");
    w.SetNotes("Notes\r\nmore");
    w.Attachments.AppendAttachment("Plan", "c:\\plan.doc", true);
    w.CallLogs.AddLog("0123", "hello", 45000.1, 45000.2);
    w.LastCalled = 44000;
    const int i = StoreEntry(*book, nullptr, nullptr, 10, true, clock);
    const TRecord before = *book->Entries.At(i);
    ASSERT_TRUE(DeleteEntry(*book, i, true, 10));
    clock.SetNow(46000);
    Undo(*book, clock);
    ASSERT_EQ(book->Entries.Count(), 1);
    TRecord after = *book->Entries.At(0);
    EXPECT_EQ(after.Created, 46000);
    after.Created = before.Created;
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace tessaly
