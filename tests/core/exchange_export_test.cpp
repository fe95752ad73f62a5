// Exporting entries, reminders, call logs and diary events: the header line, the
// address choice and split, labels, quoting and mail merge, the record order of the
// selections, and writing the file whole or not at all.

#include "core/diary/diary.h"
#include "core/exchange/exchange_fields.h"
#include "core/exchange/export.h"
#include "core/exchange/record_order.h"
#include "core/exchange/streamed_export.h"
#include "core/organise/entry_text.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::ReadBytes;
using testing::TScratchDir;

TRecord& AddEntry(TBookData& book, const std::string& first, const std::string& surname) {
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldFirstName, first);
    e->SetNameField(kFieldSurname, surname);
    AssignKeys(e->Keys, book.IndexKeys);
    return *book.Entries.Add(std::move(e));
}

TExport Columns(int type, std::initializer_list<int> fields) {
    TExport t;
    t.ExportType = static_cast<std::int16_t>(type);
    int c = 0;
    for (int f : fields)
        t.Columns[static_cast<std::size_t>(c++)] = static_cast<std::int16_t>(f);
    return t;
}

std::vector<const TRecord*> All(const TBookData& book) {
    return EntryOrder(book, TEntrySelection::All, {}, nullptr);
}

class EntryExport : public ::testing::Test {
protected:
    void SetUp() override {
        book = NewBook("/tmp/export.ADR", testing::NoDefaultsFile());
        TRecord& smith = AddEntry(*book, "Ann", "Smith, Jr");
        smith.Addresses.AddAddress(1);
        smith.Addresses.At(0)->SetField(2, "1 High St\r\nLeeds\r\nLS1");
        smith.Addresses.At(0)->SetField(3, "0113 \"main\"");
        smith.Addresses.AddAddress(1);
        smith.Addresses.At(1)->SetField(3, "0207");
        smith.SetNotes("line one\r\nline two");
        AddEntry(*book, "adam", "Zed"); // no address at all
    }
    std::unique_ptr<TBookData> book;
};

TEST_F(EntryExport, HeaderQuotingAndRecordOrder) {
    const TExport tpl =
        Columns(kExportEntries, {kDataFirstName, kDataSurname, kDataPhone1, kDataNotes});
    const TExportText out = ExportEntries(*book, All(*book), tpl, TAddressChoice::First, 0);
    // adam sorts before Ann without regard to case.
    EXPECT_EQ(out.Text, "\"First Name\",\"Surname\",\"Home\",\"Notes\"\r\n"
                        "\"adam\",\"Zed\",\"\",\"\"\r\n"
                        "\"Ann\",\"Smith, Jr\",\"0113 \"\"main\"\"\",\"line one\rline two\"\r\n");
    EXPECT_EQ(out.Lines, 2);
}

TEST_F(EntryExport, MailMergeKeepsLineBreaksAndUnderscoresCaptions) {
    SetEntryFieldCaption(*book, kDataPhone1 + 1, "Post Code");
    TExport tpl = Columns(kExportEntries, {kDataFirstName, kDataPhone1 + 1, kDataNotes});
    tpl.MailMerge = 1;
    tpl.Separator = 0; // "None": the fields follow each other
    const std::vector<const TRecord*> one{book->Entries.At(0)};
    const TExportText out = ExportEntries(*book, one, tpl, TAddressChoice::First, 0);
    EXPECT_EQ(out.Text, "\"First_Name\"\"Post_Code\"\"Notes\"\r\n"
                        "\"Ann\"\"\"\"line one\r\nline two\"\r\n");
}

TEST_F(EntryExport, AddressChoiceSplitAndLabels) {
    TExport tpl = Columns(kExportEntries, {kDataSurname, kDataAddress, kDataPhone1});
    tpl.AddressColumns = 4;
    tpl.Labels[2] = 1;
    tpl.Quote = 0;
    const TExportText all = ExportEntries(*book, All(*book), tpl, TAddressChoice::All, 0);
    EXPECT_EQ(all.Text, "Surname,Address 1,Address 2,Address 3,Address 4,Home\r\n"
                        "Smith, Jr,1 High St,Leeds,LS1,,Home 0113 \"main\"\r\n"
                        "Smith, Jr,,,,,Home 0207\r\n");
    tpl.AddressColumns = 2;
    tpl.HeaderLine = 0;
    const TExportText two = ExportEntries(*book, All(*book), tpl, TAddressChoice::Template, 1);
    EXPECT_EQ(two.Text, "Smith, Jr,1 High St,Leeds,Home 0113 \"main\"\r\n");
    EXPECT_EQ(ExportEntries(*book, All(*book), tpl, TAddressChoice::Template, 7).Text, "");
}

