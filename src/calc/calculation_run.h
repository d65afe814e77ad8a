#pragma once
// The calculation run: every load case of one calculation analysed, checked
// and collected into one value, the CalculationOutcome, which the report pages
// and the batch tool only read. Drawing never recomputes a check or changes a
// counter; printing draws the same outcome again.
//
// Signs follow the solver (beam_solver.h) unless a field says otherwise:
// loads and reactions upward positive, moments positive in hogging, span
// deflections positive downward. Area loads N/m², downward positive.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/beam_solver.h"
#include "calc/checks.h"
#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/load_cases.h"
#include "calc/report_facts.h"
#include "calc/snow_load.h"
#include "calc/wind_load.h"

namespace tavilo {

// ---- Load cases of a run

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

// "Ｇ＋Ｐ" or "1.20(Ｇ＋Ｐ)" …: the ratio part of a case title. `windSuffix` is
// appended after "Ｗ" ("（正圧）", "（負圧）" in diagram titles, empty on the
// results page); `withWind` is false for the long-term case.
std::string ratioTitle(const CaseRatios& ratios, bool withWind, std::string_view windSuffix);
// A ratio as the titles print it: cut to two decimals ("0.70", "1.25").
std::string ratioText(double ratio);
// The results-page title of a case, e.g. "長期Ｇ＋Ｐ＋0.70Ｓ".
std::string caseTitle(CaseVariant variant, const CaseRatios& ratios);

// ---- One analysed case

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
  std::string caseTitle;       // results-page title, e.g. "長期Ｇ＋Ｐ＋0.70Ｓ"
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
  std::array<double, 3> caseTotals{};       // after this analysis, N/m²
  std::array<std::string, 3> caseLabels{};  // e.g. "G+P+1W(負)"
  double sectionCaseTotal = 0;              // caseTotals[caseIndex]
};

// ---- The results section

// The numbers of the results table under the deck schematic. Moments in
// kN·m as magnitudes, shears in kN with their sign, deflections in mm.
struct ResultsTable {
  std::vector<double> spanMoments;  // Ｍ₁: |design moment| per span
  // Ｍ₀ per support 0..n, the values joined by "/" left to right: left
  // overhang root / first span left end; right end of span i / left end of
  // span i+1; last span right end / right overhang root.
  std::vector<std::vector<double>> supportMoments;
  // δ row: left overhang tip (0 without one), every span, right overhang tip
  // (0 without one).
  std::vector<double> deflections;
  // Ｑ row, negative-pressure sections only (else empty): member end shears
  // per support joined like the moments; at the first support with a left
  // overhang the overhang load (case total × a × 10⁻⁶, kN) comes first.
  std::vector<std::vector<double>> supportShears;
};

struct ResultsSection {
  CaseAnalysis analysis;
  CaseChecks checks;
  ResultsTable table;
};

// ---- The diagram section

// A span's load for a load figure: line loads in N/mm at both ends, upward positive.
struct SpanLoad {
  double left = 0;
  double right = 0;
  bool uniform = true;
};

struct DiagramHeader {
  CaseLineLoads lineLoads;          // every ratio 1, positive side
  std::vector<SpanLoad> snowLoads;  // snow figure: the snow end intensities per span
  int deadPlusLive = 0;             // N/m²
  int windPositive = 0;             // N/m²
  int windNegative = 0;             // N/m²
};

struct DiagramBlock {
  CaseAnalysis analysis;  // samples stored; diagram-pass deflection and reaction selection
  std::string label;  // e.g. "短期（暴風時）Ｇ＋Ｐ＋Ｗ（正圧）"; the page adds "■"
  std::vector<SpanLoad> loads;  // load figure: line load plus snow end intensities per span
  // Root shear of a left overhang: combined load × leftOverhang × 0.001, N per
  // metre of width (the diagram shows it in kN). 0 without a left overhang.
  double leftOverhangRootShear = 0;
  bool additional = false;      // the negative-pressure block after the three main ones
  bool heavySnowBlock = false;  // the additional block of a heavy-snow site
};

struct DiagramSection {
  DiagramHeader header;
  std::vector<DiagramBlock> blocks;  // three main blocks, then the additional one
};

// ---- The whole run

struct CalculationOutcome {
  DesignConditions conditions;  // after gathering and preparation
  CoefficientSettings settings;
  CaLC_DATA calcData;
  std::optional<WindDerivation> wind;    // none with direct input of loads
  std::optional<SnowDerivation> snow;    // none when the surcharge check did not apply
  std::vector<ResultsSection> sections;  // 4 cases, 5 on a heavy-snow site
  FailureCounters failures;              // over every section
  std::string verdict;
  bool allOk = false;
  DiagramSection diagrams;
  // The input screen as the report prints it, captured when the calculation ran.
  ReportFacts facts;
};

// ---- Preparation

// What the preparation step reads besides the gathered conditions.
struct PreparationInputs {
  int overhangCode = 0;         // 0 none, 1 left, 2 right, 3 both
  int leftOverhangLength = 0;   // mm, as entered
  int rightOverhangLength = 0;  // mm, as entered
  int directWindPositive = 0;   // direct input: entered Ww+, N/m²
  int directWindNegative = 0;   // direct input: entered |Ww−|, N/m²
  double computedDepthM = 0;    // the screen's last derived snow depth, m
};

struct LoadDerivations {
  std::optional<WindDerivation> wind;
  std::optional<SnowDerivation> snow;
};

// Fills the CaLC_DATA record, the combined dead load, the wind pressures, the
// load ratios by site and the snow surcharge, in that order. The conditions
// must hold what the input check and the gathering step wrote.
LoadDerivations prepareCalculationData(DesignConditions& conditions, CaLC_DATA& data,
                                       const CoefficientSettings& settings,
                                       const PreparationInputs& inputs);

// ---- Running

// A case of the results section with the ratios it is analysed with.
struct ResultsCase {
  CaseVariant variant;
  CaseRatios ratios;
};

// The cases of the results section in report order: long-term, short-term
// snow, storm under positive and under negative pressure, and on a
// heavy-snow site the storm without snow.
std::vector<ResultsCase> resultsCases(const DesignConditions& prepared);

// One load case: builds the beam, analyses it, evaluates spans and
// overhangs and collects the check quantities. `wallPressure` is Wwall+ of
// the calculation (wallPressureFor). With `storeSamples` the diagram-pass
// samples and selections are made.
CaseAnalysis analyseCase(const DesignConditions& conditions, CaseVariant variant,
                         const CaseRatios& ratios, double wallPressure, bool storeSamples);

// The checks and table of an analysed case.
ResultsSection checkSection(CaseAnalysis analysis, const DesignConditions& conditions,
                            const CoefficientSettings& settings);

// The failures of the results section alone, which decide the verdict:
// the same cases, analyses and checks as the calculation run, without the
// samples and the diagram section.
FailureCounters resultsFailures(const DesignConditions& prepared,
                                const CoefficientSettings& settings,
                                const std::optional<WindDerivation>& wind);

// Both passes, in report order.
CalculationOutcome runCalculation(const DesignConditions& prepared, const CaLC_DATA& calcData,
                                  const CoefficientSettings& settings,
                                  const std::optional<WindDerivation>& wind,
                                  const std::optional<SnowDerivation>& snow);

}  // namespace tavilo
