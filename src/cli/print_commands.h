#pragma once
// tessaly-cli "papers", "layouts", "reports" and "print": the printing catalogues of
// the configuration folder, and a print run of a book or diary through a layout or a
// quick report, written as its planned pages (JSON), as a PDF or on a printer.

#include "cli/commands.h"
#include "core/printing/print_device.h"
#include "core/printing/print_plan.h"

#include <optional>
#include <string>

namespace tessaly {

// One line per paper in list order: NUMBER, TAB, Envelope|Label|Listing, TAB, NAME.
// A missing or damaged paper file is replaced by the factory list (and saved).
int CommandPapers(const std::string& configDir, TCliStreams io);
// One line per layout: NUMBER, TAB, the data source's caption, TAB, NAME.
int CommandLayouts(const std::string& configDir, TCliStreams io);
// One line per quick report: NAME, TAB, its layout's name.
int CommandReports(const std::string& configDir, TCliStreams io);

struct TPrintOptions {
    std::string File;
    std::optional<std::string> Layout, Report;
    std::string ConfigDir;
    std::optional<std::string> Selection; // entry, list, tagged, all
    std::optional<std::string> Entry;     // its position in the list order, from 0
    std::optional<std::string> Search;
    std::optional<std::string> From, To;
    bool NoCompleted = false;
    std::optional<std::string> Copies;
    std::optional<std::string> LabelFill; // sheet, row, one, copies
    std::optional<std::string> StartLabel;
    bool AllAddresses = false;
    std::optional<std::string> SortField;
    std::optional<std::string> Device; // a JSON file
    std::optional<std::string> Now;    // "YYYY-MM-DD HH:MM"
    std::optional<std::string> Pdf;
    std::optional<std::string> Printer; // a printer of the system's print service
    bool Plan = false;
};

int CommandPrint(const TPrintOptions& options, TCliStreams io);

// A device described in JSON: {"PaperCodes": [1, 9], "CustomSizes": false,
// "Margins": {"Left": 4, "Top": 5, "Bottom": 0}, "LandscapeAngle": 90}, lengths in mm.
// False with the reason in `error`.
bool ParseDeviceJson(const std::string& text, TPrintDevice& device, std::string& error);
// The planned pages as one JSON document (UTF-8).
std::string PlanJson(const TPrintPlan& plan);

// Writes a plan as a PDF; only the program that links the renderer has it.
using TPdfWriter = bool (*)(const TPrintPlan* plan, const char* path, std::string* error);
TPdfWriter LinkedPdfWriter();
// A named printer of the system's print service: what it takes (false with the reason
// when there is no such printer), and the pages printed on it. Only the program that
// links the renderer has them.
using TPrinterDeviceReader = bool (*)(const char* printer, TPrintDevice* device,
                                      std::string* error);
using TPrinterWriter = bool (*)(const TPrintPlan* plan, const char* printer, std::string* error);
TPrinterDeviceReader LinkedPrinterDevice();
TPrinterWriter LinkedPrinterWriter();
// The program beside this one that writes PDF files and prints.
constexpr const char kPrintProgramName[] = "tessaly-print";

} // namespace tessaly
