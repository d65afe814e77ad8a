// Section 3: every check at its boundary, one case passing and one failing a
// single step away; the reference verdicts are the hand comparisons.

#include <string>

#include "calc/checks.h"
#include "calc/numbers.h"
#include "verification_cases.h"

namespace tavilo::verification {
namespace {

constexpr int kF = 235;
constexpr long long kZ = 26300;  // KX-50-12, mm³ per 1 m width
constexpr int kCapacity = 1170;  // N per fastener

struct Duration {
  const char* name;
  double k;
  double n;
};
constexpr Duration kLongTerm{"長期", 1.0, 250};
constexpr Duration kShortTerm{"短期", 1.5, 180};

CheckInput inputFor(const Duration& d) {
  CheckInput in;
  in.allowableFactor = d.k;
  in.deflectionLimitN = d.n;
  in.designStrengthF = kF;
  in.sectionModulus = static_cast<double>(kZ);
  in.endJointCapacity = kCapacity;
  in.midJointCapacity = kCapacity;
  in.maxDeflectionSpan = 2500;
  in.endReaction = 100;  // in compression: no joint check
  in.midReaction = kNoValue;
  return in;
}

// fb = ⌊k·F/1.5⌋ by integer arithmetic: k·F is 235 or 352.5.
int handAllowable(const Duration& d) {
  return static_cast<int>(d.k * 2 * kF) / 3;
}

// σ = ⌈M/Z×10⌉/10 in whole tenths, exact in integers.
long long handTenths(long long moment) {
  return (moment * 10 + kZ - 1) / kZ;
}

Case bending(const Duration& d) {
  const int fb = handAllowable(d);
  Case c;
  c.title = std::string("曲げ応力度（") + d.name + "、fb=⌊" + shortestDecimal(d.k) + "×235/1.5⌋）";
  c.source = "σ=⌈M/Z×10⌉/10 < fb で OK（等しければ NG）、Z=26300mm³";
  const long long last = (static_cast<long long>(fb) * 10 - 1) * kZ / 10;  // σ = fb − 0.1
  c.notes = {"M=" + std::to_string(last) + " N･mm で σ=fb−0.1、1 N･mm 増すと σ=fb"};
  for (const long long moment : {last, last + 1}) {
    CheckInput in = inputFor(d);
    in.maxMoment = static_cast<double>(moment);
    const CaseChecks checks = checkCase(in);
    const long long tenths = handTenths(moment);
    const std::string at = "（M=" + std::to_string(moment) + "）";
    if (moment == last)
      c.rows.push_back(closedFormRow("fb", "⌊k·F/1.5⌋", fb, checks.allowableStress, 0, "N/mm²"));
    c.rows.push_back(closedFormRow("σ" + at, "⌈M×10/Z⌉/10", static_cast<double>(tenths) / 10,
                                   checks.stress.sigma, 1, "N/mm²"));
    c.rows.push_back(verdictRow("判定" + at, "σ < fb", tenths < fb * 10LL, checks.stress.ok));
  }
  return c;
}

Case deflection(const Duration& d) {
  const double span = 2500;
  Case c;
  c.title = std::string("たわみ（") + d.name + "、L/" + shortestDecimal(d.n) + "、L=2500mm）";
  c.source = "δ < L/n で OK（等しければ NG）";
  // The largest 0.0001 mm below the limit, and the limit itself or the first step above it.
  const long long limitSteps = static_cast<long long>(span * 10000) / static_cast<long long>(d.n);
  const bool exact = static_cast<long long>(span * 10000) % static_cast<long long>(d.n) == 0;
  const long long pass = exact ? limitSteps - 1 : limitSteps;
  c.notes = {"L/n=" + fixed(span / d.n, 6) + "mm。δ は 0.0001mm 単位"};
  for (const long long steps : {pass, pass + 1}) {
    CheckInput in = inputFor(d);
    in.maxDeflection = static_cast<double>(steps) / 10000;
    const CaseChecks checks = checkCase(in);
    const std::string at = "（δ=" + fixed(in.maxDeflection, 4) + "）";
    if (steps == pass)
      c.rows.push_back(closedFormRow("L/n", "L/n", span / d.n, checks.deflection.limit, 6, "mm"));
    // δ·n < L in whole 0.0001 mm: exact in integers.
    c.rows.push_back(verdictRow("判定" + at, "δ < L/n",
                                steps * static_cast<long long>(d.n) < span * 10000,
                                checks.deflection.ok));
  }
  return c;
}

Case joints(const Duration& d) {
  // capacity × k × 3 × 1000 / 600 = capacity × k × 5, in whole N/m.
  const double allowable = kCapacity * d.k * 5;
  Case c;
  c.title = std::string("接合部（") + d.name + "、焼抜き栓溶接 t1.2 1170N/本）";
  c.source = "|R| < 耐力×k×3×1000/600（3本/600mm、幅1m当たり）で OK";
  c.notes = {"引抜き側の反力のみ検討。反力は 0.001N 単位"};
  for (const bool end : {true, false}) {
    for (const double force : {allowable - 0.001, allowable}) {
      CheckInput in = inputFor(d);
      if (end)
        in.endReaction = -force;
      else
        in.midReaction = -force;
      const CaseChecks checks = checkCase(in);
      const std::optional<JointCheck>& joint = end ? checks.endJoint : checks.midJoint;
      const std::string where = end ? "端部" : "中間部";
      const std::string at = where + "（|R|=" + fixed(force, 3) + "）";
      if (force == allowable - 0.001)
        c.rows.push_back(closedFormRow(where + " 許容値", "1170×k×5", allowable,
                                       joint ? joint->allowable : 0, 3, "N/m"));
      c.rows.push_back(verdictRow("判定 " + at, "|R| < 許容値", force < allowable,
                                  joint.has_value() && joint->ok));
    }
  }
  return c;
}

Case overhang(const Duration& d) {
  const int fb = handAllowable(d);
  const double a = 500;
  Case c;
  c.title = std::string("はね出し部（") + d.name + "、a=500mm）";
  c.source = "σ < fb、δ < a/n、接合部 V < 許容値 で OK（等しければ NG）";
  c.notes = {"左はね出しの応力度は丸めない |M|/Z、右はね出しは ⌊M/Z×10⌋/10"};
  const long long atLimit = static_cast<long long>(fb) * kZ;  // |M|/Z = fb exactly
  const double limit = a / d.n;
  const long long limitSteps = static_cast<long long>(a * 1000) / static_cast<long long>(d.n);
  const bool exact = static_cast<long long>(a * 1000) % static_cast<long long>(d.n) == 0;
  const long long passSteps = exact ? limitSteps - 1 : limitSteps;
  const double allowable = kCapacity * d.k * 5;
  double programLimit = 0;
  for (int step = 0; step < 2; ++step) {
    CheckInput in = inputFor(d);
    in.left.present = true;
    in.left.length = a;
    in.left.moment = -static_cast<double>(atLimit - 1 + step);
    in.left.deflection = static_cast<double>(passSteps + step) / 1000;
    in.left.jointForce = allowable - 0.001 + 0.001 * step;
    in.endReaction = -100;
    const CaseChecks checks = checkCase(in);
    const OverhangCheck& o = *checks.overhang;
    programLimit = o.deflection.limit;
    const std::string suffix = step == 0 ? "（限界の1段手前）" : "（限界）";
    c.rows.push_back(verdictRow("応力 |M|=" + std::to_string(atLimit - 1 + step), "|M| < fb·Z",
                                atLimit - 1 + step < atLimit, o.stressOk));
    c.rows.push_back(verdictRow("たわみ δ=" + fixed(in.left.deflection, 3) + suffix, "δ < a/n",
                                (passSteps + step) * static_cast<long long>(d.n) < a * 1000,
                                o.deflection.ok));
    c.rows.push_back(verdictRow("接合部 V=" + fixed(in.left.jointForce, 3), "V < 許容値", step == 0,
                                o.joint.has_value() && o.joint->ok));
  }
  c.rows.push_back(closedFormRow("a/n", "a/n", limit, programLimit, 6, "mm"));
  // The right overhang takes its stress floored to 0.1 N/mm².
  for (const long long moment : {atLimit - 1, atLimit}) {
    CheckInput in = inputFor(d);
    in.right.present = true;
    in.right.length = a;
    in.right.moment = static_cast<double>(moment);
    const CaseChecks checks = checkCase(in);
    const long long tenths = moment * 10 / kZ;  // ⌊M×10/Z⌋ in whole tenths
    const std::string at = "右（M=" + std::to_string(moment) + "）";
    c.rows.push_back(closedFormRow("σ " + at, "⌊M×10/Z⌋/10", static_cast<double>(tenths) / 10,
                                   checks.overhang->sigma, 1, "N/mm²"));
    c.rows.push_back(
        verdictRow("応力 " + at, "σ < fb", tenths < fb * 10LL, checks.overhang->stressOk));
  }
  return c;
}

}  // namespace

Section checkSection() {
  Section s;
  s.heading = "3. 断面・接合部の検定";
  s.introduction =
      "各検定を限界で確かめる。限界の1段手前（応力 1N･mm、たわみ 0.0001mm、反力 0.001N）は "
      "OK、限界ちょうどは NG（比較はすべて「未満」で OK）。参照の判定は手で比べた結果。";
  for (const Duration& d : {kLongTerm, kShortTerm}) {
    s.cases.push_back(bending(d));
    s.cases.push_back(deflection(d));
    s.cases.push_back(joints(d));
    s.cases.push_back(overhang(d));
  }
  Case verdict;
  verdict.title = "総合判定の文";
  verdict.source = "NG の種類ごとに一度ずつ、応力・たわみ・接合部の順";
  FailureCounters stressTwice{2, 0, 0};
  FailureCounters all{1, 1, 1};
  verdict.rows = {
      textRow("NG なし", "全て OK", "                     全てＯＫです ", verdictText({})),
      textRow("応力 NG 2件", "一度だけ", "　　　「応力がNGです」 ---設計仕様変更が必要です。",
              verdictText(stressTwice)),
      textRow(
          "全て NG", "順に連ねる",
          "　　　「応力がNGです」「たわみがNGです」「接合部がNGです」 ---設計仕様変更が必要です。",
          verdictText(all)),
  };
  s.cases.push_back(verdict);
  return s;
}

}  // namespace tavilo::verification
