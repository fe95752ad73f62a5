#pragma once
// The one renderer of planned pages: it replays a page's drawing items (millimetres on
// the physical page) onto any QPainter, a printer's, a PDF writer's or the preview's.

#include "core/printing/print_plan.h"

#include <QPageLayout>
#include <QString>

class QPainter;

namespace tessaly {

// The layout of a planned page: its paper code's size (or its own), its orientation,
// and no margins (the plan's positions are on the physical page).
QPageLayout PageLayoutOf(const TPlanPage& page);

// Draws the page's items; `dotsPerMm` is the painter's device resolution.
void RenderPage(QPainter& painter, const TPlanPage& page, double dotsPerMm);

// Writes the plan as a PDF, every page `plan.Copies` times over. False with the
// reason when the file cannot be written.
bool WritePlanPdf(const TPrintPlan& plan, const QString& path, QString* error);

} // namespace tessaly
