#include "platform/printer_device.h"

#include "platform/page_sizes.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace tessaly {

TPrintDevice DeviceOfPrinter(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return TPrintDevice::Pdf();
    TPrintDevice device;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer.printerName());
    for (const QPageSize& size : info.supportedPageSizes()) {
        const int code = PaperCodeOfPageSize(size);
        if (code != kCustomPaperCode && !device.Supports(code))
            device.PaperCodes.push_back(code);
    }
    device.CustomSizes = info.supportsCustomPageSizes();
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF margins = layout.minimumMargins();
    device.LeftMargin = margins.left();
    device.TopMargin = margins.top();
    device.BottomMargin = margins.bottom();
    return device;
}

} // namespace tessaly
