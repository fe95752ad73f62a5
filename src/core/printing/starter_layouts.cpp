#include "core/printing/starter_layouts.h"

#include "core/printing/factory_papers.h"

#include <initializer_list>
#include <tuple>
#include <utility>

namespace tessaly {

namespace {

struct TItem {
    const char* Caption;
    int Field;
    int Kind = kBoxData;
};

TLayoutBox Box(int kind, int source, double left, double top, double width, double height,
               std::initializer_list<TItem> items, bool singleLine = false, int size = 10) {
    TLayoutBox b;
    b.Kind = kind;
    b.Source = source;
    b.Left = left;
    b.Top = top;
    b.Width = width;
    b.Height = height;
    b.FontSize = size;
    for (const TItem& i : items) {
        auto f = std::make_unique<TFields>();
        f->Caption = i.Caption;
        f->FieldNumber = i.Field;
        f->Kind = i.Kind;
        f->SingleLine = singleLine;
        b.Items.Add(std::move(f));
    }
    if (BoxHasFormat(kind))
        b.Format = DefaultBoxFormat(kind);
    return b;
}

TLayoutBox StaticText(const char* text, double left, double top, double width, double height,
                      int size, int style = 0) {
    TLayoutBox b = Box(kBoxStaticText, 1, left, top, width, height, {{text, 0, kBoxStaticText}});
    b.FontSize = size;
    b.FontStyle = style;
    return b;
}

TLayoutBox Line(double left, double top, double width) {
    TLayoutBox b = Box(kBoxHorizontalLine, 1, left, top, width, 1, {});
    b.PenWidth = 1;
    return b;
}

// The entry's name (its display text) on one line and the formatted address under it.
void AddressBlock(TBand& band, double left, double top, double width, double height, int size) {
    band.push_back(
        Box(kBoxData, kSourceEntries, left, top, width, 5.5, {{"Name", 19}}, true, size));
    band.push_back(Box(kBoxAddress, kSourceEntries, left, top + 5.5, width, height - 5.5,
                       {{"Address", 5, kBoxAddress}}, false, size));
}

// A listing's header: its title, the date printed and a rule; the footer's page number.
void ListingBands(TLayoutObjects& o, const char* title, int source, double width) {
    TLayoutBox heading = StaticText(title, 0, 5, width - 45, 8, 14, 1);
    heading.Source = source;
    o.Header.push_back(heading);
    TLayoutBox date = Box(kBoxDatePrinted, source, width - 40, 7, 40, 6, {});
    date.Alignment = kAlignRight;
    o.Header.push_back(date);
    TLayoutBox rule = Line(0, 16, width);
    rule.Source = source;
    o.Header.push_back(rule);
    TLayoutBox page = Box(kBoxPageNumber, source, width / 2 - 10, 5, 20, 6, {});
    page.Alignment = kAlignCentre;
    o.Footer.push_back(page);
}

struct TStarter {
    const char* Name;
    int Source;
    const std::string Paper;
    bool Listing;
    TLayoutObjects Objects;
};

} // namespace

int AddStarterLayouts(TPrintCatalogues& c, int countryCode) {
    const std::string listing = DefaultListingName(countryCode);
    const TPaper* listingPaper = c.Papers.ByName(listing);
    // The listings span the sheet less a margin of 15 mm each side.
    const double width = listingPaper ? listingPaper->WidthMm() - 30 : 180;

    std::vector<TStarter> starters;
    {
        TStarter s{"Address Labels (A4)",
                   kSourceEntries,
                   "Address Labels A4, 2 x 7, 99.1 x 38.1 mm",
                   false,
                   {}};
        AddressBlock(s.Objects.Body, 5, 4, 89, 30, 10);
        starters.push_back(std::move(s));
    }
    {
        TStarter s{"Address Labels (Letter)",
                   kSourceEntries,
                   "Address Labels Letter, 3 x 10, 2 5/8 x 1 in.",
                   false,
                   {}};
        AddressBlock(s.Objects.Body, 3, 2, 60, 21, 8);
        starters.push_back(std::move(s));
    }
    for (auto [name, paper, left, top] :
         {std::tuple{"Envelope (DL)", "Envelope DL, 110 x 220 mm", 95.0, 50.0},
          std::tuple{"Envelope (#10)", "Envelope #10, 4 1/8 x 9\xBD in.", 115.0, 48.0}}) {
        TStarter s{name, kSourceEntries, paper, false, {}};
        s.Objects.Body.push_back(
            Box(kBoxReturnAddress, kSourceEntries, 10, 8, 80, 25, {}, false, 8));
        AddressBlock(s.Objects.Body, left, top, 110, 45, 11);
        starters.push_back(std::move(s));
    }
    {
        TStarter s{"Telephone List", kSourceEntries, listing, true, {}};
        ListingBands(s.Objects, "Telephone List", kSourceEntries, width);
        s.Objects.Body.push_back(
            Box(kBoxData, kSourceEntries, 0, 0, 80, 5, {{"Display Text", 19}}, true, 9));
        for (int i = 0; i < 3; ++i)
            s.Objects.Body.push_back(Box(kBoxData, kSourceEntries, 82 + i * 33, 0, 32, 5,
                                         {{"Telephone", 6 + i}}, true, 9));
        starters.push_back(std::move(s));
    }
    {
        TStarter s{"Reminder List", kSourceReminders, listing, true, {}};
        ListingBands(s.Objects, "Reminders", kSourceReminders, width);
        auto& body = s.Objects.Body;
        body.push_back(Box(kBoxDate, kSourceReminders, 0, 0, 24, 5,
                           {{"Scheduled Date", 1, kBoxDate}}, true, 9));
        body.push_back(Box(kBoxTime, kSourceReminders, 25, 0, 14, 5,
                           {{"Scheduled Time", 2, kBoxTime}}, true, 9));
        body.push_back(Box(kBoxData, kSourceReminders, 40, 0, 60, 5, {{"Entry Name", 0}}, true, 9));
        body.push_back(
            Box(kBoxData, kSourceReminders, 102, 0, width - 102, 5, {{"Description", 3}}, true, 9));
        starters.push_back(std::move(s));
    }
    {
        TStarter s{"Diary List", kSourceDiary, listing, true, {}};
        ListingBands(s.Objects, "Diary", kSourceDiary, width);
        auto& body = s.Objects.Body;
        body.push_back(
            Box(kBoxDate, kSourceDiary, 0, 0, 24, 5, {{"Scheduled Date", 0, kBoxDate}}, true, 9));
        body.push_back(
            Box(kBoxTime, kSourceDiary, 25, 0, 14, 5, {{"Scheduled Time", 1, kBoxTime}}, true, 9));
        body.push_back(
            Box(kBoxData, kSourceDiary, 40, 0, width - 40, 5, {{"Description", 2}}, true, 9));
        starters.push_back(std::move(s));
    }

    int made = 0;
    for (auto& s : starters) {
        const TPaper* paper = c.Papers.ByName(s.Paper);
        if (!paper || c.Layouts.ByName(s.Name))
            continue;
        TLayout* layout = c.CreateLayout(s.Name, s.Source, paper->Number);
        if (!layout)
            break;
        if (s.Listing) {
            // The listing's columns start 15 mm in from the sheet's printable edge.
            for (TBand* band : {&s.Objects.Header, &s.Objects.Body, &s.Objects.Footer})
                for (TLayoutBox& b : *band)
                    b.Left += 15;
            layout->Headers = layout->Footers = true;
            layout->HeaderHeight = 20;
            layout->FooterHeight = 15;
        }
        if (!c.WriteObjects(layout->Number, s.Objects).Ok) {
            c.Layouts.Remove(layout);
            continue;
        }
        ++made;
    }
    return made;
}

} // namespace tessaly
