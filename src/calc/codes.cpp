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

std::string roofTypeNameOf(int roofType) {
  return nameAt(kRoofTypeNames, roofType - kFirstRoofTypeCode);
}

int roofClassOf(int roofType) {
  if (roofType == kRoofTypeArched)
    return 1;
  if (roofType == kRoofTypeCanopy)
    return 2;
  return 0;
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
