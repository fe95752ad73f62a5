// The print run's plan: the order of the records, the label grid and its starting
// label, repeats, envelopes on pages the device cannot take, page breaks of listings,
// header and footer bands, and the texts of the objects.

#include "core/diary/diary.h"
#include "core/printing/catalogues.h"
#include "core/printing/object_text.h"
#include "core/printing/print_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::NoDefaultsFile;

TLayoutBox DataBox(std::vector<int> fields, bool singleLine, double left, double top, double width,
                   double height, int kind = kBoxData) {
    TLayoutBox b;
    b.Kind = kind;
    b.Left = left;
    b.Top = top;
    b.Width = width;
    b.Height = height;
    for (int f : fields) {
        auto item = std::make_unique<TFields>();
        item->FieldNumber = f;
        item->Kind = kind;
        item->SingleLine = singleLine;
        b.Items.Add(std::move(item));
    }
    b.Format = DefaultBoxFormat(kind);
    return b;
}

TLayoutBox Static(const char* text, double left, double top) {
    TLayoutBox b = DataBox({0}, true, left, top, 40, 5, kBoxStaticText);
    b.Items.At(0)->Caption = text;
    return b;
}

TPaper LabelSheet(int across, int down) {
    TPaper p;
    p.Type = kPaperLabel;
    p.SystemCode = 9;
    p.Unit = kUnitMillimetres;
    p.Width = 210;
    p.Height = 297;
    p.LabelWidth = 60;
    p.LabelHeight = 25;
    p.LabelsAcross = across;
    p.LabelsDown = down;
    p.LeftMargin = 10;
    p.TopMargin = 20;
    p.HorizontalGap = 5;
    p.VerticalGap = 2;
    return p;
}

TPaper Listing() {
    TPaper p;
    p.Type = kPaperListing;
    p.SystemCode = 9;
    p.Width = 210;
    p.Height = 297;
    return p;
}

// A book of entries with the given surnames, in that order.
std::unique_ptr<TBookData> Book(std::initializer_list<const char*> surnames) {
    FakeClock clock(45000.5);
    auto book = NewBook("/tmp/print.ADR", NoDefaultsFile(), clock);
    for (const char* name : surnames) {
        TRecord entry;
        entry.SetNameField(1, "Ann");
        entry.SetNameField(2, name);
        book->Entries.AddEntryCopy(entry, clock);
        clock.AdvanceMs(10);
    }
    return book;
}

struct TRunSetup {
    TPaper Paper;
    TLayout Layout;
    TLayoutObjects Objects;
    TPrintRequest Request;
    TPrintSource Source;

    TPlanResult Run() {
        Request.Paper = &Paper;
        Request.Layout = &Layout;
        Request.Objects = &Objects;
        Request.Parameters.Selection = kSelectAll;
        return PlanPrintRun(Request, Source);
    }
};

struct TPlaced {
    int Page;
    double Left, Top;
    std::string Text;
};

std::vector<TPlaced> Texts(const TPrintPlan& plan) {
    std::vector<TPlaced> out;
    for (std::size_t p = 0; p < plan.Pages.size(); ++p)
        for (const auto& item : plan.Pages[p].Items)
            if (item.Kind == TPlanItemKind::Text)
                out.push_back({static_cast<int>(p), item.Left, item.Top, item.Text});
    return out;
}

