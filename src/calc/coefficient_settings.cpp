#include "calc/coefficient_settings.h"

#include <algorithm>

namespace tavilo {

int pRatioPositionOf(int gPosition) {
  const bool isG = std::find(kGRatioPositions.begin(), kGRatioPositions.end(), gPosition) !=
                   kGRatioPositions.end();
  return isG ? gPosition + 1 : -1;
}

bool pRatiosFollowG(const LoadRatios& ratios) {
  return std::all_of(kGRatioPositions.begin(), kGRatioPositions.end(), [&](int g) {
    return ratios[static_cast<size_t>(g)] == ratios[static_cast<size_t>(g + 1)];
  });
}

}  // namespace tavilo
