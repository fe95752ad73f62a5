// The work record's own rules, the date texts, the header placement and the settings
// that limit undo and automatic saving.

#include "core/access/book_header.h"
#include "core/access/dates.h"
#include "core/access/entries.h"
#include "core/access/work_record.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

std::unique_ptr<TBookData> Book(const IClock& clock = SystemClock::Instance()) {
    return NewBook("/tmp/work.ADR", testing::NoDefaultsFile(), clock);
}

TEST(AccessWorkRecord, LoadingDuplicatingAndStamps) {
    FakeClock clock(45000);
    auto book = Book(clock);
    EXPECT_FALSE(book->WorkRecord);
    TRecord& w = WorkRecordOf(*book); // made on first use
    EXPECT_EQ(&WorkRecordOf(*book), &w);

    TRecord stored;
    stored.SetNameField(kFieldSurname, "Stored");
    stored.Updated = 44000;
    StoreEntry(*book, nullptr, &stored, 10, false, clock);
    EXPECT_FALSE(LoadWorkRecord(*book, 1));
    EXPECT_TRUE(w.NameField(kFieldSurname).empty());
    clock.SetNow(46000);
    ASSERT_TRUE(LoadWorkRecord(*book, 0));
    EXPECT_EQ(&WorkRecordOf(*book), &w);
    EXPECT_EQ(w, *book->Entries.At(0)); // Updated not touched, stamp included

    // "Duplicate": a stamp of its own, then stored as a new entry.
    SetWorkRecordStampNow(*book);
    EXPECT_NE(w.Stamp, stored.Stamp);
    EXPECT_EQ(StoreEntry(*book, nullptr, nullptr, 10, true, clock), 1);
    EXPECT_EQ(book->Entries.StampAt(1), w.Stamp);

    SetWorkRecordLastCalledNow(*book, clock);
    EXPECT_EQ(w.LastCalled, 46000);
}

TEST(AccessWorkRecord, CategoryMembershipByName) {
    auto book = Book();
    book->Categories.AddCategory("Golf", false);       // number 2
    EXPECT_FALSE(WorkRecordInCategory(*book, "Golf")); // no work record yet
    WorkRecordOf(*book).CategoriesInUse.AddMembership(2);
    EXPECT_TRUE(WorkRecordInCategory(*book, "GOLF"));
    EXPECT_FALSE(WorkRecordInCategory(*book, "Business"));
    EXPECT_FALSE(WorkRecordInCategory(*book, "Chess"));
    // A membership of a vanished number is no membership of any named category.
    WorkRecordOf(*book).CategoriesInUse.AddMembership(-1);
    EXPECT_FALSE(WorkRecordInCategory(*book, "Chess"));
}

TEST(AccessWorkRecord, CallLogsBeyondTheEndReadNA) {
    auto book = Book();
    EXPECT_EQ(WorkLogNumber(*book, 0), "N/A");
    TRecord& w = WorkRecordOf(*book);
    w.CallLogs.AddLog("0123", "", 45000, 45000.01);
    EXPECT_EQ(WorkLogNumber(*book, 0), "0123");
    EXPECT_EQ(WorkLogComment(*book, 0), ""); // an empty comment stays empty
    EXPECT_EQ(WorkLogNumber(*book, 1), "N/A");
    EXPECT_EQ(WorkLogComment(*book, -1), "N/A");
}

TEST(AccessWorkRecord, TelephoneButtonsFollowTheAddressTemplate) {
    auto book = Book();
    // The built-in "Address 1" (number 1) has dial, dial, none, mail.
    TRecord& w = WorkRecordOf(*book);
    ASSERT_EQ(w.Addresses.AddressTemplateId(0), 1); // a new entry's address
    w.Addresses.AddAddress(42);                     // its template is gone
    const int kinds[] = {kButtonDial, kButtonDial, kButtonNone, kButtonMail};
    for (int f = 0; f < 4; ++f)
        EXPECT_EQ(PhoneButtonKind(*book, w, 0, kFirstPhoneField + f), kinds[f]) << f;
    EXPECT_EQ(PhoneButtonKind(*book, w, 0, kFieldCompany), kButtonNone);
    EXPECT_EQ(PhoneButtonKind(*book, w, 0, 7), kButtonNone);
    EXPECT_EQ(PhoneButtonKind(*book, w, 1, 3), kButtonNone);
    EXPECT_EQ(PhoneButtonKind(*book, w, 2, 3), kButtonNone);
    EXPECT_EQ(PhoneButtonBitmap(kButtonNone), "NoBtns");
    EXPECT_EQ(PhoneButtonBitmap(kButtonDial), "DialBtns");
    EXPECT_EQ(PhoneButtonBitmap(kButtonMail), "MailBtns");
    EXPECT_EQ(PhoneButtonBitmap(7), "NoBtns");
}

