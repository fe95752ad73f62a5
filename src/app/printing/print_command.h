#pragma once
// The book and diary windows' "&Print...": the print wizard, then a print run on the
// parameters it made, into the preview or onto a printer chosen through the system's
// print service, behind the status window.

#include "core/printing/print_run.h"
#include "core/printing/quick_report.h"

#include <memory>

class QWidget;

namespace tessaly {

class IFrame;
class TPrintCatalogues;

// The locale's country code as the catalogues want it: 1 the United States, 2 Canada.
int LocaleCountryCode();
// The catalogues after the start-of-use pass; what could not be written is said.
std::unique_ptr<TPrintCatalogues> LoadPrintCatalogues(IFrame& frame);

// Opens the wizard for the source's family and runs what it asks for.
void PrintFromWizard(IFrame& frame, QWidget* parent, const TPrintSource& source);

// "&Quick Reports...": the list of the family's stored reports, then the run of the one
// chosen.
void ShowQuickReports(IFrame& frame, QWidget* parent, const TPrintSource& source);

// The tool bar's linked report buttons: the quick report of link `link` (0 and 1 the
// address book's, 2 the diary's) printed on the source; nothing when the link names no
// report.
void PrintLinkedReport(IFrame& frame, QWidget* parent, int link, const TPrintSource& source);

// One run of `parameters`: a preview child window (printing from it allowed with
// `allowPrint`) or the printer. Says why when nothing is printed; false then, or when
// the user cancelled.
bool RunPrint(IFrame& frame, QWidget* parent, const TQReport& parameters,
              const TPrintSource& source, bool preview, bool allowPrint = true);

} // namespace tessaly