TEST_F(EntryExport, SelectionsFollowTheRecordOrder) {
    TRecord& carl = AddEntry(*book, "Carl", "Baker");
    carl.Tagged = 1;
    book->Entries.At(0)->Tagged = 1;
    const auto tagged = EntryOrder(*book, TEntrySelection::Tagged, {}, nullptr);
    ASSERT_EQ(tagged.size(), 2u);
    EXPECT_EQ(tagged[0], book->Entries.At(0));
    EXPECT_EQ(tagged[1], &carl);
    const auto listed = EntryOrder(*book, TEntrySelection::IndexList,
                                   {book->Entries.At(0), book->Entries.At(1)}, &carl);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0], book->Entries.At(1));
    EXPECT_EQ(EntryOrder(*book, TEntrySelection::SelectedEntry, {}, &carl),
              std::vector<const TRecord*>{&carl});
    EXPECT_TRUE(EntryOrder(*book, TEntrySelection::SelectedEntry, {}, nullptr).empty());
}

TEST_F(EntryExport, RecordOrderFoldsCaseAndKeepsEqualNamesAsTheyCame) {
    // The book's keys sort by first name then surname. Names equal but for case keep
    // the book's order; accented capitals and small letters fold alike and sort by
    // their code after the plain letters; the "no index" text sorts by its "<".
    TRecord& second = AddEntry(*book, "ADAM", "zed");
    TRecord& eve = AddEntry(*book, "\xC9ve", "");
    TRecord& eve2 = AddEntry(*book, "\xE9VE", "");
    TRecord& none = AddEntry(*book, "", "");
    TRecord& zoe = AddEntry(*book, "Zoe", "");
    const auto order = All(*book);
    const std::vector<const TRecord*> expected = {
        &none, book->Entries.At(1), &second, book->Entries.At(0), &zoe, &eve, &eve2};
    EXPECT_EQ(order, expected);
}

// What an export made while the book is read hands over, and in how many pieces.
struct TStreamed {
    bool Complete = false;
    bool Written = false;
    std::string Text;
    int Lines = 0;
    int Pieces = 0;
};

TStreamed ExportWhileReading(const std::string& path, const TExport& tpl, bool taggedOnly,
                             std::optional<TStreamedExport::TAddresses> addresses,
                             int refusedPiece = -1) {
    TStreamedExport exported(tpl, taggedOnly, [&](const TBookData&) { return addresses; });
    TLoadResult loaded = LoadBook(path, testing::NoDefaultsFile(), RealFileSystem(), &exported);
    TStreamed out;
    out.Complete = loaded.Book && exported.Complete();
    out.Lines = exported.Lines();
    out.Written = exported.WriteTo([&](std::span<const std::uint8_t> piece) {
        if (out.Pieces++ == refusedPiece)
            return false;
        out.Text.append(reinterpret_cast<const char*>(piece.data()), piece.size());
        return true;
    });
    return out;
}

TEST_F(EntryExport, WhileReadingGivesTheBytesOfTheWholeBooksExport) {
    // Equal names in both cases (kept in book order), tagged and untagged entries,
    // several addresses, quotes and line breaks, and enough of them for several pieces.
    for (int i = 0; i < 3000; ++i) {
        TRecord& e = AddEntry(*book, i % 3 ? "Bea" : "BEA", "N" + std::to_string(i % 700));
        e.Tagged = i % 4 == 0 ? 1 : 0;
        e.SetNotes(std::string(120, static_cast<char>('a' + i % 26)) + "\"q\"\r\nend");
        if (i % 5 == 0) {
            e.Addresses.AddAddress(1);
            e.Addresses.At(0)->SetField(2, "Road " + std::to_string(i) + "\r\nTown");
            e.Addresses.AddAddress(2);
        }
    }
    book->Entries.At(0)->Tagged = 1;
    TScratchDir dir;
    const std::string path = dir.File("streamed.ADR");
    testing::WriteBytes(path, WriteBookImage(*book));
    TLoadResult whole = LoadBook(path, testing::NoDefaultsFile());
    ASSERT_TRUE(whole.Book);

    TExport tpl = Columns(kExportEntries, {kDataFirstName, kDataSurname, kDataAddress, kDataNotes,
                                           kDataSortText, kDataDisplayText});
    tpl.AddressColumns = 2;
    tpl.Labels[1] = 1;
    const std::pair<TAddressChoice, int> choices[] = {
        {TAddressChoice::First, 0}, {TAddressChoice::All, 0}, {TAddressChoice::Template, 2}};
    for (const bool tagged : {false, true}) {
        const auto order = EntryOrder(
            *whole.Book, tagged ? TEntrySelection::Tagged : TEntrySelection::All, {}, nullptr);
        for (const auto& [choice, id] : choices) {
            SCOPED_TRACE(std::string(tagged ? "tagged " : "all ") + std::to_string(int(choice)));
            const TExportText expected = ExportEntries(*whole.Book, order, tpl, choice, id);
            const TStreamed got =
                ExportWhileReading(path, tpl, tagged, TStreamedExport::TAddresses{choice, id});
            EXPECT_TRUE(got.Complete);
            EXPECT_TRUE(got.Written);
            EXPECT_EQ(got.Lines, expected.Lines);
            EXPECT_TRUE(got.Text == expected.Text);
        }
    }
    EXPECT_GT(ExportWhileReading(path, tpl, false, TStreamedExport::TAddresses{}).Pieces, 2);
}

