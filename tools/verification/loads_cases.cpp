// Section 1: the wind and snow loads by the notices. Every reference value is
// worked out here by the generator's own few lines from the notices' tables
// (retyped below, not read from the program), or is the figure printed in a
// worked example.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/snow_depth.h"
#include "calc/snow_load.h"
#include "calc/wind_load.h"
#include "hand_loads.h"
#include "verification_cases.h"

namespace tavilo::verification {
namespace hand {

// ---- Hand rules: a decimal cut at n places. The products of decimals reach
// them a few units in the last place off; 1e-9 of a step keeps them on it.
double handFloor(double x, int n) {
  const double scale = std::pow(10.0, n);
  return std::floor(x * scale + 1e-9) / scale;
}
double handHalfUp(double x, int n) {
  const double scale = std::pow(10.0, n);
  return std::floor(x * scale + 0.5 + 1e-9) / scale;
}
// Linear between two table points, constant beyond them.
double between(double x, double x0, double x1, double y0, double y1) {
  if (x <= x0)
    return y0;
  if (x >= x1)
    return y1;
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}
double table(double x, const std::vector<double>& xs, const std::vector<double>& ys) {
  if (x <= xs.front())
    return ys.front();
  for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
    if (x <= xs[i + 1])
      return between(x, xs[i], xs[i + 1], ys[i], ys[i + 1]);
  }
  return ys.back();
}

// ---- Wind by hand

// Zb, ZG, α and the two Gpe points (H ≤ 5 m, H ≥ 40 m) of roughness Ⅰ..Ⅳ.
struct Roughness {
  double zb, zg, alpha, gpe5, gpe40;
};
constexpr std::array<Roughness, 4> kRoughness = {{{5, 250, 0.10, 2.2, 1.9},
                                                  {5, 350, 0.15, 2.6, 2.1},
                                                  {5, 450, 0.20, 3.1, 2.3},
                                                  {10, 550, 0.27, 3.1, 2.3}}};

int largestMagnitude(const std::vector<int>& values) {
  int chosen = 0;
  for (int v : values) {
    if (std::abs(v) > std::abs(chosen))
      chosen = v;
  }
  return chosen;
}

HandWind handWind(const WindSite& s) {
  HandWind w;
  const Roughness& r = kRoughness[static_cast<std::size_t>(s.roughness - 1)];
  w.h = (s.h1 + s.h2) / 2000.0;
  const double rise = std::abs(s.h2 - s.h1) / 1000.0;
  const double run = s.d / 1000.0;
  w.theta = std::floor(std::atan(rise / run) * 180 / std::numbers::pi);
  w.er = handFloor(1.7 * std::pow(std::max(w.h, r.zb) / r.zg, r.alpha), 5);
  w.q = handFloor(0.6 * w.er * w.er * s.v0 * s.v0, 1);
  w.gpe = handFloor(between(w.h, 5, 40, r.gpe5, r.gpe40), 3);
  const std::array<double, 3> cpiPositive = {-0.5, 1.5, -1.2};
  const std::array<double, 3> cpiNegative = {0.0, 1.5, -1.2};
  const auto shape = static_cast<std::size_t>(s.shape);
  std::vector<int> positives, negatives;
  if (s.roofClass == RoofClass::Canopy) {
    const std::array<std::array<double, 2>, 4> gable = {
        {{0.6, 0.9}, {-1.0, -0.5}, {0.2, 0.0}, {-0.8, -1.5}}};
    const std::array<std::array<double, 2>, 4> wing = {
        {{0.6, 0.4}, {-1.0, -1.2}, {0.2, 0.8}, {-0.8, -0.3}}};
    const auto& rows = s.roofShape == 0 ? gable : wing;
    for (std::size_t i = 0; i < 4; ++i)
      w.coefficients[i] = handFloor(between(w.theta, 10, 30, rows[i][0], rows[i][1]), 3);
    for (double c : {w.coefficients[0], w.coefficients[2]})
      positives.push_back(static_cast<int>(std::floor(w.q * handFloor(c * w.gpe, 2) + 1e-9)));
    for (double c : {w.coefficients[1] * 3.0, w.coefficients[1] * 4.0, w.coefficients[3] * 3.0,
                     w.coefficients[3] * 4.0})
      negatives.push_back(static_cast<int>(std::floor(w.q * handFloor(c, 2) + 1e-9)));
  } else {
    if (s.roofClass == RoofClass::Arched) {
      const double fd = rise / run;
      const double hd = std::clamp(s.h1 / 1000.0 / run, 0.0, 0.5);
      const std::vector<double> low = {0.1, 0.2, 0.3, 0.6}, high = {0.0, 0.0, 0.2, 0.6};
      std::vector<double> column(4);
      for (std::size_t i = 0; i < 4; ++i)
        column[i] = low[i] + (high[i] - low[i]) * hd / 0.5;
      w.cpe = handFloor(table(fd, {0.05, 0.2, 0.3, 0.5}, column), 3);
      w.coefficients = {-2.5, -3.2, 0, 0};
    } else {
      w.cpe = handFloor(table(w.theta, {10, 30, 45, 90}, {0.0, 0.2, 0.4, 0.8}), 3);
      const std::array<std::array<double, 3>, 4> zones = {
          {{-2.5, -2.5, -2.5}, {-3.2, -3.2, -3.2}, {-4.3, -3.2, -3.2}, {-3.2, -5.4, -3.2}}};
      for (std::size_t i = 0; i < 4; ++i)
        w.coefficients[i] =
            handFloor(table(w.theta, {10, 20, 30}, {zones[i][0], zones[i][1], zones[i][2]}), 3);
    }
    positives.push_back(
        static_cast<int>(std::floor(w.q * (w.cpe * w.gpe - cpiPositive[shape]) + 1e-9)));
    const int zonesUsed = s.roofClass == RoofClass::Arched ? 2 : 4;
    for (int i = 0; i < zonesUsed; ++i)
      negatives.push_back(static_cast<int>(std::floor(
          w.q * (w.coefficients[static_cast<std::size_t>(i)] - cpiNegative[shape]) + 1e-9)));
  }
  w.positive = largestMagnitude(positives);
  w.negative = largestMagnitude(negatives);
  // The curtain wall below an overhang: Cpe 1.0 at Z = H, Gpe as the roof's.
  const std::array<double, 3> cpiWall = {-0.5, 1.5, -1.2};
  const double wallCf = handFloor(1.0 * w.gpe, 3) - cpiWall[shape];
  w.wall = std::floor(handHalfUp(w.q, 1) * wallCf + 1e-9);
  w.overhang = w.negative - w.wall;
  return w;
}

HandSnow handSnow(const SnowSite& s) {
  HandSnow h;
  h.plain = s.rho * s.depth;
  h.load = h.plain;
  h.applies = !s.heavy && s.depth >= 15 && s.lengthMm >= 10000 && s.theta <= 15;
  if (!h.applies)
    return h;
  const double l = std::min(s.lengthMm / 1000.0, 50.0);
  const double g = 0.05 + (l - 10) * 0.09 / 40;  // dr at θ ≤ 2°
  const double k = 0.01 + (l - 10) * 0.02 / 40;  // dr at θ = 15°
  const double dr = s.theta <= 2 ? g : k + (15 - s.theta) * (g - k) / 13;
  h.dr = handHalfUp(dr, 2);
  h.muB = handHalfUp(std::sqrt(std::cos(1.5 * s.theta * std::numbers::pi / 180)), 3);
  h.alpha = handHalfUp(0.7 + std::sqrt(h.dr / (h.muB * s.depth / 100.0)), 2);
  h.state = h.alpha < 1.0 ? 2 : 1;
  const double used = h.alpha < 1.0 ? 1.0 : h.alpha;
  h.load = static_cast<int>(handHalfUp(h.plain * used, 0));
  return h;
}

}  // namespace hand

