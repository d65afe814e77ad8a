#pragma once
// The coefficient settings: calculation method, maximum deck length, design
// strength and the 22 load ratios. They start from their defaults at every
// program start and travel inside project files.

#include <array>
#include <optional>
#include <string_view>

#include "calc/design_conditions.h"
#include "calc/load_case_rows.h"

namespace tavilo {

// ---- The load ratios and where each stands among the 22

// The loads a ratio multiplies, in the order of a row.
enum class RatioLoad { G, P, S, W };
inline constexpr std::array<std::string_view, 4> kRatioLoadLetters = {"Ｇ", "Ｐ", "Ｓ", "Ｗ"};

// The two sets: an ordinary site and a heavy-snow site.
enum class RatioSet { Ordinary, HeavySnow };
inline constexpr std::array<std::string_view, 2> kRatioSetNames = {"一般の場合", "多雪区域"};

using LoadRatios = std::array<double, kLoadRatioCount>;

// The place among the 22 of a row's ratio.
constexpr int ratioPosition(RatioSet set, const LoadRatioRow& row, RatioLoad load) {
  return static_cast<int>(set) * kRatiosPerSet + row.firstSlot + static_cast<int>(load);
}

// What a place among the 22 holds; nothing outside 0..21.
struct RatioPlace {
  RatioSet set;
  const LoadRatioRow* row;
  RatioLoad load;
};
std::optional<RatioPlace> ratioPlaceOf(int position);

// The 22 ratios in their stored order: the set of an ordinary site, then the
// set of a heavy-snow site, each the rows of kLoadRatioRows one after the
// other (long-term G, P, S; short-term snow G, P, S, W; short-term storm
// G, P, S, W).
inline constexpr LoadRatios kDefaultLoadRatios = {
    1, 1, 0,   1, 1, 1, 0, 1, 1, 0,    1,  //
    1, 1, 0.7, 1, 1, 1, 0, 1, 1, 0.35, 1,
};
inline constexpr std::array<std::string_view, kLoadRatioCount> kDefaultLoadRatioTexts = {
    "1", "1", "0",   "1", "1", "1", "0", "1", "1", "0",    "1",
    "1", "1", "0.7", "1", "1", "1", "0", "1", "1", "0.35", "1",
};

// The G, P, S and W ratios of a row of the set; W is 0 on a row without it.
std::array<double, 4> rowRatios(const LoadRatios& ratios, RatioSet set, const LoadRatioRow& row);

inline constexpr int kCalcMethodNotices = 0;  // loads derived from the notices
inline constexpr int kCalcMethodDirect = 1;   // wind and snow loads entered directly

struct CoefficientSettings {
  int calcMethod = kCalcMethodNotices;
  int maxDeckLength = 12000;  // mm, 0..90000
  int designStrengthF = 235;  // N/mm², not editable
  LoadRatios loadRatios = kDefaultLoadRatios;
};

// The P ratio of a row always follows its G ratio: the place of the P ratio,
// or -1 when `position` is not a G ratio.
int pRatioPositionOf(int gPosition);

// True when every P ratio equals the G ratio of its row.
bool pRatiosFollowG(const LoadRatios& ratios);

}  // namespace tavilo
