#pragma once
// The records that one calculation reads: the design conditions gathered from
// the input screen and the calculation data handed to the wind derivation and
// the detail page. Units: mm, N/m², N, N·mm, N/mm² unless a field says
// otherwise; the three building dimensions are held as the entered mm × 0.1.

#include <array>
#include <string>

#include "calc/codes.h"
#include "calc/load_case_rows.h"

namespace tavilo {

inline constexpr int kMaxSpans = 4;

struct DesignConditions {
  // Deck and joints
  int deckType = 0;            // 0..3, position in the deck type list
  std::string deckName;        // list text of the deck type
  double unitWeight = 0;       // N/m², deck self-weight
  int deckHeight = 0;          // mm, 50 or 75
  double thickness = 0;        // mm, 1.2 or 1.6
  double sectionModulus = 0;   // mm³ (catalogue Z × 1000)
  double momentOfInertia = 0;  // mm⁴ (catalogue I × 10000)
  int endJoint = 0;            // joint method at the end supports, 0..2
  std::string endJointName;
  int endJointCapacity = 0;  // N per fastener
  int midJoint = 0;          // joint method at the intermediate supports, 0..2
  std::string midJointName;
  int midJointCapacity = 0;  // N per fastener

  // Site, snow and wind
  std::string prefectureName;
  std::string districtName;
  int windSpeedV0 = 0;              // m/s
  bool heavySnow = false;           // the heavy-snow box is ticked
  int roughness = 1;                // terrain roughness category 1..4 (Ⅰ..Ⅳ)
  double eavesHeightH1 = 0;         // entered mm × 0.1
  double buildingHeightH2 = 0;      // entered mm × 0.1
  double spanDirectionLengthD = 0;  // entered mm × 0.1
  RoofType roofType = RoofType::MonoPitch;
  RoofClass roofClass = RoofClass::Pitched;
  std::string roofTypeName;
  int buildingShape = 0;  // 0 closed, 1 open windward, 2 open leeward
  std::string buildingShapeName;
  int roofShape = 0;  // canopy: 0 gable, 1 wing
  std::string roofShapeName;
  int snowDepthMethod = 0;  // 1 when the depth is derived from altitude and sea ratio
  int snowDepth = 0;        // cm (method 0 only)
  int snowUnitWeight = 0;   // ρ, N/cm/m² (method 0 only)
  int snowLoad = 0;         // N/m², after the large-span surcharge
  int liveLoad = 0;         // N/m²
  int finishingLoad = 0;    // N/m², finishes and other fixed loads

  // Spans (filled by the input check)
  int spanCount = 1;
  std::array<int, kMaxSpans> spanLengths{};  // mm, first spanCount valid
  int totalDeckLength = 0;                   // spans plus entered overhangs, mm
  std::string beamKindName;                  // "単純梁" or "連続梁"

  // Derived by the preparation step
  int deadPlusLive = 0;          // trunc(unitWeight + finishingLoad + liveLoad)
  int windPositive = 0;          // Ww+, N/m²
  int windNegative = 0;          // Ww−, N/m², held negative
  double leftOverhang = 0;       // mm, 0 when absent
  double rightOverhang = 0;      // mm, 0 when absent
  PerLoadCase<double> ratioG{};  // per load case
  PerLoadCase<double> ratioP{};
  PerLoadCase<double> ratioS{};
  PerLoadCase<double> ratioW{};   // index 0 is never written
  double snowIncreaseFactor = 0;  // large-span surcharge α actually applied
  int snowIncreaseState = 0;      // 0 not applied, 1 applied, 2 applied with α raised to 1.0
};

// The calculation-data record, handed by value to the wind derivation and the
// detail page.
struct CaLC_DATA {
  int deckType = 0;
  int endJoint = 0;
  int midJoint = 0;
  std::string prefectureName;
  std::string districtName;
  int snowUnitWeight = 0;  // ρ
  int snowDepthMethod = 0;
  int snowDepth = 0;              // cm
  std::string buildingShapeName;  // empty for an unknown shape
  int buildingShape = 0;
  int roofShape = 0;
  int roughnessIndex = 0;  // roughness − 1
  int windSpeedV0 = 0;
  RoofClass roofClass = RoofClass::Pitched;
  double eavesHeightH1 = 0;         // cm
  double buildingHeightH2 = 0;      // cm
  double spanDirectionLengthD = 0;  // cm
  int leftOverhangFlag = 0;
  int rightOverhangFlag = 0;
  int spanCount = 1;
  std::array<std::array<int, 2>, kMaxSpans> spanEndSnow{};  // N/m² at both ends of each span
  std::array<int, kMaxSpans> uniformSnow{};                 // 1: right end equals left end
  std::array<int, kMaxSpans> spanLengths{};
  int leftOverhangLength = 0;
  int rightOverhangLength = 0;
  std::array<std::array<int, 2>, kMaxSpans> pointLoads{};          // N per 1 m width
  std::array<std::array<int, 3>, kMaxSpans> pointLoadPositions{};  // mm
  PerLoadCase<std::array<double, 4>> caseRatios{};                 // [case][G, P, S, W]
};

}  // namespace tavilo
