#include "app/outcome_json.h"

#include <algorithm>
#include <array>
#include <span>

#include "calc/case_titles.h"
#include "persistence/stored_codes.h"

namespace tavilo {
namespace {

template <typename T>
Json arrayOf(std::span<const T> values) {
  Json out = Json::array();
  for (const T& value : values)
    out.push_back(value);
  return out;
}

template <typename T, std::size_t N>
Json arrayOf(const std::array<T, N>& values, int count = static_cast<int>(N)) {
  const auto n = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(N)));
  return arrayOf(std::span<const T>(values.data(), n));
}

Json overhangJson(const OverhangCheck& overhang) {
  return {
      {"side", overhang.side == OverhangSide::kLeft ? "left" : "right"},
      {"length", overhang.length},
      {"wallPressureConsidered", overhang.wallPressure},
      {"moment", overhang.moment},
      {"stress", overhang.sigma},
      {"stressOk", overhang.stressOk},
      {"deflection", overhang.deflection.deflection},
      {"deflectionOk", overhang.deflection.ok},
      {"jointForce", overhang.joint ? Json(overhang.joint->force) : Json(nullptr)},
      {"jointOk", overhang.joint ? Json(overhang.joint->ok) : Json(nullptr)},
  };
}

Json jointOk(const std::optional<JointCheck>& joint) {
  return joint ? Json(joint->ok) : Json(nullptr);
}

}  // namespace

Json settingsJson(const CoefficientSettings& settings) {
  return {
      {"calcMethod", settings.calcMethod},
      {"maxDeckLength", settings.maxDeckLength},
      {"designStrengthF", settings.designStrengthF},
      {"loadRatios", arrayOf(settings.loadRatios)},
  };
}

Json conditionsJson(const DesignConditions& c) {
  return {
      {"deckType", c.deckType},
      {"deckName", c.deckName},
      {"unitWeight", c.unitWeight},
      {"deckHeight", c.deckHeight},
      {"thickness", c.thickness},
      {"sectionModulus", c.sectionModulus},
      {"momentOfInertia", c.momentOfInertia},
      {"endJoint", c.endJoint},
      {"endJointName", c.endJointName},
      {"endJointCapacity", c.endJointCapacity},
      {"midJoint", c.midJoint},
      {"midJointName", c.midJointName},
      {"midJointCapacity", c.midJointCapacity},
      {"prefectureName", c.prefectureName},
      {"districtName", c.districtName},
      {"windSpeedV0", c.windSpeedV0},
      {"heavySnow", c.heavySnow ? 1 : 0},
      {"roughness", c.roughness},
      {"eavesHeightH1", c.eavesHeightH1},
      {"buildingHeightH2", c.buildingHeightH2},
      {"spanDirectionLengthD", c.spanDirectionLengthD},
      {"roofType", roofTypeCode(c.roofType)},
      {"roofClass", roofClassCode(c.roofClass)},
      {"roofTypeName", c.roofTypeName},
      {"buildingShape", c.buildingShape},
      {"buildingShapeName", c.buildingShapeName},
      {"roofShape", c.roofShape},
      {"roofShapeName", c.roofShapeName},
      {"snowDepthMethod", c.snowDepthMethod},
      {"snowDepth", c.snowDepth},
      {"snowUnitWeight", c.snowUnitWeight},
      {"snowLoad", c.snowLoad},
      {"liveLoad", c.liveLoad},
      {"finishingLoad", c.finishingLoad},
      {"spanCount", c.spanCount},
      {"spanLengths", arrayOf(c.spanLengths, c.spanCount)},
      {"totalDeckLength", c.totalDeckLength},
      {"beamKindName", c.beamKindName},
      {"deadPlusLive", c.deadPlusLive},
      {"windPositive", c.windPositive},
      {"windNegative", c.windNegative},
      {"leftOverhang", c.leftOverhang},
      {"rightOverhang", c.rightOverhang},
      {"ratioG", arrayOf(c.ratioG)},
      {"ratioP", arrayOf(c.ratioP)},
      {"ratioS", arrayOf(c.ratioS)},
      {"ratioW", arrayOf(c.ratioW)},
      {"snowIncreaseFactor", c.snowIncreaseFactor},
      {"snowIncreaseState", c.snowIncreaseState},
  };
}

