#include "core/printing/print_run.h"

#include "core/common/upper_case.h"
#include "core/diary/diary.h"
#include "core/organise/entry_text.h"
#include "core/printing/box_items.h"
#include "core/printing/catalogues.h"
#include "core/printing/factory_papers.h"
#include "core/printing/object_text.h"
#include "core/store/book.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessaly {

const char kInvalidLayoutMessage[] =
    "The Page Layout Selected is Invalid.\n\nPlease specify a valid "
    "Page Layout to be used, before continuing";

namespace {

constexpr const char* kNoEntrySelected = "No Entry is Selected to be Printed.";
constexpr const char* kNothingToPrint = "There is Nothing to Print for the Selection made.";
constexpr const char* kBadPaper =
    "The Paper Size of this Page Layout cannot be Printed.\n\nPlease check its sizes and its "
    "label grid in the Paper Setup.";
constexpr const char* kTooManyPages =
    "This Print would take too many Pages.\n\nPlease print fewer Records, Copies or Labels at "
    "a time.";
// No sheet is smaller or larger than this (millimetres).
constexpr double kSmallestSheet = 5, kLargestSheet = 5000;

std::string SortValueOf(const TBookData& book, const TRecord& entry, int sortField) {
    return sortField < 0 ? SortText(entry, book.IndexKeys) : SortValue(entry, sortField);
}

bool InDays(TDateTime t, const TQReport& q) {
    if (q.AllDates)
        return true;
    const TDateTime day = DateOf(t);
    return day >= DateOf(q.FirstDate) && day <= DateOf(q.LastDate);
}

class TRun {
public:
    TRun(const TPrintRequest& q, const TPrintSource& source)
        : q_(q), source_(source), layout_(*q.Layout), paper_(*q.Paper), objects_(*q.Objects) {}

    TPlanResult Run() {
        TPlanResult result;
        if (!Prepare(result.Message))
            return result;
        result.Plan.Title = q_.Parameters.NameText();
        result.Plan.Copies = paper_.Type == kPaperLabel ? 1 : std::max(1, q_.Parameters.Copies);
        plan_ = &result.Plan;
        const bool completed = Walk(result) && !tooLong_;
        if (!first_ && !tooLong_)
            EndPage();
        if (tooLong_) {
            result.Plan.Pages.clear();
            result.Message = kTooManyPages;
            return result;
        }
        result.Cancelled = !completed;
        result.Ok = completed && !result.Plan.Pages.empty();
        if (completed && result.Plan.Pages.empty() && result.Message.empty()) {
            result.Ok = false;
            result.Message = kNothingToPrint;
        }
        return result;
    }

private:
    bool Prepare(std::string& message) {
        const int source = layout_.Source;
        if (source == kSourceDiary ? !source_.Diary : !source_.Book) {
            message = source == kSourceDiary
                          ? "This Page Layout prints Diary Book Events: it can only be printed "
                            "from a Diary."
                          : "This Page Layout prints from an Address Book: it can only be "
                            "printed from an Address Book.";
            return false;
        }
        const bool label = paper_.Type == kPaperLabel;
        const bool envelope = paper_.Type == kPaperEnvelope;
        const double w = paper_.WidthMm(), h = paper_.HeightMm();
        if (!(w >= kSmallestSheet && w <= kLargestSheet && h >= kSmallestSheet &&
              h <= kLargestSheet)) {
            message = kBadPaper;
            return false;
        }
        landscape_ = !(envelope ? paper_.Portrait : layout_.Portrait);
        supported_ = q_.Device.Supports(paper_.SystemCode);
        const int defaultCode = DefaultPaperCode(q_.CountryCode);
        const double defaultW = defaultCode == 1 ? 215.9 : 210,
                     defaultH = defaultCode == 1 ? 279.4 : 297;
        // The page in its portrait form: the paper's own when the device takes its code,
        // else the locale's default paper.
        double baseW = supported_ ? w : defaultW, baseH = supported_ ? h : defaultH;
        pageCode_ = supported_ ? paper_.SystemCode : defaultCode;
        pageW_ = landscape_ ? baseH : baseW;
        pageH_ = landscape_ ? baseW : baseH;

        leftMargin_ = std::max(0.0, q_.Device.LeftMargin);
        topMargin_ = std::max(0.0, q_.Device.TopMargin);
        bottomMargin_ = std::max(0.0, q_.Device.BottomMargin);

        if (envelope && !supported_)
            PlaceEnvelope(defaultW, defaultH, landscape_ ? h : w, landscape_ ? w : h);

        if (label) {
            if (paper_.LabelsAcross < 1 || paper_.LabelsDown < 1 || paper_.LabelWidthMm() <= 0 ||
                paper_.LabelHeightMm() <= 0) {
                message = kBadPaper;
                return false;
            }
            if (!landscape_) {
                columns_ = paper_.LabelsAcross;
                rows_ = paper_.LabelsDown;
                cellW_ = paper_.LabelWidthMm();
                cellH_ = paper_.LabelHeightMm();
                gapX_ = paper_.HorizontalGapMm();
                gapY_ = paper_.VerticalGapMm();
                originX_ = paper_.LeftMarginMm();
                originY_ = paper_.TopMarginMm();
            } else {
                columns_ = paper_.LabelsDown;
                rows_ = paper_.LabelsAcross;
                cellW_ = paper_.LabelHeightMm();
                cellH_ = paper_.LabelWidthMm();
                gapX_ = paper_.VerticalGapMm();
                gapY_ = paper_.HorizontalGapMm();
                originX_ = paper_.TopMarginMm();
                originY_ = paper_.LeftMarginMm();
            }
            const long long cells = static_cast<long long>(columns_) * rows_;
            const int s = static_cast<int>(std::clamp<long long>(q_.StartingLabel, 1, cells)) - 1;
            row_ = s / columns_;
            column_ = s % columns_;
            PlaceLabel();
        }
        detail_ = objects_.DetailHeight();
        text_.Source = layout_.Source;
        text_.Now = q_.Now;
        text_.ReturnAddress = q_.ReturnAddress;
        text_.Formats = q_.Formats;
        return true;
    }

