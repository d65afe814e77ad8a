#include "persistence/stored_codes.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tavilo {
namespace {

constexpr int kFirstRoofTypeCode = 3;
// In the order of kPageNumberPositions.
constexpr std::array<int, 7> kPageNumberPositionCodes = {0, 10, 11, 12, 20, 21, 22};

}  // namespace

int roofTypeCode(RoofType roofType) {
  return kFirstRoofTypeCode + static_cast<int>(positionOf(roofType));
}

std::optional<RoofType> roofTypeFromCode(int code) {
  // Compared before the first code is taken off, so that no stored number
  // can overflow.
  if (code < kFirstRoofTypeCode)
    return std::nullopt;
  const auto position = static_cast<std::size_t>(code - kFirstRoofTypeCode);
  if (position >= kRoofTypes.size())
    return std::nullopt;
  return kRoofTypes[position];
}

int roofClassCode(RoofClass roofClass) {
  switch (roofClass) {
    case RoofClass::Arched:
      return 1;
    case RoofClass::Canopy:
      return 2;
    default:
      return 0;
  }
}

std::string_view windSideCode(WindSide side) {
  return side == WindSide::Negative ? "Ms" : "Ps";
}

int pageNumberPositionCode(PageNumberPosition position) {
  const auto at = std::find(kPageNumberPositions.begin(), kPageNumberPositions.end(), position);
  if (at == kPageNumberPositions.end())
    return 0;
  return kPageNumberPositionCodes[static_cast<std::size_t>(at - kPageNumberPositions.begin())];
}

std::optional<PageNumberPosition> pageNumberPositionFromCode(int code) {
  const auto at = std::find(kPageNumberPositionCodes.begin(), kPageNumberPositionCodes.end(), code);
  if (at == kPageNumberPositionCodes.end())
    return std::nullopt;
  return kPageNumberPositions[static_cast<std::size_t>(at - kPageNumberPositionCodes.begin())];
}

}  // namespace tavilo
