// What the paper, layout and quick report dialogs decide: the checks of their OK
// buttons, the choices and questions they offer, and the entry data palette.

#include "core/printing/catalogue_rules.h"
#include "core/printing/factory_papers.h"
#include "core/printing/preview_zoom.h"
#include "core/printing/print_run.h"
#include "core/settings/settings.h"
#include "core/store/book.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(PaperDialog, LengthsCountsAndNames) {
    EXPECT_EQ(ParsePaperLength("0.01", false), 0.01);
    EXPECT_EQ(ParsePaperLength(" 215.9 ", false), 215.9);
    EXPECT_FALSE(ParsePaperLength("0.005", false));
    EXPECT_FALSE(ParsePaperLength("0", false));
    EXPECT_EQ(ParsePaperLength("0", true), 0.0);
    for (const char* bad : {"", "-1", "abc", "12,5", "5 mm", "nan", "inf"}) {
        EXPECT_FALSE(ParsePaperLength(bad, true)) << bad;
    }
    EXPECT_EQ(ParseLabelCount(" 4 "), 4);
    for (const char* bad : {"0", "-2", "2.5", "", "x", "99999999999"})
        EXPECT_FALSE(ParseLabelCount(bad)) << bad;

    TFactoryPapers library("");
    const TPaperList papers = BuildFactoryPapers(library);
    const auto empty = CheckPaperName(papers, "   ", "");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Text, "A Name for this Paper Size must be specified.\n\nPlease enter a "
                           "unique name and retry the request");
    const auto taken = CheckPaperName(papers, "a4, 210 x 297 MM", "Mine");
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Text, "A Paper Size Named \"a4, 210 x 297 MM\" is Already Defined.\n\nPlease "
                           "specify another Name to be used, as each Paper Size must have a "
                           "Unique Name.");
    EXPECT_FALSE(CheckPaperName(papers, "A4, 210 X 297 mm", kA4ListingName));
    EXPECT_FALSE(CheckPaperName(papers, "Mine", ""));
    EXPECT_TRUE(FeedIsPortrait(3));
    EXPECT_FALSE(FeedIsPortrait(4));
    EXPECT_EQ(DeletePaperQuestion("DL").Text,
              "Delete Paper Size: \"DL\"\n\nAre you sure you wish to Delete this Paper Size "
              "definition ?");
    EXPECT_EQ(DeletePaperQuestion("DL").Buttons, kMsgButtonsYesNo);
}