Json windJson(const WindDerivation& w) {
  return {
      {"roofAngle", w.roofAngle},
      {"meanHeight", w.meanHeight},
      {"heightDifference", w.heightDifference},
      {"fOverD", w.fOverD},
      {"hOverD", w.hOverD},
      {"zb", w.zb},
      {"zg", w.zg},
      {"roughnessAlpha", w.roughnessAlpha},
      {"er", w.er},
      {"velocityPressure", w.velocityPressure},
      {"gpe", w.gpe},
      {"cpe", w.cpe},
      {"cfExternal", w.cfExternal},
      {"zoneCoefficients", arrayOf(w.zoneCoefficients)},
      {"cpiPositive", w.cpiPositive},
      {"cpiNegative", w.cpiNegative},
      {"cfPositive", arrayOf(w.cfPositive)},
      {"cfNegative", arrayOf(w.cfNegative)},
      {"pressurePositive", arrayOf(w.pressurePositive)},
      {"pressureNegative", arrayOf(w.pressureNegative)},
      {"positiveCount", w.positiveCount},
      {"negativeCount", w.negativeCount},
      {"wallHeightZ", w.wallHeightZ},
      {"wallCpe", w.wallCpe},
      {"wallGpe", w.wallGpe},
      {"wallCfExternal", w.wallCfExternal},
      {"wallCpi", w.wallCpi},
      {"wallCf", w.wallCf},
      {"wallVelocityPressure", w.wallVelocityPressure},
      {"wallPressure", w.wallPressure},
      {"overhangPressure", w.overhangPressure},
  };
}

Json snowJson(const SnowDerivation& s, const DesignConditions& conditions) {
  return {
      {"computedDepthM", s.computedDepthM},
      {"cosTerm", s.cosTerm},
      {"muB", s.muB},
      {"dr", s.dr},
      {"snowIncreaseFactorRaw", conditions.snowIncreaseState == kSnowIncreaseRaised
                                    ? Json(s.snowIncreaseFactorRaw)
                                    : Json(nullptr)},
  };
}

Json caseJson(const ResultsSection& section) {
  const CaseAnalysis& a = section.analysis;
  const CaseChecks& checks = section.checks;
  const int members = std::clamp(a.beam.memberCount, 1, kMaxMembers);

  Json memberForces = Json::array();
  for (int m = 0; m < members; ++m) {
    memberForces.push_back(arrayOf(a.result.memberEndForces[static_cast<std::size_t>(m)]));
  }
  Json nodal = Json::array();
  for (int n = 0; n <= members; ++n) {
    nodal.push_back(arrayOf(a.result.nodalResults[static_cast<std::size_t>(n)]));
  }
  const auto caseIndex = static_cast<std::size_t>(std::clamp(a.caseIndex, 0, kLoadCaseCount - 1));

  return {
      {"title", caseTitle(a)},
      {"caseIndex", a.caseIndex},
      {"windSign", windSideCode(a.windSide)},
      {"combinationLabel", a.caseLabels[caseIndex]},
      {"combinedLoad", a.sectionCaseTotal},
      {"allowableFactor", checks.allowableFactor},
      {"deflectionLimit", checks.deflectionLimitN},
      {"allowableStress", checks.allowableStress},
      {"memberEndForces", memberForces},
      {"nodalResults", nodal},
      {"spanDesignMoments", arrayOf(a.spanDesignMoments, a.spanCount)},
      {"spanDesignMomentPositions", arrayOf(a.spanDesignMomentPositions, a.spanCount)},
      {"spanDeflections", arrayOf(a.spanDeflections, a.spanCount)},
      {"maxMoment", a.maxMoment},
      {"stress", checks.stress.sigma},
      {"stressOk", checks.stress.ok},
      {"maxDeflection", a.maxDeflection},
      {"maxDeflectionSpan", a.maxDeflectionSpan},
      {"deflectionRatio", a.deflectionRatio},
      {"deflectionOk", checks.deflection.ok},
      {"endReaction", a.endReaction},
      {"midReaction", a.midReaction},
      {"endJointAllowable", checks.endJointAllowable},
      {"midJointAllowable", checks.midJointAllowable},
      {"endJointOk", jointOk(checks.endJoint)},
      {"midJointOk", jointOk(checks.midJoint)},
      {"overhang", checks.overhang ? overhangJson(*checks.overhang) : Json(nullptr)},
  };
}

Json outcomeJson(const CalculationOutcome& outcome) {
  Json cases = Json::array();
  for (const ResultsSection& section : outcome.sections)
    cases.push_back(caseJson(section));
  return {
      {"settings", settingsJson(outcome.settings)},
      {"conditions", conditionsJson(outcome.conditions)},
      {"wind", outcome.wind ? windJson(*outcome.wind) : Json(nullptr)},
      {"snow", outcome.snow ? snowJson(*outcome.snow, outcome.conditions) : Json(nullptr)},
      {"cases", cases},
      {"verdict",
       {
           {"stressFailures", outcome.failures.stress},
           {"deflectionFailures", outcome.failures.deflection},
           {"jointFailures", outcome.failures.joint},
           {"text", outcome.verdict},
       }},
  };
}

Json utilisationJson(const Utilisation& utilisation) {
  Json out = Json::object();
  for (const CheckUtilisation& check : utilisation.checks)
    out[std::string(checkKey(check.kind))] = check.applies ? Json(check.ratio) : Json(nullptr);
  out["governing"] = std::string(checkKey(utilisation.governing));
  return out;
}

}  // namespace tavilo
