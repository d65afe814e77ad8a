#pragma once
// One drawing pass of the whole calculation report onto a set-up canvas, in
// report order: page 1, the results and checks with the verdict, the wind and
// snow detail page (loads derived from the notices only) and the diagram
// section. The same pass serves the screen image and the printed pages.

#include "calc/calculation_run.h"
#include "report/report_canvas.h"

namespace tavilo {

void drawCalculationReport(ReportCanvas& canvas, const CalculationOutcome& outcome);

}  // namespace tavilo
