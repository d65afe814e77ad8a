#include "report/report_driver.h"

#include "report/design_page.h"
#include "report/detail_page.h"
#include "report/diagram_primitives.h"
#include "report/diagram_section.h"
#include "report/results_page.h"

namespace tavilo {

void drawCalculationReport(ReportCanvas& canvas, const CalculationOutcome& outcome) {
  const DesignConditions& c = outcome.conditions;
  const ReportFacts& facts = outcome.facts;
  canvas.footMark = facts.sampleSiteData ? std::string(kSampleSiteDataMark) : std::string();
  // The results tables draw their deck schematic at the scale of the diagrams.
  canvas.drawScale = drawScale(c);

  const double overhangPressure = outcome.wind ? outcome.wind->overhangPressure : 0.0;
  drawDesignSpecificationPage(canvas, {c, outcome.settings, overhangPressure, facts});
  drawResultsSection(canvas, outcome);
  canvas.endPage();

  if (outcome.settings.calcMethod == kCalcMethodNotices && outcome.wind) {
    SnowDerivation snow = outcome.snow.value_or(SnowDerivation{});
    snow.altitudeM = facts.snowDepthInputs.altitudeM;
    snow.seaRatioPercent = facts.snowDepthInputs.seaRatioPercent;
    snow.depthCoefficients = facts.snowDepthInputs.depthCoefficients;
    if (!outcome.snow)
      snow.computedDepthM = facts.snowDepthInputs.computedDepthM;
    drawWindSnowDetailPage(canvas, outcome.calcData, c, *outcome.wind, snow,
                           facts.overhangSelected);
  }

  // The diagrams close the report: the end rule on the screen, the framed
  // last page on paper.
  drawDiagramSection(canvas, outcome);
}

}  // namespace tavilo
