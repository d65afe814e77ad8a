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

// The values of the checks exactly as the results pages print them (some
// keep the formatter's padding, " 5.5"); whatever else prints a check (the
// batch command's summary) uses these, so that it never disagrees with the
// report.
struct CheckValueTexts {
  // The span checks: σ rounded up to 0.1 ("34.6"), δmax cut to 0.01 ("0.44"),
  // the n of L/n ("250") and L/n cut to 0.1 ("24.0").
  static std::string stress(double sigma);
  static std::string deflection(double deflection);
  static std::string limitRatio(double n);
  static std::string deflectionLimit(double limit);
  // The overhang check: σ and δ with at most two decimals ("4.32", "0.21").
  static std::string overhangStress(double sigma);
  static std::string overhangDeflection(double deflection);
  // A joint: the uplift force in whole N/m ("1,234") and its allowable value
  // cut to 0.1 ("2,345.6").
  static std::string jointForce(double force);
  static std::string jointAllowable(double allowable);
};

}  // namespace tavilo