TEST(PrintRunLabels, AStartingLabelFillsTheFirstSheetFromThereAndTheNextSheetFromTheTop) {
    std::vector<std::string> names;
    for (int i = 1; i <= 30; ++i)
        names.push_back("Entry " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    FakeClock clock(45000.5);
    auto book = NewBook("/tmp/print.ADR", NoDefaultsFile(), clock);
    for (const auto& n : names) {
        TRecord e;
        e.SetNameField(2, n);
        book->Entries.AddEntryCopy(e, clock);
    }
    TRunSetup s;
    s.Paper = LabelSheet(3, 10);
    s.Objects.Body.push_back(DataBox({2}, true, 1, 2, 50, 6));
    s.Source.Book = book.get();
    s.Request.Parameters.LabelFill = kFillOne;
    s.Request.StartingLabel = 5;
    const TPlanResult r = s.Run();
    ASSERT_TRUE(r.Ok) << r.Message;
    ASSERT_EQ(r.Plan.Pages.size(), 2u);
    const auto texts = Texts(r.Plan);
    ASSERT_EQ(texts.size(), 30u);
    // Label 5 is row 1, column 1: one cell and gap across and down from the origin.
    EXPECT_EQ(texts[0].Text, "Entry 01");
    EXPECT_DOUBLE_EQ(texts[0].Left, 10 + 65 + 1);
    EXPECT_DOUBLE_EQ(texts[0].Top, 20 + 27 + 2);
    // The 26th fills the last place of the first sheet; the 27th starts the second.
    EXPECT_EQ(texts[25].Page, 0);
    EXPECT_DOUBLE_EQ(texts[25].Left, 10 + 2 * 65 + 1);
    EXPECT_DOUBLE_EQ(texts[25].Top, 20 + 9 * 27 + 2);
    EXPECT_EQ(texts[26].Page, 1);
    EXPECT_EQ(texts[26].Text, "Entry 27");
    EXPECT_DOUBLE_EQ(texts[26].Left, 11);
    EXPECT_DOUBLE_EQ(texts[26].Top, 22);
    EXPECT_EQ(r.Plan.Copies, 1);
    EXPECT_EQ(r.Plan.Pages[0].PaperCode, 9);

    // A starting label beyond the sheet is its last place; below 1 the first.
    s.Request.StartingLabel = 99;
    EXPECT_DOUBLE_EQ(Texts(s.Run().Plan)[0].Top, 20 + 9 * 27 + 2);
    s.Request.StartingLabel = -3;
    EXPECT_DOUBLE_EQ(Texts(s.Run().Plan)[0].Top, 22);
}

TEST(PrintRunLabels, ARowPerEntryWrapsFromMidRowAndASheetPerEntryFillsIt) {
    auto book = Book({"Adams", "Baker"});
    TRunSetup s;
    s.Paper = LabelSheet(3, 10);
    s.Objects.Body.push_back(DataBox({2}, true, 0, 0, 50, 6));
    s.Source.Book = book.get();
    s.Request.Parameters.LabelFill = kFillRow;
    s.Request.StartingLabel = 2;
    auto texts = Texts(s.Run().Plan);
    ASSERT_EQ(texts.size(), 6u);
    const std::vector<std::pair<double, double>> places = {{75, 20}, {140, 20}, {10, 47},
                                                           {75, 47}, {140, 47}, {10, 74}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(texts[i].Text, i < 3 ? "Adams" : "Baker") << i;
        EXPECT_DOUBLE_EQ(texts[i].Left, places[i].first) << i;
        EXPECT_DOUBLE_EQ(texts[i].Top, places[i].second) << i;
    }
    s.Request.Parameters.LabelFill = kFillSheet;
    s.Request.StartingLabel = 1;
    const TPlanResult sheets = s.Run();
    ASSERT_EQ(sheets.Plan.Pages.size(), 2u);
    EXPECT_EQ(Texts(sheets.Plan).size(), 60u);
    EXPECT_EQ(Texts(sheets.Plan)[30].Text, "Baker");
    s.Request.Parameters.LabelFill = kFillCopies;
    s.Request.Parameters.Copies = 4;
    EXPECT_EQ(Texts(s.Run().Plan).size(), 8u);
    // A run past the page limit is refused whole instead of filling the memory.
    s.Request.Parameters.Copies = 9999;
    s.Request.MaxPages = 5;
    const TPlanResult tooLong = s.Run();
    EXPECT_FALSE(tooLong.Ok);
    EXPECT_TRUE(tooLong.Plan.Pages.empty());
    EXPECT_NE(tooLong.Message.find("too many Pages"), std::string::npos);
}

TEST(PrintRunLabels, ALandscapeSheetExchangesRowsAndColumns) {
    std::vector<const char*> none;
    auto book = Book({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O"});
    TRunSetup s;
    s.Paper = LabelSheet(2, 7);
    s.Layout.Portrait = false;
    s.Objects.Body.push_back(DataBox({2}, true, 0, 0, 20, 6));
    s.Source.Book = book.get();
    s.Request.Parameters.LabelFill = kFillOne;
    const TPlanResult r = s.Run();
    ASSERT_EQ(r.Plan.Pages.size(), 2u);
    EXPECT_TRUE(r.Plan.Pages[0].Landscape);
    EXPECT_EQ(r.Plan.Pages[0].Width, 297);
    EXPECT_EQ(r.Plan.Pages[0].Height, 210);
    const auto texts = Texts(r.Plan);
    // Seven across (the label's height plus the vertical gap apart), then the second row.
    EXPECT_DOUBLE_EQ(texts[6].Left, 20 + 6 * 27);
    EXPECT_DOUBLE_EQ(texts[6].Top, 10);
    EXPECT_DOUBLE_EQ(texts[7].Left, 20);
    EXPECT_DOUBLE_EQ(texts[7].Top, 10 + 65);
    EXPECT_EQ(texts[14].Page, 1);
}

TEST(PrintRunLabels, AGridOfNoColumnsOrRowsIsRefused) {
    auto book = Book({"Adams"});
    for (auto [across, down] : {std::pair{0, 7}, {2, 0}, {-1, -1}}) {
        TRunSetup s;
        s.Paper = LabelSheet(across, down);
        s.Objects.Body.push_back(DataBox({2}, true, 0, 0, 20, 6));
        s.Source.Book = book.get();
        const TPlanResult r = s.Run();
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Message.empty());
        EXPECT_TRUE(r.Plan.Pages.empty());
    }
}

TEST(PrintRunLabels, RemindersAndCallsAdvanceOncePerPrintNotOncePerEntry) {
    auto book = Book({"Adams", "Baker", "Cole"});
    // Adams has no reminders; Baker two (one completed); Cole one dated a day late.
    for (auto [entry, when, completed] :
         {std::tuple{1, 45010.75, false}, {1, 45012.0, true}, {2, 45013.0, false}}) {
        auto r = std::make_unique<TReminders>();
        r->When = when;
        r->Completed = completed;
        r->SetDescription("R" + std::to_string(static_cast<int>(when)));
        book->Entries.At(entry)->Reminders.Add(std::move(r));
    }
    TRunSetup s;
    s.Paper = LabelSheet(3, 10);
    s.Layout.Source = kSourceReminders;
    s.Objects.Body.push_back(DataBox({3}, true, 0, 0, 50, 6));
    s.Source.Book = book.get();
    auto texts = Texts(s.Run().Plan);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "R45010");
    EXPECT_DOUBLE_EQ(texts[0].Left, 10);
    EXPECT_DOUBLE_EQ(texts[1].Left, 75);
    EXPECT_DOUBLE_EQ(texts[2].Left, 140);

    // Only the days of the range, the last one included; completed ones left out.
    s.Request.Parameters.AllDates = false;
    s.Request.Parameters.FirstDate = 45010;
    s.Request.Parameters.LastDate = 45012;
    EXPECT_EQ(Texts(s.Run().Plan).size(), 2u);
    s.Request.Parameters.IncludeCompleted = false;
    texts = Texts(s.Run().Plan);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "R45010");
}

