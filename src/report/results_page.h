#pragma once
// The results and checks of every load case, and the verdict block. The page
// draws what the calculation run computed (sections, checks, table values,
// counters, verdict); it recomputes nothing.

#include <string>

#include "calc/calculation_run.h"
#include "report/report_canvas.h"

namespace tavilo {

// Every case section below page 1, the page end on paper after the three
// positive-pressure cases, and the verdict block, which asks for the footer of
// its printed page. The caller ends that page.
void drawResultsSection(ReportCanvas& canvas, const CalculationOutcome& outcome);

// One case section at the text cursor; lineMm ends half a line below it.
void drawCaseSection(ReportCanvas& canvas, const ResultsSection& section,
                     const CalculationOutcome& outcome);

// The notes, the framed verdict and the footer request, below the last text.
// Leaves the text cursor two lines below the frame.
void drawVerdictBlock(ReportCanvas& canvas, const CalculationOutcome& outcome);

// "■長期Ｇ＋Ｐの検討".
std::string caseHeadingText(const CaseAnalysis& analysis);

}  // namespace tavilo