TEST_F(EntryExport, WhileReadingHandsOverNothingUnlessItReadTheWholeBook) {
    TScratchDir dir;
    const std::string path = dir.File("cut.ADR");
    std::vector<std::uint8_t> image = WriteBookImage(*book);
    const TExport tpl = Columns(kExportEntries, {kDataFirstName});
    // No address choice to be had of the book: nothing is exported.
    testing::WriteBytes(path, image);
    const TStreamed unchosen = ExportWhileReading(path, tpl, false, std::nullopt);
    EXPECT_FALSE(unchosen.Complete);
    EXPECT_FALSE(unchosen.Written);
    EXPECT_EQ(unchosen.Pieces, 0);
    // A book cut inside its entries does not read: the lines made so far are not whole.
    image.resize(image.size() - 40);
    testing::WriteBytes(path, image);
    EXPECT_FALSE(ExportWhileReading(path, tpl, false, TStreamedExport::TAddresses{}).Complete);
    // A refused piece fails the writing.
    image = WriteBookImage(*book);
    testing::WriteBytes(path, image);
    const TStreamed refused =
        ExportWhileReading(path, tpl, false, TStreamedExport::TAddresses{}, 0);
    EXPECT_TRUE(refused.Complete);
    EXPECT_FALSE(refused.Written);
}

TEST_F(EntryExport, RemindersAndCallLogs) {
    TRecord& smith = *book->Entries.At(0);
    auto r = std::make_unique<TReminders>();
    r->When = EncodeDate(2026, 5, 4) + EncodeTime(9, 5, 0);
    r->Until = EncodeDate(2026, 6, 1);
    r->Frequency = kWeekly;
    r->Interval = 2;
    r->Priority = 3;
    r->AdvanceDays = 1;
    r->SetDescription("Call, back");
    r->SetNotes("n");
    smith.Reminders.Add(std::move(r));
    const TExportText rem =
        ExportReminders(*book, All(*book), *TExportList::Defaults().At(1), TExportOptions());
    EXPECT_EQ(rem.Text, "\"Entry Name\",\"Date\",\"Time\",\"Priority\",\"Description\","
                        "\"Frequency\",\"Frequency Period\",\"Until\",\"Days in Advance\","
                        "\"State\",\"Notes\"\r\n"
                        "\"Ann Smith, Jr\",\"04/05/2026\",\"09:05\",\"3\",\"Call, back\","
                        "\"Weekly\",\"2\",\"01/06/2026\",\"1\",\"Outstanding\",\"n\"\r\n");

    smith.CallLogs.AddLog("0113", "Said \"no\"", EncodeDate(2026, 5, 4) + EncodeTime(10, 0, 0),
                          EncodeDate(2026, 5, 4) + EncodeTime(10, 2, 30));
    TExport logs = Columns(kExportCallLogs, {0, 1, 3, 7});
    logs.HeaderLine = 0;
    EXPECT_EQ(ExportCallLogs(*book, All(*book), logs).Text,
              "\"Ann Smith, Jr\",\"0113\",\"10:00\",\"Said \"\"no\"\"\"\r\n");
}

