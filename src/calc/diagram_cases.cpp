#include "calc/diagram_cases.h"

#include <cstddef>
#include <utility>

#include "calc/span_geometry.h"

namespace tavilo {
namespace {

std::vector<SpanLoad> spanLoadsOf(const CaseLineLoads& loads, int spanCount, bool withLineLoad) {
  std::vector<SpanLoad> out;
  for (std::size_t i = 0; i < slot(spanCount); ++i) {
    const double base = withLineLoad ? loads.lineLoads[i] : 0.0;
    out.push_back(
        SpanLoad{base + loads.endIntensities[i][0], base + loads.endIntensities[i][1], true});
  }
  return out;
}

DiagramBlock diagramBlock(const DesignConditions& c, CaseAnalysis analysis, bool additional) {
  DiagramBlock block;
  block.analysis = std::move(analysis);
  block.loads = spanLoadsOf(block.analysis.lineLoads, c.spanCount, true);
  block.leftOverhangRootShear =
      hasLeftOverhang(c) ? block.analysis.sectionCaseTotal * c.leftOverhang * 0.001 : 0.0;
  block.additional = additional;
  block.heavySnowBlock = additional && c.heavySnow;
  return block;
}

}  // namespace

DiagramSection diagramSection(const DesignConditions& c, double wallPressure, SampledCases& cases) {
  DiagramSection out;
  DiagramHeader& header = out.header;
  header.lineLoads =
      caseLineLoadsOf(c, CaseRatios{1, 1, 1, 1}, WindSide::Positive, c.windPositive, wallPressure);
  header.snowLoads = spanLoadsOf(header.lineLoads, c.spanCount, false);
  header.deadPlusLive = c.deadPlusLive;
  header.windPositive = c.windPositive;
  header.windNegative = c.windNegative;

  // Every value of a block, its title included, comes from the one analysis
  // the block draws.
  const auto addBlock = [&](CaseVariant variant, const CaseRatios& ratios, bool additional) {
    out.blocks.push_back(diagramBlock(c, cases.of(variant, ratios), additional));
  };
  for (const CaseVariant variant :
       {CaseVariant::kLongTerm, CaseVariant::kShortTermSnow, CaseVariant::kStormPositive})
    addBlock(variant, ratiosOfCase(c, caseConstantsOf(variant).caseIndex), false);
  // The storm under uplift once more, below the three: on a heavy-snow site
  // without snow and with every other load taken whole, else with the ratios
  // of the settings.
  if (c.heavySnow) {
    addBlock(CaseVariant::kStormNoSnow, CaseRatios{1, 1, 0, 1}, true);
  } else {
    CaseRatios noSnowStorm = ratiosOfCase(c, kShortTermStorm);
    noSnowStorm.s = 0;
    addBlock(CaseVariant::kStormNegative, noSnowStorm, true);
  }
  return out;
}

}  // namespace tavilo