TEST(PrintRunEnvelopes, EveryAddressOnItsOwnEnvelopePlacedByItsFeed) {
    auto book = Book({"Adams"});
    TRecord& entry = *book->Entries.At(0);
    for (const char* town : {"Leeds", "York", "Hull"})
        entry.Addresses.SetFieldOf(entry.Addresses.AddAddress(1), 1, town);
    TRunSetup s;
    s.Paper.Type = kPaperEnvelope;
    s.Paper.SystemCode = 27;
    s.Paper.Width = 110;
    s.Paper.Height = 220;
    s.Paper.Portrait = true;
    s.Paper.EnvelopeFeed = 1;
    s.Paper.FaceUp = true;
    s.Objects.Body.push_back(DataBox({4}, true, 30, 40, 60, 6));
    s.Source.Book = book.get();
    s.Request.Parameters.FirstAddressOnly = false;
    s.Request.Parameters.Copies = 2;
    s.Request.Device.PaperCodes = {9};
    s.Request.Device.LeftMargin = 4;
    s.Request.Device.TopMargin = 5;
    TPlanResult r = s.Run();
    ASSERT_TRUE(r.Ok) << r.Message;
    ASSERT_EQ(r.Plan.Pages.size(), 3u);
    EXPECT_EQ(r.Plan.Copies, 2);
    // The device has no DL: an A4 page, the face-up feed 1 placed as feed 3 (x = 0).
    EXPECT_EQ(r.Plan.Pages[0].Width, 210);
    EXPECT_EQ(r.Plan.Pages[0].PaperCode, 9);
    auto texts = Texts(r.Plan);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].Text, "Hull");
    EXPECT_EQ(texts[2].Page, 2);
    EXPECT_DOUBLE_EQ(texts[0].Left, 0 + 30 + 4);
    EXPECT_DOUBLE_EQ(texts[0].Top, 5 + 40);

    s.Paper.FaceUp = false; // feed 1: at the right of the page
    EXPECT_DOUBLE_EQ(Texts(s.Run().Plan)[0].Left, 210 - 110 + 30 + 4);
    s.Paper.EnvelopeFeed = 2; // centred
    EXPECT_DOUBLE_EQ(Texts(s.Run().Plan)[0].Left, 50 + 30 + 4);
    // A landscape feed: the page turns, and feed 6 keeps its y on every page.
    s.Paper.Portrait = false;
    s.Paper.EnvelopeFeed = 6;
    r = s.Run();
    texts = Texts(r.Plan);
    EXPECT_TRUE(r.Plan.Pages[0].Landscape);
    EXPECT_DOUBLE_EQ(texts[0].Left, 297 - 110 + 30 + 4);
    EXPECT_DOUBLE_EQ(texts[0].Top, 5 + (210 - 220) + 40);
    EXPECT_DOUBLE_EQ(texts[2].Top, texts[0].Top);

    // A device that takes DL prints on the envelope's own page.
    s.Request.Device.PaperCodes = {9, 27};
    r = s.Run();
    EXPECT_EQ(r.Plan.Pages[0].PaperCode, 27);
    EXPECT_EQ(r.Plan.Pages[0].Width, 220);
    EXPECT_EQ(r.Plan.Pages[0].Height, 110);
    EXPECT_DOUBLE_EQ(Texts(r.Plan)[0].Left, 34);
}

