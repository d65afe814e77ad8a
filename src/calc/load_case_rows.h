#pragma once
// The three load cases and the row of load ratios each takes in the settings:
// every count of cases and of ratios follows this table.

#include <array>
#include <cstddef>
#include <string_view>

namespace tavilo {

// Load case indices.
inline constexpr int kLongTerm = 0;
inline constexpr int kShortTermSnow = 1;
inline constexpr int kShortTermStorm = 2;

// One load case's row of ratios within a set.
struct LoadRatioRow {
  int caseIndex;             // kLongTerm, kShortTermSnow or kShortTermStorm
  std::string_view caption;  // as the settings dialog shows it
  int firstSlot;             // place of its G ratio within a set
  int loadCount;             // G, P, S and, on the short-term rows, W
};
inline constexpr std::array<LoadRatioRow, 3> kLoadRatioRows = {{
    {kLongTerm, "長　期", 0, 3},
    {kShortTermSnow, "短期 (積雪時)", 3, 4},
    {kShortTermStorm, "短期 (暴風時)", 7, 4},
}};

// One row per load case, in the order of the case indices.
inline constexpr int kLoadCaseCount = static_cast<int>(kLoadRatioRows.size());
static_assert([] {
  for (std::size_t k = 0; k < kLoadRatioRows.size(); ++k) {
    if (kLoadRatioRows[k].caseIndex != static_cast<int>(k))
      return false;
  }
  return kLoadRatioRows.back().caseIndex == kShortTermStorm;
}());

// A value for each load case.
template <typename T>
using PerLoadCase = std::array<T, kLoadRatioRows.size()>;

// The ratios of one set: the rows one after the other.
inline constexpr int kRatiosPerSet =
    kLoadRatioRows.back().firstSlot + kLoadRatioRows.back().loadCount;
// Index of the first ratio of the heavy-snow set.
inline constexpr int kHeavySnowRatioOffset = kRatiosPerSet;
// Both sets, an ordinary and a heavy-snow site.
inline constexpr int kLoadRatioCount = 2 * kRatiosPerSet;

// Whether `caseIndex` names one of the load cases.
constexpr bool isLoadCase(int caseIndex) {
  return caseIndex >= 0 && caseIndex < kLoadCaseCount;
}

}  // namespace tavilo
