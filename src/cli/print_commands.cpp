#include "cli/print_commands.h"

#include "cli/agenda_commands.h"
#include "core/common/codepage.h"
#include "core/common/same_text.h"
#include "core/diary/diary.h"
#include "core/organise/entry_list.h"
#include "core/printing/catalogues.h"
#include "core/printing/factory_papers.h"
#include "core/printing/print_run.h"
#include "core/settings/settings.h"
#include "core/store/book_file.h"
#include "core/system/clock.h"
#include "core/system/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <unordered_map>

// Defined by the renderer (print_tool/) where it is linked in; null otherwise.
extern "C" bool tessaly_write_pdf(const tessaly::TPrintPlan* plan, const char* path,
                                  std::string* error) __attribute__((weak));
extern "C" bool tessaly_printer_device(const char* printer, tessaly::TPrintDevice* device,
                                       std::string* error) __attribute__((weak));
extern "C" bool tessaly_print_plan(const tessaly::TPrintPlan* plan, const char* printer,
                                   std::string* error) __attribute__((weak));

namespace tessaly {

namespace {

// The locale's country code as the catalogues want it: 1 for the United States, 2 for
// Canada (their listings are Letter), 44 for everywhere else.
int LocaleCountryCode() {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const char* v = std::getenv(name); v && *v) {
            locale = v;
            break;
        }
    const std::size_t under = locale.find('_');
    const std::string territory = under == std::string::npos ? "" : locale.substr(under + 1, 2);
    return territory == "US" ? 1 : territory == "CA" ? 2 : 44;
}

// The catalogues of a configuration folder after the start-of-use pass; what could not
// be written is said on Err.
struct TLoaded {
    explicit TLoaded(const std::string& configDir) : Catalogues(Place(configDir)) {}
    static TStoreSettings Place(const std::string& dir) {
        TStoreSettings s;
        s.ConfigDirectory = dir;
        return s;
    }
    TPrintCatalogues Catalogues;
};

std::unique_ptr<TLoaded> LoadCatalogues(const std::string& configDir, TCliStreams io) {
    std::error_code ec;
    std::filesystem::create_directories(configDir, ec);
    auto loaded = std::make_unique<TLoaded>(configDir);
    TFactoryPapers library;
    TReportLinks links{kNoLinkedReport, kNoLinkedReport, kNoLinkedReport};
    loaded->Catalogues.LoadAll(&library, "", links, LocaleCountryCode());
    for (const auto& e : loaded->Catalogues.Errors())
        io.Err << "tessaly-cli: " << e << '\n';
    return loaded;
}

const char* AlignName(int align) {
    return align == 1 ? "Right" : align == 2 ? "Centre" : "Left";
}

const char* KindName(TPlanItemKind kind) {
    switch (kind) {
    case TPlanItemKind::Line:
        return "Line";
    case TPlanItemKind::Rectangle:
        return "Rectangle";
    case TPlanItemKind::Picture:
        return "Picture";
    default:
        return "Text";
    }
}

bool Number(const std::optional<std::string>& text, const char* option, long long lo, long long hi,
            int& out, TCliStreams io) {
    if (!text)
        return true;
    long long v = 0;
    if (!ParseDecimal(*text, lo, hi, v)) {
        io.Err << option << " must be a decimal number from " << lo << " to " << hi << ", not \""
               << *text << "\"\n";
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool IsDiaryPath(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return SameText(ext, ".TDY") || SameText(ext, ".BKD");
}

// The run's parameters: the report's, or a new report's for the layout; then the options.
bool Parameters(const TPrintCatalogues& c, const TPrintOptions& o, TQReport& q, TCliStreams io) {
    if (o.Report) {
        const TQReport* stored = c.Reports.ByName(Utf8ToCp1252(*o.Report));
        if (!stored) {
            io.Err << "No quick report is named \"" << *o.Report << "\"\n";
            return false;
        }
        q = *stored;
    } else {
        const TLayout* layout = c.Layouts.ByName(Utf8ToCp1252(o.Layout.value_or("")));
        if (!layout) {
            io.Err << "No page layout is named \"" << o.Layout.value_or("") << "\"\n";
            return false;
        }
        q.SetName(layout->Name.view());
        q.LayoutNumber = layout->Number;
        q.Selection = kSelectAll;
    }
    if (o.Selection) {
        static const std::pair<const char*, int> kSelections[] = {{"entry", kSelectEntry},
                                                                  {"list", kSelectListed},
                                                                  {"tagged", kSelectTagged},
                                                                  {"all", kSelectAll}};
        const auto* it = std::find_if(std::begin(kSelections), std::end(kSelections),
                                      [&](const auto& s) { return *o.Selection == s.first; });
        if (it == std::end(kSelections)) {
            io.Err << "--selection must be entry, list, tagged or all, not \"" << *o.Selection
                   << "\"\n";
            return false;
        }
        q.Selection = it->second;
    }
    if (o.Entry)
        q.Selection = kSelectEntry;
    if (o.Search && !o.Selection)
        q.Selection = kSelectListed;
    if (o.From || o.To) {
        const auto from = o.From ? ParseIsoDate(*o.From) : std::nullopt;
        const auto to = o.To ? ParseIsoDate(*o.To) : std::nullopt;
        if (!from || !to) {
            io.Err << "--from and --to must both be given as YYYY-MM-DD\n";
            return false;
        }
        q.AllDates = false;
        q.FirstDate = *from;
        q.LastDate = *to;
    }
    if (o.NoCompleted)
        q.IncludeCompleted = false;
    if (o.AllAddresses)
        q.FirstAddressOnly = false;
    if (!Number(o.Copies, "--copies", 1, 9999, q.Copies, io) ||
        !Number(o.SortField, "--sort-field", -1, 21, q.SortField, io))
        return false;
    if (o.LabelFill) {
        static const char* const kFills[] = {"sheet", "row", "one", "copies"};
        const auto* it = std::find(std::begin(kFills), std::end(kFills), *o.LabelFill);
        if (it == std::end(kFills)) {
            io.Err << "--label-fill must be sheet, row, one or copies, not \"" << *o.LabelFill
                   << "\"\n";
            return false;
        }
        q.LabelFill = static_cast<int>(it - std::begin(kFills));
    }
    return true;
}

// The printed message: its paragraphs on one line each.
std::string OneLine(std::string text) {
    for (std::size_t at; (at = text.find("\n\n")) != std::string::npos;)
        text.replace(at, 2, " ");
    std::replace(text.begin(), text.end(), '\n', ' ');
    return Cp1252ToUtf8(text);
}

} // namespace

int CommandPapers(const std::string& configDir, TCliStreams io) {
    const auto loaded = LoadCatalogues(configDir, io);
    for (const auto& p : loaded->Catalogues.Papers)
        io.Out << p->Number << '\t' << PaperTypeCaption(p->Type) << '\t'
               << Cp1252ToUtf8(p->Name.view()) << '\n';
    return FinishOutput(io);
}

int CommandLayouts(const std::string& configDir, TCliStreams io) {
    const auto loaded = LoadCatalogues(configDir, io);
    for (const auto& l : loaded->Catalogues.Layouts)
        io.Out << l->Number << '\t' << DataSourceCaption(l->Source) << '\t'
               << Cp1252ToUtf8(l->Name.view()) << '\n';
    return FinishOutput(io);
}

int CommandReports(const std::string& configDir, TCliStreams io) {
    const auto loaded = LoadCatalogues(configDir, io);
    const TPrintCatalogues& c = loaded->Catalogues;
    for (const auto& q : c.Reports)
        io.Out << Cp1252ToUtf8(q->Name.view()) << '\t'
               << Cp1252ToUtf8(c.Layouts.NameByNumber(q->LayoutNumber)) << '\n';
    return FinishOutput(io);
}

bool ParseDeviceJson(const std::string& text, TPrintDevice& device, std::string& error) {
    try {
        const nlohmann::json j = nlohmann::json::parse(text);
        TPrintDevice d;
        if (!j.is_object())
            throw std::runtime_error("a device is a JSON object");
        for (const auto& code : j.value("PaperCodes", nlohmann::json::array()))
            d.PaperCodes.push_back(code.get<int>());
        d.CustomSizes = j.value("CustomSizes", false);
        const nlohmann::json margins = j.value("Margins", nlohmann::json::object());
        d.LeftMargin = margins.value("Left", 0.0);
        d.TopMargin = margins.value("Top", 0.0);
        d.BottomMargin = margins.value("Bottom", 0.0);
        d.LandscapeAngle = j.value("LandscapeAngle", 90);
        for (double m : {d.LeftMargin, d.TopMargin, d.BottomMargin})
            if (!(m >= 0 && m <= 100))
                throw std::runtime_error("margins lie from 0 to 100 mm");
        if (d.LandscapeAngle != 90 && d.LandscapeAngle != 270)
            throw std::runtime_error("LandscapeAngle is 90 or 270");
        device = d;
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

std::string PlanJson(const TPrintPlan& plan) {
    nlohmann::json pages = nlohmann::json::array();
    for (const TPlanPage& page : plan.Pages) {
        nlohmann::json items = nlohmann::json::array();
        for (const TPlanItem& item : page.Items) {
            nlohmann::json i = {{"Kind", KindName(item.Kind)},
                                {"Left", item.Left},
                                {"Top", item.Top},
                                {"Width", item.Width},
                                {"Height", item.Height}};
            if (item.Kind == TPlanItemKind::Text) {
                i["Text"] = Cp1252ToUtf8(item.Text);
                i["Align"] = AlignName(item.Align);
                i["Font"] = {{"Name", Cp1252ToUtf8(item.Font.Name)},
                             {"Size", item.Font.Size},
                             {"Style", item.Font.Style},
                             {"Colour", item.Font.Colour}};
            } else if (item.Kind == TPlanItemKind::Picture) {
                i["Picture"] = Cp1252ToUtf8(item.Picture);
            } else {
                i["Pen"] = {{"Colour", item.Pen.Colour},
                            {"Style", item.Pen.Style},
                            {"Width", item.Pen.Width}};
                if (item.Kind == TPlanItemKind::Rectangle)
                    i["Brush"] = {{"Colour", item.Brush.Colour}, {"Style", item.Brush.Style}};
            }
            items.push_back(std::move(i));
        }
        pages.push_back({{"Width", page.Width},
                         {"Height", page.Height},
                         {"Landscape", page.Landscape},
                         {"PaperCode", page.PaperCode},
                         {"Items", std::move(items)}});
    }
    const nlohmann::json doc = {
        {"Title", Cp1252ToUtf8(plan.Title)}, {"Copies", plan.Copies}, {"Pages", std::move(pages)}};
    return doc.dump(1) + '\n';
}

TPdfWriter LinkedPdfWriter() {
    return &tessaly_write_pdf;
}

TPrinterDeviceReader LinkedPrinterDevice() {
    return &tessaly_printer_device;
}

TPrinterWriter LinkedPrinterWriter() {
    return &tessaly_print_plan;
}

int CommandPrint(const TPrintOptions& o, TCliStreams io) {
    if (o.Layout.has_value() == o.Report.has_value()) {
        io.Err << "Give either --layout or --report\n";
        return 1;
    }
    if (int(o.Plan) + int(o.Pdf.has_value()) + int(o.Printer.has_value()) != 1) {
        io.Err << "Give one of --plan, --pdf or --printer\n";
        return 1;
    }
    TPrintRequest request;
    request.CountryCode = LocaleCountryCode();
    request.Now = SystemClock::Instance().Now();
    if (o.Now) {
        const auto now = ParseIsoMinute(*o.Now);
        if (!now) {
            io.Err << "--now must be \"YYYY-MM-DD HH:MM\", not \"" << *o.Now << "\"\n";
            return 1;
        }
        request.Now = *now;
    }
    if (!Number(o.StartLabel, "--start-label", 1, 32767, request.StartingLabel, io))
        return 1;
    TPrintDevice device = TPrintDevice::Pdf();
    if (o.Device) {
        std::vector<std::uint8_t> bytes;
        const TIoResult read = ReadWholeFile(*o.Device, bytes);
        std::string error = read.Error;
        if (!read.Ok || !ParseDeviceJson(std::string(bytes.begin(), bytes.end()), device, error)) {
            io.Err << "The device " << *o.Device << " cannot be read: " << error << '\n';
            return 1;
        }
    }
    // The printer is asked first: what it takes decides the pages (unless a described
    // device stands in for it), and a printer that is not there prints nothing.
    if (o.Printer) {
        const TPrinterDeviceReader ask = LinkedPrinterDevice();
        TPrintDevice printer;
        std::string error = "this program cannot print";
        if (!ask || !ask(o.Printer->c_str(), &printer, &error)) {
            io.Err << error << '\n';
            return 1;
        }
        if (!o.Device)
            device = printer;
    }

    const auto loaded = LoadCatalogues(o.ConfigDir, io);
    const TPrintCatalogues& c = loaded->Catalogues;
    TQReport q;
    if (!Parameters(c, o, q, io))
        return 1;

    TPrintSource source;
    std::unique_ptr<TBookData> book;
    std::unique_ptr<TDiaryData> diary;
    const TBookHold hold(book);
    if (IsDiaryPath(o.File)) {
        diary = LoadDiaryOrReport(o.File, io);
        if (!diary)
            return 1;
        source.Diary = diary.get();
        q.Selection = kSelectDiary;
    } else {
        book = LoadBookOrReport(o.File, io);
        if (!book)
            return 1;
        source.Book = book.get();
        const TFilter* filter = book->Searches.ActiveSearch();
        if (o.Search) {
            filter = book->Searches.At(book->Searches.FindSearch(Utf8ToCp1252(*o.Search)));
            if (!filter) {
                io.Err << "No saved search is named \"" << *o.Search << "\"\n";
                return 1;
            }
        }
        TEntryList list(*book);
        list.Rebuild(filter);
        std::unordered_map<const TRecord*, int> indexOf;
        indexOf.reserve(static_cast<std::size_t>(book->Entries.Count()));
        for (int i = 0; i < book->Entries.Count(); ++i)
            indexOf.emplace(book->Entries.At(i), i);
        for (int i = 0; i < list.Count(); ++i)
            source.Listed.push_back(indexOf[list.EntryAt(i)]);
        if (o.Entry) {
            int position = 0;
            if (!Number(o.Entry, "--entry", 0, 32767, position, io))
                return 1;
            if (position >= list.Count()) {
                io.Err << "--entry " << position << " is past the list's " << list.Count()
                       << " entries\n";
                return 1;
            }
            source.Selected = source.Listed[static_cast<std::size_t>(position)];
        }
    }
    const TPlanResult result = PlanPrintRun(c, q, source, device, request);
    if (diary)
        LetGo(diary);
    if (!result.Ok) {
        io.Err << OneLine(result.Message) << '\n';
        return 1;
    }
    if (o.Plan) {
        io.Out << PlanJson(result.Plan);
        return FinishOutput(io);
    }
    if (o.Printer) {
        const TPrinterWriter print = LinkedPrinterWriter();
        std::string error = "this program cannot print";
        if (!print || !print(&result.Plan, o.Printer->c_str(), &error)) {
            io.Err << "The pages were not printed on " << *o.Printer << ": " << error << '\n';
            return 1;
        }
        return 0;
    }
    const TPdfWriter write = LinkedPdfWriter();
    std::string error = "this program has no PDF writer";
    if (!write || !write(&result.Plan, o.Pdf->c_str(), &error)) {
        io.Err << "The PDF " << *o.Pdf << " was not written: " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace tessaly
