#include "calc/coefficient_settings.h"

#include <algorithm>
#include <cstddef>

namespace tavilo {

std::optional<RatioPlace> ratioPlaceOf(int position) {
  if (position < 0 || position >= kLoadRatioCount)
    return std::nullopt;
  const auto set = static_cast<RatioSet>(position / kRatiosPerSet);
  const int slot = position % kRatiosPerSet;
  for (const LoadRatioRow& row : kLoadRatioRows) {
    if (slot >= row.firstSlot && slot < row.firstSlot + row.loadCount)
      return RatioPlace{set, &row, static_cast<RatioLoad>(slot - row.firstSlot)};
  }
  return std::nullopt;
}

std::array<double, 4> rowRatios(const LoadRatios& ratios, RatioSet set, const LoadRatioRow& row) {
  std::array<double, 4> out{};
  for (int load = 0; load < row.loadCount; ++load) {
    const int position = ratioPosition(set, row, static_cast<RatioLoad>(load));
    out[static_cast<std::size_t>(load)] = ratios[static_cast<std::size_t>(position)];
  }
  return out;
}

int pRatioPositionOf(int gPosition) {
  const std::optional<RatioPlace> place = ratioPlaceOf(gPosition);
  return place && place->load == RatioLoad::G ? gPosition + 1 : -1;
}

bool pRatiosFollowG(const LoadRatios& ratios) {
  for (int g = 0; g < kLoadRatioCount; ++g) {
    const int p = pRatioPositionOf(g);
    if (p >= 0 && ratios[static_cast<std::size_t>(g)] != ratios[static_cast<std::size_t>(p)])
      return false;
  }
  return true;
}

}  // namespace tavilo