TEST(PrintRunListings, PageControlBreaksOnTheIndexCharacter) {
    auto book = Book({"Baker", "avery", "Adams"});
    TRunSetup s;
    s.Paper = Listing();
    s.Layout.PageControl = kBreakOnIndexCharacter;
    s.Objects.Body.push_back(DataBox({2}, true, 0, 0, 50, 6));
    s.Source.Book = book.get();
    s.Request.Parameters.SortField = 2; // the surname
    const TPlanResult r = s.Run();
    ASSERT_EQ(r.Plan.Pages.size(), 2u);
    const auto texts = Texts(r.Plan);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "Adams");
    EXPECT_EQ(texts[1].Text, "avery");
    EXPECT_EQ(texts[1].Page, 0);
    EXPECT_DOUBLE_EQ(texts[1].Top, 6);
    EXPECT_EQ(texts[2].Text, "Baker");
    EXPECT_EQ(texts[2].Page, 1);
    EXPECT_DOUBLE_EQ(texts[2].Top, 0);
}

TEST(PrintRunListings, ALongRunBreaksAboveTheFooterAndTheBottomMargin) {
    auto book = Book({"Adams", "Baker"});
    for (int i = 0; i < 120; ++i)
        book->Entries.At(0)->CallLogs.AddLog(std::to_string(i), "", 45000 + i, 45000 + i);
    book->Entries.At(1)->CallLogs.AddLog("last", "", 45000, 45000);
    TRunSetup s;
    s.Paper = Listing();
    s.Layout.Source = kSourceCallLogs;
    s.Layout.PageControl = kBreakOnEntry;
    s.Layout.Headers = s.Layout.Footers = true;
    s.Layout.HeaderHeight = 20;
    s.Layout.FooterHeight = 15;
    s.Objects.Header.push_back(Static("Calls", 0, 2));
    s.Objects.Body.push_back(DataBox({1}, true, 0, 0, 50, 7));
    TLayoutBox page = DataBox({}, true, 80, 3, 20, 6, kBoxPageNumber);
    page.Format = "%.3d";
    s.Objects.Footer.push_back(page);
    s.Objects.Footer.push_back(DataBox({0}, true, 0, 3, 50, 6)); // the last entry printed
    s.Source.Book = book.get();
    s.Request.Device.LeftMargin = 4;
    s.Request.Device.TopMargin = 5;
    s.Request.Device.BottomMargin = 6;
    s.Request.Device.PaperCodes = {9};
    const TPlanResult r = s.Run();
    ASSERT_TRUE(r.Ok) << r.Message;
    // 256 mm between the header and the footer hold 36 lines of 7 mm: 121 calls of
    // Adams take four pages, and Baker's one call a page of its own.
    ASSERT_EQ(r.Plan.Pages.size(), 5u);
    const double footerTop = 297 - 6 - 15;
    for (const auto& t : Texts(r.Plan)) {
        if (t.Top >= footerTop)
            continue;
        EXPECT_LE(t.Top + 7, footerTop + 1e-9) << t.Text;
    }
    const auto texts = Texts(r.Plan);
    // Header at the top margin, the first line under the header, all in by the left margin.
    EXPECT_EQ(texts[0].Text, "Calls");
    EXPECT_DOUBLE_EQ(texts[0].Top, 5 + 2);
    EXPECT_DOUBLE_EQ(texts[0].Left, 4);
    EXPECT_EQ(texts[1].Text, "0");
    EXPECT_DOUBLE_EQ(texts[1].Top, 25);
    std::vector<std::string> footers;
    for (const auto& t : texts)
        if (t.Top == footerTop + 3)
            footers.push_back(t.Text);
    ASSERT_EQ(footers.size(), 10u);
    EXPECT_EQ(footers[0], "001");
    EXPECT_EQ(footers[6], "004");
    EXPECT_EQ(footers[8], "005");
    EXPECT_EQ(footers[9], "Ann Baker");
}

