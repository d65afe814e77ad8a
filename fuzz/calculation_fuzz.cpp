// The whole load-and-calculate path of the batch command: a project file
// loaded onto a started screen, the calculate command and both passes of the
// calculation. Whatever the file holds, a calculation that runs gives finite
// numbers only.

#include <cmath>
#include <cstdint>

#include "calc/app_state.h"
#include "fuzz_support.h"
#include "model/calculate_command.h"
#include "model/project_file.h"
#include "persistence/text_file.h"

namespace {

using namespace tavilo;

void requireFinite(double value) {
  if (!std::isfinite(value))
    fuzz::finding();
}

template <typename Values>
void requireAllFinite(const Values& values) {
  for (const auto& value : values)
    requireFinite(static_cast<double>(value));
}

void checkCase(const CaseAnalysis& a) {
  requireAllFinite(a.spanDesignMoments);
  requireAllFinite(a.spanDeflections);
  requireAllFinite(a.caseTotals);
  for (const auto& forces : a.result.memberEndForces)
    requireAllFinite(forces);
  for (const auto& node : a.result.nodalResults)
    requireAllFinite(node);
  for (const auto& samples : a.spanMomentSamples)
    requireAllFinite(samples);
  for (const auto& samples : a.spanDeflectionSamples)
    requireAllFinite(samples);
  for (const OverhangAnalysis& o : a.overhangs) {
    requireAllFinite(o.momentSamples);
    requireAllFinite(o.deflectionSamples);
    requireFinite(o.tableMoment);
    requireFinite(o.tableDeflection);
    requireFinite(o.wallTipDeflection);
  }
  requireFinite(a.maxMoment);
  requireFinite(a.maxDeflection);
  requireFinite(a.deflectionRatio);
  requireFinite(a.endReaction);
  requireFinite(a.midReaction);
}

void checkOutcome(const CalculationOutcome& outcome) {
  const DesignConditions& c = outcome.conditions;
  requireFinite(c.unitWeight);
  requireFinite(c.eavesHeightH1);
  requireFinite(c.buildingHeightH2);
  requireFinite(c.spanDirectionLengthD);
  requireFinite(c.snowIncreaseFactor);
  requireAllFinite(c.ratioG);
  requireAllFinite(c.ratioS);
  requireAllFinite(c.ratioW);
  if (outcome.wind) {
    const WindDerivation& w = *outcome.wind;
    requireAllFinite(std::array<double, 8>{w.roofAngle, w.meanHeight, w.er, w.velocityPressure,
                                           w.gpe, w.wallCf, w.wallPressure, w.overhangPressure});
    requireAllFinite(w.cfNegative);
    requireAllFinite(w.cfPositive);
  }
  if (outcome.snow) {
    requireFinite(outcome.snow->muB);
    requireFinite(outcome.snow->dr);
  }
  for (const ResultsSection& section : outcome.sections) {
    checkCase(section.analysis);
    requireFinite(section.checks.stress.sigma);
    requireFinite(section.checks.deflection.limit);
    if (section.checks.overhang)
      requireFinite(section.checks.overhang->sigma);
  }
  for (const DiagramBlock& block : outcome.diagrams.blocks) {
    checkCase(block.analysis);
    requireFinite(block.leftOverhangRootShear);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto lines = fuzz::projectFileLines(data, size);
  fuzz::Project project;
  if (!lines || !project.apply(*lines, "fuzz.tvl"))
    return 0;
  const CalculateResult result = calculate(project.form, project.state);
  if (result.outcome)
    checkOutcome(*result.outcome);
  return 0;
}
