#pragma once
// The member and joint checks of one load case and the overall verdict:
// allowable values, the bending, deflection, joint and overhang comparisons
// (all strict: a value equal to its allowable value fails) and the failure
// counters that run over every results section of a calculation.

#include <optional>
#include <string>
#include <string_view>

#include "calc/beam_solver.h"

namespace tavilo {

// ---- Texts of the verdict block
inline constexpr std::string_view kVerdictPrefix = "　　　";
inline constexpr std::string_view kVerdictStressNg = "「応力がNGです」";
inline constexpr std::string_view kVerdictDeflectionNg = "「たわみがNGです」";
inline constexpr std::string_view kVerdictJointNg = "「接合部がNGです」";
inline constexpr std::string_view kVerdictChangeNeeded = " ---設計仕様変更が必要です。";
// 21 blanks before, one after.
inline constexpr std::string_view kVerdictAllOk = "                     全てＯＫです ";
inline constexpr std::string_view kVerdictHeading = "《 判　　定 》";
inline constexpr std::string_view kNoteSignificantDigits =
    "※全ての計算は、入力値も含め上記記載通りの有効数字を用いて行っています。";
inline constexpr std::string_view kNoteFireResistance =
    "※屋根30分耐火認定を適用する場合は、各認定番号の仕様内容の詳細(最大スパン等)をご確認下さい。";

// The line printed when both overhangs exist and one of them governs because
// its moment is larger.
inline constexpr std::string_view kLeftOverhangGovernsLine =
    "  応力がより大きい 左側はね出し部について検討を行う。";
inline constexpr std::string_view kRightOverhangGovernsLine =
    "  応力がより大きい 右側はね出し部について検討を行う。";

// ---- Allowable values
// floor(k × F / 1.5), N/mm²: 156 long-term and 235 short-term with F = 235.
double allowableStress(double allowableFactor, int designStrengthF);
// capacity × k × 3 × 1000 / 600: three fasteners per 600 mm of deck width,
// per metre of width, N/m.
double jointAllowable(int fastenerCapacity, double allowableFactor);
// ceil(M / Z × 10) / 10, N/mm²; M a magnitude in N·mm.
double spanStress(double maxMoment, double sectionModulus);

// ---- Results of one case
struct StressCheck {
  double moment = 0;     // Mmax, N·mm (the report prints it floored to whole N·mm)
  double sigma = 0;      // N/mm²
  double allowable = 0;  // allowableStress, N/mm²
  bool ok = false;       // sigma < allowable
};

struct DeflectionCheck {
  double deflection = 0;  // δ, mm
  double length = 0;      // L (span) or a (overhang), mm
  double limit = 0;       // L / n, mm
  bool ok = false;        // limit > deflection
};

struct JointCheck {
  double force = 0;      // V: |reaction| or the overhang joint force, N/m
  int capacity = 0;      // N per fastener
  double allowable = 0;  // jointAllowable, N/m
  bool ok = false;       // force < allowable
};

struct OverhangCheck {
  OverhangSide side = OverhangSide::kLeft;  // the governing overhang
  double length = 0;                        // a, mm
  // The negative-pressure load with the curtain-wall pressure was used
  // (heading " [壁面正圧を考慮]").
  bool wallPressure = false;
  // kLeftOverhangGovernsLine, kRightOverhangGovernsLine or empty.
  std::string governingLine;
  double moment = 0;  // M, N·mm: signed with the wall pressure, else a magnitude
  double sigma = 0;   // N/mm²
  bool stressOk = false;
  DeflectionCheck deflection;       // δ as a magnitude against a / n
  std::optional<JointCheck> joint;  // only when the end reaction is negative
};

struct FailureCounters {
  int stress = 0;
  int deflection = 0;
  int joint = 0;
  FailureCounters& operator+=(const FailureCounters& other);
  bool operator==(const FailureCounters&) const = default;
};

struct CaseChecks {
  double allowableFactor = 1.0;   // k
  double deflectionLimitN = 250;  // n
  double allowableStress = 0;     // N/mm²
  double endJointAllowable = 0;   // N/m
  double midJointAllowable = 0;   // N/m
  StressCheck stress;
  DeflectionCheck deflection;
  std::optional<JointCheck> endJoint;     // only when endReaction < 0
  std::optional<JointCheck> midJoint;     // only when midReaction < 0
  std::optional<OverhangCheck> overhang;  // only when the deck has an overhang
  FailureCounters failures;               // NG results of this case alone
};

// ---- Inputs of the checks of one case
struct OverhangCheckInput {
  bool present = false;
  double length = 0;      // a, mm
  double moment = 0;      // M as the check takes it (see checkOverhang)
  double deflection = 0;  // δ as a magnitude, mm
  double jointForce = 0;  // V, N/m
};

struct CheckInput {
  double allowableFactor = 1.0;
  double deflectionLimitN = 250;
  int designStrengthF = 235;
  double sectionModulus = 0;  // mm³
  int endJointCapacity = 0;   // N per fastener
  int midJointCapacity = 0;
  double maxMoment = 0;          // N·mm, magnitude
  double maxDeflection = 0;      // mm
  double maxDeflectionSpan = 0;  // mm
  double endReaction = 0;        // N
  double midReaction = 0;        // N; kNoValue when no intermediate support pulls
  bool wallPressure = false;     // the overhang values include the curtain-wall pressure
  OverhangCheckInput left;
  OverhangCheckInput right;
};

// Every check of one case, in the order the results page prints them.
CaseChecks checkCase(const CheckInput& input);

// The overall verdict from the counters of the whole run.
std::string verdictText(const FailureCounters& failures);

}  // namespace tavilo