    // Where an envelope lies on the default page when the device cannot take its size.
    void PlaceEnvelope(double W, double H, double w, double h) {
        int feed = paper_.EnvelopeFeed;
        if (paper_.FaceUp) {
            if (feed == 1 || feed == 3)
                feed = 4 - feed;
            else if (feed == 4 || feed == 6)
                feed = 10 - feed;
        }
        switch (feed) {
        case 1:
            envelopeX_ = W - w;
            break;
        case 2:
            envelopeX_ = (W - w) / 2;
            break;
        case 3:
            envelopeX_ = 0;
            break;
        case 4:
        case 5:
        case 6:
            envelopeX_ = q_.Device.LandscapeAngle == 90 ? H - h : 0;
            envelopeY_ = feed == 5 ? (W - w) / 2 : feed == 6 ? W - w : 0;
            break;
        default:
            break;
        }
    }

    void PlaceLabel() {
        labelX_ = originX_ + column_ * (cellW_ + gapX_);
        labelY_ = originY_ + row_ * (cellH_ + gapY_);
    }

    // Walks the records; false when the run was stopped.
    bool Walk(TPlanResult& result) {
        const TQReport& p = q_.Parameters;
        const int source = layout_.Source;
        if (source == kSourceDiary) {
            const TDiaryData& diary = *source_.Diary;
            const std::vector<int> order = DiaryOrder(diary, p);
            for (std::size_t i = 0; i < order.size(); ++i) {
                TPrintRecord r;
                r.Reminder = diary.Events.At(order[i]);
                Print(r);
                ++result.Records;
                if (!Tell(static_cast<int>(i) + 1, static_cast<int>(order.size())))
                    return false;
            }
            return true;
        }
        const TBookData& book = *source_.Book;
        if (p.Selection == kSelectEntry &&
            (source_.Selected < 0 || source_.Selected >= book.Entries.Count())) {
            result.Message = kNoEntrySelected;
            return true;
        }
        const std::vector<int> order = EntryOrder(book, source_, p.Selection, p.SortField);
        const int repeats = Repeats();
        for (std::size_t i = 0; i < order.size(); ++i) {
            const TRecord& entry = *book.Entries.At(order[i]);
            TPrintRecord r;
            r.Book = &book;
            r.Entry = &entry;
            r.SortValue = SortValueOf(book, entry, p.SortField);
            if (source == kSourceEntries) {
                const int addresses = p.FirstAddressOnly ? 1 : std::max(1, entry.Addresses.Count());
                for (int a = 0; a < addresses; ++a) {
                    r.AddressIndex = a;
                    for (int k = 0; k < repeats; ++k)
                        Print(r);
                }
            } else if (source == kSourceReminders) {
                for (const auto& reminder : entry.Reminders) {
                    if (!InDays(reminder->When, p) || (!p.IncludeCompleted && reminder->Completed))
                        continue;
                    r.Reminder = reminder.get();
                    Print(r);
                }
            } else if (source == kSourceCallLogs) {
                for (const auto& call : entry.CallLogs) {
                    if (!InDays(call->Start, p))
                        continue;
                    r.Call = call.get();
                    Print(r);
                }
            }
            ++result.Records;
            if (!Tell(static_cast<int>(i) + 1, static_cast<int>(order.size())))
                return false;
        }
        return true;
    }

