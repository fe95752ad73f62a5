#pragma once
// The one renderer of planned pages: it replays a page's drawing items (millimetres on
// the physical page) onto any QPainter, a printer's, a PDF writer's or the preview's.

#include "core/printing/print_plan.h"

#include <QPageLayout>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace tessaly {

// The layout of a planned page: its paper code's size (or its own), its orientation,
// and no margins (the plan's positions are on the physical page).
QPageLayout PageLayoutOf(const TPlanPage& page);

// Draws the page's items; `dotsPerMm` is the painter's device resolution.
void RenderPage(QPainter& painter, const TPlanPage& page, double dotsPerMm);

// Paints the plan's pages `first` to `last` (from 0, inclusive; -1 the last page) onto
// a paged device, a printer's or a PDF writer's, each page `plan.Copies` times over and
// on its own page size and orientation. The device prints the whole sheet: positions
// are on the physical page. `pageDone` is told of every page painted (from 1) and
// false from it stops the run. False with the reason when the device refuses a page.
bool PaintPlan(QPagedPaintDevice& device, const TPrintPlan& plan, QString* error, int first = 0,
               int last = -1, const std::function<bool(int)>& pageDone = {});

// Writes the plan as a PDF, every page `plan.Copies` times over. False with the
// reason when the file cannot be written.
bool WritePlanPdf(const TPrintPlan& plan, const QString& path, QString* error);

} // namespace tessaly
