#include "calc/calculation_run.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <utility>

#include "calc/catalogue.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

constexpr double kToKilo = 0.001;     // N → kN
constexpr double kToMega = 0.000001;  // N·mm → kN·m, N/m² · mm → kN per metre of width

std::size_t spanSlots(const DesignConditions& c) {
  return static_cast<std::size_t>(std::clamp(c.spanCount, 1, kMaxSpans));
}

bool hasLeftOverhang(const DesignConditions& c) {
  return c.leftOverhang > 0;
}

bool hasRightOverhang(const DesignConditions& c) {
  return c.rightOverhang > 0;
}

// ---- Preparation

void copySiteAndWindData(const DesignConditions& c, CaLC_DATA& data) {
  data.deckType = c.deckType;
  data.endJoint = c.endJoint;
  data.midJoint = c.midJoint;
  data.prefectureName = c.prefectureName;
  data.districtName = c.districtName;
  data.snowUnitWeight = c.snowUnitWeight;
  data.snowDepthMethod = c.snowDepthMethod;
  data.snowDepth = c.snowDepth;
  data.buildingShape = c.buildingShape;
  data.roofShape = c.roofShape;
  // The calculation record leaves the name empty for a shape it does not know.
  data.buildingShapeName =
      c.buildingShape >= 0 && c.buildingShape <= 2 ? buildingShapeNameOf(c.buildingShape) : "";
  data.roughnessIndex = c.roughness - 1;
  data.windSpeedV0 = c.windSpeedV0;
  data.roofClass = c.roofClass;
  data.eavesHeightH1 = c.eavesHeightH1;
  data.buildingHeightH2 = c.buildingHeightH2;
  data.spanDirectionLengthD = c.spanDirectionLengthD;
}

void setOverhangs(DesignConditions& c, CaLC_DATA& data, const PreparationInputs& in) {
  const bool left = overhangOnLeft(in.overhangCode);
  const bool right = overhangOnRight(in.overhangCode);
  data.leftOverhangFlag = left ? 1 : 0;
  data.rightOverhangFlag = right ? 1 : 0;
  data.leftOverhangLength = left ? in.leftOverhangLength : 0;
  data.rightOverhangLength = right ? in.rightOverhangLength : 0;
  c.leftOverhang = data.leftOverhangLength;
  c.rightOverhang = data.rightOverhangLength;
}

void chooseLoadRatios(DesignConditions& c, CaLC_DATA& data, const CoefficientSettings& s) {
  const RatioSet set = c.heavySnow ? RatioSet::HeavySnow : RatioSet::Ordinary;
  for (const LoadRatioRow& row : kLoadRatioRows) {
    const std::array<double, 4> r = rowRatios(s.loadRatios, set, row);
    const std::size_t k = slot(row.caseIndex);
    data.caseRatios[k] = r;
    c.ratioG[k] = r[0];
    c.ratioP[k] = r[1];
    c.ratioS[k] = r[2];
    c.ratioW[k] = r[3];
  }
}

void fillSpanLoads(const DesignConditions& c, CaLC_DATA& data) {
  for (std::size_t i = 0; i < slot(kMaxSpans); ++i) {
    data.uniformSnow[i] = 1;
    data.spanLengths[i] = c.spanLengths[i];
    data.spanEndSnow[i] = {c.snowLoad, c.snowLoad};
    data.pointLoads[i] = {0, 0};
    data.pointLoadPositions[i][0] = 0;
    data.pointLoadPositions[i][1] = 0;
  }
}

// ---- One case

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

CaseLineLoads lineLoadsFor(const DesignConditions& c, const CaseRatios& r, WindSide side,
                           double wind, double wallPressure) {
  return caseLineLoads(wind, c.deadPlusLive, r.g, r.p, r.s, r.w, side, c.snowLoad,
                       static_cast<int>(spanSlots(c)), hasLeftOverhang(c), hasRightOverhang(c),
                       wallPressure);
}

std::vector<SpanLoad> spanLoadsOf(const CaseLineLoads& loads, int spanCount, bool withLineLoad) {
  std::vector<SpanLoad> out;
  for (std::size_t i = 0; i < slot(spanCount); ++i) {
    const double base = withLineLoad ? loads.lineLoads[i] : 0.0;
    out.push_back(
        SpanLoad{base + loads.endIntensities[i][0], base + loads.endIntensities[i][1], true});
  }
  return out;
}

// ---- Checks and table

