// The printer of tessaly-print: "print --printer NAME" asks the system's print service
// what the named printer takes, then paints the planned pages on it.

#include "cli/print_commands.h"
#include "platform/gui_application.h"
#include "platform/page_renderer.h"
#include "platform/printer_device.h"
#include "platform/qt_text.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The printer of that name, or why there is none.
bool FindPrinter(const char* name, QPrinterInfo& info, std::string* error) {
    using namespace tessaly;
    EnsureGuiApplication();
    info = QPrinterInfo::printerInfo(QString::fromLocal8Bit(name));
    if (!info.isNull())
        return true;
    if (error) {
        const QStringList known = QPrinterInfo::availablePrinterNames();
        *error = "No printer is named \"" + std::string(name) + "\"; " +
                 (known.isEmpty()
                      ? std::string("the system's print service offers none")
                      : "the printers are: " + FromQString(known.join(QStringLiteral(", "))));
    }
    return false;
}

} // namespace

extern "C" bool tessaly_printer_device(const char* printer, tessaly::TPrintDevice* device,
                                       std::string* error) {
    QPrinterInfo info;
    if (!FindPrinter(printer, info, error))
        return false;
    QPrinter p(info, QPrinter::HighResolution);
    *device = tessaly::DeviceOfPrinter(p);
    return true;
}

extern "C" bool tessaly_print_plan(const tessaly::TPrintPlan* plan, const char* printer,
                                   std::string* error) {
    using namespace tessaly;
    QPrinterInfo info;
    if (!FindPrinter(printer, info, error))
        return false;
    QPrinter p(info, QPrinter::HighResolution);
    p.setFullPage(true);
    p.setDocName(ToQString(plan->Title));
    if (!p.isValid()) {
        if (error)
            *error = "the printer cannot be used";
        return false;
    }
    QString reason;
    if (PaintPlan(p, *plan, &reason))
        return true;
    if (error)
        *error = FromQString(reason);
    return false;
}
