#pragma once
// What a printer chosen through the system's print service takes: the paper codes of
// its page sizes, whether it takes sizes of its own, its unprintable margins. A printer
// writing a PDF takes every size with no margins.

#include "core/printing/print_device.h"

class QPrinter;

namespace tessaly {

TPrintDevice DeviceOfPrinter(const QPrinter& printer);

} // namespace tessaly
