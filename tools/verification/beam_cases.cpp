// Section 2: the continuous beam against the textbook closed forms, at the
// program's own sampling (every 5 mm, moments floored to whole N·mm,
// deflections rounded away from zero to 0.0001 mm), and against the worked
// examples of equal spans.

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "calc/beam_solver.h"
#include "calc/catalogue.h"
#include "verification_cases.h"

namespace tavilo::verification {
namespace {

constexpr double kQ = 1.0;  // N/mm downward: 1000 N/m² on a strip 1 m wide
constexpr int kE = 205000;
// KX-50-12: I and A per 1 m width.
const double kInertia = kDeckSections[0].inertiaCm4 * 10000;
const double kArea = kDeckSections[0].areaCm2 * 100;
const double kEi = kE * kInertia;
constexpr double kStep = 5;  // mm, the program's sampling

constexpr const char* kTextbook = "連続梁の公式（等分布荷重）";
constexpr const char* kSampling = "5mm間隔の各点で公式を評価、N･mm未満切捨て";
constexpr const char* kDeflectionSampling = "5mm間隔の各点で公式を評価、0.0001mm単位に切上げ";

BeamModel beamOf(const std::vector<double>& spans, double leftOverhang = 0,
                 double rightOverhang = 0) {
  BeamModel m;
  m.memberCount = static_cast<int>(spans.size());
  m.youngsModulus = kE;
  for (std::size_t k = 0; k < spans.size(); ++k) {
    m.spans[k] = spans[k];
    m.area[k] = kArea;
    m.inertia[k] = kInertia;
    m.lineLoads[k] = -kQ;
  }
  m.leftOverhang = leftOverhang;
  m.rightOverhang = rightOverhang;
  return m;
}

// The program's rounding of a deflection, by hand: away from zero at 0.0001 mm.
double roundedDeflection(double deflection, int places = 4) {
  const double scale = std::pow(10.0, places);
  return std::ceil(deflection * scale - 1e-9) / scale;
}

struct Extreme {
  double value = 0;
  double position = 0;
};

// The sagging extreme of the closed-form moment on the 5 mm grid, floored.
Extreme saggingOnGrid(double span, double leftMoment, double rightMoment) {
  Extreme e{1e300, 0};
  for (double x = 0; x <= span; x += kStep) {
    const double m = std::floor(closed::spanMomentAt(kQ, span, leftMoment, rightMoment, x) + 1e-9);
    if (m < e.value)
      e = {m, x};
  }
  return e;
}

// The largest closed-form deflection on the 5 mm grid (x < L), rounded.
double deflectionOnGrid(double span, double leftMoment, double rightMoment) {
  double largest = 0;
  for (double x = 0; x < span; x += kStep)
    largest =
        std::max(largest, closed::spanDeflectionAt(kQ, span, kEi, leftMoment, rightMoment, x));
  return roundedDeflection(largest);
}

std::string mm(double v) {
  return std::to_string(static_cast<int>(v));
}

void addSpan(Case& c, const BeamModel& m, const BeamResult& r, int member, double leftMoment,
             double rightMoment, const std::string& name) {
  const auto k = static_cast<std::size_t>(member);
  const double span = m.spans[k];
  const Extreme e = saggingOnGrid(span, leftMoment, rightMoment);
  const SpanMoments moments = spanMoments(m, r, member, false);
  const DesignMoment design = designMomentOf(moments);
  c.rows.push_back(closedFormRow(name + " 正曲げ M", kSampling, e.value, design.moment, 0, "N･mm"));
  c.rows.push_back(
      closedFormRow(name + " 最大点 x", "上の最大点", e.position, design.position, 0, "mm"));
  c.rows.push_back(closedFormRow(name + " たわみ δ", kDeflectionSampling,
                                 deflectionOnGrid(span, leftMoment, rightMoment),
                                 spanDeflection(m, r, member, 1.0, false).deflection, 4, "mm"));
}

Case simpleSpan() {
  const double l = 2500;
  const BeamModel m = beamOf({l});
  const BeamResult r = analyseBeam(m);
  Case c;
  c.title = "単純梁 L=2500mm、w=1000N/m²（1.0N/mm）";
  c.source = kTextbook;
  c.notes = {"EI=205000×" + mm(kInertia) + "（KX-50-12、幅1m）。中央 x=L/2 は5mm格子上にある",
             "M=wL²/8、R=wL/2、δ=5wL⁴/384EI（たわみは0.0001mm単位に切上げ）"};
  const DesignMoment design = designMomentOf(spanMoments(m, r, 0, false));
  c.rows = {
      closedFormRow("中央 M", "wL²/8", closed::simpleSpanMoment(kQ, l), -design.moment, 0, "N･mm"),
      closedFormRow("支点反力 R", "wL/2", kQ * l / 2, r.memberEndForces[0][1], 3, "N"),
      closedFormRow("中央 δ", "5wL⁴/384EI",
                    roundedDeflection(closed::simpleSpanDeflection(kQ, l, kEi)),
                    spanDeflection(m, r, 0, 1.0, false).deflection, 4, "mm"),
  };
  return c;
}

Case twoSpans() {
  const double l = 2500;
  const BeamModel m = beamOf({l, l});
  const BeamResult r = analyseBeam(m);
  const double support = kQ * l * l / 8;
  Case c;
  c.title = "2スパン等スパン連続梁 L=2500mm×2、w=1.0N/mm";
  c.source = kTextbook;
  c.notes = {"中間支点 M=wL²/8、端支点 R=3wL/8、中間支点 R=10wL/8",
             "スパン内 M(x)=M_B·x/L−wx(L−x)/2、y(x)=w(L³x−3Lx³+2x⁴)/48EI"};
  c.rows = {
      closedFormRow("中間支点 M", "wL²/8", support, r.memberEndForces[1][2], 0, "N･mm"),
      closedFormRow("端支点 R", "3wL/8", 3 * kQ * l / 8, r.memberEndForces[0][1], 3, "N"),
      closedFormRow("中間支点 R", "10wL/8", 10 * kQ * l / 8,
                    r.memberEndForces[0][4] + r.memberEndForces[1][1], 3, "N"),
  };
  addSpan(c, m, r, 0, 0, support, "第1スパン");
  return c;
}

Case threeSpans() {
  const double l = 2500;
  const BeamModel m = beamOf({l, l, l});
  const BeamResult r = analyseBeam(m);
  const double support = kQ * l * l / 10;
  Case c;
  c.title = "3スパン等スパン連続梁 L=2500mm×3、w=1.0N/mm";
  c.source = kTextbook;
  c.notes = {"中間支点 M=wL²/10、端支点 R=0.4wL、中間支点 R=1.1wL",
             "端スパン最大 0.08wL²（x=0.4L）、中央スパン 0.025wL²（x=L/2）"};
  c.rows = {
      closedFormRow("中間支点 M", "wL²/10", support, r.memberEndForces[1][2], 0, "N･mm"),
      closedFormRow("端支点 R", "0.4wL", 0.4 * kQ * l, r.memberEndForces[0][1], 3, "N"),
      closedFormRow("中間支点 R", "1.1wL", 1.1 * kQ * l,
                    r.memberEndForces[0][4] + r.memberEndForces[1][1], 3, "N"),
  };
  addSpan(c, m, r, 0, 0, support, "端スパン");
  addSpan(c, m, r, 1, support, support, "中央スパン");
  return c;
}

Case cantilever() {
  const double l = 2500;
  const double a = 600;
  const BeamModel m = beamOf({l}, a, 0);
  const BeamResult r = analyseBeam(m);
  Case c;
  c.title = "片持ちはね出し a=600mm（単純梁 L=2500mm の左）、w=1.0N/mm";
  c.source = "片持ち梁の公式";
  c.notes = {"根元 M=wa²/2、先端 δ=wa⁴/8EI（0.001mm単位に切上げ）"};
  const Overhang o = overhangOf(m, OverhangSide::kLeft);
  c.rows = {
      closedFormRow("根元 M", "wa²/2", closed::cantileverMoment(kQ, a), r.memberEndForces[0][2], 0,
                    "N･mm"),
      closedFormRow("先端 δ", "wa⁴/8EI",
                    roundedDeflection(closed::cantileverTipDeflection(kQ, a, kEi), 3),
                    overhangTipDeflection(o, 1.0), 3, "mm"),
  };
  return c;
}

// Clapeyron's three-moment equation for three spans on pins, hogging moments
// M1, M2 over the inner supports:
//   2(L1+L2)M1 + L2·M2 = w(L1³+L2³)/4,  L2·M1 + 2(L2+L3)M2 = w(L2³+L3³)/4.
Case unequalSpans() {
  const std::array<double, 3> l = {3000, 2000, 2500};
  const BeamModel m = beamOf({l[0], l[1], l[2]});
  const BeamResult r = analyseBeam(m);
  const double a11 = 2 * (l[0] + l[1]), a12 = l[1], a21 = l[1], a22 = 2 * (l[1] + l[2]);
  const double b1 = kQ * (std::pow(l[0], 3) + std::pow(l[1], 3)) / 4;
  const double b2 = kQ * (std::pow(l[1], 3) + std::pow(l[2], 3)) / 4;
  const double det = a11 * a22 - a12 * a21;
  const double m1 = (b1 * a22 - a12 * b2) / det;
  const double m2 = (a11 * b2 - a21 * b1) / det;
  const double r0 = kQ * l[0] / 2 - m1 / l[0];
  const double r1 = kQ * l[0] / 2 + m1 / l[0] + kQ * l[1] / 2 + (m1 - m2) / l[1];
  const double r2 = kQ * l[1] / 2 + (m2 - m1) / l[1] + kQ * l[2] / 2 + m2 / l[2];
  const double r3 = kQ * l[2] / 2 - m2 / l[2];
  Case c;
  c.title = "不等スパン3連続梁 L=3000・2000・2500mm、w=1.0N/mm";
  c.source = "三連モーメント式（クラペイロン）";
  c.notes = {"2(L1+L2)M1+L2·M2=w(L1³+L2³)/4、L2·M1+2(L2+L3)M2=w(L2³+L3³)/4 を解く",
             "反力は各スパンの単純梁反力に (M左−M右)/L を加える"};
  const auto shear = [&](int node) {
    const auto n = static_cast<std::size_t>(node);
    double sum = 0;
    if (node > 0)
      sum += r.memberEndForces[n - 1][4];
    if (node < 3)
      sum += r.memberEndForces[n][1];
    return sum;
  };
  c.rows = {
      closedFormRow("M1", "三連モーメント式", m1, r.memberEndForces[1][2], 3, "N･mm"),
      closedFormRow("M2", "三連モーメント式", m2, r.memberEndForces[2][2], 3, "N･mm"),
      closedFormRow("R0", "wL1/2−M1/L1", r0, shear(0), 4, "N"),
      closedFormRow("R1", "釣合い", r1, shear(1), 4, "N"),
      closedFormRow("R2", "釣合い", r2, shear(2), 4, "N"),
      closedFormRow("R3", "wL3/2−M2/L3", r3, shear(3), 4, "N"),
  };
  addSpan(c, m, r, 0, 0, m1, "第1スパン");
  return c;
}

// The printed figures of the worked examples of equal spans of 2500 mm under
// 1000 N/m², reactions as the program rounds them (0.001 N).
Case workedBeamExamples() {
  const BeamModel two = beamOf({2500, 2500});
  const BeamResult r2 = analyseBeam(two);
  const DesignMoment s1 = designMomentOf(spanMoments(two, r2, 0, false));
  const DesignMoment s2 = designMomentOf(spanMoments(two, r2, 1, false));
  const BeamResult r3 = analyseBeam(beamOf({2500, 2500, 2500}));
  const BeamModel hung = beamOf({2500, 2500}, 500, 500);
  const BeamResult rh = analyseBeam(hung);
  const DesignMoment sh = designMomentOf(spanMoments(hung, rh, 0, false));
  Case c;
  c.title = "等スパン連続梁の計算例（L=2500mm、w=1.0N/mm）";
  c.source = "連続梁の計算例の印刷値";
  c.notes = {
      "2スパン、3スパン、2スパン両側はね出し500mm。反力は節点値（0.001N単位切捨て）",
      "はね出しは片持ち梁として扱い、その根元モーメントは端部材の外端モーメントとしてのみ入る"
      "（中間支点のモーメントは変えない）"};
  const std::string printed = "計算例の印刷値";
  c.rows = {
      printedRow("2スパン 端支点 R", printed, "937.5", r2.nodalResults[0][1], "N"),
      printedRow("2スパン 中間支点 R", printed, "3125", r2.nodalResults[1][1], "N"),
      printedRow("2スパン 中間支点 M", printed, "781250", r2.memberEndForces[1][2], "N･mm"),
      printedRow("2スパン 第1スパン M", printed, "-439450", s1.moment, "N･mm"),
      printedRow("2スパン 第1スパン x", printed, "935", s1.position, "mm"),
      printedRow("2スパン 第2スパン x", printed, "1560", s2.position, "mm"),
      printedRow("3スパン 端支点 R", printed, "1000", r3.nodalResults[0][1], "N"),
      printedRow("3スパン 中間支点 R", printed, "2750", r3.nodalResults[1][1], "N"),
      printedRow("3スパン 中間支点 M", printed, "625000", r3.memberEndForces[1][2], "N･mm"),
      printedRow("はね出し 端支点 R", printed, "1437.5", rh.nodalResults[0][1], "N"),
      printedRow("はね出し 中間支点 M", printed, "781250", rh.memberEndForces[1][2], "N･mm"),
      printedRow("はね出し 左外端 M", printed, "125000", rh.memberEndForces[0][2], "N･mm"),
      printedRow("はね出し 右外端 M", printed, "-125000", rh.memberEndForces[1][5], "N･mm"),
      printedRow("はね出し 第1スパン M", printed, "-362575", sh.moment, "N･mm"),
      printedRow("はね出し 第1スパン x", printed, "985", sh.position, "mm"),
  };
  return c;
}

}  // namespace

Section beamSection() {
  Section s;
  s.heading = "2. 連続梁";
  s.introduction =
      "幅1mのデッキを連続梁として解く計算核を、教科書の公式と比べる。公式はプログラムと同じ "
      "5mm 間隔の点で評価し、同じ丸め（モーメントは N･mm 未満切捨て、たわみは 0.0001mm 単位に"
      "切上げ）を施す。支点モーメントと反力は丸め前の値を比べる。許容差は相対 1e-9。";
  s.cases = {simpleSpan(), twoSpans(),     threeSpans(),
             cantilever(), unequalSpans(), workedBeamExamples()};
  return s;
}

}  // namespace tavilo::verification