// The overhang values the check takes. In the negative-pressure cases of a
// derived wind load the curtain-wall load w′ is used; elsewhere the values of
// the results table.
OverhangCheckInput overhangCheckInput(const OverhangAnalysis& o, bool wallPressure,
                                      double caseTotal) {
  OverhangCheckInput in;
  in.present = o.present;
  if (!o.present)
    return in;
  in.length = o.length;
  const double a = o.length;
  if (wallPressure) {
    const double m = -o.wallLineLoad * (a * a) / 2;
    // The right root moment is taken to whole kN·mm (1000 N·mm), half up.
    in.moment = o.side == OverhangSide::kLeft ? m : roundHalfUp(m, -3);
    in.deflection = std::fabs(o.wallTipDeflection);
    in.jointForce = std::fabs(o.wallLineLoad) * a;
    return in;
  }
  in.moment = o.tableMoment;
  in.deflection = std::fabs(o.tableDeflection);
  in.jointForce = std::fabs(caseTotal) * a * 0.001;
  return in;
}

ResultsTable resultsTable(const CaseAnalysis& a) {
  ResultsTable t;
  const auto& f = a.result.memberEndForces;
  const std::size_t n = slot(a.spanCount);
  const OverhangAnalysis& left = a.overhangs[0];
  const OverhangAnalysis& right = a.overhangs[1];
  const bool shears = a.windSide == WindSide::Negative;

  for (std::size_t i = 0; i < n; ++i)
    t.spanMoments.push_back(std::fabs(a.spanDesignMoments[i]) * kToMega);

  for (std::size_t node = 0; node <= n; ++node) {
    std::vector<double> moments;
    std::vector<double> shearValues;
    if (node == 0 && left.present) {
      moments.push_back(left.tableMoment * kToMega);
      shearValues.push_back(a.sectionCaseTotal * left.length * kToMega);
    }
    if (node > 0) {
      moments.push_back(std::fabs(f[node - 1][5]) * kToMega);
      shearValues.push_back(f[node - 1][4] * kToKilo);
    }
    if (node < n) {
      moments.push_back(std::fabs(f[node][2]) * kToMega);
      shearValues.push_back(f[node][1] * kToKilo);
    }
    if (node == n && right.present)
      moments.push_back(right.tableMoment * kToMega);
    t.supportMoments.push_back(std::move(moments));
    if (shears)
      t.supportShears.push_back(std::move(shearValues));
  }

  t.deflections.push_back(left.present ? left.tableDeflection : 0.0);
  for (std::size_t i = 0; i < n; ++i)
    t.deflections.push_back(a.spanDeflections[i]);
  t.deflections.push_back(right.present ? right.tableDeflection : 0.0);
  return t;
}

// What analyseCase without samples gives, taken from the analysis of the
// same case with samples: the beam and every value along it are the same;
// only the samples go and the deflection and the intermediate reaction are
// selected by the rules of the results pass.
CaseAnalysis withoutSamples(CaseAnalysis a) {
  a.samplesStored = false;
  a.spanMomentSamples = {};
  a.spanDeflectionSamples = {};
  selectReactions(a, false);
  selectLargestDeflection(a);
  return a;
}

CaseRatios ratiosOfCase(const DesignConditions& c, int caseIndex) {
  const std::size_t k = slot(caseIndex);
  return CaseRatios{c.ratioG[k], c.ratioP[k], c.ratioS[k], c.ratioW[k]};
}

}  // namespace

std::vector<ResultsCase> resultsCases(const DesignConditions& c) {
  std::vector<ResultsCase> cases = {
      {CaseVariant::kLongTerm, ratiosOfCase(c, kLongTerm)},
      {CaseVariant::kShortTermSnow, ratiosOfCase(c, kShortTermSnow)},
      {CaseVariant::kStormPositive, ratiosOfCase(c, kShortTermStorm)},
  };
  CaseRatios noSnowStorm = ratiosOfCase(c, kShortTermStorm);
  noSnowStorm.s = 0;
  // An ordinary site carries no snow in the storm case under uplift; a
  // heavy-snow site is checked with and without it.
  if (c.heavySnow) {
    cases.push_back({CaseVariant::kStormNegative, ratiosOfCase(c, kShortTermStorm)});
    cases.push_back({CaseVariant::kStormNoSnow, noSnowStorm});
  } else {
    cases.push_back({CaseVariant::kStormNegative, noSnowStorm});
  }
  return cases;
}

const CaseConstants& caseConstantsOf(CaseVariant variant) {
  return kCaseConstants[static_cast<std::size_t>(variant)];
}

std::string ratioText(double ratio) {
  if (!std::isfinite(ratio))
    return shortestDecimal(ratio);
  // Cut to two places by the common rule; any finite ratio has a text.
  const double cut = truncTo(ratio, 2);
  // The largest double has 309 digits before the point.
  char buffer[320];
  std::snprintf(buffer, sizeof buffer, "%.2f", std::fabs(cut));
  const std::string text(buffer);
  const std::size_t point = text.find('.');
  const bool negative = cut < 0;
  return (negative ? "-" : "") + groupThousands(text.substr(0, point)) + text.substr(point);
}

