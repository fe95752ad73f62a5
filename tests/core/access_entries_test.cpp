// Storing, deleting and finding entries through the access layer, and call logs
// added to the entry a call was made to.

#include "core/access/entries.h"
#include "core/access/work_record.h"
#include "core/store/book_file.h"
#include "core/store/stamp.h"
#include "core/store/stream.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

std::unique_ptr<TBookData> EmptyBook(const IClock& clock) {
    return NewBook("/tmp/access.ADR", testing::NoDefaultsFile(), clock);
}

TEST(AccessEntries, AFullBookTakesNoNewEntryButStillChanges) {
    FakeClock clock(45000.25);
    auto book = EmptyBook(clock);
    for (int i = 0; i < kMaxListCount - 1; ++i)
        book->Entries.Add(std::make_unique<TRecord>());
    NewWorkRecord(*book);
    EXPECT_TRUE(HasRoomForEntry(*book));
    EXPECT_EQ(StoreEntry(*book, nullptr, nullptr, 10, true, clock), kMaxListCount - 1);
    // The 32,768th entry is refused, without an undo record; a change still stores.
    EXPECT_FALSE(HasRoomForEntry(*book));
    const int undo = book->UndoList.Count();
    EXPECT_EQ(StoreEntry(*book, nullptr, nullptr, 10, true, clock), -1);
    EXPECT_EQ(book->Entries.Count(), kMaxListCount);
    EXPECT_EQ(book->UndoList.Count(), undo);
    book->WorkRecord->SetNameField(kFieldSurname, "Smith");
    EXPECT_EQ(StoreEntry(*book, book->Entries.At(5), nullptr, 10, true, clock), 5);
    // And the full book is one that saves.
    std::vector<std::uint8_t> image;
    EXPECT_NO_THROW(image = WriteBookImage(*book));
    EXPECT_FALSE(image.empty());
}

TEST(AccessEntries, StoringNewAndChangedEntries) {
    FakeClock clock(45000.25);
    auto book = EmptyBook(clock);
    NewWorkRecord(*book);
    book->WorkRecord->SetNameField(kFieldSurname, "Smith");
    const TDateTime stamp = book->WorkRecord->Stamp;

    EXPECT_EQ(StoreEntry(*book, nullptr, nullptr, 10, true, clock), 0);
    TRecord* stored = book->Entries.At(0);
    EXPECT_EQ(stored->Created, 45000.25);
    EXPECT_EQ(stored->Updated, 0);
    EXPECT_EQ(stored->Stamp, stamp);
    EXPECT_NE(stored, book->WorkRecord.get()); // a copy, not the work record
    ASSERT_EQ(book->UndoList.Count(), 1);
    EXPECT_EQ(book->UndoList.TopUndo()->Kind, kUndoAdded);
    EXPECT_EQ(book->UndoList.TopUndo()->Live, stamp);
    EXPECT_FALSE(book->UndoList.TopUndo()->Saved);

    clock.SetNow(45001.5);
    ASSERT_TRUE(LoadWorkRecord(*book, 0)); // the window edits a copy of the entry
    book->WorkRecord->SetNameField(kFieldSurname, "Smythe");
    EXPECT_EQ(StoreEntry(*book, stored, nullptr, 10, true, clock), 0);
    EXPECT_EQ(stored->NameField(kFieldSurname), "Smythe");
    EXPECT_EQ(stored->Updated, 45001.5);
    EXPECT_EQ(stored->Created, 45000.25);
    ASSERT_EQ(book->UndoList.Count(), 2);
    EXPECT_EQ(book->UndoList.TopUndo()->Saved->NameField(kFieldSurname), "Smith");
    // Storing again keeps the stamp, so the stored entry is found by it.
    EXPECT_EQ(FindEntryByStamp(*book, stamp), stored);

    // Without undo recording nothing is pushed; an explicit edited entry is used
    // instead of the work record and is left as it was.
    TRecord other = *stored;
    other.SetNameField(kFieldFirstName, "Jo");
    const TRecord otherBefore = other;
    EXPECT_EQ(StoreEntry(*book, stored, &other, 10, false, clock), 0);
    EXPECT_EQ(stored->NameField(kFieldFirstName), "Jo");
    EXPECT_EQ(other, otherBefore);
    EXPECT_EQ(book->UndoList.Count(), 2);
}