TEST(LayoutDialog, NamesPaperPrinterAndThePaperKindsRules) {
    TFactoryPapers library("");
    const TPaperList papers = BuildFactoryPapers(library);
    TLayoutList layouts;
    const auto none = [](int) { return false; };
    layouts.Create("Labels", kSourceEntries, 0, none);
    EXPECT_EQ(CheckLayoutName(layouts, "", "")->Text,
              "A Name for this Page Layout must be specified.\n\nPlease enter a unique name and "
              "retry the request");
    EXPECT_EQ(CheckLayoutName(layouts, "LABELS", "")->Text,
              "A Page Layout Named \"LABELS\" is Already Defined.\n\nPlease specify another "
              "Layout Name to be Used, as each Layout must have a Unique Name.");
    EXPECT_FALSE(CheckLayoutName(layouts, "labels", "Labels"));

    EXPECT_NE(CheckLayoutChoices(papers, 999, "lp")->Text.find("A Paper Size must be selected"),
              std::string::npos);
    EXPECT_NE(CheckLayoutChoices(papers, 0, " ")->Text.find("You must Select a Printer"),
              std::string::npos);
    EXPECT_FALSE(CheckLayoutChoices(papers, 0, "<Default Printer>"));

    const int a4 = PreselectedListing(papers, 44);
    const int letter = PreselectedListing(papers, 2);
    EXPECT_EQ(papers.NameByNumber(a4), kA4ListingName);
    EXPECT_EQ(papers.NameByNumber(letter), kLetterListingName);
    TPaperList own;
    own.Create("Envelope", kPaperEnvelope, 44);
    EXPECT_EQ(PreselectedListing(own, 44), kNoNumber);
    own.Create("Sheet", kPaperListing, 44);
    EXPECT_EQ(PreselectedListing(own, 1), 1);

    TLayout l;
    l.PaperNumber = a4;
    ApplyPaperKind(l, papers);
    EXPECT_TRUE(l.Headers && l.Footers);
    l.PageControl = kBreakOnEntry;
    l.Portrait = false;
    l.PaperNumber = papers.NumberByName("Envelope DL, 110 x 220 mm");
    ApplyPaperKind(l, papers);
    EXPECT_FALSE(l.Headers || l.Footers);
    EXPECT_EQ(l.PageControl, kAutomaticPages);
    EXPECT_TRUE(l.Portrait);
    l.Portrait = false;
    l.PaperNumber = papers.NumberByName("Address Labels A4, 3 x 7, 63.5 x 38.1 mm");
    ApplyPaperKind(l, papers);
    EXPECT_FALSE(l.Portrait); // a label sheet keeps its orientation

    EXPECT_EQ(PageControlChoices(kSourceEntries), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(PageControlChoices(kSourceCallLogs), (std::vector<int>{3, 1}));
    EXPECT_EQ(PageControlChoices(kSourceDiary), (std::vector<int>{3, 4}));
    EXPECT_EQ(DeleteLayoutQuestion("Labels").Text,
              "Page Layout: Labels \n\nAre you sure you wish to delete this Page Layout ?");
}

TEST(QuickReportDialog, NameLayoutAndFamily) {
    TLayoutList layouts;
    const auto none = [](int) { return false; };
    const int entries = layouts.Create("List", kSourceEntries, 0, none)->Number;
    const int diary = layouts.Create("Days", kSourceDiary, 0, none)->Number;
    TQReportList reports;
    reports.Create("Phone List")->LayoutNumber = entries;
    reports.Create("Week")->LayoutNumber = diary;
    EXPECT_EQ(CheckQuickReport(reports, layouts, "", "", entries)->Text,
              "A Name for the Quick Report must be Specified.\n\nEach Report needs to be assigned "
              "a unique name to identify that Report.");
    EXPECT_EQ(CheckQuickReport(reports, layouts, "week", "Phone List", entries)->Text,
              "A Quick Report Named \"week\" is Already Defined.\n\nPlease specify another Report "
              "Name to be Used, as each Report must have a Unique Name.");
    // Its own name in another letter case is no clash.
    EXPECT_FALSE(CheckQuickReport(reports, layouts, "PHONE LIST", "Phone List", entries));
    EXPECT_EQ(CheckQuickReport(reports, layouts, "New", "", 77)->Text, kInvalidLayoutMessage);
    EXPECT_FALSE(IsDiaryReport(*reports.At(0), layouts));
    EXPECT_TRUE(IsDiaryReport(*reports.At(1), layouts));
    EXPECT_EQ(DeleteQuickReportQuestion("Week").Title, kMsgTitleDeletionRequested);
}

TEST(QuickReportDialog, StoringAddsRenamesAndLinksFollow) {
    TQReportList reports;
    reports.Create("Phone List")->LayoutNumber = 3;
    reports.Create("Labels")->LayoutNumber = 4;
    TReportLinks links = {"phone list", "Labels", kNoLinkedReport};
    TQReport edited = *reports.At(0);
    edited.SetName("Telephones");
    edited.Copies = 2;
    const TQReport* stored = StoreQuickReport(reports, links, edited, "Phone List");
    ASSERT_EQ(stored, reports.At(0));
    EXPECT_EQ(reports.Count(), 2);
    EXPECT_EQ(stored->NameText(), "Telephones");
    EXPECT_EQ(stored->Copies, 2);
    // The link named the old name in another case: it follows; the others stay.
    EXPECT_EQ(links[kFirstBookLink], "Telephones");
    EXPECT_EQ(links[kSecondBookLink], "Labels");
    EXPECT_EQ(links[kDiaryLink], kNoLinkedReport);
    // Without a previous name (or one no report has) the report is added.
    TQReport fresh;
    fresh.SetName("Envelopes");
    ASSERT_TRUE(StoreQuickReport(reports, links, fresh, ""));
    ASSERT_TRUE(StoreQuickReport(reports, links, *reports.At(1), "Gone"));
    EXPECT_EQ(reports.Count(), 4);
    EXPECT_EQ(reports.NameAt(2), "Envelopes");
    EXPECT_EQ(links[kSecondBookLink], "Labels");
}

TEST(QuickReportDialog, TypesAndSortFields) {
    EXPECT_EQ(ReportTypes(false),
              (std::vector<int>{kSourceEntries, kSourceReminders, kSourceCallLogs}));
    EXPECT_EQ(ReportTypes(true), (std::vector<int>{kSourceDiary, kSourceCalendar}));
    EXPECT_EQ(ReportTypeCaption(0), "<All Address Book Reports>");
    EXPECT_EQ(ReportTypeCaption(0, true), "<All Report Types>");
    EXPECT_EQ(ReportTypeCaption(kSourceCallLogs), "Address Book Call Log Reports");
    EXPECT_EQ(ReportTypeCaption(kSourceCalendar), "Calendar Prints");

    TBookData book;
    book.SetBuiltInDefaults();
    book.Templates.At(0)->Captions[3] = std::string("Nickname");
    const auto fields = SortFieldChoices(&book);
    // 0 to 21 without the formatted address, which sorts nothing.
    ASSERT_EQ(fields.size(), 21u);
    EXPECT_EQ(fields[0].Number, 0);
    EXPECT_EQ(fields[0].Caption, book.Templates.At(0)->Captions[0].str());
    EXPECT_EQ(fields[4].Number, 4);
    EXPECT_EQ(fields[5].Number, 6);
    // Sort field 10 is name field 3.
    EXPECT_EQ(fields[9].Number, 10);
    EXPECT_EQ(fields[9].Caption, "Nickname");
    EXPECT_EQ(fields[15].Number, 16);
    EXPECT_EQ(fields[15].Caption, DataPalette(kSourceEntries, &book)[5].Caption + " Line 1");
    EXPECT_EQ(fields[20].Number, 21);
    EXPECT_EQ(SortFieldChoices(nullptr).size(), 21u);
}

TEST(PreviewZoom, KeptValuesAndChoices) {
    for (const char* choice : kZoomChoices)
        EXPECT_EQ(ZoomChoiceOfScale(ScaleOfZoomChoice(choice)), choice);
    EXPECT_EQ(ScaleOfZoomChoice("Page Width"), 0);
    EXPECT_EQ(ScaleOfZoomChoice("Full Page"), -1);
    EXPECT_EQ(ScaleOfZoomChoice("60%"), 60);
    EXPECT_EQ(ScaleOfZoomChoice("nonsense"), 100);
    // A percentage the box lacks: the nearest it offers; beyond reason: 100 %.
    EXPECT_EQ(ZoomChoiceOfScale(75), "80%");
    EXPECT_EQ(ZoomChoiceOfScale(5), "20%");
    EXPECT_EQ(ZoomChoiceOfScale(-7), "100%");
    EXPECT_EQ(ZoomChoiceOfScale(100000), "100%");
}

TEST(DataPalette, EntryFieldsInTemplateOrderAndTheFixedLists) {
    TBookData book;
    book.SetBuiltInDefaults();
    book.Templates.At(1)->Captions[4] = std::string(); // the second template's field 4
    book.Templates.At(0)->Captions[5] = std::string("Nickname");
    const auto palette = DataPalette(kSourceEntries, &book);
    ASSERT_EQ(palette.size(), 17u);
    EXPECT_EQ(palette[0].Caption, book.Templates.At(0)->Captions[0].str());
    EXPECT_EQ(palette[3].Caption, book.Templates.At(1)->Captions[0].str());
    EXPECT_EQ(palette[5].Kind, kBoxAddress);
    EXPECT_EQ(palette[6].Kind, kBoxData);
    EXPECT_EQ(palette[7].Caption, "[07] Unlabled");
    EXPECT_EQ(palette[12].Caption, "Nickname");
    EXPECT_EQ(palette[16].Position, 16);
    // Without a book, the built-in templates' captions.
    EXPECT_EQ(DataPalette(kSourceEntries, nullptr)[1].Caption, "First Name");
    EXPECT_EQ(DataPalette(kSourceEntries, nullptr)[2].Caption, "Surname");

    const auto reminders = DataPalette(kSourceReminders, nullptr);
    ASSERT_EQ(reminders.size(), 10u);
    EXPECT_EQ(reminders[1].Caption, "Scheduled Date");
    EXPECT_EQ(reminders[2].Kind, kBoxTime);
    EXPECT_EQ(reminders[7].Kind, kBoxDate);
    EXPECT_EQ(DataPalette(kSourceCallLogs, nullptr).size(), 8u);
    const auto diary = DataPalette(kSourceDiary, nullptr);
    ASSERT_EQ(diary.size(), 8u);
    EXPECT_EQ(diary[6].Caption, "Scheduled Until");

    // Objects read for the designer take the book's captions; static text keeps its text.
    TLayoutObjects objects;
    TLayoutBox data;
    for (int n : {2, 7, 12, 40}) {
        auto item = std::make_unique<TFields>();
        item->FieldNumber = n;
        item->Caption = "old";
        data.Items.Add(std::move(item));
    }
    objects.Body.push_back(std::move(data));
    TLayoutBox text;
    text.Kind = kBoxStaticText;
    text.Items.Add(std::make_unique<TFields>());
    text.Items.At(0)->Caption = "Dear";
    objects.Header.push_back(std::move(text));
    RefreshEntryCaptions(objects, book);
    const auto& items = objects.Body[0].Items;
    EXPECT_EQ(items.At(0)->Caption, book.Templates.At(0)->Captions[2]);
    EXPECT_EQ(items.At(1)->Caption, book.Templates.At(1)->Captions[4]);
    EXPECT_EQ(items.At(2)->Caption, "Nickname");
    EXPECT_EQ(items.At(3)->Caption, "old");
    EXPECT_EQ(objects.Header[0].Items.At(0)->Caption, "Dear");
}

} // namespace
} // namespace tessaly
