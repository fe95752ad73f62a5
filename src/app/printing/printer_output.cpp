#include "app/printing/printer_output.h"

#include "app/widgets/message_dialog.h"
#include "platform/page_renderer.h"
#include "platform/qt_text.h"

#include <QPrintDialog>
#include <QPrinter>

namespace tessaly {

namespace {
TPrinterChooser& Chooser() {
    static TPrinterChooser chooser;
    return chooser;
}
} // namespace

void SetPrinterChooser(TPrinterChooser chooser) {
    Chooser() = std::move(chooser);
}

bool ChoosePrinter(QPrinter& printer, QWidget* parent) {
    if (Chooser())
        return Chooser()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dialog.exec() == QDialog::Accepted;
}

bool PrintPlanOn(QPrinter& printer, const TPrintPlan& plan,
                 const std::function<bool(int)>& pageDone) {
    printer.setFullPage(true);
    printer.setDocName(ToQString(plan.Title));
    // The dialog's page range, from 1; the plan's own copies are painted over and over,
    // the printer's are the system's.
    int first = 0, last = -1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() > 0 ? printer.toPage() - 1 : -1;
    }
    QString error;
    if (!PaintPlan(printer, plan, &error, first, last, pageDone)) {
        ShowMessage(mtUnknownError, "The pages could not be printed: " + error, mkError, mbOk);
        return false;
    }
    return true;
}

} // namespace tessaly
