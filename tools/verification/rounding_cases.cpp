// Section 4: every rounding rule of the calculation and of the report, one
// example at its boundary each; the reference is the hand result of the rule.

#include <string>

#include "calc/beam_solver.h"
#include "calc/checks.h"
#include "calc/numbers.h"
#include "report/formatters.h"
#include "verification_cases.h"

namespace tavilo::verification {
namespace {

std::string shown(const std::string& text) {
  return "「" + text + "」";
}

Row rule(const std::string& item, const std::string& hand, const std::string& expected,
         double program) {
  return textRow(item, hand, expected, shortestDecimal(program));
}

Row format(const std::string& item, const std::string& hand, const std::string& expected,
           const std::string& program) {
  return textRow(item, hand, shown(expected), shown(program));
}

Case calculationRules() {
  Case c;
  c.title = "計算の丸め";
  c.source = "四捨五入・切捨て・切上げ・0方向切捨て（小数の積の2進誤差は段の上とみなす）";
  c.notes = {
      "2.345 や 3.0×(−0.8) のような小数の積は2進数では段のわずかに下にある。丸めは段から相対 "
      "1e-12 以内の値を段の上の値として扱い、手計算と同じ桁を返す"};
  const Overhang hung{OverhangSide::kLeft, 500, -1.2, 205000, 663000};
  c.rows = {
      rule("四捨五入 2.345 → 2桁", "⌊234.5+0.5⌋/100", "2.35", roundHalfUp(2.345, 2)),
      rule("四捨五入 2.3449 → 2桁", "⌊234.49+0.5⌋/100", "2.34", roundHalfUp(2.3449, 2)),
      rule("切捨て 3.0×(−0.8) → 1桁", "⌊−24⌋/10", "-2.4", floorTo(3.0 * -0.8, 1)),
      rule("切捨て 0.8302199 → 5桁（Er）", "⌊83021.99⌋/10⁵", "0.83021", floorTo(0.8302199, 5)),
      rule("切上げ 155.9 → 1桁", "⌈1559⌉/10", "155.9", ceilTo(155.9, 1)),
      rule("0方向切捨て −1.239 → 2桁", "−⌊123.9⌋/100", "-1.23", truncTo(-1.239, 2)),
      textRow("応力度 σ（M=2445000、Z=26300）", "⌈929.66…⌉/10", "93.0",
              fixed(spanStress(2445000, 26300), 1)),
      textRow("応力度 σ（M=4102800、Z=26300）", "⌈1560⌉/10（ちょうど）", "156.0",
              fixed(spanStress(4102800, 26300), 1)),
      rule("許容応力度 長期 F=235", "⌊235/1.5⌋=⌊156.67⌋", "156", allowableStress(1.0, 235)),
      rule("接合部許容値 1170N、k=1.5", "1170×1.5×3×1000/600", "8775", jointAllowable(1170, 1.5)),
      rule("節点値 0.0095", "⌊9.5⌋/1000=0.009、±0.01未満は0", "0", roundNodalValue(0.0095)),
      rule("節点値 −0.0125", "⌊−12.5⌋/1000", "-0.013", roundNodalValue(-0.0125)),
      rule("たわみ 下向き 3.45678", "−⌊−34567.8⌋/10⁴", "3.4568",
           roundSpanDeflection(-3.45678, 1.0)),
      rule("たわみ 上向き 3.45678", "−⌊34567.8⌋/10⁴", "-3.4567", roundSpanDeflection(3.45678, 1.0)),
      rule("はね出し根元 M（w=−1.2、a=500）", "⌊−1.5+0.5⌋×10⁵（ちょうど半分は上へ）", "-100000",
           overhangRootMoment(hung)),
  };
  return c;
}

Case reportFormats() {
  Case c;
  c.title = "計算書の数値書式";
  c.source = "桁区切り「,」、小数点「.」、桁数に合わせて左に空白";
  c.notes = {"「」の内側が書式の出力（先頭の空白を含む）"};
  c.rows = {
      format("切捨て 1234.5678（幅10、2桁）", "1,234.56", "  1,234.56",
             formatTruncated(1234.5678, 10, 2)),
      format("切捨て −0.25（幅6、1桁）", "0方向へ −0.2", "  -0.2", formatTruncated(-0.25, 6, 1)),
      format("切捨て 0.29（幅6、2桁）", "0.29×100=29（段の上）", "  0.29",
             formatTruncatedSafe(0.29, 6, 2)),
      format("切上げ 1.231（幅6、2桁）", "⌈123.1⌉/100", "  1.24", formatRoundedUp(1.231, 6, 2)),
      format("切上げ 1.23（幅6、2桁）", "⌈123⌉/100（ちょうど）", "  1.23",
             formatRoundedUp(1.23, 6, 2)),
      format("切上げ 0.004（幅5、2桁）", "⌈0.4⌉/100", " 0.01", formatRoundedUp(0.004, 5, 2)),
      format("整数 12000（幅6）", "12,000", "12,000", formatInteger(12000, 6)),
      format("整数 45（幅6）", "2文字は1字多く空ける", "     45", formatInteger(45, 6)),
  };
  return c;
}

}  // namespace

Section roundingSection() {
  Section s;
  s.heading = "4. 丸め";
  s.introduction =
      "計算と計算書が用いる丸め（切捨て、切上げ、0方向切捨て、指定桁の四捨五入）を、それぞれ"
      "境目の例で確かめる。参照値は規則を手で当てた結果、プログラムの値はその関数の出力。";
  s.cases = {calculationRules(), reportFormats()};
  return s;
}

}  // namespace tavilo::verification
