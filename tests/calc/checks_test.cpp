#include "calc/checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/numbers.h"

namespace tavilo {
namespace {

// A long-term case of KX-50-12 (Z = 26300 mm³) with a puddle weld on 1.2 mm
// deck (1170 N per fastener at the ends, 4000 N at intermediate supports).
CheckInput longTerm() {
  CheckInput in;
  in.allowableFactor = 1.0;
  in.deflectionLimitN = 250;
  in.designStrengthF = 235;
  in.sectionModulus = 26300;
  in.endJointCapacity = 1170;
  in.midJointCapacity = 4000;
  in.maxMoment = 2445000;
  in.maxDeflection = 3;
  in.maxDeflectionSpan = 2500;
  in.endReaction = 1000;
  in.midReaction = kNoValue;
  return in;
}

CheckInput shortTerm() {
  CheckInput in = longTerm();
  in.allowableFactor = 1.5;
  in.deflectionLimitN = 180;
  return in;
}

TEST(Checks, AllowableValues) {
  EXPECT_EQ(allowableStress(1.0, 235), 156);
  EXPECT_EQ(allowableStress(1.5, 235), 235);
  EXPECT_DOUBLE_EQ(jointAllowable(1170, 1.5), 8775);
  EXPECT_DOUBLE_EQ(jointAllowable(4000, 1.0), 20000);
}

TEST(Checks, SpanStressIsRoundedUpAndComparedStrictly) {
  const CaseChecks c = checkCase(longTerm());
  EXPECT_DOUBLE_EQ(c.stress.sigma, 93.0);  // ceil(929.66…) / 10
  EXPECT_TRUE(c.stress.ok);
  EXPECT_EQ(c.failures, FailureCounters{});

  CheckInput atLimit = longTerm();
  atLimit.maxMoment = 156.0 * 26300;
  const CaseChecks equal = checkCase(atLimit);
  EXPECT_DOUBLE_EQ(equal.stress.sigma, 156.0);
  EXPECT_FALSE(equal.stress.ok);
  EXPECT_EQ(equal.failures.stress, 1);

  // Just below the limit, rounding up to 0.1 N/mm² still reaches it.
  atLimit.maxMoment = 155.95 * 26300;
  EXPECT_FALSE(checkCase(atLimit).stress.ok);
}

TEST(Checks, DeflectionEqualToTheLimitFails) {
  CheckInput in = longTerm();
  in.maxDeflection = 10;  // 2500 / 250
  const CaseChecks c = checkCase(in);
  EXPECT_DOUBLE_EQ(c.deflection.limit, 10);
  EXPECT_FALSE(c.deflection.ok);
  EXPECT_EQ(c.failures.deflection, 1);
  in.maxDeflection = 9.9999;
  EXPECT_TRUE(checkCase(in).deflection.ok);
}

TEST(Checks, JointsOnlyWhereASupportPulls) {
  const CaseChecks downward = checkCase(shortTerm());
  EXPECT_FALSE(downward.endJoint.has_value());
  EXPECT_FALSE(downward.midJoint.has_value());

  CheckInput uplift = shortTerm();
  uplift.endReaction = -3000;
  uplift.midReaction = -20000;
  const CaseChecks c = checkCase(uplift);
  ASSERT_TRUE(c.endJoint.has_value());
  EXPECT_DOUBLE_EQ(c.endJoint->allowable, 8775);
  EXPECT_DOUBLE_EQ(c.endJoint->force, 3000);
  EXPECT_TRUE(c.endJoint->ok);
  ASSERT_TRUE(c.midJoint.has_value());
  EXPECT_DOUBLE_EQ(c.midJoint->allowable, 30000);
  EXPECT_TRUE(c.midJoint->ok);

  uplift.endReaction = -8775;
  uplift.midReaction = 0;  // a reaction of 0 pulls on nothing
  const CaseChecks atLimit = checkCase(uplift);
  EXPECT_FALSE(atLimit.endJoint->ok);
  EXPECT_FALSE(atLimit.midJoint.has_value());
  EXPECT_EQ(atLimit.failures.joint, 1);
}

OverhangCheckInput overhang(double length, double moment, double deflection, double force) {
  return OverhangCheckInput{true, length, moment, deflection, force};
}

TEST(Checks, GoverningOverhang) {
  CheckInput in = shortTerm();
  in.left = overhang(500, 28375, 0.1, 100);
  in.right = overhang(500, 28375, 0.1, 100);
  const CaseChecks tie = checkCase(in);
  ASSERT_TRUE(tie.overhang.has_value());
  EXPECT_EQ(tie.overhang->side, OverhangSide::kLeft);
  EXPECT_TRUE(tie.overhang->governingLine.empty());

  in.left.moment = 30000;
  EXPECT_EQ(checkCase(in).overhang->governingLine, kLeftOverhangGovernsLine);

  in.right = overhang(600, -31000, 0.2, 120);
  const CaseChecks right = checkCase(in);
  EXPECT_EQ(right.overhang->side, OverhangSide::kRight);
  EXPECT_EQ(right.overhang->governingLine, kRightOverhangGovernsLine);
  EXPECT_EQ(right.overhang->length, 600);

  // Moments equal by the rules but one unit in the last place apart are a
  // tie; one newton-millimetre apart they are not.
  in.left = overhang(500, std::nextafter(-4'100'000.0, 0.0), 0.1, 100);
  in.right = overhang(600, -4'100'000.0, 0.2, 120);
  const CaseChecks noisyTie = checkCase(in);
  EXPECT_EQ(noisyTie.overhang->side, OverhangSide::kLeft);
  EXPECT_TRUE(noisyTie.overhang->governingLine.empty());
  in.right.moment = -4'100'001.0;
  EXPECT_EQ(checkCase(in).overhang->side, OverhangSide::kRight);

  // A single overhang governs without a line.
  in.left = {};
  EXPECT_TRUE(checkCase(in).overhang->governingLine.empty());
  in.right = {};
  EXPECT_FALSE(checkCase(in).overhang.has_value());
}

TEST(Checks, OverhangStressRoundingBySide) {
  CheckInput in = shortTerm();
  in.left = overhang(500, -1234567, 1, 100);
  const CaseChecks left = checkCase(in);
  EXPECT_DOUBLE_EQ(left.overhang->sigma, 1234567.0 / 26300);

  in.left = {};
  // Floored with its sign: −46.94… becomes −47.0, a positive 46.94… stays 46.9.
  in.right = overhang(500, -1234567, 1, 100);
  EXPECT_DOUBLE_EQ(checkCase(in).overhang->sigma, 47.0);
  in.right.moment = 1234567;
  EXPECT_DOUBLE_EQ(checkCase(in).overhang->sigma, 46.9);
}

TEST(Checks, OverhangCountsItsOwnFailures) {
  CheckInput in = shortTerm();
  in.endReaction = -100;
  // σ = 235 (NG), δ = 500/180 (NG), V = allowable (NG).
  in.left = overhang(500, 235.0 * 26300, 500.0 / 180, 8775);
  const CaseChecks c = checkCase(in);
  ASSERT_TRUE(c.overhang->joint.has_value());
  EXPECT_FALSE(c.overhang->stressOk);
  EXPECT_FALSE(c.overhang->deflection.ok);
  EXPECT_FALSE(c.overhang->joint->ok);
  EXPECT_EQ(c.failures, (FailureCounters{1, 1, 1}));

  in.endReaction = 0;
  EXPECT_FALSE(checkCase(in).overhang->joint.has_value());
}

TEST(Verdict, TextsFromTheCounters) {
  EXPECT_EQ(verdictText({}), "                     全てＯＫです ");
  // Three NG stresses in different cases still give one stress mark.
  FailureCounters run;
  run += FailureCounters{1, 0, 0};
  run += FailureCounters{1, 0, 0};
  run += FailureCounters{1, 0, 0};
  EXPECT_EQ(run.stress, 3);
  EXPECT_EQ(verdictText(run), "　　　「応力がNGです」 ---設計仕様変更が必要です。");
  EXPECT_EQ(verdictText({0, 2, 1}),
            "　　　「たわみがNGです」「接合部がNGです」 ---設計仕様変更が必要です。");
  EXPECT_EQ(
      verdictText({1, 1, 1}),
      "　　　「応力がNGです」「たわみがNGです」「接合部がNGです」 ---設計仕様変更が必要です。");
}

}  // namespace
}  // namespace tavilo
