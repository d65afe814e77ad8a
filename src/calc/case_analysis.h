#pragma once
// One load case of a calculation: the beam built from the prepared
// conditions and the ratios of the case, analysed, with its spans and
// overhangs evaluated and the quantities the checks read selected.
//
// Signs follow the solver (beam_solver.h) unless a field says otherwise:
// loads and reactions upward positive, moments positive in hogging, span
// deflections positive downward. Area loads N/m², downward positive.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/beam_solver.h"
#include "calc/design_conditions.h"
#include "calc/load_cases.h"

namespace tavilo {

// The five case variants of the results section, in report order.
enum class CaseVariant {
  kLongTerm,       // "長期", index 0, positive pressure
  kShortTermSnow,  // "短期 (積雪時)", index 1, positive pressure
  kStormPositive,  // "短期（暴風時正圧）", index 2, positive pressure
  kStormNegative,  // "短期（暴風時負圧）", index 2, negative pressure
  kStormNoSnow,  // "短期（暴風時-積雪無し）", index 2, negative pressure, heavy-snow sites only
};

struct CaseConstants {
  CaseVariant variant;
  int caseIndex;  // 0 long-term, 1 short-term snow, 2 short-term storm
  WindSide windSide;
  std::string_view sectionName;  // case name of the results-page heading
  std::string_view diagramName;  // case name of a diagram block title
  double allowableFactor;        // k
  double deflectionLimit;        // n: limit span / n
};

inline constexpr std::array<CaseConstants, 5> kCaseConstants = {{
    {CaseVariant::kLongTerm, kLongTerm, WindSide::Positive, "長期", "長期", 1.0, 250},
    {CaseVariant::kShortTermSnow, kShortTermSnow, WindSide::Positive, "短期 (積雪時)",
     "短期 (積雪時)", 1.5, 180},
    {CaseVariant::kStormPositive, kShortTermStorm, WindSide::Positive, "短期（暴風時正圧）",
     "短期（暴風時）", 1.5, 180},
    {CaseVariant::kStormNegative, kShortTermStorm, WindSide::Negative, "短期（暴風時負圧）",
     "短期（暴風時）", 1.5, 180},
    {CaseVariant::kStormNoSnow, kShortTermStorm, WindSide::Negative, "短期（暴風時-積雪無し）",
     "短期（暴風時-積雪無し）", 1.5, 180},
}};

const CaseConstants& caseConstantsOf(CaseVariant variant);

// The G, P, S and W ratios one analysis used.
struct CaseRatios {
  double g = 0;
  double p = 0;
  double s = 0;
  double w = 0;
  bool operator==(const CaseRatios&) const = default;
};

struct OverhangAnalysis {
  bool present = false;
  OverhangSide side = OverhangSide::kLeft;
  double length = 0;    // a, mm
  double lineLoad = 0;  // w: the end member's load at that end (solver load), N/mm
  // w·a²/2 (left) or −w·a²/2 (right) rounded to 100000 N·mm, for the moment diagram.
  double rootMoment = 0;
  std::vector<double> momentSamples;      // every 100 mm left to right, then kEndMarker
  std::vector<double> deflectionSamples;  // every 100 mm, POSITIVE UPWARD, then kEndMarker
  double tipDeflection = 0;               // under w, mm, positive downward
  // Negative-pressure cases: the overhang load w′ with the curtain-wall
  // pressure (plus the snow part of the end member) and the tip deflection under it.
  bool hasWallLoad = false;
  double wallLineLoad = 0;       // w′, N/mm, upward positive
  double wallTipDeflection = 0;  // mm, positive downward
  // What the results table prints for the overhang: the root moment as a
  // magnitude (unrounded), N·mm, and the δ-row value, mm (left: magnitude of
  // the tip; right: the tip deflection, downward positive).
  double tableMoment = 0;
  double tableDeflection = 0;
};

struct CaseAnalysis {
  CaseVariant variant = CaseVariant::kLongTerm;
  int caseIndex = kLongTerm;
  WindSide windSide = WindSide::Positive;
  CaseRatios ratios;           // ratios the analysis used
  double wind = 0;             // W of the case: windPositive or windNegative, N/m²
  bool samplesStored = false;  // diagram pass
  int spanCount = 1;
  CaseLineLoads lineLoads;  // as handed to the solver
  BeamModel beam;
  BeamResult result;
  std::array<double, kMaxSpans> spanDesignMoments{};          // N·mm
  std::array<double, kMaxSpans> spanDesignMomentPositions{};  // mm from the left support
  std::array<double, kMaxSpans> spanDeflections{};            // mm, downward positive
  // Diagram pass only (else empty): moments at 0, 100 … mm and deflections at
  // 95, 195 … mm of every span, each ended by kEndMarker.
  std::array<std::vector<double>, kMaxSpans> spanMomentSamples;
  std::array<std::vector<double>, kMaxSpans> spanDeflectionSamples;
  std::array<OverhangAnalysis, 2> overhangs;  // [0] left, [1] right
  double maxMoment = 0;                       // N·mm, magnitude
  double maxDeflection = 0;                   // mm, magnitude
  double maxDeflectionSpan = 0;               // mm, length of the span chosen for maxDeflection
  // |span / deflection| of that span, 99999 for a deflection of 0 (diagram
  // pass: floored to a whole number).
  double deflectionRatio = 0;
  double endReaction = 0;  // N: smaller of the reactions at the first and last support
  // N: results pass: most negative intermediate reaction ≤ 0, kNoValue when none;
  // diagram pass: the smallest of 0 and every intermediate reaction.
  double midReaction = 0;
  PerLoadCase<double> caseTotals{};       // after this analysis, N/m²
  PerLoadCase<std::string> caseLabels{};  // e.g. "G+P+1W(負)"
  double sectionCaseTotal = 0;            // caseTotals[caseIndex]
};

// The ratios of one of the three cases as the preparation chose them.
CaseRatios ratiosOfCase(const DesignConditions& prepared, int caseIndex);

// The line loads of a case as the solver takes them. `wallPressure` is
// Wwall+ of the calculation (wallPressureFor).
CaseLineLoads caseLineLoadsOf(const DesignConditions& prepared, const CaseRatios& ratios,
                              WindSide side, double wind, double wallPressure);

// One load case: builds the beam, analyses it, evaluates spans and
// overhangs and collects the check quantities. `wallPressure` is Wwall+ of
// the calculation (wallPressureFor). With `storeSamples` the diagram-pass
// samples and selections are made.
CaseAnalysis analyseCase(const DesignConditions& conditions, CaseVariant variant,
                         const CaseRatios& ratios, double wallPressure, bool storeSamples);

// What analyseCase without samples gives, taken from the analysis of the
// same case with samples: the beam and every value along it are the same;
// only the samples go and the deflection and the intermediate reaction are
// selected by the rules of the results pass.
CaseAnalysis withoutSamples(CaseAnalysis analysis);

// The analyses of one calculation, with samples: the diagram section
// analyses the cases of the results section again, mostly with the same
// ratios, so each distinct case is analysed once and both sections take
// their values from that analysis.
class SampledCases {
 public:
  SampledCases(const DesignConditions& prepared, double wallPressure);
  CaseAnalysis of(CaseVariant variant, const CaseRatios& ratios);
  // withoutSamples(of(variant, ratios)), without copying the span samples
  // only to drop them.
  CaseAnalysis withoutSamplesOf(CaseVariant variant, const CaseRatios& ratios);

 private:
  CaseAnalysis& analysed(CaseVariant variant, const CaseRatios& ratios);

  const DesignConditions& conditions_;
  double wallPressure_;
  std::vector<CaseAnalysis> analysed_;
};

}  // namespace tavilo
