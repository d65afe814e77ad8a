#pragma once
// The coefficient settings: calculation method, maximum deck length, design
// strength and the 22 load ratios. They start from their defaults at every
// program start and travel inside project files.

#include <array>
#include <string_view>

namespace tavilo {

inline constexpr int kLoadRatioCount = 22;
using LoadRatios = std::array<double, kLoadRatioCount>;

// Order: ordinary site long-term G, P, S; short-term snow G, P, S, W;
// short-term storm G, P, S, W; then the same eleven for a heavy-snow site.
inline constexpr LoadRatios kDefaultLoadRatios = {
    1, 1, 0,   1, 1, 1, 0, 1, 1, 0,    1,  //
    1, 1, 0.7, 1, 1, 1, 0, 1, 1, 0.35, 1,
};
inline constexpr std::array<std::string_view, kLoadRatioCount> kDefaultLoadRatioTexts = {
    "1", "1", "0",   "1", "1", "1", "0", "1", "1", "0",    "1",
    "1", "1", "0.7", "1", "1", "1", "0", "1", "1", "0.35", "1",
};

// Index of the first ratio of the heavy-snow set.
inline constexpr int kHeavySnowRatioOffset = 11;

// 0-based positions of the G ratios whose row P ratio (the next position)
// always follows them.
inline constexpr std::array<int, 6> kGRatioPositions = {0, 3, 7, 11, 14, 18};

inline constexpr int kCalcMethodNotices = 0;  // loads derived from the notices
inline constexpr int kCalcMethodDirect = 1;   // wind and snow loads entered directly

struct CoefficientSettings {
  int calcMethod = kCalcMethodNotices;
  int maxDeckLength = 12000;  // mm, 0..90000
  int designStrengthF = 235;  // N/mm², not editable
  LoadRatios loadRatios = kDefaultLoadRatios;
};

// The P ratio of a row, or -1 when `position` is not a G ratio.
int pRatioPositionOf(int gPosition);

// True when every P ratio equals the G ratio of its row.
bool pRatiosFollowG(const LoadRatios& ratios);

}  // namespace tavilo