TEST(PrintRunOrder, SelectionsAndTheSortField) {
    auto book = Book({"Cole", "adams", "Baker", "Dale"});
    book->Entries.At(0)->Tagged = 1;
    book->Entries.At(2)->Tagged = 1;
    TPrintSource src;
    src.Listed = {3, 0, 1};
    src.Selected = 2;
    EXPECT_EQ(EntryOrder(*book, src, kSelectEntry, -1), std::vector<int>{2});
    EXPECT_EQ(EntryOrder(*book, src, kSelectListed, 2), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(EntryOrder(*book, src, kSelectTagged, 2), (std::vector<int>{2, 0}));
    EXPECT_EQ(EntryOrder(*book, src, kSelectAll, 2), (std::vector<int>{1, 2, 0, 3}));
    // By first name, all equal: the book's order is kept.
    EXPECT_EQ(EntryOrder(*book, src, kSelectAll, 1), (std::vector<int>{0, 1, 2, 3}));
    src.Selected = 9;
    EXPECT_TRUE(EntryOrder(*book, src, kSelectEntry, -1).empty());
}

TEST(PrintRunOrder, NothingToPrintIsSaidAndMakesNoPages) {
    auto book = Book({"Adams"});
    TRunSetup s;
    s.Paper = Listing();
    s.Objects.Body.push_back(DataBox({2}, true, 0, 0, 50, 6));
    s.Source.Book = book.get();
    s.Request.Parameters.Selection = kSelectEntry;
    s.Request.Paper = &s.Paper;
    s.Request.Layout = &s.Layout;
    s.Request.Objects = &s.Objects;
    TPlanResult r = PlanPrintRun(s.Request, s.Source);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, "No Entry is Selected to be Printed.");
    s.Request.Parameters.Selection = kSelectTagged;
    r = PlanPrintRun(s.Request, s.Source);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, "There is Nothing to Print for the Selection made.");
    // A diary layout needs a diary.
    s.Layout.Source = kSourceDiary;
    r = PlanPrintRun(s.Request, s.Source);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("Diary"), std::string::npos);

    // An unknown layout or an unreadable object file is string 372.
    testing::TScratchDir dir;
    TStoreSettings place;
    place.ConfigDirectory = dir.Path();
    TPrintCatalogues c(place);
    c.Papers.Create("Sheet", kPaperListing, 44)->Width = 210;
    TLayout* l = c.CreateLayout("List", kSourceEntries, 0);
    TQReport q;
    q.Selection = kSelectAll;
    q.LayoutNumber = 7;
    EXPECT_EQ(PlanPrintRun(c, q, s.Source, TPrintDevice::Pdf()).Message, kInvalidLayoutMessage);
    q.LayoutNumber = l->Number;
    EXPECT_EQ(PlanPrintRun(c, q, s.Source, TPrintDevice::Pdf()).Message, kInvalidLayoutMessage);

    // Cancelling stops the walk.
    s.Layout.Source = kSourceEntries;
    s.Request.Parameters.Selection = kSelectAll;
    s.Request.Progress = [](int, int) { return false; };
    r = PlanPrintRun(s.Request, s.Source);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_FALSE(r.Ok);
}

