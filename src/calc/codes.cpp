#include "calc/codes.h"

#include <cstddef>

namespace tavilo {
namespace {

template <std::size_t N>
std::string nameAt(const std::array<std::string_view, N>& names, int position) {
  if (position < 0 || position >= static_cast<int>(N))
    return {};
  return std::string(names[static_cast<std::size_t>(position)]);
}

}  // namespace

std::string roofTypeNameOf(RoofType roofType) {
  return std::string(kRoofTypeNames[positionOf(roofType)]);
}

RoofClass roofClassOf(RoofType roofType) {
  switch (roofType) {
    case RoofType::Arched:
      return RoofClass::Arched;
    case RoofType::Canopy:
      return RoofClass::Canopy;
    default:
      return RoofClass::Pitched;
  }
}

std::string buildingShapeNameOf(int buildingShape) {
  const std::string name = nameAt(kBuildingShapeNames, buildingShape);
  return name.empty() ? std::string(kBuildingShapeNames[kBuildingClosed]) : name;
}

std::string roofShapeNameOf(int roofShape) {
  return std::string(kRoofShapeNames[roofShape == kRoofShapeWing ? 1 : 0]);
}

std::string roughnessNumeral(int roughness) {
  return nameAt(kRoughnessNumerals, roughness - 1);
}

}  // namespace tavilo
