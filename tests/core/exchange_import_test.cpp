// Importing delimited files into a book and a diary: the slots an entry is filled
// from, descriptions as captions and reminders, entries without a display text, the
// diary's conversions and defaults, values brought into range, and the counts the
// wizard validates with.

#include "core/diary/diary.h"
#include "core/exchange/exchange_fields.h"
#include "core/exchange/import.h"
#include "core/organise/entry_text.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TScratchDir;

TDecodedText Csv(const std::string& s) {
    return DecodeInputText(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
}

TImportOptions Options() {
    TImportOptions o;
    o.Now = EncodeDate(2026, 3, 1) + 0.5;
    o.AdvanceWarning = 4;
    return o;
}

std::unique_ptr<TBookData> Book() {
    return NewBook("/tmp/import.ADR", testing::NoDefaultsFile());
}

TImport Mapping(std::initializer_list<std::pair<int, std::vector<int>>> slots, int type) {
    TImport t;
    t.ImportType = static_cast<std::int16_t>(type);
    for (const auto& [slot, columns] : slots)
        for (int c : columns)
            t.Mappings[static_cast<std::size_t>(slot)].AddField(c);
    return t;
}

TEST(BookImport, SlotsFillNameAddressNotesAndReminders) {
    auto book = Book();
    const TImport tpl = Mapping({{kDataSurname, {0, 1}},
                                 {kDataFirstName, {2}},
                                 {kDataCompany, {3}},
                                 {kDataAddress, {4, 5}},
                                 {kDataPhone1, {6}},
                                 {kDataOtherName, {7}},
                                 {kDataNotes, {8}},
                                 {kImportReminderSlot, {9, 10, 11}}},
                                kImportEntries);
    const auto text = Csv("Sur,,First,Firm,Street,Town,Phone,Dear,Notes,Birthday,Renew,Junk\r\n"
                          "van,Dyke,Dick,Acme,\"1 High St\nFlat 2\",Leeds,0113,Sir,\"a\r\nb\","
                          "25/12/2026,01/04/2027 09:30,soon\r\n");
    const TImportResult r = ImportTextIntoBook(*book, text, tpl, Options());
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Imported, 1);
    EXPECT_EQ(book->Modified, 1);
    ASSERT_EQ(book->Entries.Count(), 1);
    const TRecord& e = *book->Entries.At(0);
    EXPECT_EQ(e.NameField(kFieldSurname), "van Dyke");
    EXPECT_EQ(e.NameField(kFieldFirstName), "Dick");
    EXPECT_EQ(e.NameField(kFieldSalutation), "Sir");
    EXPECT_EQ(e.Notes(), "a\r\nb");
    const TAddress& a = *e.Addresses.At(0);
    EXPECT_EQ(a.Field(1), "Acme");
    EXPECT_EQ(a.Field(2), "1 High St\r\nFlat 2\r\nLeeds");
    EXPECT_EQ(a.Field(3), "0113");
    EXPECT_EQ(e.Created, Options().Now);
    // Descriptions were not asked for: the captions stay.
    EXPECT_EQ(EntryFieldCaption(*book, kDataSurname), "Surname");

    ASSERT_EQ(e.Reminders.Count(), 2); // "soon" is no date
    const TReminders& birthday = *e.Reminders.At(0);
    EXPECT_EQ(birthday.When, EncodeDate(2026, 12, 25));
    EXPECT_EQ(birthday.NoTime, 1);
    EXPECT_EQ(birthday.Description.str(), "Birthday");
    EXPECT_EQ(birthday.Notes.str(), "Imported");
    EXPECT_EQ(birthday.Frequency, kOnceOnly);
    EXPECT_EQ(birthday.AdvanceDays, 4);
    EXPECT_EQ(e.Reminders.At(1)->When, EncodeDate(2027, 4, 1) + EncodeTime(9, 30, 0));
    EXPECT_EQ(e.Reminders.At(1)->NoTime, 0);
}