TEST(PrintRunDiary, EventsOfTheRangeBreakingOnTheirDate) {
    TDiaryData diary;
    for (auto [when, text] : {std::pair{45002.5, "Late"},
                              {45001.25, "Early"},
                              {45001.75, "Noon"},
                              {45009.0, "Outside"}}) {
        auto e = std::make_unique<TReminders>();
        e->When = when;
        e->Frequency = 1;
        e->SetDescription(text);
        diary.Events.Add(std::move(e));
    }
    diary.SortOrder = 2; // date and time
    TRunSetup s;
    s.Paper = Listing();
    s.Layout.Source = kSourceDiary;
    s.Layout.PageControl = kBreakOnEventDate;
    s.Objects.Body.push_back(DataBox({2}, true, 30, 0, 50, 6));
    s.Objects.Body.push_back(DataBox({0}, true, 0, 0, 25, 6, kBoxDate));
    s.Objects.Body.back().Format = "yyyy-mm-dd";
    s.Source.Diary = &diary;
    s.Request.Parameters.AllDates = false;
    s.Request.Parameters.FirstDate = 45001;
    s.Request.Parameters.LastDate = 45002;
    const TPlanResult r = s.Run();
    ASSERT_TRUE(r.Ok) << r.Message;
    ASSERT_EQ(r.Plan.Pages.size(), 2u);
    const auto texts = Texts(r.Plan);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].Text, "Early");
    EXPECT_EQ(texts[1].Text, "2023-03-16");
    EXPECT_EQ(texts[2].Text, "Noon");
    EXPECT_EQ(texts[4].Text, "Late");
    EXPECT_EQ(texts[4].Page, 1);
}