    bool Tell(int done, int total) {
        return !tooLong_ && (!q_.Progress || q_.Progress(done, total));
    }

    int Repeats() const {
        if (paper_.Type != kPaperLabel)
            return 1;
        switch (q_.Parameters.LabelFill) {
        case kFillSheet:
            return columns_ * rows_;
        case kFillRow:
            return columns_;
        case kFillOne:
            return 1;
        default:
            return std::clamp(q_.Parameters.Copies, 1, columns_ * rows_ * 100);
        }
    }

    // Every print but the first of the run is preceded by one advance.
    void Print(const TPrintRecord& r) {
        if (tooLong_)
            return;
        if (first_) {
            first_ = false;
            BeginPage(r);
        } else {
            Advance(r);
        }
        const bool label = paper_.Type == kPaperLabel;
        const double x = label ? labelX_ : paper_.Type == kPaperEnvelope ? envelopeX_ : 0;
        const double y = label ? labelY_ : y_;
        for (const TLayoutBox& box : objects_.Body)
            Render(box, r, x, y);
        if (!label)
            y_ += detail_;
        printedOnPage_ = true;
        last_ = r;
        havePrevious_ = true;
    }

    void Advance(const TPrintRecord& r) {
        switch (paper_.Type) {
        case kPaperEnvelope:
            if (printedOnPage_)
                NewPage(r);
            return;
        case kPaperLabel:
            if (++column_ >= columns_) {
                column_ = 0;
                if (++row_ >= rows_) {
                    NewPage(r);
                    row_ = 0;
                }
            }
            PlaceLabel();
            return;
        default:
            break;
        }
        switch (layout_.PageControl) {
        case kBreakOnEntry:
            if (havePrevious_ && r.Entry != last_.Entry) {
                NewPage(r);
                return;
            }
            break;
        case kBreakOnIndexCharacter:
            if (havePrevious_ &&
                CompareNoCase(r.SortValue.substr(0, 1), last_.SortValue.substr(0, 1)) != 0) {
                NewPage(r);
                return;
            }
            break;
        case kBreakOnEventDate:
            if (havePrevious_ && r.Reminder && last_.Reminder &&
                DateOf(r.Reminder->When) != DateOf(last_.Reminder->When)) {
                NewPage(r);
                return;
            }
            break;
        default:
            break;
        }
        // The automatic rule: the detail must end above the footer, and the footer
        // above the bottom's unprintable margin.
        const double limit = pageH_ - bottomMargin_ - (layout_.Footers ? layout_.FooterHeight : 0);
        if (y_ + detail_ > limit && printedOnPage_)
            NewPage(r);
    }

    void NewPage(const TPrintRecord& r) {
        EndPage();
        BeginPage(r);
    }

    void BeginPage(const TPrintRecord& r) {
        if (plan_->Pages.size() >= q_.MaxPages)
            tooLong_ = true;
        TPlanPage page;
        page.Width = pageW_;
        page.Height = pageH_;
        page.Landscape = landscape_;
        page.PaperCode = pageCode_;
        plan_->Pages.push_back(std::move(page));
        text_.Page = static_cast<int>(plan_->Pages.size());
        printedOnPage_ = false;
        const bool label = paper_.Type == kPaperLabel;
        y_ = label ? 0 : (layout_.Headers ? layout_.HeaderHeight : 0) + topMargin_;
        if (paper_.Type == kPaperEnvelope)
            y_ += envelopeY_;
        if (layout_.Headers)
            for (const TLayoutBox& box : objects_.Header)
                Render(box, r, 0, topMargin_);
    }