TEST(AccessEntries, StoringOverAnEntryThatIsGoneFailsAndKeepsTheEdit) {
    FakeClock clock(45000);
    auto book = EmptyBook(clock);
    NewWorkRecord(*book);
    StoreEntry(*book, nullptr, nullptr, 10, true, clock);
    const TRecord* selected = book->Entries.At(0);
    ASSERT_TRUE(LoadWorkRecord(*book, 0));
    book->WorkRecord->SetNameField(kFieldSurname, "Edited");
    ASSERT_TRUE(DeleteEntry(*book, 0, true, 10));

    const TRecord edit = *book->WorkRecord;
    const int undoRecords = book->UndoList.Count();
    EXPECT_EQ(StoreEntry(*book, selected, nullptr, 10, true, clock), -1);
    EXPECT_EQ(*book->WorkRecord, edit);
    EXPECT_TRUE(book->Entries.Empty());
    EXPECT_EQ(book->UndoList.Count(), undoRecords);

    // An entry that belongs to another book is not in this one either.
    TRecord stranger;
    EXPECT_EQ(StoreEntry(*book, &stranger, nullptr, 10, true, clock), -1);
    // Nothing to store: no work record and no edited entry.
    book->WorkRecord.reset();
    EXPECT_EQ(StoreEntry(*book, nullptr, nullptr, 10, true, clock), -1);
    EXPECT_TRUE(book->Entries.Empty());
}

TEST(AccessEntries, EveryEntryKeepsAStampOfItsOwn) {
    FakeClock clock(45000);
    auto book = EmptyBook(clock);
    NewWorkRecord(*book);
    // Applying the same work record twice as a new entry makes two entries that undo
    // and call logging can tell apart.
    const int a = StoreEntry(*book, nullptr, nullptr, 10, true, clock);
    const int b = StoreEntry(*book, nullptr, nullptr, 10, true, clock);
    EXPECT_NE(book->Entries.StampAt(a), book->Entries.StampAt(b));
    EXPECT_EQ(book->Entries.StampAt(a), book->WorkRecord->Stamp);
    EXPECT_EQ(book->UndoList.TopUndo()->Live, book->Entries.StampAt(b));

    // Storing another entry's contents over an entry keeps the entry's own stamp.
    TRecord foreign;
    foreign.SetNameField(kFieldSurname, "Foreign");
    const TDateTime own = book->Entries.StampAt(a);
    EXPECT_EQ(StoreEntry(*book, book->Entries.At(a), &foreign, 10, true, clock), a);
    EXPECT_EQ(book->Entries.StampAt(a), own);
    EXPECT_EQ(book->Entries.At(a)->NameField(kFieldSurname), "Foreign");
    // ... so undoing that change finds it again rather than adding a second entry.
    EXPECT_EQ(Undo(*book, clock).Effect, TUndoEffect::Changed);
    EXPECT_EQ(book->Entries.Count(), 2);
    EXPECT_EQ(book->Entries.At(a)->NameField(kFieldSurname), "");
}

// Another process, creating entries faster than its clock moved, may have handed out
// the stamps this one is about to hand out; a new entry never shares one.
TEST(AccessEntries, ANewEntryNeverTakesAStampTheBookHolds) {
    FakeClock still(45000);
    StampGenerator().SetClock(still);
    auto book = EmptyBook(still);
    for (int i = 0; i < 3; ++i)
        book->Entries.Add(std::make_unique<TRecord>());
    NewWorkRecord(*book);
    // The book holds the very stamps this process's generator hands out next.
    TDateTime next = StampGenerator().Last();
    std::vector<TDateTime> taken;
    for (int i = 0; i < 3; ++i) {
        next += kOneMillisecond;
        book->Entries.At(i)->Stamp = next;
        taken.push_back(next);
    }
    book->WorkRecord->Stamp = taken.front();
    const int i = StoreEntry(*book, nullptr, nullptr, 10, true, still);
    StampGenerator().SetClock(SystemClock::Instance());
    ASSERT_EQ(i, 3);
    for (TDateTime stamp : taken)
        EXPECT_NE(book->Entries.StampAt(i), stamp);
    EXPECT_EQ(book->Entries.FindStamp(book->Entries.StampAt(i)), i);
}