namespace {

using namespace hand;

constexpr const char* kNotice1454 = "平成12年建設省告示第1454号";
constexpr const char* kNotice1458 = "平成12年建設省告示第1458号";
constexpr const char* kNotice1455 = "平成12年建設省告示第1455号";
constexpr const char* kNotice594 = "平成19年国土交通省告示第594号";

CaLC_DATA windData(const WindSite& s) {
  CaLC_DATA data;
  data.roughnessIndex = s.roughness - 1;
  data.windSpeedV0 = s.v0;
  data.eavesHeightH1 = s.h1 * 0.1;
  data.buildingHeightH2 = s.h2 * 0.1;
  data.spanDirectionLengthD = s.d * 0.1;
  data.roofClass = s.roofClass;
  data.buildingShape = s.shape;
  data.roofShape = s.roofShape;
  return data;
}

std::string roughnessName(int r) {
  const std::array<const char*, 4> numerals = {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"};
  return numerals[static_cast<std::size_t>(r - 1)];
}

std::string roofName(const WindSite& s) {
  if (s.roofClass == RoofClass::Arched)
    return "円弧屋根";
  if (s.roofClass == RoofClass::Canopy)
    return s.roofShape == 0 ? "独立上屋（切妻屋根）" : "独立上屋（翼型屋根）";
  return "片流れ屋根";
}

std::string shapeName(int shape) {
  const std::array<const char*, 3> names = {"閉鎖型", "風上開放型", "風下開放型"};
  return names[static_cast<std::size_t>(shape)];
}

Case workedWindExample() {
  const WindSite site{"", 3, 34, 10000, 15000, 20000, RoofClass::Pitched, 0, 0};
  const WindDerivation p = deriveWindLoad(windData(site));
  Case c;
  c.title = "風荷重の計算例（地表面粗度区分Ⅲ、V0=34m/s、閉鎖型、片流れ屋根）";
  c.source = std::string(kNotice1454) + "・" + kNotice1458 + "、計算例の印刷値";
  c.notes = {"H1=10000mm、H2=15000mm、D=20000mm。H=(H1+H2)/2=12.5m、θ=⌊atan(5.0/20.0)⌋=14°",
             "Er=1.7(H/ZG)^α=1.7(12.5/450)^0.20、q=0.6·Er²·V0²、Gpe=3.1+(2.3−3.1)(H−5)/35",
             "Ww+=⌊q(Cpe·Gpe+0.5)⌋、Ww−=⌊q·Cpe(軒頂部)⌋、Wwall+=⌊q·(Gpe+0.5)⌋"};
  const std::string printed = "計算例の印刷値";
  c.rows = {
      printedRow("H", printed, "12.5", p.meanHeight, "m"),
      printedRow("θ", printed, "14", p.roofAngle, "°"),
      printedRow("Er", printed, "0.83021", p.er),
      printedRow("q", printed, "478.0", p.velocityPressure, "N/m²"),
      printedRow("Gpe", printed, "2.928", p.gpe),
      printedRow("Cpe（正圧）", printed, "0.04", p.cpe),
      printedRow("Ww+", printed, "294", p.windPositive, "N/m²"),
      printedRow("Cpe 一般部", printed, "-2.5", p.zoneCoefficients[0]),
      printedRow("Cpe 周辺部", printed, "-3.2", p.zoneCoefficients[1]),
      printedRow("Cpe 軒隅角部", printed, "-3.86", p.zoneCoefficients[2]),
      printedRow("Cpe 軒頂部", printed, "-4.08", p.zoneCoefficients[3]),
      printedRow("風圧 一般部", printed, "-1195", p.pressureNegative[0], "N/m²"),
      printedRow("風圧 周辺部", printed, "-1530", p.pressureNegative[1], "N/m²"),
      printedRow("風圧 軒隅角部", printed, "-1846", p.pressureNegative[2], "N/m²"),
      printedRow("Ww−", printed, "-1951", p.windNegative, "N/m²"),
      printedRow("壁面 Cf", printed, "3.428", p.wallCf),
      printedRow("Wwall+", printed, "1638", p.wallPressure, "N/m²"),
      printedRow("はね出し部 Ww−", printed, "-3589", p.overhangPressure, "N/m²"),
  };
  return c;
}

Case windSiteCase(const WindSite& site, const std::string& branch) {
  const HandWind h = handWind(site);
  const WindDerivation p = deriveWindLoad(windData(site));
  Case c;
  c.title = site.name + "（粗度区分" + roughnessName(site.roughness) +
            "、V0=" + std::to_string(site.v0) + "m/s、" + roofName(site) + "、" +
            shapeName(site.shape) + "）";
  c.source = std::string(kNotice1454) + "・" + kNotice1458 + "、手計算";
  c.notes = {"H1=" + std::to_string(site.h1) + "mm、H2=" + std::to_string(site.h2) +
                 "mm、D=" + std::to_string(site.d) + "mm。" + branch,
             "手計算: H=(H1+H2)/2、θ=⌊atan(|H2−H1|/D)⌋、Er=1.7(max(H,Zb)/ZG)^α（5桁切捨て）、"
             "q=0.6·Er²·V0²（1桁切捨て）"};
  const std::string hand = "告示の表による手計算";
  c.rows = {
      closedFormRow("θ", "⌊atan(|H2−H1|/D)⌋", h.theta, p.roofAngle, 0, "°"),
      closedFormRow("Er", "1.7(max(H,Zb)/ZG)^α", h.er, p.er, 5),
      closedFormRow("q", "0.6·Er²·V0²", h.q, p.velocityPressure, 1, "N/m²"),
      closedFormRow("Gpe", "表2の直線補間", h.gpe, p.gpe, 3),
  };
  if (site.roofClass == RoofClass::Canopy) {
    const std::array<const char*, 4> names = {"風上 正", "風上 負", "風下 正", "風下 負"};
    for (std::size_t i = 0; i < 4; ++i)
      c.rows.push_back(closedFormRow(std::string("Cf ") + names[i], "θ=10°,30°の直線補間",
                                     h.coefficients[i], p.zoneCoefficients[i], 3));
  } else {
    c.rows.push_back(closedFormRow(
        "Cpe（正圧）", site.roofClass == RoofClass::Arched ? "表4、f/d・h/dで補間" : "表1、θで補間",
        h.cpe, p.cpe, 3));
    const int zones = site.roofClass == RoofClass::Arched ? 2 : 4;
    const std::array<const char*, 4> names = {"一般部", "周辺部", "軒隅角部", "軒頂部"};
    for (int i = 0; i < zones; ++i) {
      const auto k = static_cast<std::size_t>(i);
      c.rows.push_back(closedFormRow(std::string("Cpe ") + names[k], "表3の直線補間",
                                     h.coefficients[k], p.zoneCoefficients[k], 3));
    }
  }
  c.rows.push_back(closedFormRow("Ww+", hand, h.positive, p.windPositive, 0, "N/m²"));
  c.rows.push_back(closedFormRow("Ww−", hand, h.negative, p.windNegative, 0, "N/m²"));
  c.rows.push_back(closedFormRow("Wwall+", "⌊q·(Cpe·Gpe−Cpi)⌋", h.wall, p.wallPressure, 0, "N/m²"));
  c.rows.push_back(
      closedFormRow("はね出し部 Ww−", "Ww− − Wwall+", h.overhang, p.overhangPressure, 0, "N/m²"));
  return c;
}

// ---- Snow by hand
struct ProgramSnow {
  DesignConditions conditions;
  SnowDerivation derivation;
};

ProgramSnow programSnow(const SnowSite& s) {
  ProgramSnow p;
  p.conditions.snowDepth = s.depth;
  p.conditions.heavySnow = s.heavy;
  p.conditions.spanDirectionLengthD = s.lengthMm * 0.1;
  p.conditions.snowLoad = computeSnowLoad(kCalcMethodNotices, s.rho, s.depth, 0);
  applySnowSurcharge(p.conditions, kCalcMethodNotices, s.theta, p.derivation);
  return p;
}

Case workedSnowExample() {
  const ProgramSnow p = programSnow({30, 20, false, 20000, 5});
  Case c;
  c.title = "積雪荷重の計算例（d=30cm、ρ=20、D=20000mm、θ=5°、一般地域）";
  c.source = std::string(kNotice594) + "（割り増し係数）、計算例の印刷値";
  c.notes = {"Ws=ρ·d=600。L=20: dr=0.015+10·0.0575/13=0.0592…→0.06、μb=√cos7.5°=0.9957…→0.996",
             "α=0.7+√(0.06/(0.996·0.30))=1.148…→1.15、Ws=600·1.15=690"};
  const std::string printed = "計算例の印刷値";
  c.rows = {
      printedRow("dr", printed, "0.06", p.derivation.dr, "m"),
      printedRow("μb", printed, "0.996", p.derivation.muB),
      printedRow("α", printed, "1.15", p.conditions.snowIncreaseFactor),
      printedRow("Ws", printed, "690", p.conditions.snowLoad, "N/m²"),
  };
  return c;
}

Case snowSiteCase(const std::string& title, const SnowSite& s, const std::string& branch) {
  const HandSnow h = handSnow(s);
  const ProgramSnow p = programSnow(s);
  Case c;
  c.title = title;
  c.source = std::string(kNotice594) + "、建築基準法施行令第86条、手計算";
  c.notes = {"d=" + std::to_string(s.depth) + "cm、ρ=" + std::to_string(s.rho) +
             "、D=" + std::to_string(s.lengthMm) + "mm、θ=" + std::to_string(s.theta) + "°、" +
             (s.heavy ? "多雪区域" : "一般地域") + "。" + branch};
  c.rows.push_back(closedFormRow(
      "ρ·d", "ρ×d", h.plain, computeSnowLoad(kCalcMethodNotices, s.rho, s.depth, 0), 0, "N/m²"));
  c.rows.push_back(
      textRow("割り増しの検討", "多雪でなく d≧15cm、D≧10m、θ≦15°", h.applies ? "対象" : "対象外",
              p.conditions.snowIncreaseState != kSnowIncreaseNone ? "対象" : "対象外"));
  if (h.applies) {
    c.rows.push_back(
        closedFormRow("dr", "表の直線補間、2桁四捨五入", h.dr, p.derivation.dr, 2, "m"));
    c.rows.push_back(closedFormRow("μb", "√cos(1.5θ)、3桁四捨五入", h.muB, p.derivation.muB, 3));
    const double programAlpha = p.conditions.snowIncreaseState == kSnowIncreaseRaised
                                    ? p.derivation.snowIncreaseFactorRaw
                                    : p.conditions.snowIncreaseFactor;
    c.rows.push_back(
        closedFormRow("α（計算値）", "0.7+√(dr/(μb·d))、2桁四捨五入", h.alpha, programAlpha, 2));
    c.rows.push_back(closedFormRow("α（採用値）", "α<1.0 のとき 1.0", std::max(h.alpha, 1.0),
                                   p.conditions.snowIncreaseFactor, 2));
  }
  c.rows.push_back(
      closedFormRow("Ws", "ρ·d·α、整数に四捨五入", h.load, p.conditions.snowLoad, 0, "N/m²"));
  return c;
}

Case derivedDepthCase() {
  Case c;
  c.title = "標高・海率による垂直積雪量";
  c.source = std::string(kNotice1455) + "、手計算";
  c.notes = {"d=α·ls+β·rs/100+γ（m）、10cm単位に四捨五入。係数 α=0.0005、β=0.12、γ=0.21"};
  const SnowCoefficients k{0.0005, 0.12, 0.21, 40};
  for (const auto& [ls, rs] : {std::pair{25, 20}, std::pair{300, 20}}) {
    const DerivedSnowDepth p = deriveSnowDepth(ls, rs, k);
    const double hand = 0.0005 * ls + 0.12 * rs / 100 + 0.21;
    const std::string at = "ls=" + std::to_string(ls) + "m、rs=" + std::to_string(rs) + "%";
    c.rows.push_back(
        closedFormRow("d（" + at + "）", "α·ls+β·rs/100+γ", hand, p.computedDepthM, 4, "m"));
    c.rows.push_back(closedFormRow("d 丸め（" + at + "）", "⌊10d+0.5⌋×10",
                                   handHalfUp(hand * 10, 0) * 10, p.depthCm, 0, "cm"));
  }
  const DerivedSnowDepth half = deriveSnowDepth(0, 0, {0, 0, 1.25, 0});
  c.rows.push_back(closedFormRow("d 丸め（d=1.25m、端数ちょうど0.5）", "⌊12.5+0.5⌋×10", 130,
                                 half.depthCm, 0, "cm"));
  for (const int d : {99, 100}) {
    const DepthRuleResult r = applyDepthRules(d);
    const bool heavy = d >= 100;
    c.rows.push_back(closedFormRow("ρ（d=" + std::to_string(d) + "cm）", "d≧100cm なら 30、他は 20",
                                   heavy ? 30 : 20, r.snowUnitWeight, 0, "N/cm/m²"));
    c.rows.push_back(textRow("多雪区域（d=" + std::to_string(d) + "cm）", "d≧100cm",
                             heavy ? "多雪" : "一般", r.heavySnow ? "多雪" : "一般"));
  }
  return c;
}

}  // namespace

Section loadSection() {
  Section s;
  s.heading = "1. 告示による荷重";
  s.introduction =
      "風荷重（速度圧 q、Er、Gpe、ピーク風力係数、屋根とはね出し部の Ww+・Ww−）と積雪荷重"
      "（μb、割り増し係数、算出積雪量、Ws）。告示の計算例は印刷値の桁まで、その他の敷地は"
      "告示の表を用いた手計算と比べる。";
  s.cases.push_back(workedWindExample());
  const std::vector<std::pair<WindSite, std::string>> sites = {
      {{"敷地W1", 1, 30, 3000, 4000, 10000, RoofClass::Pitched, 0, 0},
       "H=3.5m<Zb: Er は Zb で計算。θ<10°: Cpe=0、10°の列（切妻屋根も片流れ屋根と同じ式）"},
      {{"敷地W2", 2, 32, 8000, 11650, 10000, RoofClass::Pitched, 1, 0},
       "θ=20°: 軒頂部 −5.4 の列。風上開放型 Cpi=1.5"},
      {{"敷地W3", 4, 38, 38000, 42000, 6928, RoofClass::Pitched, 2, 0},
       "H=40m: Gpe は表の上端。θ=30°: Cpe=0.2。風下開放型 Cpi=−1.2"},
      {{"敷地W4", 3, 34, 6000, 9000, 20000, RoofClass::Arched, 0, 0},
       "円弧屋根 f/d=0.15、h/d=0.3: 表4を二方向に補間"},
      {{"敷地W5", 2, 34, 5000, 6000, 5000, RoofClass::Canopy, 0, 0},
       "独立上屋 切妻屋根、θ=11°: 表6を θ で補間、一般部×3.0、周辺部×4.0"},
      {{"敷地W6", 2, 34, 5000, 6000, 5000, RoofClass::Canopy, 0, 1}, "独立上屋 翼型屋根、θ=11°"},
  };
  for (const auto& [site, branch] : sites)
    s.cases.push_back(windSiteCase(site, branch));
  s.cases.push_back(workedSnowExample());
  s.cases.push_back(derivedDepthCase());
  s.cases.push_back(snowSiteCase("積雪 S1 α=1.00 ちょうど", {55, 20, false, 10000, 0},
                                 "L=10m、θ≦2°: dr=0.05、α=0.7+√(0.05/(1.000·0.55))=1.0015…→1.00"));
  s.cases.push_back(snowSiteCase("積雪 S2 計算値 α<1.0（1.0 を採用）", {99, 20, false, 10000, 15},
                                 "L=10m、θ=15°: dr=0.01"));
  s.cases.push_back(
      snowSiteCase("積雪 S3 L≧50m", {40, 20, false, 60000, 5}, "dr=0.14−(θ−2)·0.11/13"));
  s.cases.push_back(
      snowSiteCase("積雪 S4 θ=16°（割り増し対象外）", {30, 20, false, 20000, 16}, "θ>15°"));
  s.cases.push_back(snowSiteCase("積雪 S5 多雪区域（割り増し対象外）", {150, 30, true, 30000, 0},
                                 "多雪区域は割り増しを行わない"));
  return s;
}

}  // namespace tavilo::verification
