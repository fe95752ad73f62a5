#pragma once
// Printing planned pages on a printer chosen through the system's print service: the
// printer dialog (which tests replace, as they replace the message dialog) and the
// painting of the pages through the one page renderer.

#include "core/printing/print_plan.h"

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace tessaly {

// Asks for the printer, its copies and pages; false when the user cancelled.
using TPrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
// Installs the chooser used from now on; an empty one restores the printer dialog.
void SetPrinterChooser(TPrinterChooser chooser);
bool ChoosePrinter(QPrinter& printer, QWidget* parent);

// Paints the plan on the printer, the whole sheet (positions are on the physical
// page), telling `pageDone` of every page ("Printing page %p"); false from it stops
// the job. Shows why when the printer refuses and returns false.
bool PrintPlanOn(QPrinter& printer, const TPrintPlan& plan,
                 const std::function<bool(int)>& pageDone = {});

} // namespace tessaly
