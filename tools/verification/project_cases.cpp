// Section 5: one sample project followed by hand from its inputs through the
// loads, the combinations, the moments, stresses and deflections to the
// verdict, every figure beside the one the calculation reports.

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "calc/app_state.h"
#include "calc/case_analysis.h"
#include "calc/catalogue.h"
#include "calc/checks.h"
#include "calc/codes.h"
#include "calc/numbers.h"
#include "calc/print_settings.h"
#include "hand_loads.h"
#include "model/calculate_command.h"
#include "model/input_form.h"
#include "model/project_file.h"
#include "model/settings_dialog.h"
#include "persistence/project_paths.h"
#include "verification_cases.h"

namespace tavilo::verification {
namespace {

constexpr const char* kSample = "ordinary-3span";

// The project loaded and calculated as the batch command does.
CalculationOutcome calculateSample(const std::filesystem::path& sourceDir) {
  InputForm form{LocationTables(sourceDir / "Load_data")};
  std::ignore = form.startUp();
  SettingsDialog dialog;
  AppState state;
  PrintSettings print;
  ProjectPaths paths;
  const std::filesystem::path file = sourceDir / "examples" / (std::string(kSample) + ".tvl");
  const ProjectLoad load = loadProject(file, {form, dialog, state.settings, print, paths});
  if (!load.completed())
    throw std::runtime_error("見本データを読めません: " + load.failure.value_or(""));
  CalculateResult result = calculate(form, state);
  if (!result.outcome)
    throw std::runtime_error("見本データを計算できません");
  return std::move(*result.outcome);
}

// The largest deflection magnitude of three equal spans under q (N/mm,
// downward positive) on the 5 mm grid, with hogging moments qL²/10 over the
// inner supports; rounded as the program reports it (away from zero when
// downward, towards zero when upward).
double threeSpanDeflection(double q, double span, double ei) {
  const double support = q * span * span / 10;
  double largest = 0;
  for (double x = 0; x < span; x += 5) {
    largest = std::max({largest, std::fabs(closed::spanDeflectionAt(q, span, ei, 0, support, x)),
                        std::fabs(closed::spanDeflectionAt(q, span, ei, support, support, x))});
  }
  const double scaled = largest * 10000;
  return (q >= 0 ? std::ceil(scaled - 1e-9) : std::floor(scaled + 1e-9)) / 10000;
}

std::string decimal(double v) {
  return shortestDecimal(v);
}

}  // namespace

Section projectSection(const std::filesystem::path& sourceDir) {
  const CalculationOutcome outcome = calculateSample(sourceDir);
  const DesignConditions& c = outcome.conditions;
  const double span = c.spanLengths[0];
  const double z = c.sectionModulus;
  const double ei = 205000.0 * c.momentOfInertia;

  Section s;
  s.heading = "5. 見本データの全計算";
  s.introduction = std::string("見本データ examples/") + kSample +
                   ".tvl を、入力から荷重・組合せ・モーメント・応力度・たわみ・判定まで手で追い、"
                   "計算書の値と並べる。3スパン等スパンの連続梁（公式 wL²/10、0.4wL、1.1wL）。";

  // ---- Inputs and loads
  hand::WindSite site;
  site.roughness = c.roughness;
  site.v0 = c.windSpeedV0;
  site.h1 = static_cast<int>(std::lround(c.eavesHeightH1 * 10));
  site.h2 = static_cast<int>(std::lround(c.buildingHeightH2 * 10));
  site.d = static_cast<int>(std::lround(c.spanDirectionLengthD * 10));
  site.roofClass = c.roofClass;
  site.shape = c.buildingShape;
  site.roofShape = c.roofShape;
  const hand::HandWind wind = hand::handWind(site);
  const hand::HandSnow snow = hand::handSnow({c.snowDepth, outcome.calcData.snowUnitWeight,
                                              c.heavySnow, site.d, static_cast<int>(wind.theta)});
  const int gp = static_cast<int>(std::trunc(c.unitWeight + c.finishingLoad + c.liveLoad));

  Case loads;
  loads.title = "入力と荷重";
  loads.source = "入力値、告示による荷重（1章の手計算と同じ手順）";
  loads.notes = {
      "建設用地 " + c.prefectureName + c.districtName + "、V0=" + std::to_string(c.windSpeedV0) +
          "m/s、粗度区分 " + roughnessNumeral(c.roughness) + "、H1=" + std::to_string(site.h1) +
          "mm、H2=" + std::to_string(site.h2) + "mm、D=" + std::to_string(site.d) + "mm",
      "デッキ " + c.deckName + "（Z=" + decimal(z) + "mm³、I=" + decimal(c.momentOfInertia) +
          "mm⁴）、スパン " + std::to_string(c.spanCount) + "×" + decimal(span) + "mm",
      "単位重量 " + decimal(c.unitWeight) + "、仕上げ " + std::to_string(c.finishingLoad) +
          "、積載 " + std::to_string(c.liveLoad) + " N/m²、垂直積雪量 " +
          std::to_string(c.snowDepth) + "cm、ρ=" + std::to_string(outcome.calcData.snowUnitWeight)};
  loads.rows = {
      closedFormRow("G+P", "単位重量+仕上げ+積載（0方向切捨て）", gp, c.deadPlusLive, 0, "N/m²"),
      closedFormRow("Ww+", "1章の手計算", wind.positive, c.windPositive, 0, "N/m²"),
      closedFormRow("Ww−", "1章の手計算", wind.negative, c.windNegative, 0, "N/m²"),
      closedFormRow("θ", "⌊atan(|H2−H1|/D)⌋", wind.theta,
                    outcome.wind ? outcome.wind->roofAngle : 0, 0, "°"),
      textRow("積雪の割り増し", "多雪でなく d≧15cm、D≧10m、θ≦15°",
              snow.applies ? (snow.state == 2 ? "α<1→1.0" : "割り増し") : "対象外",
              c.snowIncreaseState == 0   ? "対象外"
              : c.snowIncreaseState == 2 ? "α<1→1.0"
                                         : "割り増し"),
      closedFormRow("Ws", "ρ·d·α", snow.load, c.snowLoad, 0, "N/m²"),
  };
  s.cases.push_back(loads);

  // ---- Every load case
  FailureCounters handFailures;
  for (const ResultsSection& section : outcome.sections) {
    const CaseAnalysis& a = section.analysis;
    const CaseChecks& k = section.checks;
    const CaseConstants& constants = caseConstantsOf(a.variant);
    const int windLoad = a.windSide == WindSide::Positive ? wind.positive : wind.negative;
    double total = gp * a.ratios.g + snow.load * a.ratios.s;
    if (a.caseIndex != kLongTerm)
      total += windLoad * a.ratios.w;
    const double q = total / 1000;  // N/mm downward on the 1 m strip
    const double support = q * span * span / 10;
    const double moment = std::fabs(support);
    const long long tenths = static_cast<long long>(std::ceil(moment * 10 / z - 1e-9));
    const int fb = static_cast<int>(std::floor(constants.allowableFactor * 235 / 1.5 + 1e-9));
    const double deflection = threeSpanDeflection(q, span, ei);
    const double limit = span / constants.deflectionLimit;
    const double endReaction = 0.4 * q * span;
    const double midReaction = 1.1 * q * span;
    const double jointAllowable = c.endJointCapacity * constants.allowableFactor * 5;

    Case row;
    row.title = std::string(constants.sectionName) + "（" + a.caseLabels[slot(a.caseIndex)] + "）";
    row.source =
        "組合せ G+P·rG+S·rS+W·rW、3連続梁の公式、許容値 k=" + decimal(constants.allowableFactor) +
        "、たわみ L/" + decimal(constants.deflectionLimit);
    row.notes = {
        "荷重比 G " + decimal(a.ratios.g) + "、S " + decimal(a.ratios.s) + "、W " +
            decimal(a.ratios.w) + "。合計=" + std::to_string(gp) + "×" + decimal(a.ratios.g) + "+" +
            std::to_string(snow.load) + "×" + decimal(a.ratios.s) +
            (a.caseIndex != kLongTerm ? "+(" + std::to_string(windLoad) + ")×" + decimal(a.ratios.w)
                                      : std::string()) +
            "=" + decimal(total) + " N/m²、w=合計/1000=" + decimal(q) + " N/mm（幅1m）",
        "M=|w|L²/10=" + decimal(std::fabs(q)) + "×" + decimal(span) + "²/10=" + fixed(moment, 0) +
            " N･mm、σ=⌈M/Z×10⌉/10=⌈" + fixed(moment * 10 / z, 2) +
            "⌉/10=" + fixed(static_cast<double>(tenths) / 10, 1) + " N/mm²",
        "R端=0.4wL=" + fixed(endReaction, 1) + " N/m、R中=1.1wL=" + fixed(midReaction, 1) +
            " N/m、δ=" + fixed(deflection, 4) + " mm < L/" + decimal(constants.deflectionLimit) +
            "=" + fixed(limit, 4) + " mm"};
    row.rows = {
        closedFormRow("荷重合計", "G+P·rG+S·rS+W·rW", total, a.sectionCaseTotal, 0, "N/m²"),
        closedFormRow("中間支点 M", "wL²/10", support, a.result.memberEndForces[1][2], 0, "N･mm"),
        closedFormRow("Mmax", "|wL²/10|", moment, k.stress.moment, 0, "N･mm"),
        closedFormRow("σ", "⌈M/Z×10⌉/10", static_cast<double>(tenths) / 10, k.stress.sigma, 1,
                      "N/mm²"),
        closedFormRow("fb", "⌊k·235/1.5⌋", fb, k.allowableStress, 0, "N/mm²"),
        verdictRow("応力の判定", "σ < fb", tenths < fb * 10LL, k.stress.ok),
        closedFormRow("δ", "5mm格子で公式、0.0001mm", deflection, k.deflection.deflection, 4, "mm"),
        closedFormRow("L/n", "L/n", limit, k.deflection.limit, 4, "mm"),
        verdictRow("たわみの判定", "δ < L/n", deflection < limit, k.deflection.ok),
        closedFormRow("端支点 R", "0.4wL", endReaction, a.endReaction, 3, "N/m"),
    };
    const bool stressOk = tenths < fb * 10LL;
    const bool deflectionOk = deflection < limit;
    handFailures.stress += stressOk ? 0 : 1;
    handFailures.deflection += deflectionOk ? 0 : 1;
    if (endReaction < 0) {
      const bool ok = -endReaction < jointAllowable;
      row.rows.push_back(closedFormRow("端部 許容値", "耐力×k×5", jointAllowable,
                                       k.endJoint ? k.endJoint->allowable : 0, 3, "N/m"));
      row.rows.push_back(verdictRow("端部接合部の判定", "|R| < 許容値", ok,
                                    k.endJoint.has_value() && k.endJoint->ok));
      handFailures.joint += ok ? 0 : 1;
    }
    if (midReaction < 0) {
      const double allowable = c.midJointCapacity * constants.allowableFactor * 5;
      const bool ok = -midReaction < allowable;
      row.rows.push_back(
          closedFormRow("中間支点 R", "1.1wL", midReaction, a.midReaction, 3, "N/m"));
      row.rows.push_back(verdictRow("中間部接合部の判定", "|R| < 許容値", ok,
                                    k.midJoint.has_value() && k.midJoint->ok));
      handFailures.joint += ok ? 0 : 1;
    }
    s.cases.push_back(row);
  }

  Case verdict;
  verdict.title = "総合判定";
  verdict.source = "各荷重ケースの手計算の判定から";
  const bool allOk = handFailures == FailureCounters{};
  verdict.rows = {verdictRow("全ての検定", "上の判定が全て OK", allOk, outcome.allOk),
                  textRow("判定の文", "NG の種類から", verdictText(handFailures), outcome.verdict)};
  s.cases.push_back(verdict);
  return s;
}

}  // namespace tavilo::verification