TEST(BookImport, DescriptionsRenameCaptionsAndUnknownReminders) {
    auto book = Book();
    TImport tpl = Mapping({{kDataSurname, {0}},
                           {kDataPhone1 + 1, {1}},
                           {kDataNotes, {2}},
                           {kImportReminderSlot, {3}}},
                          kImportEntries);
    tpl.UseDescriptions = 1;
    ImportTextIntoBook(*book, Csv("Family Name,Mobile,Remarks\r\nSmith,07,x,02/03/2026\r\n"), tpl,
                       Options());
    EXPECT_EQ(book->Templates.TemplateCaption(0, kFieldSurname), "Family Name");
    EXPECT_EQ(book->Templates.TemplateCaption(1, 4), "Mobile");
    EXPECT_EQ(book->Templates.TemplateCaption(0, kFieldNotes), "Remarks");
    ASSERT_EQ(book->Entries.At(0)->Reminders.Count(), 1);
    EXPECT_EQ(book->Entries.At(0)->Reminders.At(0)->Description.str(), "Unknown");
}

TEST(BookImport, EntryWithoutDisplayTextGetsAKeyOfItsOwn) {
    auto book = Book();
    // The book lists by surname: a company-only line would show "<No Index Specified>".
    ASSERT_TRUE(book->IndexKeys.HasCode(kFieldSurname));
    TImport tpl = Mapping({{kDataSurname, {0}}, {kDataCompany, {1}}}, kImportEntries);
    tpl.HeaderLine = 0;
    ImportTextIntoBook(*book, Csv(",Acme Ltd\r\nJones,\r\n"), tpl, Options());
    ASSERT_EQ(book->Entries.Count(), 2);
    const TRecord& firm = *book->Entries.At(0);
    EXPECT_EQ(firm.UseDefaultKeys, 0);
    ASSERT_EQ(firm.Keys.Count(), 1);
    EXPECT_EQ(firm.Keys.KeyCode(0), kAddressKeyBase + 1);
    EXPECT_EQ(firm.Keys.KeySortBy(0), 1);
    EXPECT_EQ(DisplayText(firm, book->IndexKeys), "Acme Ltd");
    EXPECT_EQ(book->Entries.At(1)->UseDefaultKeys, 1);
    EXPECT_NE(firm.Stamp, book->Entries.At(1)->Stamp);
}

TEST(BookImport, UnreadableFileAndProgressStop) {
    auto book = Book();
    const TImport tpl = *TImportList::Defaults().At(0);
    const TImportResult missing = ImportIntoBook(*book, "/nonexistent/x.csv", tpl, Options());
    EXPECT_FALSE(missing.Ok);
    EXPECT_EQ(missing.Message,
              "File: /nonexistent/x.csv \n\nUnable to Process File due to an Unknown Error");
    EXPECT_EQ(book->Modified, 0);

    TImportOptions o = Options();
    o.Progress = [](int done) { return done < 2; };
    const TImportResult r = ImportTextIntoBook(*book, Csv("h\r\na\r\nb\r\nc\r\n"), tpl, o);
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.Imported, 2);
    EXPECT_EQ(book->Entries.Count(), 2);
}

TEST(ImportCounts, HeaderOnlyFileHasNothingToImport) {
    TImport tpl = *TImportList::Defaults().At(0);
    EXPECT_EQ(CountImportableText("Name,Phone\r\n", tpl), 0);
    EXPECT_EQ(CountImportableText("Name,Phone\r\nA,1\r\n\"B\r\nC\",2", tpl), 2);
    tpl.HeaderLine = 0;
    EXPECT_EQ(CountImportableText("Name,Phone\r\n", tpl), 1);
    EXPECT_EQ(CountImportable("/nonexistent/x.csv", tpl), -1);

    EXPECT_EQ(ImportFieldList("A,B\r\n", tpl), (std::vector<std::string>{"Field 00", "Field 01"}));
    tpl.HeaderLine = 1;
    EXPECT_EQ(ImportFieldList("Name, Phone \r\n", tpl),
              (std::vector<std::string>{"00 Name", "01 Phone"}));
}

TImport DiaryTemplate() {
    return *TImportList::Defaults().At(1);
}