TEST(ObjectTexts, MergedFieldsDatesPageNumbersAndTheReturnAddress) {
    auto book = Book({"Smith"});
    TRecord& e = *book->Entries.At(0);
    e.SetNameField(1, "Jo\r\nAnne");
    const int a = e.Addresses.AddAddress(1);
    e.Addresses.SetFieldOf(a, 1, "Acme");
    e.Addresses.SetFieldOf(a, 3, "0123");
    e.Created = 45000.5;
    TPrintRecord r;
    r.Book = book.get();
    r.Entry = &e;
    r.SortValue = "Smith Jo";
    TTextContext c;
    c.Now = 45100.75;
    c.Page = 7;
    c.ReturnAddress = "Ames\r\nLeeds";
    // Single-line: the values joined by one blank, line breaks within them blanks too.
    EXPECT_EQ(ObjectText(DataBox({1, 2}, true, 0, 0, 1, 1), r, c), "Jo  Anne Smith");
    EXPECT_EQ(ObjectText(DataBox({2, 4, 6}, false, 0, 0, 1, 1), r, c), "Smith\nAcme\n0123");
    EXPECT_EQ(ObjectText(DataBox({17, 18, 20}, true, 0, 0, 1, 1), r, c), "Smith Jo S ");
    EXPECT_EQ(ObjectText(Static("Fixed", 0, 0), r, c), "Fixed");
    TLayoutBox created = DataBox({}, true, 0, 0, 1, 1, kBoxCreated);
    EXPECT_EQ(ObjectText(created, r, c), "15/03/2023");
    EXPECT_EQ(ObjectText(DataBox({}, true, 0, 0, 1, 1, kBoxTimePrinted), r, c), "18:00");
    EXPECT_EQ(ObjectText(DataBox({}, true, 0, 0, 1, 1, kBoxLastCalled), r, c), "");
    EXPECT_EQ(ObjectText(DataBox({}, true, 0, 0, 1, 1, kBoxReturnAddress), r, c), "Ames\nLeeds");
    TLayoutBox page = DataBox({}, true, 0, 0, 1, 1, kBoxPageNumber);
    EXPECT_EQ(ObjectText(page, r, c), "7");
    page.Format = "%.4d";
    EXPECT_EQ(ObjectText(page, r, c), "0007");
    // Only "%.1d" to "%.9d" reach the formatting; any other pattern prints one digit.
    for (const char* bad : {"%s", "%.10d", "%.0d", "%n%n%n", "%.4x", "%.4dd", ""}) {
        page.Format = bad;
        EXPECT_EQ(ObjectText(page, r, c), "7") << bad;
    }

    TReminders reminder;
    reminder.When = 45010.5;
    reminder.NoTime = 1;
    reminder.Frequency = 3;
    reminder.Interval = 2;
    reminder.Priority = 4;
    reminder.AdvanceDays = 0;
    reminder.SetDescription("Call");
    r.Reminder = &reminder;
    c.Source = kSourceReminders;
    EXPECT_EQ(ObjectText(DataBox({0, 3, 4, 5, 6, 8}, true, 0, 0, 1, 1), r, c),
              "Jo  Anne Smith Call 4 Weekly 2 Week(s) N/A");
    EXPECT_EQ(ObjectText(DataBox({1}, true, 0, 0, 1, 1, kBoxDate), r, c), "25/03/2023");
    EXPECT_EQ(ObjectText(DataBox({2}, true, 0, 0, 1, 1, kBoxTime), r, c), "");
    c.Source = kSourceDiary;
    EXPECT_EQ(ObjectText(DataBox({2, 3, 7}, true, 0, 0, 1, 1), r, c), "Call 4 N/A");
    EXPECT_EQ(ObjectText(DataBox({0}, true, 0, 0, 1, 1, kBoxDate), r, c), "25/03/2023");
}

} // namespace
} // namespace tessaly
