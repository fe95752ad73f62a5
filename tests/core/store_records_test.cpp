// Entries and the small records: stamps, cleaning on assignment, neutral values for
// missing items, copies, tags, undo history and the new work record.

#include "core/common/same_text.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/store/stamp.h"
#include "core/store/undo.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/test_bytes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace tessaly {
namespace {

TEST(StoreStamp, EntriesConstructedBackToBackDiffer) {
    TRecord a;
    TRecord b;
    EXPECT_LT(a.Stamp, b.Stamp);
    const TRecord copy = a;
    EXPECT_EQ(copy.Stamp, a.Stamp);

    // Reading an entry keeps its stored stamp and takes none from the generator.
    TStreamWriter w;
    a.Write(w, 13);
    const TDateTime last = StampGenerator().Last();
    TStreamReader r(w.Bytes());
    EXPECT_EQ(TRecord::Read(r, 13)->Stamp, a.Stamp);
    EXPECT_EQ(StampGenerator().Last(), last);
}

TEST(StoreStamp, StampsIncreaseWhenTheClockStandsStillOrStepsBack) {
    FakeClock clock(45000.5);
    TStampGenerator gen(clock);
    const TDateTime first = gen.Next();
    EXPECT_EQ(first, 45000.5);
    const TDateTime second = gen.Next(); // clock has not moved
    EXPECT_DOUBLE_EQ(second, 45000.5 + kOneMillisecond);
    clock.SetNow(44000); // stepped back an age
    const TDateTime third = gen.Next();
    EXPECT_GT(third, second);
    EXPECT_DOUBLE_EQ(third, second + kOneMillisecond);
    clock.SetNow(46000); // the clock moves ahead again and is followed
    EXPECT_EQ(gen.Next(), 46000);
}

TEST(StoreStamp, ConcurrentCallersNeverShareAStamp) {
    FakeClock clock(45000);
    TStampGenerator gen(clock);
    std::vector<TDateTime> a, b;
    std::thread t1([&] {
        for (int i = 0; i < 2000; ++i)
            a.push_back(gen.Next());
    });
    std::thread t2([&] {
        for (int i = 0; i < 2000; ++i)
            b.push_back(gen.Next());
    });
    t1.join();
    t2.join();
    std::set<TDateTime> all(a.begin(), a.end());
    all.insert(b.begin(), b.end());
    EXPECT_EQ(all.size(), 4000u);
    EXPECT_TRUE(std::is_sorted(a.begin(), a.end()));
}

TEST(StoreRecords, AssignmentCleansTexts) {
    TRecord e;
    e.SetNameField(1, "  Ann \t");
    EXPECT_EQ(e.NameField(1), "Ann");
    e.SetNameField(2, std::string(300, 's'));
    EXPECT_EQ(e.NameField(2).size(), 255u);
    EXPECT_EQ(TRecord(e).NameField(2).size(), 255u);
    e.SetNotes("  Dear sir,\r\n\r\nRegards  \r\n\r\n  ");
    EXPECT_EQ(e.Notes(), "  Dear sir,\r\n\r\nRegards");
    e.SetNotes(std::string(70000, 'n'));
    EXPECT_EQ(e.Notes().size(), 65534u);
    e.SetNameField(10, "ignored");
    EXPECT_EQ(e.NameField(10), "");

    TAddress a(1);
    a.SetField(0, std::string(300, 'p'));
    EXPECT_EQ(a.Field(0).size(), 255u);
    const std::string lines = std::string(400, 'x') + "\r\nTown  ";
    a.SetField(2, lines);
    EXPECT_EQ(a.Field(2), lines); // the address keeps its length and breaks
    a.SetField(2, std::string(70000, 'a'));
    EXPECT_EQ(a.Field(2).size(), 65534u);
    a.SetPrefix(4, std::string(260, '9'));
    EXPECT_EQ(a.PrefixOf(4).size(), 255u);

    TTemplate t;
    t.SetName("  Office  ");
    t.SetCaption(2, " Villa ");
    EXPECT_EQ(t.Name, std::optional<std::string>("Office"));
    EXPECT_EQ(t.Caption(2), "Villa");
    EXPECT_EQ(TCategory("  Golf ", 0, false).Name, std::optional<std::string>("Golf"));
    TDocument d(" Plan ", std::string(300, 'f'), true);
    EXPECT_EQ(d.Description, std::optional<std::string>("Plan"));
    EXPECT_EQ(TextValue(d.FileName).size(), 255u);
    EXPECT_EQ(TLog(" 555 ", " hi ", 0, 0).Number, std::optional<std::string>("555"));
}

TEST(StoreRecords, MissingItemsGiveNeutralValues) {
    TAddressList addresses;
    EXPECT_EQ(addresses.AddressTemplateId(0), -1);
    EXPECT_EQ(addresses.FindAddress(1), -1);
    EXPECT_EQ(addresses.FieldOf(0, 1), "");
    for (auto s : {TDialSetting::UseDefaultDialling, TDialSetting::PrefixOn,
                   TDialSetting::ChargeCard, TDialSetting::LogCall})
        EXPECT_EQ(addresses.DialSettingOf(3, s, 3), 1); // past the end: 1 for each
    addresses.SetFieldOf(0, 1, "nowhere");              // ignored
    EXPECT_EQ(addresses.Count(), 0);
    EXPECT_EQ(addresses.InsertAddress(1, 5), -1);
    EXPECT_EQ(addresses.InsertAddress(0, 5), 0);
    // Outside fields 3-6: 1 for UseDefaultDialling, 0 for the others; writes ignored.
    EXPECT_EQ(addresses.DialSettingOf(0, TDialSetting::UseDefaultDialling, 2), 1);
    EXPECT_EQ(addresses.DialSettingOf(0, TDialSetting::LogCall, 7), 0);
    addresses.SetDialSettingOf(0, TDialSetting::LogCall, 2, true);
    EXPECT_EQ(addresses.DialSettingOf(0, TDialSetting::LogCall, 2), 0);
    addresses.SetDialSettingOf(0, TDialSetting::LogCall, 6, true);
    EXPECT_EQ(addresses.DialSettingOf(0, TDialSetting::LogCall, 6), 1);
    EXPECT_EQ(addresses.At(0)->LogCall[3], 1);

    TIndexList keys;
    EXPECT_EQ(keys.KeyCode(0), -1);
    EXPECT_EQ(keys.KeySortBy(-1), 0);
    EXPECT_EQ(keys.InsertKey(1, 2, true), -1);
    EXPECT_EQ(keys.InsertKey(0, 2, true), 0);
    EXPECT_EQ(keys.InsertKey(1, 5, false), 1); // at the count: appends
    EXPECT_EQ(keys.InsertKey(3, 6, false), -1);
    EXPECT_EQ(keys.InsertKey(-1, 6, false), -1);
    EXPECT_TRUE(keys.HasCode(5));
    EXPECT_FALSE(keys.HasCode(6));

    TDocumentList docs;
    EXPECT_EQ(docs.IsDocumentAt(0), 1);
    EXPECT_EQ(docs.FileNameAt(0), "");
    TLogList logs;
    EXPECT_EQ(logs.NumberAt(0), "");
    EXPECT_EQ(logs.StartAt(2), 0.0);
    EXPECT_EQ(logs.DurationText(0), "");
    TCategoryList cats = TCategoryList::Defaults();
    EXPECT_EQ(cats.CategoryId(5), -1);
    EXPECT_EQ(cats.NameOfId(9), "");
    EXPECT_EQ(cats.NameOfId(1), "Personal");
    TCategoryInUseList members;
    EXPECT_EQ(members.Membership(0), -1);
    TRecordList entries;
    EXPECT_EQ(entries.TaggedAt(0), 0);
    EXPECT_EQ(entries.StampAt(0), 0.0);
    EXPECT_EQ(entries.EntryReminderStatus(0, 45000.0), kReminderNone);
    TTemplate t;
    EXPECT_EQ(t.Caption(10), "");
    EXPECT_EQ(t.ButtonKind(4), 0);
}

TEST(StoreRecords, NamesCompareWithoutRegardToCase) {
    TTemplateList templates = TTemplateList::Defaults();
    EXPECT_EQ(templates.FindTemplateByName("address 1"), 1);
    EXPECT_EQ(templates.FindTemplateByName(""), -1); // template 0 is never found
    EXPECT_EQ(templates.FindTemplateById(0), -1);
    EXPECT_EQ(templates.FindTemplateById(1), 1);
    TCategoryList cats;
    cats.AddCategory("\xC9t\xE9", false); // accented letters fold too
    EXPECT_EQ(cats.FindCategoryByName("\xE9T\xC9"), 0);
    EXPECT_TRUE(SameText("stra\xDF"
                         "e",
                         "STRA\xDF"
                         "E"));
    EXPECT_FALSE(SameText("a", "ab"));
    TDocumentList docs;
    docs.AppendAttachment("d", "C:\\Letter.DOC", true);
    EXPECT_EQ(docs.FindFileName("c:\\letter.doc"), 0);
}

TEST(StoreRecords, CopiesAssignmentAndTheEntryList) {
    FakeClock clock(45000.25);
    TRecord source;
    source.SetNameField(2, "Smith");
    source.Created = 40000;
    source.Updated = 40001;
    source.LastCalled = 40002;
    source.Addresses.AddAddress(1);

    TRecordList list;
    EXPECT_EQ(list.AddEntryCopy(source, clock), 0);
    TRecord* stored = list.At(0);
    EXPECT_EQ(stored->Created, 45000.25);
    EXPECT_EQ(stored->Stamp, source.Stamp);
    stored->Addresses.SetFieldOf(0, 1, "changed");
    EXPECT_EQ(source.Addresses.FieldOf(0, 1), ""); // deep copy

    TRecord target;
    AssignEntry(target, source, false, clock);
    EXPECT_EQ(target, source);
    clock.SetNow(45001);
    AssignEntry(target, source, true, clock);
    EXPECT_EQ(target.Updated, 45001);
    EXPECT_EQ(target.Created, 40000);
    EXPECT_EQ(target.LastCalled, 40002);
    EXPECT_EQ(target.Stamp, source.Stamp);

    list.AddEntryCopy(TRecord(), clock);
    list.AddEntryCopy(TRecord(), clock);
    EXPECT_EQ(list.FindStamp(list.StampAt(2)), 2);
    list.SetTags(true);
    EXPECT_EQ(list.CountTagged(), 3);
    const std::vector<const TRecord*> selection{list.At(1)};
    list.SetTags(false, &selection);
    EXPECT_EQ(list.CountTagged(), 2);
    EXPECT_EQ(list.TaggedAt(1), 0);
}

TEST(StoreRecords, EntryReminderStatusIsTheLowest) {
    TRecordList list;
    TRecord e;
    auto add = [&e](TDateTime when, int frequency) {
        auto r = std::make_unique<TReminders>();
        r->When = when;
        r->Until = when;
        r->Frequency = static_cast<std::int16_t>(frequency);
        e.Reminders.Add(std::move(r));
    };
    add(45010, 1); // in ten days, no advance warning: nothing yet
    list.AddEntryCopy(e);
    EXPECT_EQ(list.EntryReminderStatus(0, 45000.5), kReminderNone);
    add(45000, 1); // today
    add(44990, 0); // a note only
    list.AddEntryCopy(e);
    EXPECT_EQ(list.EntryReminderStatus(1, 45000.5), kReminderDueToday);
    add(44999, 1); // yesterday
    list.AddEntryCopy(e);
    EXPECT_EQ(list.EntryReminderStatus(2, 45000.5), kReminderOverdue);
    EXPECT_EQ(list.EntryReminderStatus(2, [](const TReminders&) { return 1; }), 1);
}

TEST(StoreRecords, UndoHistoryKeepsTheNewestWithinTheLimit) {
    TUndoList undo;
    TRecord entries[5];
    for (int i = 0; i < 4; ++i)
        undo.PushUndo(kUndoChanged, entries[i], 3);
    ASSERT_EQ(undo.Count(), 3);
    EXPECT_EQ(undo.At(0)->Live, entries[1].Stamp);
    undo.PushUndo(kUndoDeleted, entries[4], 2);
    ASSERT_EQ(undo.Count(), 2);
    EXPECT_EQ(undo.TopUndo()->Live, std::nullopt);
    ASSERT_TRUE(undo.TopUndo()->Saved);
    EXPECT_EQ(undo.TopUndo()->Saved->Stamp, entries[4].Stamp);
    undo.PushUndo(kUndoAdded, entries[0], 10);
    EXPECT_FALSE(undo.TopUndo()->Saved);

    TUndoList copy = undo; // records own independent clones
    copy.At(1)->Saved->SetNameField(1, "changed");
    EXPECT_EQ(undo.At(1)->Saved->NameField(1), "");
    EXPECT_FALSE(copy == undo);

    EXPECT_FALSE(undo.PopUndo());
    EXPECT_FALSE(undo.PopUndo());
    EXPECT_TRUE(undo.PopUndo());
    EXPECT_TRUE(undo.PopUndo()); // popping an empty history stays empty
}

TEST(StoreRecords, CallDurationsAndRanges) {
    TLogList logs;
    const TDateTime day = 45000;
    logs.AddLog("1", "", day - 2.0 / 1440, day + 3.0 / 1440);
    logs.AddLog("2", "", day + 0.5, day + 1.5 + 1.0 / 24 + 1.0 / 1440 + 7.0 / 86400);
    logs.AddLog("3", "", day, day - 0.5);
    EXPECT_EQ(logs.DurationText(0), "00:05:00");
    EXPECT_EQ(logs.DurationText(1), "25:01:07");
    EXPECT_EQ(logs.DurationText(2), "00:00:00");
    const TLog& log = *logs.At(1);
    EXPECT_TRUE(TLogList::LogInRange(log, false, day + 0.9, day + 0.1));
    EXPECT_FALSE(TLogList::LogInRange(log, false, day + 1, day + 2));
    EXPECT_TRUE(TLogList::LogInRange(log, true, day + 1, day + 2));
}

TEST(StoreRecords, NewWorkRecordIsPreparedFromTheBook) {
    auto book = NewBook("/tmp/w.ADR", testing::NoDefaultsFile());
    book->Categories.At(1)->Default = 1;
    auto second = std::make_unique<TTemplate>(7);
    second->IncludeForNew = 0;
    book->Templates.Add(std::move(second));
    auto third = std::make_unique<TTemplate>(8);
    third->IncludeForNew = 1;
    book->Templates.Add(std::move(third));
    book->Templates.At(0)->IncludeForNew = 1; // the name-field template adds nothing

    NewWorkRecord(*book);
    ASSERT_TRUE(book->WorkRecord);
    const TRecord& w = *book->WorkRecord;
    EXPECT_EQ(w.CategoriesInUse.Count(), 1);
    EXPECT_EQ(w.CategoriesInUse.Membership(0), 1);
    EXPECT_EQ(w.Keys, book->IndexKeys);
    ASSERT_EQ(w.Addresses.Count(), 2);
    EXPECT_EQ(w.Addresses.AddressTemplateId(0), 1);
    EXPECT_EQ(w.Addresses.AddressTemplateId(1), 8);
    const TDateTime oldStamp = w.Stamp;
    NewWorkRecord(*book);
    EXPECT_GT(book->WorkRecord->Stamp, oldStamp);
}

} // namespace
} // namespace tessaly