TEST(AccessEntries, DeletingAndFinding) {
    FakeClock clock(45000);
    auto book = EmptyBook(clock);
    TRecord a, b, c;
    for (TRecord* e : {&a, &b, &c})
        StoreEntry(*book, nullptr, e, 10, false, clock);
    EXPECT_FALSE(DeleteEntry(*book, 3, true, 10));
    EXPECT_TRUE(book->UndoList.Empty());
    EXPECT_TRUE(DeleteEntry(*book, 1, true, 10));
    EXPECT_EQ(FindEntryByStamp(*book, b.Stamp), nullptr);
    EXPECT_EQ(book->Entries.StampAt(1), c.Stamp);
    ASSERT_EQ(book->UndoList.Count(), 1);
    EXPECT_EQ(book->UndoList.TopUndo()->Kind, kUndoDeleted);
    EXPECT_EQ(book->UndoList.TopUndo()->Saved->Stamp, b.Stamp);
}

TEST(AccessEntries, ACallLogGoesToTheEntryAndToTheOpenCopy) {
    FakeClock clock(45000);
    auto book = EmptyBook(clock);
    TRecord called, other;
    StoreEntry(*book, nullptr, &called, 10, false, clock);
    StoreEntry(*book, nullptr, &other, 10, false, clock);

    // The call's entry is open in the window: both get the record.
    ASSERT_TRUE(LoadWorkRecord(*book, 0));
    EXPECT_TRUE(AddCallLogByStamp(*book, called.Stamp, " 0123 ", "Busy", 45000.1, 45000.2));
    ASSERT_EQ(book->Entries.At(0)->CallLogs.Count(), 1);
    EXPECT_EQ(book->Entries.At(0)->CallLogs.NumberAt(0), "0123");
    EXPECT_EQ(book->WorkRecord->CallLogs, book->Entries.At(0)->CallLogs);
    // Applying the open copy afterwards does not record the call twice.
    StoreEntry(*book, book->Entries.At(0), nullptr, 10, false, clock);
    EXPECT_EQ(book->Entries.At(0)->CallLogs.Count(), 1);

    // Another entry is open: only the stored entry gets it.
    ASSERT_TRUE(LoadWorkRecord(*book, 1));
    EXPECT_TRUE(AddCallLogByStamp(*book, called.Stamp, "0123", "Again", 45001, 45001.1));
    EXPECT_EQ(book->Entries.At(0)->CallLogs.Count(), 2);
    EXPECT_TRUE(book->WorkRecord->CallLogs.Empty());

    // The entry was deleted while the call went on: nothing is written anywhere.
    ASSERT_TRUE(LoadWorkRecord(*book, 0));
    ASSERT_TRUE(DeleteEntry(*book, 0, false, 10));
    EXPECT_FALSE(AddCallLogByStamp(*book, called.Stamp, "0123", "Lost", 45002, 45002.1));
    EXPECT_EQ(book->WorkRecord->CallLogs.Count(), 2);
    EXPECT_EQ(book->Entries.At(0)->CallLogs.Count(), 0);
}

TEST(AccessEntries, StoreDeleteUndoAndCloseLeaveNothingBehind) {
    // Run under the address and leak sanitizers: every record, clone and copy is
    // owned, and closing a book with a full history frees it all.
    FakeClock clock(45000);
    auto book = EmptyBook(clock);
    for (int round = 0; round < 5; ++round) {
        NewWorkRecord(*book);
        book->WorkRecord->Attachments.AppendAttachment("d", "f", true);
        book->WorkRecord->CallLogs.AddLog("1", "c", 45000, 45000.1);
        const int i = StoreEntry(*book, nullptr, nullptr, 3, true, clock);
        const TRecord* entry = book->Entries.At(i);
        ASSERT_TRUE(LoadWorkRecord(*book, i));
        StoreEntry(*book, entry, nullptr, 3, true, clock);
        DeleteEntry(*book, i, true, 3);
        Undo(*book, clock);
        DeleteEntry(*book, 0, true, 3);
    }
    while (Undo(*book, clock).Done) {
    }
    EXPECT_FALSE(UndoAvailable(*book));
    for (int i = 0; i < 4; ++i)
        StoreEntry(*book, nullptr, nullptr, 3, false, clock);
    for (int i = 0; i < 4; ++i)
        DeleteEntry(*book, 0, true, 3);
    EXPECT_EQ(book->UndoList.Count(), 3);
    book.reset();
}

} // namespace
} // namespace tessaly
