#include "core/printing/catalogue_rules.h"

#include "core/common/fill_text.h"
#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/organise/item_name_check.h"
#include "core/printing/factory_papers.h"
#include "core/printing/print_run.h"
#include "core/store/book.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tessaly {

const char kFeedOrientationQuestion[] =
    "You have selected to change the default Orientation for the Envelope Feed selected. "
    "Changing the default could affect the printed Envelope.\n\nAre you sure you wish to do "
    "this ?";

namespace {

template <class List> std::vector<std::string> NamesOf(const List& list) {
    std::vector<std::string> names;
    for (const auto& item : list)
        names.push_back(item->NameText());
    return names;
}

TDialogMessage Denied(const char* text) {
    return TDialogMessage{kMsgTitleRequiredField, text, kMsgKindError, kMsgButtonsOk};
}

TDialogMessage Question(std::string text) {
    return TDialogMessage{kMsgTitleDeletionRequested, std::move(text), kMsgKindConfirmation,
                          kMsgButtonsYesNo};
}

} // namespace

std::optional<double> ParsePaperLength(std::string_view text, bool zeroAllowed) {
    const std::string t = Trim(text);
    double v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(v))
        return std::nullopt;
    if (zeroAllowed ? v < 0 : v < 0.01)
        return std::nullopt;
    return v;
}

std::optional<int> ParseLabelCount(std::string_view text) {
    const std::string t = Trim(text);
    int v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size() || v < 1)
        return std::nullopt;
    return v;
}

std::optional<TDialogMessage> CheckPaperName(const TPaperList& papers, std::string_view name,
                                             std::string_view originalName) {
    return CheckItemName(TNameMode::Paper, NamesOf(papers), name, originalName);
}

std::optional<TDialogMessage> CheckLayoutName(const TLayoutList& layouts, std::string_view name,
                                              std::string_view originalName) {
    return CheckItemName(TNameMode::Layout, NamesOf(layouts), name, originalName);
}

std::optional<TDialogMessage> CheckLayoutChoices(const TPaperList& papers, int paperNumber,
                                                 std::string_view printer) {
    if (!papers.Exists(paperNumber))
        return Denied("A Paper Size must be selected to be used with this Page Layout.\n\nPlease "
                      "select the required Paper, before continuing");
    if (Trim(printer).empty())
        return Denied("You must Select a Printer to be used for printing this Layout\n\nPlease "
                      "select the required printer before continuing");
    return std::nullopt;
}

std::optional<TDialogMessage> CheckQuickReport(const TQReportList& reports,
                                               const TLayoutList& layouts, std::string_view name,
                                               std::string_view originalName, int layoutNumber) {
    if (auto refused = CheckItemName(TNameMode::QReport, NamesOf(reports), name, originalName))
        return refused;
    if (!layouts.Exists(layoutNumber))
        return TDialogMessage{kMsgTitleValidationFailed, kInvalidLayoutMessage, kMsgKindError,
                              kMsgButtonsOk};
    return std::nullopt;
}

void ApplyPaperKind(TLayout& layout, const TPaperList& papers) {
    const int type = papers.TypeByNumber(layout.PaperNumber);
    if (type == kPaperListing) {
        layout.Headers = layout.Footers = true;
        return;
    }
    if (type != kPaperEnvelope && type != kPaperLabel)
        return;
    layout.Headers = layout.Footers = false;
    layout.PageControl = kAutomaticPages;
    if (type == kPaperEnvelope)
        layout.Portrait = true;
}

std::vector<int> PageControlChoices(int source) {
    switch (source) {
    case kSourceEntries:
        return {kAutomaticPages, kBreakOnEntry, kBreakOnIndexCharacter};
    case kSourceReminders:
    case kSourceCallLogs:
        return {kAutomaticPages, kBreakOnEntry};
    case kSourceDiary:
        return {kAutomaticPages, kBreakOnEventDate};
    default:
        return {kAutomaticPages};
    }
}

int PreselectedListing(const TPaperList& papers, int countryCode) {
    const TPaper* named = papers.ByName(DefaultListingName(countryCode));
    if (named && named->Type == kPaperListing)
        return named->Number;
    for (const auto& p : papers)
        if (p->Type == kPaperListing)
            return p->Number;
    return kNoNumber;
}

bool FeedIsPortrait(int feed) {
    return feed >= 1 && feed <= 3;
}

TDialogMessage DeletePaperQuestion(std::string_view name) {
    return Question(FillText("Delete Paper Size: \"%s\"\n\nAre you sure you wish to Delete this "
                             "Paper Size definition ?",
                             {name}));
}

TDialogMessage DeleteLayoutQuestion(std::string_view name) {
    return Question(
        FillText("Page Layout: %s \n\nAre you sure you wish to delete this Page Layout ?", {name}));
}

TDialogMessage DeleteQuickReportQuestion(std::string_view name) {
    return Question(FillText(
        "Quick Report: \"%s\"\n\nAre you sure you wish to Delete this Saved Report ?", {name}));
}

bool IsDiaryReport(const TQReport& report, const TLayoutList& layouts) {
    const int source = layouts.SourceByNumber(report.LayoutNumber);
    return source == kSourceDiary || source == kSourceCalendar;
}

namespace {

struct TPaletteField {
    int Template; // 0 the first (the name fields), 1 the second (the first address)
    int Field;
};

// The entry palette's order: position i is this template field.
constexpr TPaletteField kEntryPalette[] = {
    {0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5},
    {1, 6}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8}, {0, 9},
};

