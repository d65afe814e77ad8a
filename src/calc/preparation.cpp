#include "calc/preparation.h"

#include <array>
#include <cstddef>

#include "calc/catalogue.h"
#include "calc/load_cases.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

void copySiteAndWindData(const DesignConditions& c, CaLC_DATA& data) {
  data.deckType = c.deckType;
  data.endJoint = c.endJoint;
  data.midJoint = c.midJoint;
  data.prefectureName = c.prefectureName;
  data.districtName = c.districtName;
  data.snowUnitWeight = c.snowUnitWeight;
  data.snowDepthMethod = c.snowDepthMethod;
  data.snowDepth = c.snowDepth;
  data.buildingShape = c.buildingShape;
  data.roofShape = c.roofShape;
  // The calculation record leaves the name empty for a shape it does not know.
  data.buildingShapeName =
      c.buildingShape >= 0 && c.buildingShape <= 2 ? buildingShapeNameOf(c.buildingShape) : "";
  data.roughnessIndex = c.roughness - 1;
  data.windSpeedV0 = c.windSpeedV0;
  data.roofClass = c.roofClass;
  data.eavesHeightH1 = c.eavesHeightH1;
  data.buildingHeightH2 = c.buildingHeightH2;
  data.spanDirectionLengthD = c.spanDirectionLengthD;
}

void setOverhangs(DesignConditions& c, CaLC_DATA& data, const PreparationInputs& in) {
  const bool left = overhangOnLeft(in.overhangCode);
  const bool right = overhangOnRight(in.overhangCode);
  data.leftOverhangFlag = left ? 1 : 0;
  data.rightOverhangFlag = right ? 1 : 0;
  data.leftOverhangLength = left ? in.leftOverhangLength : 0;
  data.rightOverhangLength = right ? in.rightOverhangLength : 0;
  c.leftOverhang = data.leftOverhangLength;
  c.rightOverhang = data.rightOverhangLength;
}

void chooseLoadRatios(DesignConditions& c, CaLC_DATA& data, const CoefficientSettings& s) {
  const RatioSet set = c.heavySnow ? RatioSet::HeavySnow : RatioSet::Ordinary;
  for (const LoadRatioRow& row : kLoadRatioRows) {
    const std::array<double, 4> r = rowRatios(s.loadRatios, set, row);
    const std::size_t k = slot(row.caseIndex);
    data.caseRatios[k] = r;
    c.ratioG[k] = r[0];
    c.ratioP[k] = r[1];
    c.ratioS[k] = r[2];
    c.ratioW[k] = r[3];
  }
}

void fillSpanLoads(const DesignConditions& c, CaLC_DATA& data) {
  for (std::size_t i = 0; i < slot(kMaxSpans); ++i) {
    data.uniformSnow[i] = 1;
    data.spanLengths[i] = c.spanLengths[i];
    data.spanEndSnow[i] = {c.snowLoad, c.snowLoad};
    data.pointLoads[i] = {0, 0};
    data.pointLoadPositions[i][0] = 0;
    data.pointLoadPositions[i][1] = 0;
  }
}

}  // namespace

LoadDerivations prepareCalculationData(DesignConditions& c, CaLC_DATA& data,
                                       const CoefficientSettings& settings,
                                       const PreparationInputs& in) {
  LoadDerivations out;
  copySiteAndWindData(c, data);
  setOverhangs(c, data, in);
  data.spanCount = c.spanCount;
  c.deadPlusLive = static_cast<int>(truncTo(c.liveLoad + c.unitWeight + c.finishingLoad, 0));

  if (settings.calcMethod == kCalcMethodNotices) {
    out.wind = deriveWindLoad(data);
    c.windPositive = out.wind->windPositive;
    c.windNegative = out.wind->windNegative;
  } else {
    c.windPositive = in.directWindPositive;
    c.windNegative = -in.directWindNegative;
  }

  chooseLoadRatios(c, data, settings);

  SnowDerivation snow;
  snow.computedDepthM = in.computedDepthM;
  const int roofAngle = out.wind ? static_cast<int>(out.wind->roofAngle) : 0;
  applySnowSurcharge(c, settings.calcMethod, roofAngle, snow);
  if (c.snowIncreaseState != kSnowIncreaseNone)
    out.snow = snow;

  fillSpanLoads(c, data);
  return out;
}

}  // namespace tavilo