std::string caseTitle(CaseVariant variant, const CaseRatios& ratios) {
  const CaseConstants& k = caseConstantsOf(variant);
  return std::string(k.sectionName) + ratioTitle(ratios, k.caseIndex != kLongTerm, "");
}

std::string ratioTitle(const CaseRatios& r, bool withWind, std::string_view windSuffix) {
  const auto factor = [](double ratio) { return ratio == 1 ? std::string() : ratioText(ratio); };
  std::string title;
  if (r.g != 0)
    title += r.g == 1 ? "Ｇ＋Ｐ" : ratioText(r.g) + "(Ｇ＋Ｐ)";
  if (r.s != 0)
    title += "＋" + factor(r.s) + "Ｓ";
  if (withWind && r.w != 0)
    title += "＋" + factor(r.w) + "Ｗ" + std::string(windSuffix);
  return title;
}

LoadDerivations prepareCalculationData(DesignConditions& c, CaLC_DATA& data,
                                       const CoefficientSettings& settings,
                                       const PreparationInputs& in) {
  LoadDerivations out;
  copySiteAndWindData(c, data);
  setOverhangs(c, data, in);
  data.spanCount = c.spanCount;
  c.deadPlusLive = static_cast<int>(truncTo(c.liveLoad + c.unitWeight + c.finishingLoad, 0));

  if (settings.calcMethod == kCalcMethodNotices) {
    out.wind = deriveWindLoad(data);
    c.windPositive = out.wind->windPositive;
    c.windNegative = out.wind->windNegative;
  } else {
    c.windPositive = in.directWindPositive;
    c.windNegative = -in.directWindNegative;
  }

  chooseLoadRatios(c, data, settings);

  SnowDerivation snow;
  snow.computedDepthM = in.computedDepthM;
  const int roofAngle = out.wind ? static_cast<int>(out.wind->roofAngle) : 0;
  applySnowSurcharge(c, settings.calcMethod, roofAngle, snow);
  if (c.snowIncreaseState != kSnowIncreaseNone)
    out.snow = snow;

  fillSpanLoads(c, data);
  return out;
}

CaseAnalysis analyseCase(const DesignConditions& c, CaseVariant variant, const CaseRatios& ratios,
                         double wallPressure, bool storeSamples) {
  const CaseConstants& k = caseConstantsOf(variant);
  CaseAnalysis a;
  a.variant = variant;
  a.caseIndex = k.caseIndex;
  a.windSide = k.windSide;
  a.caseTitle = caseTitle(variant, ratios);
  a.ratios = ratios;
  const bool negativeSide = k.windSide == WindSide::Negative;
  a.wind = negativeSide ? c.windNegative : c.windPositive;
  a.samplesStored = storeSamples;
  a.spanCount = static_cast<int>(spanSlots(c));

  a.lineLoads = lineLoadsFor(c, ratios, k.windSide, a.wind, wallPressure);
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
  std::array<double, 3> g = c.ratioG;
  std::array<double, 3> s = c.ratioS;
  std::array<double, 3> w = c.ratioW;
  g[slot(k.caseIndex)] = ratios.g;
  s[slot(k.caseIndex)] = ratios.s;
  w[slot(k.caseIndex)] = ratios.w;
  for (int i = kLongTerm; i <= kShortTermStorm; ++i) {
    CaseCombination combination = combineLoads(i, k.windSide, g, w, s, c.deadPlusLive,
                                               c.windPositive, c.windNegative, c.snowLoad);
    a.caseTotals[slot(i)] = combination.total;
    a.caseLabels[slot(i)] = std::move(combination.label);
  }
  a.sectionCaseTotal = a.caseTotals[slot(k.caseIndex)];
  return a;
}

ResultsSection checkSection(CaseAnalysis analysis, const DesignConditions& c,
                            const CoefficientSettings& settings) {
  const CaseConstants& k = caseConstantsOf(analysis.variant);
  const bool wallPressure =
      analysis.windSide == WindSide::Negative && settings.calcMethod == kCalcMethodNotices;

  CheckInput in;
  in.allowableFactor = k.allowableFactor;
  in.deflectionLimitN = k.deflectionLimit;
  in.designStrengthF = settings.designStrengthF;
  in.sectionModulus = c.sectionModulus;
  in.endJointCapacity = c.endJointCapacity;
  in.midJointCapacity = c.midJointCapacity;
  in.maxMoment = analysis.maxMoment;
  in.maxDeflection = analysis.maxDeflection;
  in.maxDeflectionSpan = analysis.maxDeflectionSpan;
  in.endReaction = analysis.endReaction;
  in.midReaction = analysis.midReaction;
  in.wallPressure = wallPressure;
  in.left = overhangCheckInput(analysis.overhangs[0], wallPressure, analysis.sectionCaseTotal);
  in.right = overhangCheckInput(analysis.overhangs[1], wallPressure, analysis.sectionCaseTotal);

  ResultsSection section;
  section.checks = checkCase(in);
  section.table = resultsTable(analysis);
  section.analysis = std::move(analysis);
  return section;
}