std::string EntryCaption(const TTemplateList& templates, int position) {
    const TPaletteField f = kEntryPalette[position];
    const TTemplate* t = templates.At(f.Template);
    std::string caption = t ? Trim(t->Captions[static_cast<std::size_t>(f.Field)].view()) : "";
    if (caption.empty()) {
        char unlabelled[32];
        std::snprintf(unlabelled, sizeof unlabelled, "[%.2d] Unlabled", position);
        caption = unlabelled;
    }
    return caption;
}

std::vector<TLayoutRecord> Fixed(std::initializer_list<std::pair<const char*, int>> items) {
    std::vector<TLayoutRecord> out;
    int position = 0;
    for (const auto& [caption, kind] : items)
        out.push_back({position++, kind, caption});
    return out;
}

} // namespace

std::vector<int> ReportTypes(bool diary) {
    if (diary)
        return {kSourceDiary, kSourceCalendar};
    return {kSourceEntries, kSourceReminders, kSourceCallLogs};
}

std::string ReportTypeCaption(int source, bool diary) {
    switch (source) {
    case 0:
        return diary ? "<All Report Types>" : "<All Address Book Reports>";
    case kSourceEntries:
        return "Address Book Entry Reports";
    case kSourceReminders:
        return "Address Book Reminder Reports";
    case kSourceCallLogs:
        return "Address Book Call Log Reports";
    case kSourceDiary:
        return "Diary Event Reports";
    case kSourceCalendar:
        return "Calendar Prints";
    default:
        return std::string();
    }
}

TQReport* StoreQuickReport(TQReportList& reports, TReportLinks& links, const TQReport& edited,
                           std::string_view originalName) {
    TQReport* target = originalName.empty() ? nullptr : reports.ByName(originalName);
    if (!target)
        target = reports.Create(edited.NameText());
    if (!target)
        return nullptr;
    const std::string before = target->NameText();
    *target = edited;
    for (std::string& link : links)
        if (IsLinked(link) && !before.empty() && SameText(link, before))
            link = target->NameText();
    return target;
}

std::vector<TSortFieldChoice> SortFieldChoices(const TBookData* book) {
    TBookData builtIn;
    if (!book)
        builtIn.SetBuiltInDefaults();
    const TTemplateList& templates = book ? book->Templates : builtIn.Templates;
    // Sort fields 0 to 15 are the entry palette's fields of the same position; 16 to 21
    // the lines of the address (palette position 5).
    std::vector<TSortFieldChoice> out;
    for (int n = 0; n <= 15; ++n)
        if (n != 5)
            out.push_back({n, EntryCaption(templates, n)});
    const std::string address = EntryCaption(templates, 5);
    for (int line = 1; line <= 6; ++line)
        out.push_back({15 + line, address + " Line " + std::to_string(line)});
    return out;
}

std::vector<TLayoutRecord> DataPalette(int source, const TBookData* book) {
    switch (source) {
    case kSourceEntries: {
        TBookData builtIn;
        if (!book)
            builtIn.SetBuiltInDefaults();
        const TTemplateList& templates = book ? book->Templates : builtIn.Templates;
        std::vector<TLayoutRecord> out;
        for (int i = 0; i < static_cast<int>(std::size(kEntryPalette)); ++i)
            out.push_back({i, i == 5 ? kBoxAddress : kBoxData, EntryCaption(templates, i)});
        return out;
    }
    case kSourceReminders:
        return Fixed({{"Entry Name", kBoxData},
                      {"Scheduled Date", kBoxDate},
                      {"Scheduled Time", kBoxTime},
                      {"Description", kBoxData},
                      {"Priority", kBoxData},
                      {"Frequency", kBoxData},
                      {"Frequency Period", kBoxData},
                      {"Scheduled Until", kBoxDate},
                      {"Advance Warning", kBoxData},
                      {"Notes", kBoxData}});
    case kSourceCallLogs:
        return Fixed({{"Entry Called", kBoxData},
                      {"Number Called", kBoxData},
                      {"Date Started", kBoxDate},
                      {"Time Started", kBoxTime},
                      {"Date Finished", kBoxDate},
                      {"Time Finished", kBoxTime},
                      {"Call Duration", kBoxData},
                      {"Comments", kBoxData}});
    case kSourceDiary:
        return Fixed({{"Scheduled Date", kBoxDate},
                      {"Scheduled Time", kBoxTime},
                      {"Description", kBoxData},
                      {"Priority", kBoxData},
                      {"Frequency", kBoxData},
                      {"Frequency Period", kBoxData},
                      {"Scheduled Until", kBoxDate},
                      {"Advance Warning", kBoxData}});
    default:
        return {};
    }
}

void RefreshEntryCaptions(TLayoutObjects& objects, const TBookData& book) {
    for (TBand* band : {&objects.Header, &objects.Body, &objects.Footer})
        for (TLayoutBox& box : *band) {
            if (box.Source != kSourceEntries || box.Behaviour() == kBoxStaticText)
                continue;
            for (const auto& item : box.Items) {
                const int n = item->FieldNumber;
                if (n < 0 || n >= static_cast<int>(std::size(kEntryPalette)))
                    continue;
                const TPaletteField f = kEntryPalette[n];
                const TTemplate* t = book.Templates.At(f.Template);
                if (t)
                    item->Caption = t->Captions[static_cast<std::size_t>(f.Field)];
            }
        }
}

} // namespace tessaly