TEST(AccessDates, DateAtTimeOrTheUnavailableText) {
    TFormatSettings fs;
    fs.LongDateFormat = "d mmmm yyyy";
    fs.ShortTimeFormat = "h:nn am/pm";
    const TDateTime when = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0);

    auto book = Book();
    book->Created = when;
    book->LastUpdated = 0.5; // below 1: never
    EXPECT_EQ(BookCreatedText(*book, fs), "5 March 2024 at 2:07 pm");
    EXPECT_EQ(BookUpdatedText(*book, fs), "Last Updated Date is Unavailable");
    book->LastUpdated = 1;
    EXPECT_EQ(BookUpdatedText(*book, fs), "31 December 1899 at 12:00 am");
    book->Created = -3;
    EXPECT_EQ(BookCreatedText(*book, fs), "Creation Date is Unavailable");

    TRecord e;
    EXPECT_EQ(EntryCreatedText(e, fs), "Creation Date is Unavailable");
    EXPECT_EQ(EntryUpdatedText(e, fs), "Record has not been updated");
    EXPECT_EQ(EntryLastCalledText(e, fs), "No Call details recorded");
    e.LastCalled = when;
    EXPECT_EQ(EntryLastCalledText(e, fs), "5 March 2024 at 2:07 pm");
    // Values no calendar shows count as never set.
    e.Updated = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(EntryUpdatedText(e, fs), "Record has not been updated");
    e.Updated = 1e12;
    EXPECT_EQ(EntryUpdatedText(e, fs), "Record has not been updated");
    e.Updated = EncodeDate(9999, 12, 31) + 0.5;
    EXPECT_EQ(EntryUpdatedText(e, fs), "31 December 9999 at 12:00 pm");
}

TEST(AccessBook, PlacementCopiesTheBoundsOnlyInTheNormalState) {
    auto book = Book();
    TBookWindowPlacement p = WindowPlacement(*book);
    EXPECT_EQ(p.Bounds, (std::array<std::int32_t, 4>{5, 5, 500, 450}));
    EXPECT_EQ(p.ListWidth, 170);

    p.State = kWindowMaximised;
    p.Bounds = {0, 0, 1920, 1080};
    p.ListWidth = 250;
    p.ActivePage = 4;
    SetWindowPlacement(*book, p);
    EXPECT_EQ(book->WindowState, kWindowMaximised);
    EXPECT_EQ(book->WindowBounds, (std::array<std::int32_t, 4>{5, 5, 500, 450}));
    EXPECT_EQ(book->ListWidth, 250);
    EXPECT_EQ(book->ActivePage, 4);

    p.State = kWindowNormal;
    p.Bounds = {-8, 10, 700, 600};
    p.TitleWidth = 100000; // kept within 16 bits
    p.ActivePage = 6;
    SetWindowPlacement(*book, p);
    EXPECT_EQ(book->WindowBounds, (std::array<std::int32_t, 4>{-8, 10, 700, 600}));
    EXPECT_EQ(book->TitleWidth, 32767);
    EXPECT_EQ(book->ActivePage, 0);
    p.State = 9;
    p.Bounds = {1, 2, 3, 4};
    SetWindowPlacement(*book, p);
    EXPECT_EQ(book->WindowState, kWindowNormal); // unknown: normal, bounds taken
    EXPECT_EQ(book->WindowBounds[3], 4);
}

TEST(AccessBook, CaptionsAndColumnWidthsOutOfRangeAreNeutral) {
    auto book = Book();
    SetPageCaption(*book, 1, "  &Memo  ");
    SetPageCaption(*book, 6, "ignored");
    EXPECT_EQ(PageCaption(*book, 1), "&Memo");
    EXPECT_EQ(PageCaption(*book, 6), "");
    SetColumnWidth(*book, 4, 99);
    SetColumnWidth(*book, 1, -70000);
    EXPECT_EQ(ColumnWidth(*book, 4), 0);
    EXPECT_EQ(book->ColumnWidths, (std::array<std::int16_t, 4>{22, -32768, 120, 40}));
}

TEST(AccessBook, SettingsAreClampedWhereTheyAreUsed) {
    TStoreSettings s;
    s.UndoLevel = 0;
    s.AutoSaveInterval = 0;
    EXPECT_EQ(UndoLimit(s), 1);
    EXPECT_EQ(AutoSaveInterval(s), 1);
    s.UndoLevel = 500;
    s.AutoSaveInterval = 500;
    EXPECT_EQ(UndoLimit(s), 30);
    EXPECT_EQ(AutoSaveInterval(s), 99);
    s.AutoSaveInterval = 3;

    FakeClock clock(45000);
    auto book = Book(clock);
    EXPECT_FALSE(AutoSaveDue(*book, s));
    MarkChanged(*book, clock);
    MarkChanged(*book, clock);
    EXPECT_FALSE(AutoSaveDue(*book, s));
    EXPECT_EQ(MarkChanged(*book, clock), 3);
    EXPECT_TRUE(AutoSaveDue(*book, s));
    s.AutoSave = false;
    EXPECT_FALSE(AutoSaveDue(*book, s));
    s.AutoSave = true;
    s.AutoSaveInterval = -4; // counts as 1
    book->ChangeCount = 1;
    EXPECT_TRUE(AutoSaveDue(*book, s));

    // The change count stops at the largest 16-bit value.
    book->ChangeCount = 32766;
    EXPECT_EQ(MarkChanged(*book, clock), 32767);
    EXPECT_EQ(MarkChanged(*book, clock), 32767);
    EXPECT_TRUE(AutoSaveDue(*book, s));
}

} // namespace
} // namespace tessaly