FailureCounters resultsFailures(const DesignConditions& prepared,
                                const CoefficientSettings& settings,
                                const std::optional<WindDerivation>& wind) {
  const double wallPressure = wallPressureFor(
      settings.calcMethod, wind ? &*wind : static_cast<const WindDerivation*>(nullptr));
  FailureCounters failures;
  for (const ResultsCase& results : resultsCases(prepared)) {
    failures +=
        checkSection(analyseCase(prepared, results.variant, results.ratios, wallPressure, false),
                     prepared, settings)
            .checks.failures;
  }
  return failures;
}

CalculationOutcome runCalculation(const DesignConditions& prepared, const CaLC_DATA& calcData,
                                  const CoefficientSettings& settings,
                                  const std::optional<WindDerivation>& wind,
                                  const std::optional<SnowDerivation>& snow) {
  CalculationOutcome out;
  out.conditions = prepared;
  out.settings = settings;
  out.calcData = calcData;
  out.wind = wind;
  out.snow = snow;
  const DesignConditions& c = out.conditions;
  const double wallPressure = wallPressureFor(
      settings.calcMethod, wind ? &*wind : static_cast<const WindDerivation*>(nullptr));
  const bool heavySnow = c.heavySnow;

  // The diagram section analyses the cases of the results section again,
  // mostly with the same ratios: each distinct case is analysed once, with
  // its samples, and both sections take their values from that analysis.
  std::vector<CaseAnalysis> analysed;
  const auto sampledCase = [&](CaseVariant variant, const CaseRatios& ratios) {
    for (const CaseAnalysis& a : analysed) {
      if (a.variant == variant && a.ratios == ratios)
        return a;
    }
    analysed.push_back(analyseCase(c, variant, ratios, wallPressure, true));
    return analysed.back();
  };

  // ---- Results section
  const auto addSection = [&](CaseVariant variant, const CaseRatios& ratios) {
    ResultsSection section =
        checkSection(withoutSamples(sampledCase(variant, ratios)), c, settings);
    out.failures += section.checks.failures;
    out.sections.push_back(std::move(section));
  };
  for (const ResultsCase& results : resultsCases(c))
    addSection(results.variant, results.ratios);
  CaseRatios noSnowStorm = ratiosOfCase(c, kShortTermStorm);
  noSnowStorm.s = 0;
  out.verdict = verdictText(out.failures);
  out.allOk = out.failures == FailureCounters{};

  // ---- Diagram section
  DiagramHeader& header = out.diagrams.header;
  header.lineLoads =
      lineLoadsFor(c, CaseRatios{1, 1, 1, 1}, WindSide::Positive, c.windPositive, wallPressure);
  header.snowLoads = spanLoadsOf(header.lineLoads, c.spanCount, false);
  header.deadPlusLive = c.deadPlusLive;
  header.windPositive = c.windPositive;
  header.windNegative = c.windNegative;

  // Every value of a block, its title included, comes from the one analysis
  // the block draws.
  const auto addBlock = [&](CaseVariant variant, const CaseRatios& ratios, bool additional) {
    const CaseConstants& k = caseConstantsOf(variant);
    DiagramBlock block;
    block.analysis = sampledCase(variant, ratios);
    const std::string_view windSuffix = k.windSide == WindSide::Negative ? "（負圧）" : "（正圧）";
    block.label =
        std::string(k.diagramName) + ratioTitle(ratios, k.caseIndex != kLongTerm, windSuffix);
    block.loads = spanLoadsOf(block.analysis.lineLoads, c.spanCount, true);
    block.leftOverhangRootShear =
        hasLeftOverhang(c) ? block.analysis.sectionCaseTotal * c.leftOverhang * 0.001 : 0.0;
    block.additional = additional;
    block.heavySnowBlock = additional && heavySnow;
    out.diagrams.blocks.push_back(std::move(block));
  };
  for (const CaseVariant variant :
       {CaseVariant::kLongTerm, CaseVariant::kShortTermSnow, CaseVariant::kStormPositive})
    addBlock(variant, ratiosOfCase(c, caseConstantsOf(variant).caseIndex), false);
  // The storm under uplift once more, below the three: on a heavy-snow site
  // without snow and with every other load taken whole, else with the ratios
  // of the settings.
  if (heavySnow)
    addBlock(CaseVariant::kStormNoSnow, CaseRatios{1, 1, 0, 1}, true);
  else
    addBlock(CaseVariant::kStormNegative, noSnowStorm, true);
  return out;
}

}  // namespace tavilo