    void EndPage() {
        if (!layout_.Footers || !printedOnPage_)
            return;
        const double origin = pageH_ - (layout_.FooterHeight + bottomMargin_);
        for (const TLayoutBox& box : objects_.Footer)
            Render(box, last_, 0, origin);
    }

    void Render(const TLayoutBox& box, const TPrintRecord& r, double x, double y) {
        double left = x + box.Left;
        if (paper_.Type != kPaperLabel)
            left += leftMargin_;
        AppendBoxItems(box, left, y + box.Top, ObjectText(box, r, text_),
                       plan_->Pages.back().Items);
    }

    const TPrintRequest& q_;
    const TPrintSource& source_;
    const TLayout& layout_;
    const TPaper& paper_;
    const TLayoutObjects& objects_;
    TPrintPlan* plan_ = nullptr;
    TTextContext text_;

    bool landscape_ = false, supported_ = false;
    int pageCode_ = 9;
    double pageW_ = 0, pageH_ = 0;
    double leftMargin_ = 0, topMargin_ = 0, bottomMargin_ = 0;
    double envelopeX_ = 0, envelopeY_ = 0;
    int columns_ = 1, rows_ = 1, column_ = 0, row_ = 0;
    double cellW_ = 0, cellH_ = 0, gapX_ = 0, gapY_ = 0, originX_ = 0, originY_ = 0;
    double labelX_ = 0, labelY_ = 0;
    double y_ = 0, detail_ = 0;
    bool first_ = true, printedOnPage_ = false, havePrevious_ = false, tooLong_ = false;
    TPrintRecord last_;
};

} // namespace

std::vector<int> EntryOrder(const TBookData& book, const TPrintSource& source, int selection,
                            int sortField) {
    std::vector<int> order;
    const int count = book.Entries.Count();
    switch (selection) {
    case kSelectEntry:
        if (source.Selected >= 0 && source.Selected < count)
            order.push_back(source.Selected);
        return order;
    case kSelectListed:
        for (int i : source.Listed)
            if (i >= 0 && i < count)
                order.push_back(i);
        break;
    case kSelectTagged:
        for (int i = 0; i < count; ++i)
            if (book.Entries.At(i)->Tagged)
                order.push_back(i);
        break;
    default:
        order.resize(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        break;
    }
    std::vector<std::pair<std::string, int>> keyed;
    keyed.reserve(order.size());
    for (int i : order)
        keyed.emplace_back(SortValueOf(book, *book.Entries.At(i), sortField), i);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return CompareNoCase(a.first, b.first) < 0;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].second;
    return order;
}

std::vector<int> DiaryOrder(const TDiaryData& diary, const TQReport& parameters) {
    std::vector<std::pair<std::string, int>> keyed;
    for (int i = 0; i < diary.Events.Count(); ++i) {
        const TReminders& e = *diary.Events.At(i);
        if (InDays(e.When, parameters))
            keyed.emplace_back(SortKey(e, diary.SortOrder), i);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> order;
    for (const auto& k : keyed)
        order.push_back(k.second);
    return order;
}

TPlanResult PlanPrintRun(const TPrintRequest& request, const TPrintSource& source) {
    if (!request.Layout || !request.Paper || !request.Objects) {
        TPlanResult result;
        result.Message = kInvalidLayoutMessage;
        return result;
    }
    return TRun(request, source).Run();
}

TPlanResult PlanPrintRun(const TPrintCatalogues& catalogues, const TQReport& parameters,
                         const TPrintSource& source, const TPrintDevice& device,
                         TPrintRequest request) {
    TPlanResult result;
    result.Message = kInvalidLayoutMessage;
    const TLayout* layout = catalogues.Layouts.ByNumber(parameters.LayoutNumber);
    if (!layout)
        return result;
    const TPaper* paper = catalogues.Papers.ByNumber(layout->PaperNumber);
    TLayoutObjects objects;
    if (!paper || !catalogues.ReadObjects(layout->Number, objects))
        return result;
    request.Parameters = parameters;
    request.Layout = layout;
    request.Paper = paper;
    request.Objects = &objects;
    request.Device = device;
    if (request.ReturnAddress.empty())
        request.ReturnAddress = catalogues.Layouts.ReturnAddress.str();
    return PlanPrintRun(request, source);
}

} // namespace tessaly