TEST(DiaryImport, ConversionsDefaultsAndRanges) {
    TDiaryData diary;
    const auto text =
        Csv("Date,Time,Priority,Description,Frequency,Period,Until,Advance,State,"
            "Notes\r\n"
            "05/03/2026,14:30,3,Dentist,weekly,2,26/03/2026,1,completed,Bring card\r\n"
            "not a date,10:00,1,Skipped\r\n"
            "06/03/2026,,x,,Fortnightly,0,01/01/2026,500\r\n"
            "07/03/2026,,12,Big,NOTE,250,,-3\r\n"
            "08/03/2026,,,Short\r\n");
    const TImportResult r = ImportTextIntoDiary(diary, text, DiaryTemplate(), Options());
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Imported, 4);
    // The diary is marked changed, so that closing it saves the import.
    EXPECT_EQ(diary.Modified, 1);
    ASSERT_EQ(diary.Events.Count(), 4);

    const TReminders& a = *diary.Events.At(0);
    EXPECT_EQ(a.When, EncodeDate(2026, 3, 5) + EncodeTime(14, 30, 0));
    EXPECT_EQ(a.NoTime, 0);
    EXPECT_EQ(a.Priority, 3);
    EXPECT_EQ(a.Description.str(), "Dentist");
    EXPECT_EQ(a.Frequency, kWeekly);
    EXPECT_EQ(a.Interval, 2);
    EXPECT_EQ(a.Until, EncodeDate(2026, 3, 26) + EncodeTime(14, 30, 0));
    EXPECT_EQ(a.AdvanceDays, 1);
    EXPECT_EQ(a.Completed, 1);
    EXPECT_EQ(a.Notes.str(), "Bring card");

    const TReminders& b = *diary.Events.At(1);
    EXPECT_EQ(b.When, EncodeDate(2026, 3, 6));
    EXPECT_EQ(b.NoTime, 1);
    EXPECT_EQ(b.Priority, 5); // "x" does not convert
    EXPECT_EQ(b.Description.str(), "Imported");
    EXPECT_EQ(b.Frequency, kOnceOnly); // an unknown name
    EXPECT_EQ(b.Interval, 1);          // 0 brought up to 1
    EXPECT_EQ(b.Until, b.When);        // an until before the event
    EXPECT_EQ(b.AdvanceDays, kMaxAdvanceDays);
    EXPECT_EQ(b.Completed, 0);

    const TReminders& c = *diary.Events.At(2);
    EXPECT_EQ(c.Priority, kMaxPriority);
    EXPECT_EQ(c.Frequency, kNoteOnly);
    EXPECT_EQ(c.Interval, kMaxInterval);
    EXPECT_EQ(c.AdvanceDays, 0);
    EXPECT_EQ(c.Until, c.When);

    const TReminders& d = *diary.Events.At(3);
    EXPECT_EQ(d.Frequency, kDaily); // the frequency column is absent
    EXPECT_EQ(d.Interval, 1);
    EXPECT_EQ(d.AdvanceDays, 4);
}

TEST(DiaryImport, UnmappedSlotsTakeTheirDefaults) {
    TDiaryData diary;
    TImport tpl = Mapping({{0, {0}}, {9, {1, 2}}}, kImportDiaryEvents);
    tpl.HeaderLine = 0;
    ImportTextIntoDiary(diary, Csv("05/03/2026 08:15,one,two\r\n"), tpl, Options());
    ASSERT_EQ(diary.Events.Count(), 1);
    const TReminders& e = *diary.Events.At(0);
    EXPECT_EQ(e.When, EncodeDate(2026, 3, 5) + EncodeTime(8, 15, 0));
    EXPECT_EQ(e.Frequency, kOnceOnly);
    EXPECT_EQ(e.AdvanceDays, 4);
    EXPECT_EQ(e.Notes.str(), "one two");

    TDiaryData none;
    const TImportResult r =
        ImportTextIntoDiary(none, Csv("h\r\nno date\r\n"), DiaryTemplate(), Options());
    EXPECT_EQ(r.Imported, 0);
    EXPECT_EQ(none.Modified, 0);
}

} // namespace
} // namespace tessaly
