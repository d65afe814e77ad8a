#include "calc/case_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "calc/catalogue.h"
#include "calc/numbers.h"
#include "calc/span_geometry.h"

namespace tavilo {
namespace {

Overhang withLoad(Overhang o, double lineLoad) {
  o.lineLoad = lineLoad;
  return o;
}

// The tip value of the deflection samples (positive upward): the sample list
// of a left overhang starts at its tip, whichever side the overhang is on.
double tipDeflectionSample(Overhang o, double factor) {
  o.side = OverhangSide::kLeft;
  return overhangDeflectionSamples(o, factor).front();
}

OverhangAnalysis analyseOverhang(const BeamModel& model, const CaseLineLoads& loads,
                                 OverhangSide side, bool negativeSide, double factor) {
  OverhangAnalysis a;
  const bool left = side == OverhangSide::kLeft;
  a.side = side;
  a.length = left ? model.leftOverhang : model.rightOverhang;
  a.present = a.length > 0;
  if (!a.present)
    return a;

  const Overhang o = overhangOf(model, side);
  a.lineLoad = o.lineLoad;
  a.rootMoment = overhangRootMoment(o);
  a.momentSamples = overhangMomentSamples(o);
  a.deflectionSamples = overhangDeflectionSamples(o, factor);
  a.tipDeflection = overhangTipDeflection(o, factor);

  const std::size_t member = left ? 0 : slot(model.memberCount - 1);
  if (negativeSide && loads.hasOverhangLineLoad[member]) {
    a.hasWallLoad = true;
    a.wallLineLoad = loads.overhangLineLoads[member] + loads.endIntensities[member][left ? 0 : 1];
    a.wallTipDeflection = overhangTipDeflection(withLoad(o, a.wallLineLoad), factor);
  }

  if (left) {
    a.tableMoment = std::fabs(o.lineLoad * (a.length * a.length) / 2);
    a.tableDeflection = std::fabs(a.deflectionSamples.front());
  } else {
    a.tableMoment = std::fabs(a.momentSamples.front());
    // The tip itself, not the last 100 mm sample: for a length that is no
    // multiple of 100 mm the last sample lies short of the tip and would
    // understate the deflection that the check compares with a / n.
    a.tableDeflection = -tipDeflectionSample(o, factor) + 0.0;
  }
  return a;
}

void selectReactions(CaseAnalysis& a, bool diagram) {
  const std::size_t n = slot(a.beam.memberCount);
  a.endReaction = std::min(a.result.nodalResults[0][1], a.result.nodalResults[n][1]);
  double mid = diagram ? 0.0 : static_cast<double>(kNoValue);
  for (std::size_t node = 1; node < n; ++node) {
    const double r = a.result.nodalResults[node][1];
    if (diagram ? r < mid : (r <= 0 && (mid == kNoValue || r < mid)))
      mid = r;
  }
  a.midReaction = mid;
}

void selectMaxMoment(CaseAnalysis& a) {
  double m = 0;
  for (std::size_t i = 0; i < slot(a.spanCount); ++i) {
    m = std::max({m, std::fabs(a.spanDesignMoments[i]), std::fabs(a.result.memberEndForces[i][2]),
                  std::fabs(a.result.memberEndForces[i][5])});
  }
  a.maxMoment = m;
}

double spanRatio(double length, double deflection) {
  return deflection == 0 ? static_cast<double>(kNoValue) : std::fabs(length / deflection);
}

// Results pass: the largest deflection, the first span on ties.
void selectLargestDeflection(CaseAnalysis& a) {
  std::size_t chosen = 0;
  for (std::size_t i = 1; i < slot(a.spanCount); ++i) {
    if (greaterBeyondTolerance(std::fabs(a.spanDeflections[i]),
                               std::fabs(a.spanDeflections[chosen])))
      chosen = i;
  }
  a.maxDeflection = std::fabs(a.spanDeflections[chosen]);
  a.maxDeflectionSpan = a.beam.spans[chosen];
  a.deflectionRatio = spanRatio(a.maxDeflectionSpan, a.spanDeflections[chosen]);
}

// Diagram pass: the smallest span / deflection ratio, each floored.
void selectSmallestRatio(CaseAnalysis& a) {
  std::size_t chosen = 0;
  double best = 0;
  for (std::size_t i = 0; i < slot(a.spanCount); ++i) {
    const double ratio = floorTo(spanRatio(a.beam.spans[i], a.spanDeflections[i]), 0);
    if (i == 0 || ratio < best) {
      best = ratio;
      chosen = i;
    }
  }
  a.maxDeflection = std::fabs(a.spanDeflections[chosen]);
  a.maxDeflectionSpan = a.beam.spans[chosen];
  a.deflectionRatio = best;
}

BeamModel buildBeam(const DesignConditions& c, const CaseLineLoads& loads) {
  BeamModel model;
  model.memberCount = static_cast<int>(spanSlots(c));
  model.youngsModulus = youngsModulus;
  model.supportCodes.fill(kSupportPin);
  const double area = deckAreaOf(c.deckType) * 100;
  for (std::size_t i = 0; i < spanSlots(c); ++i) {
    model.spans[i] = c.spanLengths[i];
    model.area[i] = area;
    model.inertia[i] = c.momentOfInertia;
    model.lineLoads[i] = loads.lineLoads[i];
    model.endIntensities[i] = loads.endIntensities[i];
    model.uniformSnow[i] = 1;
  }
  model.leftOverhang = c.leftOverhang;
  model.rightOverhang = c.rightOverhang;
  return model;
}

}  // namespace

const CaseConstants& caseConstantsOf(CaseVariant variant) {
  return kCaseConstants[static_cast<std::size_t>(variant)];
}

CaseRatios ratiosOfCase(const DesignConditions& c, int caseIndex) {
  const std::size_t k = slot(caseIndex);
  return CaseRatios{c.ratioG[k], c.ratioP[k], c.ratioS[k], c.ratioW[k]};
}

CaseLineLoads caseLineLoadsOf(const DesignConditions& c, const CaseRatios& r, WindSide side,
                              double wind, double wallPressure) {
  return caseLineLoads(wind, c.deadPlusLive, r.g, r.p, r.s, r.w, side, c.snowLoad,
                       static_cast<int>(spanSlots(c)), hasLeftOverhang(c), hasRightOverhang(c),
                       wallPressure);
}

CaseAnalysis analyseCase(const DesignConditions& c, CaseVariant variant, const CaseRatios& ratios,
                         double wallPressure, bool storeSamples) {
  const CaseConstants& k = caseConstantsOf(variant);
  CaseAnalysis a;
  a.variant = variant;
  a.caseIndex = k.caseIndex;
  a.windSide = k.windSide;
  a.ratios = ratios;
  const bool negativeSide = k.windSide == WindSide::Negative;
  a.wind = negativeSide ? c.windNegative : c.windPositive;
  a.samplesStored = storeSamples;
  a.spanCount = static_cast<int>(spanSlots(c));

  a.lineLoads = caseLineLoadsOf(c, ratios, k.windSide, a.wind, wallPressure);
  a.beam = buildBeam(c, a.lineLoads);
  a.result = analyseBeam(a.beam);
  selectReactions(a, storeSamples);

  const double factor = deflectionFactor(c.deckType);
  for (std::size_t i = 0; i < slot(a.spanCount); ++i) {
    const int member = static_cast<int>(i);
    SpanDeflection d = spanDeflection(a.beam, a.result, member, factor, storeSamples);
    a.spanDeflections[i] = d.deflection;
    a.spanDeflectionSamples[i] = std::move(d.samples);
  }
  a.overhangs[0] = analyseOverhang(a.beam, a.lineLoads, OverhangSide::kLeft, negativeSide, factor);
  a.overhangs[1] = analyseOverhang(a.beam, a.lineLoads, OverhangSide::kRight, negativeSide, factor);
  for (std::size_t i = 0; i < slot(a.spanCount); ++i) {
    SpanMoments m = spanMoments(a.beam, a.result, static_cast<int>(i), storeSamples);
    const DesignMoment design = designMomentOf(m);
    a.spanDesignMoments[i] = design.moment;
    a.spanDesignMomentPositions[i] = design.position;
    a.spanMomentSamples[i] = std::move(m.samples);
  }

  selectMaxMoment(a);
  if (storeSamples)
    selectSmallestRatio(a);
  else
    selectLargestDeflection(a);

  // The combinations of all three cases follow the wind side and ratios in hand.
  PerLoadCase<double> g = c.ratioG;
  PerLoadCase<double> s = c.ratioS;
  PerLoadCase<double> w = c.ratioW;
  g[slot(k.caseIndex)] = ratios.g;
  s[slot(k.caseIndex)] = ratios.s;
  w[slot(k.caseIndex)] = ratios.w;
  for (int i = 0; i < kLoadCaseCount; ++i) {
    CaseCombination combination = combineLoads(i, k.windSide, g, w, s, c.deadPlusLive,
                                               c.windPositive, c.windNegative, c.snowLoad);
    a.caseTotals[slot(i)] = combination.total;
    a.caseLabels[slot(i)] = std::move(combination.label);
  }
  a.sectionCaseTotal = a.caseTotals[slot(k.caseIndex)];
  return a;
}

CaseAnalysis withoutSamples(CaseAnalysis a) {
  a.samplesStored = false;
  a.spanMomentSamples = {};
  a.spanDeflectionSamples = {};
  selectReactions(a, false);
  selectLargestDeflection(a);
  return a;
}

SampledCases::SampledCases(const DesignConditions& prepared, double wallPressure)
    : conditions_(prepared), wallPressure_(wallPressure) {
  // Room for every variant with two sets of ratios, so that the analyses
  // are not moved about as more come.
  analysed_.reserve(2 * kCaseConstants.size());
}

CaseAnalysis& SampledCases::analysed(CaseVariant variant, const CaseRatios& ratios) {
  for (CaseAnalysis& a : analysed_) {
    if (a.variant == variant && a.ratios == ratios)
      return a;
  }
  analysed_.push_back(analyseCase(conditions_, variant, ratios, wallPressure_, true));
  return analysed_.back();
}

CaseAnalysis SampledCases::of(CaseVariant variant, const CaseRatios& ratios) {
  return analysed(variant, ratios);
}

CaseAnalysis SampledCases::withoutSamplesOf(CaseVariant variant, const CaseRatios& ratios) {
  CaseAnalysis& sampled = analysed(variant, ratios);
  // The span samples step aside while the rest is copied, and come back
  // whether or not the copy succeeds.
  auto moments = std::move(sampled.spanMomentSamples);
  auto deflections = std::move(sampled.spanDeflectionSamples);
  const auto restore = [&] {
    sampled.spanMomentSamples = std::move(moments);
    sampled.spanDeflectionSamples = std::move(deflections);
  };
  CaseAnalysis copy;
  try {
    copy = sampled;
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return withoutSamples(std::move(copy));
}

}  // namespace tavilo