TEST_F(EntryExport, ProgressIsToldOfEveryRecordAndStopsTheExportWhereItSays) {
    AddEntry(*book, "Cy", "Young");
    for (int i = 0; i < book->Entries.Count(); ++i) {
        auto r = std::make_unique<TReminders>();
        r->SetDescription("r" + std::to_string(i));
        book->Entries.At(i)->Reminders.Add(std::move(r));
    }
    const TExport entries = Columns(kExportEntries, {2});
    const TExport reminders = Columns(kExportReminders, {0, 4});
    // Stopped after the second record: two records' lines, the header line as well.
    std::vector<int> told;
    int total = -1;
    TExportOptions options;
    options.Started = [&](int n) { total = n; };
    options.Progress = [&](int done) {
        told.push_back(done);
        return done < 2;
    };
    const TExportText some =
        ExportEntries(*book, All(*book), entries, TAddressChoice::First, 0, options);
    EXPECT_TRUE(some.Stopped);
    EXPECT_EQ(some.Lines, 2);
    EXPECT_EQ(total, 3);
    EXPECT_EQ(told, std::vector<int>({1, 2}));
    EXPECT_EQ(std::count(some.Text.begin(), some.Text.end(), '\n'), 3);

    told.clear();
    const TExportText rem = ExportReminders(*book, All(*book), reminders, options);
    EXPECT_TRUE(rem.Stopped);
    EXPECT_EQ(rem.Lines, 2);
    EXPECT_EQ(told, std::vector<int>({1, 2}));

    // Told of every record when it never says stop.
    told.clear();
    options.Progress = [&](int done) {
        told.push_back(done);
        return true;
    };
    const TExportText whole = ExportReminders(*book, All(*book), reminders, options);
    EXPECT_FALSE(whole.Stopped);
    EXPECT_EQ(whole.Lines, 3);
    EXPECT_EQ(told, std::vector<int>({1, 2, 3}));
}

TEST(DiaryExport, RangeCompletedAndOrder) {
    TDiaryData diary;
    diary.SortOrder = 2; // by date and time
    const auto add = [&](int day, bool completed, const std::string& d) {
        auto e = std::make_unique<TReminders>();
        e->When = EncodeDate(2026, 3, day) + EncodeTime(8, 0, 0);
        e->Until = e->When;
        e->Completed = completed ? 1 : 0;
        e->SetDescription(d);
        diary.Events.Add(std::move(e));
    };
    add(9, false, "late");
    add(2, false, "early");
    add(5, true, "done");
    add(20, false, "outside");
    const auto events =
        DiaryEventOrder(diary, false, false, EncodeDate(2026, 3, 1), EncodeDate(2026, 3, 10));
    TExport tpl = Columns(kExportDiaryEvents, {0, 3, 8});
    const TExportText out = ExportDiaryEvents(events, tpl);
    EXPECT_EQ(out.Text, "\"Date\",\"Description\",\"State\"\r\n"
                        "\"02/03/2026\",\"early\",\"Outstanding\"\r\n"
                        "\"09/03/2026\",\"late\",\"Outstanding\"\r\n");
    EXPECT_EQ(DiaryEventOrder(diary, true, true, 0, 0).size(), 4u);

    // Cancelled after the first event: its line only.
    TExportOptions options;
    options.Progress = [](int done) { return done < 1; };
    const TExportText first = ExportDiaryEvents(events, tpl, options);
    EXPECT_TRUE(first.Stopped);
    EXPECT_EQ(first.Lines, 1);
    EXPECT_EQ(first.Text, "\"Date\",\"Description\",\"State\"\r\n"
                          "\"02/03/2026\",\"early\",\"Outstanding\"\r\n");
}

TEST(ExportFile, WholeOrNotAtAllAndUtf8) {
    TScratchDir dir;
    const std::string path = dir.File("out.csv");
    ASSERT_EQ(WriteExportFile(path, "old\r\n"), "");
    testing::TFaultFileSystem fs;
    fs.DiskFullAfter(3);
    EXPECT_EQ(WriteExportFile(path, std::string(1000, 'x'), fs),
              "File: " + path + " \n\nUnable to Write File due to an Unknown Error");
    const auto kept = ReadBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old\r\n");
    // Handed over in pieces, a write that fails after the first leaves the old file too.
    const std::vector<std::uint8_t> piece(300 << 10, 'y');
    const auto pieces = [&](const TByteSink& put) { return put(piece) && put(piece); };
    testing::TFaultFileSystem full;
    full.DiskFullAfter(piece.size() + 10);
    EXPECT_NE(WriteExportFile(path, pieces, full), "");
    EXPECT_EQ(ReadBytes(path), kept);
    ASSERT_EQ(WriteExportFile(path, pieces), "");
    EXPECT_EQ(ReadBytes(path).size(), 2 * piece.size());
    EXPECT_EQ(ExportBytes("Caf\xE9 \x80", true), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(ExportBytes("Caf\xE9", false), "Caf\xE9");
}

} // namespace
} // namespace tessaly
